// The add-on list built from the four add-on locations of a fake registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "manage/AddonScan.h"
#include "platform/fake/FakeRegistry.h"
#include "tests/support/AddonTexts.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

using namespace testing;  // the expected add-on texts

class AddonScanTest : public ::testing::Test {
protected:
    AddonScanTest() { registry_.UseCodec(std::make_shared<FakePlatform::Codec>()); }
    std::vector<AddonRow> Scan(bool is64BitSystem = false, const std::function<bool()>& stop = {}) {
        return ScanAddons(registry_, is64BitSystem, codec_, stop);
    }

    void Class(const std::string& id, const std::string& name, const std::string& file) {
        RegKey key = RegKey::Create(registry_, kHkeyClassesRoot, "CLSID\\" + id);
        key.SetString("", name);
        RegKey server = RegKey::Create(registry_, key.Handle(), "InprocServer32");
        server.SetString("", file);
    }
    void ValueEntry(RegHandle root, const char* path, const std::string& id) {
        RegKey::Create(registry_, root, path).SetString(id, "");
    }
    void KeyEntry(const char* path, const std::string& id) {
        RegKey::Create(registry_, kHkeyLocalMachine, std::string(path) + "\\" + id);
    }
    void Extension(const std::string& id, const char* text, const char* exec) {
        RegKey key = RegKey::Create(registry_, kHkeyLocalMachine, std::string(kExtensionsKey) + "\\" + id);
        if (text) key.SetString("buttontext", text);
        if (exec) key.SetString("exec", exec);
    }

    FakeRegistry registry_;
    FakePlatform::Codec codec_;
};

TEST_F(AddonScanTest, LaterSourcesStandAboveEarlierOnes) {
    Class("{T1}", "Toolbar One", "C:\\t1.dll");
    Class("{T2}", "Toolbar Two", "C:\\t2.dll");
    Class("{H1}", "Hook", "C:\\h.dll");
    Class("{B1}", "Helper", "C:\\Program Files\\b.dll");
    ValueEntry(kHkeyLocalMachine, kToolbarKey, "{T1}");
    ValueEntry(kHkeyLocalMachine, kToolbarKey, "{T2}");
    ValueEntry(kHkeyCurrentUser, kHooksKey, "{H1}");
    KeyEntry(kHelpersKey, "{B1}");
    Extension("{E1}", "按钮", "C:\\e.exe");

    std::vector<AddonRow> expected = {
        {"{E1}", "按钮", kExtensionType, "C:\\e.exe", 2},
        {"{B1}", "Helper", kHelperType, "C:\\Program Files\\b.dll", 1},
        {"{H1}", "Hook", kHookType, "C:\\h.dll", 0},
        {"{T1}", "Toolbar One", kToolbarType, "C:\\t1.dll", 0},
        {"{T2}", "Toolbar Two", kToolbarType, "C:\\t2.dll", 0},
    };
    EXPECT_EQ(Scan(), expected);
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    EXPECT_FALSE(registry_.ViewBitsSeen());  // 32-bit Windows: no view bits
}

TEST_F(AddonScanTest, MissingDetailsLeaveTheirCellsEmpty) {
    // A helper whose class is not registered, one with a name but no server
    // key, an extension with no exec and one with neither value.
    Class("{B2}", "Named", "");
    RegKey::Open(registry_, kHkeyClassesRoot, "CLSID\\{B2}", kKeyAllAccess).DeleteSubKey("InprocServer32");
    KeyEntry(kHelpersKey, "{B1}");
    KeyEntry(kHelpersKey, "{B2}");
    Extension("{E1}", "Only text", nullptr);
    Extension("{E2}", nullptr, nullptr);

    std::vector<AddonRow> expected = {
        {"{E1}", "Only text", kExtensionType, "", 2},
        {"{E2}", "", kExtensionType, "", 2},
        {"{B1}", "", kHelperType, "", 1},
        {"{B2}", "Named", kHelperType, "", 1},
    };
    EXPECT_EQ(Scan(), expected);
}

TEST_F(AddonScanTest, SearchHooksAreReadFromTheUsersHiveOnly) {
    Class("{H1}", "User hook", "u.dll");
    Class("{H2}", "Machine hook", "m.dll");
    ValueEntry(kHkeyCurrentUser, kHooksKey, "{H1}");
    ValueEntry(kHkeyLocalMachine, kHooksKey, "{H2}");
    std::vector<AddonRow> rows = Scan();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].displayName, "User hook");
}

