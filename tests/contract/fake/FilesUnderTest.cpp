#include "tests/contract/FilesUnderTest.h"

#include <algorithm>

#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/host/IconvTextCodec.h"

namespace {

struct FakeFiles : FilesUnderTest {
    tv::FakeFileSystem* tree;
    tv::FakeEnvironment* fakeEnvironment;
    FakeFiles() {
        auto f = std::make_unique<tv::FakeFileSystem>();
        tree = f.get();
        tree->UseCodec(std::make_shared<tv::IconvTextCodec>());
        files = std::move(f);
        auto d = std::make_unique<tv::FakeDrives>();
        tv::FakeDrives::Drive c;
        c.space = {1ull << 33, 1ull << 35, 1ull << 33};
        d->Set("C:\\", c);
        drives = std::move(d);
        auto e = std::make_unique<tv::FakeEnvironment>();
        fakeEnvironment = e.get();
        environment = std::move(e);
        scratch = "C:\\users\\test\\Temp\\tv-contract";
        tree->AddFolder(scratch);
        tree->AddFolder(fakeEnvironment->commonAppDataFolder);
    }
    void MakeFile(const std::string& path, bool readOnly) override { tree->AddFile(path, readOnly); }
    void MakeFolder(const std::string& path) override { tree->AddFolder(path); }
    void MakeFile(const std::u16string& path) override { tree->AddFile(path); }
    void MakeFolder(const std::u16string& path) override { tree->AddFolder(path); }
    bool MakeLink(const std::string& link, const std::string& target) override {
        tree->AddLink(link, target);
        return true;
    }
    std::string ReadFile(const std::string& path) override { return tree->Contents(path); }
    void Release(const std::string& path) override {
        if (tree->Exists(path) && !tree->IsFolder(path)) tree->AddFile(path);
    }
    // The fake keeps descriptors, as Windows 7 does.
    bool KeepsDescriptors() override { return true; }
    std::string Owner(const std::string& path) override { return tree->Security(path).owner; }
    std::vector<std::string> Writers(const std::string& path) override {
        constexpr std::uint32_t reading =
            tv::fakeright::kReadAndExecute | tv::fakeright::kGenericRead | tv::fakeright::kGenericExecute;
        std::vector<std::string> writers;
        for (const tv::FakeAllowed& allowed : tree->Security(path).allowed)
            if ((allowed.mask & ~reading) != 0) writers.push_back(allowed.sid);
        std::sort(writers.begin(), writers.end());
        writers.erase(std::unique(writers.begin(), writers.end()), writers.end());
        return writers;
    }
    bool GiveToUser(const std::string& path) override {
        tv::FakeSecurity security = tree->Security(path);
        security.owner = tv::fakesid::kUser;
        tree->SetSecurity(path, security);
        return true;
    }
    void LetEveryoneWrite(const std::string& path) override {
        tv::FakeSecurity security = tree->Security(path);
        security.allowed.push_back({tv::fakesid::kEveryone, tv::fakeright::kAddFile});
        tree->SetSecurity(path, security);
    }
    void PlantVariable(const std::string& name, const std::string& value) override {
        fakeEnvironment->variables[name] = value;
    }
};

}  // namespace

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest() { return std::make_unique<FakeFiles>(); }
