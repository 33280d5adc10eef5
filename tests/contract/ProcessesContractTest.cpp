// The service, process and file-stamp seams behave alike over the fakes and
// the real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/CodePageText.h"
#include "tests/contract/ProcessesUnderTest.h"

namespace {

using namespace tv;

class ProcessesContract : public ::testing::Test {
protected:
    void SetUp() override { t = MakeProcessesUnderTest(); }
    std::string Unique(const std::string& stem) { return stem + std::to_string(t->SelfId()); }
    const ServiceStatusEntry* Listed(const std::vector<ServiceStatusEntry>& list,
                                     const std::string& name) {
        for (const auto& e : list)
            if (text::EqualsNoCase(e.name.Shown(), name)) return &e;
        return nullptr;
    }
    std::unique_ptr<ProcessesUnderTest> t;
};

TEST_F(ProcessesContract, ServiceIsListedReadWholeAndDeleted) {
    const std::string name = Unique("tvct");
    // A configuration and a description larger than a 4096-byte block.
    const std::string path = "C:\\" + std::string(4200, 'p') + "\\svc.exe -x";
    const std::string description(5000, 'd');
    ASSERT_TRUE(t->MakeService(name, path, description));

    ScopedService manager(*t->services,
                          t->services->OpenManager(kGenericRead | kScManagerEnumerateService));
    ASSERT_TRUE(manager);
    std::vector<ServiceStatusEntry> list;
    ASSERT_TRUE(t->services->Enumerate(manager.Get(), kServiceWin32, kServiceStateAll, &list));
    const ServiceStatusEntry* entry = Listed(list, name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->displayName, name + " display");
    EXPECT_EQ(entry->currentState, kServiceStopped);
    // Only stopped or only running services.
    std::vector<ServiceStatusEntry> active;
    ASSERT_TRUE(t->services->Enumerate(manager.Get(), kServiceWin32, 1, &active));
    EXPECT_EQ(Listed(active, name), nullptr);

    ScopedService service(*t->services,
                          t->services->OpenServiceByName(manager.Get(), name, kServiceAllAccess));
    ASSERT_TRUE(service);
    ServiceConfig config;
    ASSERT_TRUE(t->services->QueryConfig(service.Get(), &config));
    EXPECT_EQ(config.startType, 3u);
    EXPECT_EQ(config.errorControl, 2u);
    EXPECT_EQ(config.binaryPath, path);
    std::string text;
    ASSERT_TRUE(t->services->QueryDescription(service.Get(), &text));
    EXPECT_EQ(text, description);
    std::uint32_t state = 0;
    ASSERT_TRUE(t->services->QueryState(service.Get(), &state));
    EXPECT_EQ(state, tv::kServiceStopped);
    EXPECT_FALSE(t->services->QueryState(manager.Get(), &state));  // not a service

    EXPECT_TRUE(t->services->Delete(service.Get()));
    service.Reset();
    EXPECT_FALSE(ScopedService(*t->services, t->services->OpenServiceByName(
                                                 manager.Get(), name, kServiceAllAccess)));
    ASSERT_TRUE(t->services->Enumerate(manager.Get(), kServiceWin32, kServiceStateAll, &list));
    EXPECT_EQ(Listed(list, name), nullptr);
}

// A name in Hangul: listed in the code page's form ("?" for each character)
// and exactly, and opened by its exact name only.
TEST_F(ProcessesContract, ServiceNamedInAnyScriptIsHadExactly) {
    const std::string stem = Unique("tvctwz");
    const std::u16string name = std::u16string(stem.begin(), stem.end()) + u"\uCE74\uCE74";
    ASSERT_TRUE(t->MakeServiceW(name, "C:\\hangul.exe"));
    ScopedService manager(*t->services, t->services->OpenManager(kScManagerAllAccess));
    ASSERT_TRUE(manager);
    std::vector<ServiceStatusEntry> list;
    ASSERT_TRUE(t->services->Enumerate(manager.Get(), kServiceWin32, kServiceStateAll, &list));
    const ServiceStatusEntry* entry = Listed(list, stem + "??");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name.Stored(), name);
    EXPECT_FALSE(ScopedService(*t->services, t->services->OpenServiceByName(
                                                 manager.Get(), stem + "??", kServiceAllAccess)));
    // Names match without regard to ASCII case.
    std::u16string upper = name;
    for (char16_t& c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    ScopedService service(*t->services,
                          t->services->OpenServiceByNameW(manager.Get(), upper, kServiceAllAccess));
    ASSERT_TRUE(service);
    ServiceConfig config;
    ASSERT_TRUE(t->services->QueryConfig(service.Get(), &config));
    EXPECT_EQ(config.binaryPath, "C:\\hangul.exe");
}

TEST_F(ProcessesContract, MissingServiceCannotBeOpened) {
    ScopedService manager(*t->services, t->services->OpenManager(kScManagerAllAccess));
    ASSERT_TRUE(manager);
    EXPECT_EQ(t->services->OpenServiceByName(manager.Get(), Unique("tvnone"), kServiceAllAccess),
              0u);
    EXPECT_EQ(t->services->OpenServiceByName(manager.Get(), "", kServiceAllAccess), 0u);
    // The manager is no service: it has no configuration to read.
    ServiceConfig config;
    EXPECT_FALSE(t->services->QueryConfig(manager.Get(), &config));
}

TEST_F(ProcessesContract, EveryServiceIsListedOnce) {
    // More than one 18,432-byte enumeration buffer holds.
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back(Unique("tvmany" + std::to_string(i) + "x") + std::string(200, 'n'));
        ASSERT_TRUE(t->MakeService(names.back(), "C:\\many.exe", std::string(300, 'm')));
    }
    ScopedService manager(*t->services,
                          t->services->OpenManager(kGenericRead | kScManagerEnumerateService));
    std::vector<ServiceStatusEntry> list;
    ASSERT_TRUE(t->services->Enumerate(manager.Get(), kServiceWin32, kServiceStateAll, &list));
    for (const auto& name : names) EXPECT_NE(Listed(list, name), nullptr) << name;
    std::vector<std::string> all;
    for (const auto& e : list) all.push_back(text::ToLower(e.name.Shown()));
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    for (const auto& name : names) t->RemoveService(name);
}