// On 64-bit Windows the machine's sources are read in both views, the 64-bit
// one first, and each class is looked up in its registration's view; the
// search hooks (one key for both browsers) find their class in either.
TEST_F(AddonScanTest, EachViewListsItsOwnAddOnsWithItsOwnClasses) {
    registry_.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
    auto classIn = [&](std::uint32_t view, const std::string& id, const std::string& name) {
        RegKey key = RegKey::Create(registry_, kHkeyClassesRoot, "CLSID\\" + id, view);
        key.SetString("", name);
        // Below a handle, in the view again: a handle keeps none.
        RegKey::Create(registry_, key.Handle(), "InprocServer32", view)
            .SetString("", "C:\\" + name + ".dll");
    };
    const std::uint32_t v64 = kKeyWow64_64Key, v32 = kKeyWow64_32Key;
    classIn(v64, "{T}", "T64");
    classIn(v32, "{T}", "T32");
    classIn(v32, "{B}", "B32");
    classIn(v32, "{H}", "H32");
    RegKey::Create(registry_, kHkeyLocalMachine, kToolbarKey, v64).SetString("{T}", "");
    RegKey::Create(registry_, kHkeyLocalMachine, kToolbarKey, v32).SetString("{T}", "");
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kHelpersKey) + "\\{B}", v32);
    RegKey::Create(registry_, kHkeyCurrentUser, kHooksKey).SetString("{H}", "");
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kExtensionsKey) + "\\{E}", v32)
        .SetString("exec", "C:\\e32.exe");
    RegKey::Create(registry_, kHkeyLocalMachine, std::string(kExtensionsKey) + "\\{E6}", v64)
        .SetString("exec", "C:\\e64.exe");

    AddonRow extension{"{E}", "", kExtensionType, "C:\\e32.exe", 2};
    extension.view = extension.classView = v32;
    AddonRow extension64{"{E6}", "", kExtensionType, "C:\\e64.exe", 2};
    extension64.view = extension64.classView = v64;
    AddonRow helper{"{B}", "B32", kHelperType, "C:\\B32.dll", 1};
    helper.view = helper.classView = v32;
    AddonRow hook{"{H}", "H32", kHookType, "C:\\H32.dll", 0};
    hook.view = v64;
    hook.classView = v32;
    AddonRow toolbar64{"{T}", "T64", kToolbarType, "C:\\T64.dll", 0};
    toolbar64.view = toolbar64.classView = v64;
    AddonRow toolbar32{"{T}", "T32", kToolbarType, "C:\\T32.dll", 0};
    toolbar32.view = toolbar32.classView = v32;
    EXPECT_EQ(Scan(true),
              (std::vector<AddonRow>{extension64, extension, helper, hook, toolbar64, toolbar32}));
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
}

TEST_F(AddonScanTest, NoSourceKeysNoRows) { EXPECT_TRUE(Scan().empty()); }

TEST_F(AddonScanTest, LongNamesAndValuesAreListedWhole) {
    // Longer than the 256-byte buffers such names were once read into.
    std::string id = "{" + std::string(300, 'A') + "}";
    std::string name = std::string(200, 'N') + "中文" + std::string(200, 'n');
    std::string file = "C:\\" + std::string(400, 'p') + ".dll";
    Class(id, name, file);
    ValueEntry(kHkeyLocalMachine, kToolbarKey, id);
    std::vector<AddonRow> rows = Scan();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name.Shown(), id);
    EXPECT_EQ(rows[0].displayName, name);
    EXPECT_EQ(rows[0].file, file);
}

// A registry whose values grow by a byte just before each of the next
// `growths` reads into a buffer, as a value another program keeps writing.
class GrowingRegistry : public FakeRegistry {
public:
    int growths = 0;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        if (data != nullptr && growths > 0) {
            --growths;
            std::uint32_t now = 0, kind = 0;
            FakeRegistry::QueryValue(key, name, &kind, nullptr, &now);
            std::string bytes(now, '\0');
            FakeRegistry::QueryValue(key, name, &kind, bytes.data(), &now);
            bytes.insert(0, "+");
            FakeRegistry::SetValue(key, name, kind, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        }
        return FakeRegistry::QueryValue(key, name, type, data, size);
    }
};

TEST_F(AddonScanTest, ValuesOfAnyTypeAreReadUpToTheirFirstNul) {
    struct Case {
        std::uint32_t type;
        std::string bytes;
        std::string shown;
        int growths;  // while it is read
    } cases[] = {
        {kRegSz, std::string("plain\0", 6), "plain", 0},
        {kRegExpandSz, std::string("%SystemRoot%\\x.dll\0", 19), "%SystemRoot%\\x.dll", 0},
        {kRegMultiSz, std::string("first\0second\0\0", 14), "first", 0},
        {kRegBinary, std::string("no terminator"), "no terminator", 0},
        {kRegDword, std::string("\x41\x42\0\0", 4), "AB", 0},
        // Read again while it grows, up to four times; then given up.
        {kRegSz, std::string("grown\0", 6), "+grown", 1},
        {kRegSz, std::string("grown\0", 6), "+++grown", 3},
        {kRegSz, std::string("grown\0", 6), "", 4},
    };
    for (const Case& c : cases) {
        GrowingRegistry registry;
        RegKey key = RegKey::Create(registry, kHkeyLocalMachine, "K");
        key.Set("v", c.type, c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        registry.growths = c.growths;
        EXPECT_EQ(ReadValueText(key, "v"), c.shown) << c.type << " " << c.growths;
    }
}

// A stop reaches the loop over the add-ons: asked before each one, the scan
// reads no add-on's class past the check that said stop.
TEST_F(AddonScanTest, AStopEndsTheScanBeforeTheNextAddon) {
    for (int i = 0; i < 4; ++i) {
        const std::string id = "{T" + std::to_string(i) + "}";
        Class(id, "Toolbar " + std::to_string(i), "C:\\t.dll");
        ValueEntry(kHkeyLocalMachine, kToolbarKey, id);
    }
    const struct {
        int checksBeforeStop;
        std::vector<std::string> names;
    } cases[] = {{0, {}}, {1, {"Toolbar 0"}}, {3, {"Toolbar 0", "Toolbar 1", "Toolbar 2"}},
                 {100, {"Toolbar 0", "Toolbar 1", "Toolbar 2", "Toolbar 3"}}};
    for (const auto& c : cases) {
        int checks = 0;
        std::vector<std::string> names;
        for (const AddonRow& row :
             Scan(false, [&] { return checks++ >= c.checksBeforeStop; }))
            names.push_back(row.displayName);
        EXPECT_EQ(names, c.names) << c.checksBeforeStop;
        // Once told to stop, it is not asked again.
        EXPECT_EQ(checks, std::min(c.checksBeforeStop + 1, 4))
            << c.checksBeforeStop;
        EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    }
}

}  // namespace
}  // namespace tv
