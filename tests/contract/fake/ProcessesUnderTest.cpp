#include "tests/contract/ProcessesUnderTest.h"

#include "platform/fake/FakeProcessTable.h"
#include "platform/fake/FakeServiceDatabase.h"
#include "platform/fake/FakeSystemFiles.h"

namespace {

constexpr std::uint32_t kSelf = 4242;

struct FakeProcesses : ProcessesUnderTest {
    tv::FakeServiceDatabase* db;
    tv::FakeProcessTable* table;
    tv::FakeSystemFiles* stamps;
    std::uint32_t nextChild = 5000;

    FakeProcesses() {
        auto d = std::make_unique<tv::FakeServiceDatabase>();
        db = d.get();
        services = std::move(d);
        auto p = std::make_unique<tv::FakeProcessTable>();
        table = p.get();
        processes = std::move(p);
        auto f = std::make_unique<tv::FakeSystemFiles>();
        stamps = f.get();
        files = std::move(f);

        db->Add("Eventlog", "Event Log", "C:\\windows\\system32\\svchost.exe -k LocalService",
                tv::kServiceRunning);
        auto& self = table->Add(kSelf, "tv_unit_tests.exe", 100);
        self.kernelPath = "C:\\tests\\tv_unit_tests.exe";
        self.memoryPath = self.kernelPath;
        self.memory = tv::ProcessMemory{8 << 20, 4 << 20};
        self.created = tv::LocalTime{2026, 12, 8, 9, 0, 0};
        self.domain = "VM";
        self.account = "root";
        self.modules = {{"tv_unit_tests.exe", "C:\\tests\\tv_unit_tests.exe"},
                        {"ntdll.dll", "C:\\windows\\system32\\ntdll.dll"}};
    }
    bool MakeService(const std::string& name, const std::string& binaryPath,
                     const std::string& description) override {
        auto& s = db->Add(name, name + " display", binaryPath);
        s.config.startType = 3;
        s.config.errorControl = 2;
        s.description = description;
        return true;
    }
    bool MakeServiceW(const std::u16string& name, const std::string& binaryPath) override {
        // The code page's form: here every character outside ASCII is '?'.
        std::string narrow;
        for (char16_t unit : name) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        auto& s = db->Add(narrow, narrow + " display", binaryPath);
        s.status.name = tv::EntryName(narrow, name);
        return true;
    }
    void RemoveService(const std::string& name) override {
        tv::ScopedService manager(*db, db->OpenManager(tv::kScManagerAllAccess));
        tv::ScopedService service(*db, db->OpenServiceByName(manager.Get(), name, tv::kServiceAllAccess));
        if (service) db->Delete(service.Get());
    }
    std::uint32_t SelfId() override { return kSelf; }
    std::string SelfName() override { return "tv_unit_tests.exe"; }
    std::uint32_t StartChild() override {
        std::uint32_t id = nextChild++;
        table->Add(id, "tv_sleeper.exe", kSelf);
        return id;
    }
    long ChildExitCode(std::uint32_t id) override {
        for (const auto& [ended, code] : table->terminated)
            if (ended == id) return static_cast<long>(code);
        return -1;
    }
    std::string MakeFile(const std::string& name, std::uint32_t size) override {
        std::string path = "C:\\users\\test\\Temp\\" + name;
        tv::FileStamps s{{2026, 12, 8, 9, 0, 0}, {2026, 12, 8, 9, 0, 1}, size};
        stamps->SetStamps(path, s);
        return path;
    }
};

}  // namespace

std::unique_ptr<ProcessesUnderTest> MakeProcessesUnderTest() {
    return std::make_unique<FakeProcesses>();
}