TEST_F(ProcessesContract, OwnProcessIsListedAndReadable) {
    std::vector<ProcessEntry> list;
    ASSERT_TRUE(t->processes->ListProcesses(&list));
    auto self = std::find_if(list.begin(), list.end(),
                             [&](const ProcessEntry& e) { return e.id == t->SelfId(); });
    ASSERT_NE(self, list.end());
    EXPECT_TRUE(text::EqualsNoCase(self->exeFile, t->SelfName()));
    EXPECT_GE(self->threads, 1u);

    ScopedProcess process(*t->processes, t->processes->Open(t->SelfId(), kProcessAllAccessLegacy));
    ASSERT_TRUE(process);
    // The kernel's record and the process's own agree while nothing forged
    // the latter, both in Win32 form.
    std::string path, claimed;
    ASSERT_TRUE(t->processes->KernelImagePath(process.Get(), &path));
    EXPECT_TRUE(text::EndsWithNoCase(path, "\\" + t->SelfName())) << path;
    EXPECT_EQ(path.substr(1, 2), ":\\") << path;
    ASSERT_TRUE(t->processes->ModuleImagePath(process.Get(), &claimed));
    EXPECT_TRUE(text::EqualsNoCase(claimed, path)) << claimed;
    ProcessMemory memory;
    ASSERT_TRUE(t->processes->Memory(process.Get(), &memory));
    EXPECT_GT(memory.workingSet, 0u);
    LocalTime started;
    ASSERT_TRUE(t->processes->CreationTime(process.Get(), &started));
    EXPECT_GE(started.year, 2000);
    EXPECT_GE(started.month, 1);
    EXPECT_LE(started.month, 12);
    std::string domain, account;
    ASSERT_TRUE(t->processes->OwnerAccount(t->SelfId(), &domain, &account));
    EXPECT_FALSE(account.empty());

    std::vector<ModuleEntry> modules;
    ASSERT_TRUE(t->processes->ListModules(t->SelfId(), &modules));
    ASSERT_FALSE(modules.empty());
    EXPECT_TRUE(text::EqualsNoCase(modules[0].name, t->SelfName()));
    EXPECT_TRUE(text::EqualsNoCase(modules[0].path, path));
}

TEST_F(ProcessesContract, ProcessZeroOpensNothing) {
    EXPECT_EQ(t->processes->Open(0, kProcessAllAccessLegacy), 0u);
    std::string domain, account;
    EXPECT_FALSE(t->processes->OwnerAccount(0, &domain, &account));
}

TEST_F(ProcessesContract, ChildEndsWithTheCodeGiven) {
    std::uint32_t child = t->StartChild();
    ASSERT_NE(child, 0u);
    std::vector<ProcessEntry> list;
    ASSERT_TRUE(t->processes->ListProcesses(&list));
    auto entry = std::find_if(list.begin(), list.end(),
                              [&](const ProcessEntry& e) { return e.id == child; });
    ASSERT_NE(entry, list.end());
    EXPECT_EQ(entry->parentId, t->SelfId());
    ProcessHandle closed = 0;
    {
        ScopedProcess process(*t->processes, t->processes->Open(child, kProcessAllAccessLegacy));
        ASSERT_TRUE(process);
        EXPECT_TRUE(t->processes->Terminate(process.Get(), 1));
        closed = process.Get();
    }
    // A closed handle tells nothing.
    std::string path;
    EXPECT_FALSE(t->processes->KernelImagePath(closed, &path));
    EXPECT_FALSE(t->processes->ModuleImagePath(closed, &path));
    EXPECT_EQ(t->ChildExitCode(child), 1);
    // An ended process has no modules to list.
    std::vector<ModuleEntry> modules;
    EXPECT_FALSE(t->processes->ListModules(child, &modules));
    ASSERT_TRUE(t->processes->ListProcesses(&list));
    EXPECT_EQ(std::count_if(list.begin(), list.end(),
                            [&](const ProcessEntry& e) { return e.id == child; }),
              0);
}

TEST_F(ProcessesContract, FileStampsOfAFileMadeNow) {
    std::string path = t->MakeFile("stamps.bin", 1234567);
    FileStamps stamps;
    ASSERT_TRUE(t->files->ReadStamps(path, &stamps));
    EXPECT_EQ(stamps.sizeLow, 1234567u);
    EXPECT_GE(stamps.written.year, 2000);
    EXPECT_GE(stamps.created.day, 1);
    EXPECT_FALSE(t->files->IsProtected(path));
    EXPECT_FALSE(t->files->ReadStamps(path + ".missing", &stamps));
    EXPECT_FALSE(t->files->IsProtected(""));
}

}  // namespace
