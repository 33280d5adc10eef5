#include "tests/contract/SystemSeamsUnderTest.h"

#include "platform/fake/FakeShellLinks.h"
#include "platform/fake/FakeTokens.h"
#include "platform/fake/FakeVersionResources.h"
#include "platform/host/IconvTextCodec.h"

namespace {

struct FakeSeams : SystemSeamsUnderTest {
    tv::FakeShellLinks* fakeLinks;
    FakeSeams() {
        auto l = std::make_unique<tv::FakeShellLinks>();
        fakeLinks = l.get();
        fakeLinks->UseCodec(std::make_shared<tv::IconvTextCodec>());
        links = std::move(l);
        scratch = "C:\\users\\test\\Temp\\tv-seams";
        versionedFile = "C:\\Windows\\system32\\kernel32.dll";
        auto v = std::make_unique<tv::FakeVersionResources>();
        v->AddFile(versionedFile, {0x080404B0});
        v->AddText(versionedFile, "\\StringFileInfo\\080404b0\\FileDescription", "Wine kernel DLL");
        versions = std::move(v);
        tokens = std::make_unique<tv::FakeTokens>();
    }
    void MakeFile(const std::string&) override {}
    void MakeShortcut(const std::string& linkPath, const std::string& target) override {
        fakeLinks->Add(linkPath, target);
    }
    void MakeShortcut(const std::u16string& linkPath, const std::string& target) override {
        fakeLinks->Add(linkPath, target);
    }
};

}  // namespace

std::unique_ptr<SystemSeamsUnderTest> MakeSystemSeamsUnderTest() {
    return std::make_unique<FakeSeams>();
}
