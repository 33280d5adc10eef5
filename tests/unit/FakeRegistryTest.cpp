// Behaviour of the in-memory registry that the real one cannot show in the
// shared contract tests: handle bookkeeping and Windows' own name order.
#include <gtest/gtest.h>

#include <memory>

#include "platform/fake/FakeRegistry.h"
#include "platform/host/IconvTextCodec.h"

namespace {

using tv::FakeRegistry;
using tv::RegHandle;
using tv::RegKey;

TEST(FakeRegistry, EveryKeyOpenedIsClosedByRegKey) {
    FakeRegistry registry;
    {
        const RegKey created = RegKey::Create(registry, tv::kHkeyCurrentUser, "Software\\A\\B");
        const RegKey opened = RegKey::Open(registry, tv::kHkeyCurrentUser, "Software\\A", tv::kKeyRead);
        RegKey moved = RegKey::Open(registry, tv::kHkeyCurrentUser, "Software", tv::kKeyRead);
        ASSERT_TRUE(created && opened && moved);
        EXPECT_EQ(registry.OpenHandleCount(), 3u);
        RegKey target = std::move(moved);
        EXPECT_FALSE(moved);
        EXPECT_EQ(registry.OpenHandleCount(), 3u);
        target = RegKey::Open(registry, created.Handle(), "", tv::kKeyRead);
        EXPECT_EQ(registry.OpenHandleCount(), 3u);  // the old one was closed
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(FakeRegistry, EmptyPathOnARootIsTheRootItself) {
    FakeRegistry registry;
    RegHandle key = 0;
    ASSERT_EQ(registry.OpenKey(tv::kHkeyCurrentUser, "", tv::kKeyRead, &key), tv::kErrorSuccess);
    EXPECT_EQ(key, tv::kHkeyCurrentUser);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(FakeRegistry, UnknownHandlesAreInvalid) {
    FakeRegistry registry;
    std::string name;
    for (RegHandle bad : {RegHandle(0), RegHandle(0x1234), RegHandle(0x80000003u)}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(registry.EnumKey(bad, 0, &name), tv::kErrorInvalidHandle);
        EXPECT_EQ(registry.CloseKey(bad), tv::kErrorInvalidHandle);
        // The handle is looked at before the path.
        RegHandle key = 0;
        EXPECT_EQ(registry.OpenKey(bad, "\\x", tv::kKeyRead, &key), tv::kErrorInvalidHandle);
    }
}

TEST(FakeRegistry, SubkeysSortAfterUpperCaseFoldingAsOnWindows) {
    // Windows compares upper-cased names, so '_' and '[' sort after the
    // letters (Wine folds to lower case and puts them first). Double-byte
    // names sort by their CP936 bytes.
    FakeRegistry registry;
    const RegKey root = RegKey::Create(registry, tv::kHkeyCurrentUser, "Order");
    for (const char* name : {"_b", "\xC8\x61", "Zed", "[x", "a", "\xC8\x41", "Ab", "\x81", "\xFE\x41"}) {
        ASSERT_TRUE(RegKey::Create(registry, root.Handle(), name));
    }
    EXPECT_EQ(root.SubKeyNames(),
              (std::vector<std::string>{"a", "Ab", "Zed", "[x", "_b", "\x81", "\xC8\x41", "\xC8\x61", "\xFE\x41"}));
}

TEST(FakeRegistry, ValuesEnumerateInCreationOrderAndKeepPlaceWhenRewritten) {
    FakeRegistry registry;
    const RegKey key = RegKey::Create(registry, tv::kHkeyCurrentUser, "Values");
    for (const char* name : {"c", "a", "b"}) ASSERT_EQ(key.SetDword(name, 1), tv::kErrorSuccess);
    ASSERT_EQ(key.SetDword("A", 2), tv::kErrorSuccess);
    EXPECT_EQ(key.ValueNames(), (std::vector<std::string>{"c", "a", "b"}));
    ASSERT_EQ(key.DeleteValue("c"), tv::kErrorSuccess);
    EXPECT_EQ(key.ValueNames(), (std::vector<std::string>{"a", "b"}));
}

TEST(FakeRegistry, NamesTooLongForTheEnumerationBuffersAreReported) {
    FakeRegistry registry;
    const RegKey key = RegKey::Create(registry, tv::kHkeyCurrentUser, "Long");
    const std::string keyName(tv::kKeyNameBufferSize, 'k');
    const std::string valueName(tv::kValueNameBufferSize, 'v');
    ASSERT_TRUE(RegKey::Create(registry, key.Handle(), keyName));
    ASSERT_EQ(key.SetDword(valueName, 1), tv::kErrorSuccess);
    std::string name;
    EXPECT_EQ(registry.EnumKey(key.Handle(), 0, &name), tv::kErrorMoreData);
    EXPECT_EQ(registry.EnumValue(key.Handle(), 0, &name), tv::kErrorMoreData);
    EXPECT_TRUE(key.SubKeyNames().empty());
}

TEST(FakeRegistry, ClassesRootIsMachineClassesAndCannotBeRemoved) {
    FakeRegistry registry;
    ASSERT_TRUE(RegKey::Create(registry, tv::kHkeyClassesRoot, ".txt"));
    EXPECT_TRUE(RegKey::Open(registry, tv::kHkeyLocalMachine, "SOFTWARE\\Classes\\.TXT", tv::kKeyRead));
    EXPECT_FALSE(RegKey::Open(registry, tv::kHkeyCurrentUser, "Software\\Classes\\.txt", tv::kKeyRead));
    ASSERT_EQ(registry.DeleteKey(tv::kHkeyClassesRoot, ".txt"), tv::kErrorSuccess);
    // Deleting a class key nobody has finds none, and makes none.
    EXPECT_EQ(registry.DeleteKey(tv::kHkeyClassesRoot, "CLSID\\{none}"), tv::kErrorFileNotFound);
    EXPECT_FALSE(RegKey::Open(registry, tv::kHkeyLocalMachine, "Software\\Classes\\CLSID", tv::kKeyRead));
    EXPECT_EQ(registry.DeleteKey(tv::kHkeyLocalMachine, "Software\\Classes"), tv::kErrorAccessDenied);
    EXPECT_EQ(registry.DeleteKey(tv::kHkeyCurrentUser, ""), tv::kErrorInvalidParameter);
}

// HKLM\Software\Wow6432Node\Classes is HKLM\Software\Classes\Wow6432Node,
// by either name.
TEST(FakeRegistry, TheThirtyTwoBitClassesAreOneKeyByEitherName) {
    FakeRegistry registry(FakeRegistry::Views::TwoFor64BitProgram);
    RegKey::Create(registry, tv::kHkeyLocalMachine, "Software\\Classes\\Wow6432Node").SetString("v", "x");
    std::string text;
    EXPECT_TRUE(RegKey::Open(registry, tv::kHkeyLocalMachine, "Software\\Wow6432Node\\Classes", tv::kKeyRead)
                    .ReadString("v", 16, &text));
    EXPECT_EQ(text, "x");
}

// As on Windows 7: a class key the user has stands in HKCR over the
// machine's, key by key, also below a key opened through HKCR; a key made
// through HKCR that the user lacks is the machine's.
TEST(FakeRegistry, ClassesRootShowsTheUsersClassOverTheMachinesPerKey) {
    for (FakeRegistry::Views views : {FakeRegistry::Views::One, FakeRegistry::Views::TwoFor32BitProgram}) {
        FakeRegistry registry(views);
        const std::uint32_t view = views == FakeRegistry::Views::One ? 0 : tv::kKeyWow64_32Key;
        const std::string machine = views == FakeRegistry::Views::One
                                        ? "Software\\Classes\\CLSID\\{C}"
                                        : "Software\\Classes\\Wow6432Node\\CLSID\\{C}";
        RegKey::Create(registry, tv::kHkeyLocalMachine, machine, tv::kKeyWow64_64Key).SetString("", "machine");
        RegKey::Create(registry, tv::kHkeyLocalMachine, machine + "\\InprocServer32", tv::kKeyWow64_64Key)
            .SetString("", "m.dll");
        RegKey::Create(registry, tv::kHkeyCurrentUser, machine + "\\InprocServer32").SetString("", "u.dll");
        RegKey::Create(registry, tv::kHkeyLocalMachine, machine + "\\ProgID", tv::kKeyWow64_64Key)
            .SetString("", "p");
        std::string text;
        const RegKey id = RegKey::Open(registry, tv::kHkeyClassesRoot, "CLSID\\{C}", tv::kKeyRead | view);
        ASSERT_TRUE(id);
        EXPECT_FALSE(id.ReadString("", 64, &text));  // the user's key, without the machine's value
        EXPECT_TRUE(RegKey::Open(registry, id.Handle(), "ProgID", tv::kKeyRead).ReadString("", 64, &text));
        EXPECT_EQ(text, "p");  // the user has no such key
        EXPECT_TRUE(RegKey::Open(registry, id.Handle(), "InprocServer32", tv::kKeyRead).ReadString("", 64, &text));
        EXPECT_EQ(text, "u.dll");
        EXPECT_TRUE(RegKey::Open(registry, tv::kHkeyClassesRoot, "CLSID\\{C}\\InprocServer32", tv::kKeyRead | view)
                        .ReadString("", 64, &text));
        EXPECT_EQ(text, "u.dll");
        // Made through HKCR: the machine's.
        ASSERT_TRUE(RegKey::Create(registry, id.Handle(), "Made"));
        EXPECT_TRUE(RegKey::Open(registry, tv::kHkeyLocalMachine, machine + "\\Made", tv::kKeyRead | tv::kKeyWow64_64Key));
        // Deleted through HKCR: the key shown, the user's.
        ASSERT_EQ(registry.DeleteKey(id.Handle(), "InprocServer32"), tv::kErrorSuccess);
        EXPECT_FALSE(RegKey::Open(registry, tv::kHkeyCurrentUser, machine + "\\InprocServer32", tv::kKeyRead));
        EXPECT_TRUE(RegKey::Open(registry, tv::kHkeyClassesRoot, "CLSID\\{C}\\InprocServer32", tv::kKeyRead | view)
                        .ReadString("", 64, &text));
        EXPECT_EQ(text, "m.dll");
    }
}

TEST(FakeRegistry, StoresExactlyTheBytesGiven) {
    // No NUL is added to string data that lacks one (Windows may add one).
    FakeRegistry registry;
    const RegKey key = RegKey::Create(registry, tv::kHkeyCurrentUser, "Exact");
    ASSERT_EQ(key.Set("s", tv::kRegSz, "ab", 2), tv::kErrorSuccess);
    std::uint32_t size = 0;
    ASSERT_EQ(key.Query("s", nullptr, nullptr, &size), tv::kErrorSuccess);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(key.Set("n", tv::kRegBinary, nullptr, 3), tv::kErrorInvalidParameter);
    EXPECT_EQ(key.Set("n", tv::kRegBinary, nullptr, 0), tv::kErrorSuccess);
}

// The code page belongs to the platform: a fresh store assigned over the
// old one (as tests do to start over) still reads names through it.
TEST(FakeRegistry, AFreshStoreKeepsTheCodePageItWasGiven) {
    FakeRegistry registry;
    registry.UseCodec(std::make_shared<tv::IconvTextCodec>());
    registry = FakeRegistry();
    RegHandle key = 0;
    ASSERT_EQ(registry.CreateKeyW(tv::kHkeyCurrentUser, u"\u4E2D", &key), tv::kErrorSuccess);
    registry.CloseKey(key);
    EXPECT_EQ(RegKey::Open(registry, tv::kHkeyCurrentUser, "", tv::kKeyRead).SubKeyNames(),
              std::vector<std::string>{"\xD6\xD0"});
}

}  // namespace

