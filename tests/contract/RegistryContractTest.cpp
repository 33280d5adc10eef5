// What every Registry must do, checked against the in-memory store and,
// under Wine, the real registry. Each test works below a scratch key that the
// fixture removes again.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/RegFile.h"
#include "platform/RegistryViews.h"
#include "tests/contract/RegistryUnderTest.h"

namespace {

using tv::RegHandle;
using tv::RegKey;

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        registry_ = MakeRegistryUnderTest();
        tv::DeleteKeyTree(*registry_, tv::kHkeyCurrentUser, ScratchKeyPath());
        scratch_ = RegKey::Create(*registry_, tv::kHkeyCurrentUser, ScratchKeyPath());
        ASSERT_TRUE(scratch_);
    }
    void TearDown() override {
        scratch_.Close();
        EXPECT_EQ(tv::DeleteKeyTree(*registry_, tv::kHkeyCurrentUser, ScratchKeyPath()),
                  tv::kErrorSuccess);
    }

    tv::Registry& registry() { return *registry_; }
    RegHandle scratch() const { return scratch_.Handle(); }

    RegKey Create(const std::string& path) {
        return RegKey::Create(*registry_, scratch(), path);
    }

    // The value's type and exact bytes, read whole.
    long Read(RegHandle key, const std::string& name, std::uint32_t* type,
              Bytes* bytes) {
        std::string data = "stale";
        const long rc = registry_->ReadWhole(key, name, type, &data);
        bytes->assign(data.begin(), data.end());
        return rc;
    }

    std::unique_ptr<tv::Registry> registry_;
    RegKey scratch_;
};

TEST_F(RegistryContract, SetStringStoresTheTextAndItsNul) {
    ASSERT_EQ(scratch_.SetString("Size", "20000"), tv::kErrorSuccess);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(registry().QueryValue(scratch(), "Size", &type, nullptr, &size),
              tv::kErrorSuccess);
    EXPECT_EQ(type, tv::kRegSz);
    EXPECT_EQ(size, 6u);
    Bytes bytes;
    ASSERT_EQ(Read(scratch(), "Size", &type, &bytes), tv::kErrorSuccess);
    EXPECT_EQ(bytes, (Bytes{'2', '0', '0', '0', '0', 0}));
    std::string text;
    ASSERT_TRUE(scratch_.ReadString("Size", 6, &text));
    EXPECT_EQ(text, "20000");
}

struct RoundTrip {
    const char* label;
    std::uint32_t type;
    Bytes bytes;
};

TEST_F(RegistryContract, ValuesOfEveryTypeRoundTripExactly) {
    const RoundTrip cases[] = {
        {"binary", tv::kRegBinary, {0x00, 0x01, 0x7F, 0x80, 0xFF}},
        {"empty binary", tv::kRegBinary, {}},
        {"dword", tv::kRegDword, {0x78, 0x56, 0x34, 0x12}},
        {"multi", tv::kRegMultiSz, {'a', 0, 'b', 'c', 0, 0}},
        {"multi of one nul", tv::kRegMultiSz, {0}},
        {"expand", tv::kRegExpandSz, ToBytes(std::string("%SystemRoot%\\x", 15))},
        {"empty string", tv::kRegSz, {0}},
        // "中文注册表" in CP936.
        {"chinese string", tv::kRegSz,
         ToBytes(std::string("\xD6\xD0\xCE\xC4\xD7\xA2\xB2\xE1\xB1\xED", 11))},
        {"none", tv::kRegNone, {1, 2, 3}},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.label);
        static const std::uint8_t kNothing = 0;
        ASSERT_EQ(registry().SetValue(scratch(), c.label, c.type,
                                      c.bytes.empty() ? &kNothing : c.bytes.data(),
                                      static_cast<std::uint32_t>(c.bytes.size())),
                  tv::kErrorSuccess);
        std::uint32_t type = 0xFFFF;
        Bytes read;
        ASSERT_EQ(Read(scratch(), c.label, &type, &read), tv::kErrorSuccess);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(read, c.bytes);
    }
}

TEST_F(RegistryContract, TypedSettersStoreTheirDocumentedBytes) {
    ASSERT_EQ(scratch_.SetDword("D", 0xA1B2C3D4u), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetMultiString("M", {"one", "two"}), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetMultiString("E", {}), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetBinary("B", {9, 8, 7}), tv::kErrorSuccess);
    const struct {
        const char* name;
        std::uint32_t type;
        Bytes bytes;
    } expected[] = {
        {"D", tv::kRegDword, {0xD4, 0xC3, 0xB2, 0xA1}},
        {"M", tv::kRegMultiSz, {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}},
        {"E", tv::kRegMultiSz, {0}},
        {"B", tv::kRegBinary, {9, 8, 7}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        std::uint32_t type = 0;
        Bytes read;
        ASSERT_EQ(Read(scratch(), e.name, &type, &read), tv::kErrorSuccess);
        EXPECT_EQ(type, e.type);
        EXPECT_EQ(read, e.bytes);
    }
    std::uint32_t value = 0;
    ASSERT_TRUE(scratch_.ReadDword("D", &value));
    EXPECT_EQ(value, 0xA1B2C3D4u);
    EXPECT_FALSE(scratch_.ReadDword("B", &value));
    // Four bytes of another type are no number.
    ASSERT_EQ(scratch_.SetBinary("B4", {1, 2, 3, 4}), tv::kErrorSuccess);
    EXPECT_FALSE(scratch_.ReadDword("B4", &value));
}

TEST_F(RegistryContract, ReadStringOfMultiStringYieldsTheFirstString) {
    ASSERT_EQ(scratch_.SetMultiString("M", {"first", "second"}), tv::kErrorSuccess);
    std::string text;
    ASSERT_TRUE(scratch_.ReadString("M", 64, &text));
    EXPECT_EQ(text, "first");
    EXPECT_FALSE(scratch_.ReadString("Missing", 64, &text));
}

struct SmallBuffer {
    const char* label;
    std::uint32_t type;
    Bytes bytes;
    std::uint32_t bufferSize;
};

TEST_F(RegistryContract, ValueTooBigForTheBufferReportsSizeAndLeavesBufferAlone) {
    const SmallBuffer cases[] = {
        {"string", tv::kRegSz, {'h', 'e', 'l', 'l', 'o', 0}, 5},
        {"string zero buffer", tv::kRegSz, {'h', 'i', 0}, 0},
        {"binary", tv::kRegBinary, {1, 2, 3}, 2},
        {"dword", tv::kRegDword, {1, 0, 0, 0}, 3},
        {"multi", tv::kRegMultiSz, {'a', 0, 'b', 0, 0}, 4},
    };
    for (const SmallBuffer& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(registry().SetValue(scratch(), c.label, c.type, c.bytes.data(),
                                      static_cast<std::uint32_t>(c.bytes.size())),
                  tv::kErrorSuccess);
        Bytes buffer(16, 0xCC);
        std::uint32_t size = c.bufferSize;
        std::uint32_t type = 0xFFFF;
        EXPECT_EQ(registry().QueryValue(scratch(), c.label, &type, buffer.data(), &size),
                  tv::kErrorMoreData);
        EXPECT_EQ(size, c.bytes.size());
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(buffer, Bytes(16, 0xCC));
    }
    std::string text = "unchanged";
    EXPECT_FALSE(scratch_.ReadString("string", 5, &text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(scratch_.ReadString("string", 6, &text));
    EXPECT_EQ(text, "hello");
}

TEST_F(RegistryContract, QueryWithoutBufferGivesTypeAndSize) {
    ASSERT_EQ(scratch_.SetBinary("B", {1, 2, 3, 4, 5, 6, 7}), tv::kErrorSuccess);
    std::uint32_t type = 0;
    std::uint32_t size = 1;
    EXPECT_EQ(registry().QueryValue(scratch(), "B", &type, nullptr, &size),
              tv::kErrorSuccess);
    EXPECT_EQ(type, tv::kRegBinary);
    EXPECT_EQ(size, 7u);
    std::uint8_t byte = 0;
    EXPECT_EQ(registry().QueryValue(scratch(), "B", &type, &byte, nullptr),
              tv::kErrorInvalidParameter);
}

TEST_F(RegistryContract, MissingKeyOpensWithFileNotFoundAndListsNothing) {
    RegHandle key = 0;
    EXPECT_EQ(registry().OpenKey(scratch(), "Missing", tv::kKeyRead, &key),
              tv::kErrorFileNotFound);
    const RegKey missing = RegKey::Open(registry(), scratch(), "Missing\\Deeper", tv::kKeyRead);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.SubKeyNames().empty());
    EXPECT_TRUE(missing.ValueNames().empty());
    std::string text;
    EXPECT_FALSE(missing.ReadString("x", 16, &text));
}

TEST_F(RegistryContract, CreateMakesMissingParentsAndReopensExistingKeys) {
    {
        const RegKey deep = Create("P\\Q\\R");
        ASSERT_TRUE(deep);
        ASSERT_EQ(deep.SetString("v", "1"), tv::kErrorSuccess);
    }
    for (const char* path : {"P", "P\\Q", "P\\Q\\R", "p\\q\\r\\"}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(RegKey::Open(registry(), scratch(), path, tv::kKeyRead));
    }
    const RegKey again = Create("P\\Q\\R");
    std::string text;
    ASSERT_TRUE(again.ReadString("v", 8, &text));
    EXPECT_EQ(text, "1");
    RegHandle key = 0;
    EXPECT_EQ(registry().CreateKey(scratch(), "\\Leading", &key), tv::kErrorBadPathname);
}

TEST_F(RegistryContract, DeletingAKeyWithSubkeysFailsAndKeepsEverything) {
    ASSERT_TRUE(Create("Parent\\Child"));
    EXPECT_EQ(registry().DeleteKey(scratch(), "Parent"), tv::kErrorAccessDenied);
    EXPECT_TRUE(RegKey::Open(registry(), scratch(), "Parent", tv::kKeyRead));
    EXPECT_TRUE(RegKey::Open(registry(), scratch(), "Parent\\Child", tv::kKeyRead));

    EXPECT_EQ(registry().DeleteKey(scratch(), "Parent\\Child"), tv::kErrorSuccess);
    EXPECT_EQ(scratch_.DeleteSubKey("parent"), tv::kErrorSuccess);
    RegHandle key = 0;
    EXPECT_EQ(registry().OpenKey(scratch(), "Parent", tv::kKeyRead, &key),
              tv::kErrorFileNotFound);
    EXPECT_EQ(registry().DeleteKey(scratch(), "Parent"), tv::kErrorFileNotFound);
}

TEST_F(RegistryContract, DeletedValueIsGone) {
    ASSERT_EQ(scratch_.SetDword("Gone", 1), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetDword("Stays", 2), tv::kErrorSuccess);
    EXPECT_EQ(scratch_.DeleteValue("GONE"), tv::kErrorSuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(registry().QueryValue(scratch(), "Gone", nullptr, nullptr, &size),
              tv::kErrorFileNotFound);
    EXPECT_EQ(scratch_.DeleteValue("Gone"), tv::kErrorFileNotFound);
    EXPECT_EQ(scratch_.ValueNames(), std::vector<std::string>{"Stays"});
}

TEST_F(RegistryContract, DefaultValueHasTheEmptyName) {
    std::uint32_t size = 0;
    EXPECT_EQ(registry().QueryValue(scratch(), "", nullptr, nullptr, &size),
              tv::kErrorFileNotFound);
    ASSERT_EQ(scratch_.SetString("", "default"), tv::kErrorSuccess);
    std::string text;
    ASSERT_TRUE(scratch_.ReadString("", 16, &text));
    EXPECT_EQ(text, "default");
    EXPECT_EQ(scratch_.ValueNames(), std::vector<std::string>{""});
}

TEST_F(RegistryContract, NamesMatchWithoutCaseButKeepTheirStoredCase) {
    ASSERT_TRUE(Create("MixedCase"));
    EXPECT_TRUE(RegKey::Open(registry(), scratch(), "MIXEDCASE", tv::kKeyRead));
    ASSERT_EQ(scratch_.SetString("ValueName", "1"), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetString("VALUENAME", "22"), tv::kErrorSuccess);
    std::string text;
    ASSERT_TRUE(scratch_.ReadString("valuename", 8, &text));
    EXPECT_EQ(text, "22");
    EXPECT_EQ(scratch_.ValueNames(), std::vector<std::string>{"ValueName"});
    EXPECT_EQ(scratch_.SubKeyNames(), std::vector<std::string>{"MixedCase"});
}

// Letters and digits only: Windows folds names to upper case before
// comparing, Wine to lower case, so "[\]^_`" would sort differently.
TEST_F(RegistryContract, SubkeysEnumerateInCaseInsensitiveNameOrder) {
    for (const char* name : {"beta", "Alpha", "gamma", "alpha2", "B", "10", "9"}) {
        ASSERT_TRUE(Create(name));
    }
    EXPECT_EQ(scratch_.SubKeyNames(),
              (std::vector<std::string>{"10", "9", "Alpha", "alpha2", "B", "beta", "gamma"}));
}

TEST_F(RegistryContract, ValuesEnumerateAsTheSetOfStoredNames) {
    for (const char* name : {"c", "A", "b"}) ASSERT_EQ(scratch_.SetDword(name, 0), tv::kErrorSuccess);
    const std::vector<std::string> names = scratch_.ValueNames();
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"A", "b", "c"}));
}

TEST_F(RegistryContract, EnumerationPastTheEndReportsNoMoreItems) {
    std::string name;
    EXPECT_EQ(registry().EnumKey(scratch(), 0, &name), tv::kErrorNoMoreItems);
    EXPECT_EQ(registry().EnumValue(scratch(), 0, &name), tv::kErrorNoMoreItems);
    ASSERT_TRUE(Create("Only"));
    ASSERT_EQ(scratch_.SetDword("Only", 1), tv::kErrorSuccess);
    EXPECT_EQ(registry().EnumKey(scratch(), 0, &name), tv::kErrorSuccess);
    EXPECT_EQ(name, "Only");
    EXPECT_EQ(registry().EnumKey(scratch(), 1, &name), tv::kErrorNoMoreItems);
    EXPECT_EQ(registry().EnumValue(scratch(), 1, &name), tv::kErrorNoMoreItems);
    EXPECT_EQ(registry().EnumKey(scratch(), 1000, &name), tv::kErrorNoMoreItems);
}

TEST_F(RegistryContract, ValuesEnumerateWithTheirDataInOneCall) {
    ASSERT_EQ(scratch_.SetString("Short", "C:\\a.exe"), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetString("Long", std::string(300, 'x')), tv::kErrorSuccess);
    std::map<std::string, std::string> read;
    int tooLong = 0;
    for (std::uint32_t index = 0;; ++index) {
        std::string name = "untouched";
        char data[260];
        std::memset(data, '#', sizeof data);
        std::uint32_t size = 256, type = 0;
        long rc = registry().EnumValueData(scratch(), index, &name, &type, data, &size);
        if (rc == tv::kErrorNoMoreItems) break;
        if (rc == tv::kErrorMoreData) {
            ++tooLong;
            EXPECT_EQ(data[0], '#');
            continue;
        }
        ASSERT_EQ(rc, tv::kErrorSuccess);
        EXPECT_EQ(type, tv::kRegSz) << name;
        EXPECT_EQ(size, 9u);
        read[name] = std::string(data, size);
    }
    EXPECT_EQ(tooLong, 1);
    EXPECT_EQ(read, (std::map<std::string, std::string>{{"Short", std::string("C:\\a.exe\0", 9)}}));
}

// CP936 names; the hex escapes keep the bytes independent of the compiler's
// character set.
const std::string kChineseName = "\xD6\xD0\xCE\xC4\xD7\xA2\xB2\xE1\xB1\xED";  // 中文注册表
const std::string kBackslashTrail = "\xD0\x5C";  // 衆: second byte is '\'
const std::string kUpperATrail = "\xC8\x41";     // 華: second byte is 'A'
const std::string kLowerATrail = "\xC8\x61";     // 萢: second byte is 'a'

TEST_F(RegistryContract, ChineseKeyAndValueNamesRoundTrip) {
    {
        const RegKey key = Create(kChineseName);
        ASSERT_TRUE(key);
        ASSERT_EQ(key.SetString(kChineseName, kChineseName), tv::kErrorSuccess);
    }
    ASSERT_TRUE(Create(kBackslashTrail));
    EXPECT_EQ(scratch_.SubKeyNames().size(), 2u);
    const RegKey key = RegKey::Open(registry(), scratch(), kChineseName, tv::kKeyRead);
    ASSERT_TRUE(key);
    EXPECT_EQ(key.ValueNames(), std::vector<std::string>{kChineseName});
    std::string text;
    ASSERT_TRUE(key.ReadString(kChineseName, 32, &text));
    EXPECT_EQ(text, kChineseName);
    // The trail byte 0x5C did not split the name into two levels.
    const RegKey single = RegKey::Open(registry(), scratch(), kBackslashTrail, tv::kKeyRead);
    ASSERT_TRUE(single);
    EXPECT_TRUE(single.SubKeyNames().empty());
    const std::vector<std::string> names = scratch_.SubKeyNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{kChineseName, kBackslashTrail}));
}

TEST_F(RegistryContract, TrailBytesThatLookLikeLettersAreNotCaseFolded) {
    ASSERT_EQ(scratch_.SetDword(kUpperATrail, 1), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetDword(kLowerATrail, 2), tv::kErrorSuccess);
    std::uint32_t value = 0;
    ASSERT_TRUE(scratch_.ReadDword(kUpperATrail, &value));
    EXPECT_EQ(value, 1u);
    ASSERT_TRUE(scratch_.ReadDword(kLowerATrail, &value));
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(scratch_.ValueNames().size(), 2u);
}

// Hangul: no character of it is in code page 936.
const std::u16string kHangul = u"\uCE74\uCE74\uC624\uD1A1";  // 카카오톡

std::string WideBytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// A whole read gives every byte of a value of any size, through either
// call, and nothing for a value that is not there.
TEST_F(RegistryContract, WholeReadsGiveTheTypeAndEveryByte) {
    Bytes big(70000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(scratch_.SetBinary("Big", big), tv::kErrorSuccess);
    std::uint32_t type = 0;
    Bytes read;
    ASSERT_EQ(Read(scratch(), "Big", &type, &read), tv::kErrorSuccess);
    EXPECT_EQ(type, tv::kRegBinary);
    EXPECT_EQ(read, big);
    EXPECT_EQ(Read(scratch(), "Absent", &type, &read), tv::kErrorFileNotFound);
    EXPECT_TRUE(read.empty());

    const std::string sz = WideBytes(u"C:\\\uCE74.exe") + std::string(2, '\0');
    ASSERT_EQ(registry().SetValueW(scratch(), kHangul, tv::kRegSz, sz.data(),
                                   static_cast<std::uint32_t>(sz.size())),
              tv::kErrorSuccess);
    std::string data = "stale";
    ASSERT_EQ(registry().ReadWholeW(scratch(), kHangul, &type, &data), tv::kErrorSuccess);
    EXPECT_EQ(type, tv::kRegSz);
    EXPECT_EQ(data, sz);
    EXPECT_EQ(registry().ReadWholeW(scratch(), u"Absent", &type, &data), tv::kErrorFileNotFound);
    EXPECT_TRUE(data.empty());
}

TEST_F(RegistryContract, UnicodeCallsNameEntriesTheCodePageCannot) {
    // The ANSI calls see the Hangul value as "????"; a value literally named
    // that is another one.
    const std::string sz = WideBytes(u"C:\\\uCE74.exe") + std::string(2, '\0');
    ASSERT_EQ(registry().SetValueW(scratch(), kHangul, tv::kRegSz, sz.data(),
                                   static_cast<std::uint32_t>(sz.size())),
              tv::kErrorSuccess);
    ASSERT_EQ(scratch_.SetString("????", "decoy"), tv::kErrorSuccess);
    EXPECT_EQ(scratch_.ValueNames(), (std::vector<std::string>{"????", "????"}));
    std::vector<std::u16string> wide;
    std::u16string name;
    for (std::uint32_t i = 0; registry().EnumValueW(scratch(), i, &name) == tv::kErrorSuccess; ++i)
        wide.push_back(name);
    EXPECT_EQ(std::set<std::u16string>(wide.begin(), wide.end()),
              (std::set<std::u16string>{kHangul, u"????"}));

    // String data comes back as UTF-16 through the W call, the odd byte of
    // an odd-length string included.
    std::uint32_t type = 0;
    std::string data(64, '\0');
    std::uint32_t size = 64;
    ASSERT_EQ(registry().QueryValueW(scratch(), kHangul, &type, data.data(), &size),
              tv::kErrorSuccess);
    EXPECT_EQ(type, tv::kRegSz);
    EXPECT_EQ(data.substr(0, size), sz);
    const std::string odd = WideBytes(u"ab") + "c";
    ASSERT_EQ(registry().SetValueW(scratch(), u"odd", tv::kRegSz, odd.data(), 5),
              tv::kErrorSuccess);
    size = 64;
    ASSERT_EQ(registry().QueryValueW(scratch(), u"odd", &type, data.data(), &size),
              tv::kErrorSuccess);
    EXPECT_EQ(data.substr(0, size), odd);
    size = 64;
    ASSERT_EQ(registry().QueryValueW(scratch(), u"????", &type, data.data(), &size),
              tv::kErrorSuccess);
    EXPECT_EQ(data.substr(0, size), WideBytes(u"decoy") + std::string(2, '\0'));

    // Deleting by the exact name takes that value and leaves the decoy.
    ASSERT_EQ(registry().DeleteValueW(scratch(), kHangul), tv::kErrorSuccess);
    EXPECT_EQ(registry().QueryValueW(scratch(), kHangul, nullptr, nullptr, nullptr),
              tv::kErrorFileNotFound);
    std::string decoy;
    EXPECT_TRUE(scratch_.ReadString("????", 16, &decoy));
    EXPECT_EQ(decoy, "decoy");

    // Keys likewise.
    RegHandle key = 0;
    ASSERT_EQ(registry().CreateKeyW(scratch(), kHangul + u"\\sub", &key), tv::kErrorSuccess);
    registry().CloseKey(key);
    ASSERT_EQ(registry().EnumKeyW(scratch(), 0, &name), tv::kErrorSuccess);
    EXPECT_EQ(name, kHangul);
    EXPECT_EQ(scratch_.SubKeyNames(), std::vector<std::string>{"????"});
    EXPECT_EQ(registry().OpenKeyW(scratch(), u"????", tv::kKeyRead, &key), tv::kErrorFileNotFound);
    ASSERT_EQ(registry().OpenKeyW(scratch(), kHangul, tv::kKeyRead, &key), tv::kErrorSuccess);
    ASSERT_EQ(registry().EnumKeyW(key, 0, &name), tv::kErrorSuccess);
    EXPECT_EQ(name, u"sub");
    registry().CloseKey(key);
    EXPECT_EQ(registry().DeleteKeyW(scratch(), kHangul + u"\\sub"), tv::kErrorSuccess);
    EXPECT_EQ(registry().DeleteKeyW(scratch(), kHangul), tv::kErrorSuccess);
    EXPECT_TRUE(scratch_.SubKeyNames().empty());
}

// No Win32 call makes a value whose name has a NUL in it, but the native
// call does (any program of the user's can): it is listed with its whole
// name, through either call, while every call that takes a name stops at
// the NUL and so reaches the value named by the part before it.
TEST_F(RegistryContract, AValueNamedWithANulIsListedWholeAndCallsStopAtTheNul) {
    RegKey key = Create("Nul");
    ASSERT_EQ(key.SetString("OneDrive", "real"), tv::kErrorSuccess);
    const std::u16string planted(u"OneDrive\0x", 10);
    const std::string data("p\0l\0\0\0", 6);  // "pl" as UTF-16 with its NUL
    ASSERT_EQ(SetValueCountedUnderTest(registry(), key.Handle(), planted, tv::kRegSz, data), tv::kErrorSuccess);

    std::set<std::u16string> wide;
    std::u16string name;
    for (std::uint32_t i = 0; registry().EnumValueW(key.Handle(), i, &name) == tv::kErrorSuccess; ++i)
        wide.insert(name);
    EXPECT_EQ(wide, (std::set<std::u16string>{u"OneDrive", planted}));
    std::set<std::string> ansi;
    std::string narrow;
    for (std::uint32_t i = 0; registry().EnumValue(key.Handle(), i, &narrow) == tv::kErrorSuccess; ++i)
        ansi.insert(narrow);
    EXPECT_EQ(ansi, (std::set<std::string>{"OneDrive", std::string("OneDrive\0x", 10)}));

    // By its name: the real one is reached, and the real one deleted.
    std::uint32_t size = 0;
    ASSERT_EQ(registry().QueryValueW(key.Handle(), planted, nullptr, nullptr, &size), tv::kErrorSuccess);
    EXPECT_EQ(size, 10u);  // "real" and its NUL, not the planted data
    EXPECT_EQ(registry().DeleteValueW(key.Handle(), planted), tv::kErrorSuccess);
    wide.clear();
    for (std::uint32_t i = 0; registry().EnumValueW(key.Handle(), i, &name) == tv::kErrorSuccess; ++i)
        wide.insert(name);
    EXPECT_EQ(wide, std::set<std::u16string>{planted});
}

TEST_F(RegistryContract, ClosedHandleIsInvalid) {
    RegHandle key = 0;
    ASSERT_EQ(registry().CreateKey(scratch(), "Closed", &key), tv::kErrorSuccess);
    ASSERT_EQ(registry().CloseKey(key), tv::kErrorSuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(registry().QueryValue(key, "x", nullptr, nullptr, &size), tv::kErrorInvalidHandle);
    EXPECT_EQ(registry().CloseKey(key), tv::kErrorInvalidHandle);
    EXPECT_EQ(registry().CloseKey(tv::kHkeyCurrentUser), tv::kErrorSuccess);
}

TEST_F(RegistryContract, HandleOfADeletedKeyReportsKeyDeleted) {
    const RegKey doomed = Create("Doomed");
    ASSERT_TRUE(doomed);
    ASSERT_EQ(doomed.SetDword("v", 1), tv::kErrorSuccess);
    ASSERT_EQ(scratch_.DeleteSubKey("Doomed"), tv::kErrorSuccess);
    const RegHandle h = doomed.Handle();
    std::uint32_t size = 4;
    std::uint8_t data[4];
    std::string name;
    RegHandle key = 0;
    EXPECT_EQ(registry().QueryValue(h, "v", nullptr, data, &size), tv::kErrorKeyDeleted);
    EXPECT_EQ(registry().SetValue(h, "w", tv::kRegBinary, data, 1), tv::kErrorKeyDeleted);
    EXPECT_EQ(registry().DeleteValue(h, "v"), tv::kErrorKeyDeleted);
    EXPECT_EQ(registry().EnumKey(h, 0, &name), tv::kErrorKeyDeleted);
    EXPECT_EQ(registry().EnumValue(h, 0, &name), tv::kErrorKeyDeleted);
    EXPECT_EQ(registry().CreateKey(h, "Sub", &key), tv::kErrorKeyDeleted);
    EXPECT_EQ(registry().OpenKey(h, "", tv::kKeyRead, &key), tv::kErrorKeyDeleted);
}

TEST_F(RegistryContract, HandleRightsLimitValueAndEnumerationCalls) {
    ASSERT_EQ(Create("Limited").SetDword("v", 7), tv::kErrorSuccess);
    const RegKey reader = RegKey::Open(registry(), scratch(), "Limited", tv::kKeyRead);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader.SetDword("w", 1), tv::kErrorAccessDenied);
    EXPECT_EQ(reader.DeleteValue("v"), tv::kErrorAccessDenied);
    std::uint32_t value = 0;
    EXPECT_TRUE(reader.ReadDword("v", &value));

    const RegKey writer = RegKey::Open(registry(), scratch(), "Limited", tv::kKeySetValue);
    ASSERT_TRUE(writer);
    EXPECT_EQ(writer.SetDword("w", 1), tv::kErrorSuccess);
    std::uint32_t size = 0;
    std::string name;
    EXPECT_EQ(writer.Query("v", nullptr, nullptr, &size), tv::kErrorAccessDenied);
    EXPECT_EQ(registry().EnumValue(writer.Handle(), 0, &name), tv::kErrorAccessDenied);
    EXPECT_EQ(registry().EnumKey(writer.Handle(), 0, &name), tv::kErrorAccessDenied);
}

TEST_F(RegistryContract, EmptySubkeyNameDeletesNothing) {
    RegKey self = Create("Self");
    ASSERT_TRUE(self);
    EXPECT_EQ(self.DeleteSubKey(""), tv::kErrorInvalidParameter);
    self.Close();
    EXPECT_TRUE(RegKey::Open(registry(), scratch(), "Self", tv::kKeyRead));
}

TEST_F(RegistryContract, ClassesRootShowsMachineClasses) {
    const std::string leaf = ScratchKeyPath().substr(ScratchKeyPath().rfind('\\') + 1);
    const std::string machinePath = "Software\\Classes\\" + leaf;
    struct Cleanup {
        tv::Registry& registry;
        std::string path;
        ~Cleanup() { tv::DeleteKeyTree(registry, tv::kHkeyLocalMachine, path); }
    } cleanup{registry(), machinePath};

    ASSERT_EQ(RegKey::Create(registry(), tv::kHkeyLocalMachine, machinePath)
                  .SetString("", "machine"),
              tv::kErrorSuccess);
    const RegKey viaRoot = RegKey::Open(registry(), tv::kHkeyClassesRoot, leaf, tv::kKeyRead);
    std::string text;
    ASSERT_TRUE(viaRoot.ReadString("", 16, &text));
    EXPECT_EQ(text, "machine");

    ASSERT_TRUE(RegKey::Create(registry(), tv::kHkeyClassesRoot, leaf + "\\Made"));
    EXPECT_TRUE(RegKey::Open(registry(), tv::kHkeyLocalMachine, machinePath + "\\Made",
                             tv::kKeyRead));
}

}  // namespace

// Where a write in the 32-bit view lands, as the 64-bit view names it: the
// keys the program reads in both views are redirected, the others shared.
// On 32-bit Windows there is one view and the view bits change nothing.
TEST(RegistryViewsContract, ThirtyTwoBitWritesLandWhereThe64BitViewSeesThem) {
    std::unique_ptr<tv::Registry> registry = MakeRegistryUnderTest();
    const bool twoViews = RegistryUnderTestHasTwoViews();
    const std::string leaf = "TrimvexViews-" +
                             ScratchKeyPath().substr(ScratchKeyPath().rfind('-') + 1);
    struct Case {
        RegHandle root;
        std::string written;  // created in the 32-bit view
        std::string landed;   // where the 64-bit view finds it on 64-bit Windows
        std::string made;     // the topmost key the write makes, as written
    };
    const Case cases[] = {
        {tv::kHkeyLocalMachine, "Software\\" + leaf + "\\Run", "Software\\Wow6432Node\\" + leaf + "\\Run",
         "Software\\" + leaf},
        {tv::kHkeyLocalMachine, "SOFTWARE\\Wow6432Node\\" + leaf, "SOFTWARE\\Wow6432Node\\" + leaf,
         "SOFTWARE\\Wow6432Node\\" + leaf},
        {tv::kHkeyClassesRoot, "CLSID\\{" + leaf + "}", "Wow6432Node\\CLSID\\{" + leaf + "}",
         "CLSID\\{" + leaf + "}"},
        {tv::kHkeyLocalMachine, "Software\\Classes\\CLSID\\{" + leaf + "}",
         "Software\\Classes\\Wow6432Node\\CLSID\\{" + leaf + "}",
         "Software\\Classes\\CLSID\\{" + leaf + "}"},
        {tv::kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\" + leaf,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\" + leaf,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\" + leaf},
        {tv::kHkeyLocalMachine, "SYSTEM\\" + leaf, "SYSTEM\\" + leaf, "SYSTEM\\" + leaf},
        {tv::kHkeyCurrentUser, "Software\\" + leaf, "Software\\" + leaf, "Software\\" + leaf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        const std::string landed = twoViews ? c.landed : c.written;
        EXPECT_EQ(tv::DisplayedKeyPath(c.root, c.written, tv::kKeyWow64_32Key), c.landed);
        ASSERT_EQ(RegKey::Create(*registry, c.root, c.written, tv::kKeyWow64_32Key)
                      .SetString("v", "32"),
                  tv::kErrorSuccess);
        std::string text;
        EXPECT_TRUE(RegKey::Open(*registry, c.root, landed, tv::kKeyRead | tv::kKeyWow64_64Key)
                        .ReadString("v", 16, &text));
        EXPECT_EQ(text, "32");
        // The 32-bit view reads its own write back under the name it gave.
        text.clear();
        EXPECT_TRUE(RegKey::Open(*registry, c.root, c.written, tv::kKeyRead | tv::kKeyWow64_32Key)
                        .ReadString("v", 16, &text));
        EXPECT_EQ(text, "32");
        // A redirected key's 64-bit copy stays untouched.
        const bool seenAsWritten =
            RegKey::Open(*registry, c.root, c.written, tv::kKeyRead | tv::kKeyWow64_64Key)
                .ReadString("v", 16, &text);
        EXPECT_EQ(seenAsWritten, landed == c.written);
        // The program's own view is the view of its own bitness.
        const bool ownSeesIt =
            RegKey::Open(*registry, c.root, landed, tv::kKeyRead).ReadString("v", 16, &text);
        EXPECT_TRUE(ownSeesIt);
        EXPECT_EQ(tv::DeleteKeyTree(*registry, c.root,
                                    twoViews ? tv::DisplayedKeyPath(c.root, c.made, tv::kKeyWow64_32Key)
                                             : c.made),
                  tv::kErrorSuccess);
    }
    // Windows 7 redirects only the class identifiers among the classes (Wine
    // redirects them all, so these are named, not written); the 64-bit view
    // and a path with no key in it stay as they are.
    const std::pair<RegHandle, std::string> unchanged[] = {
        {tv::kHkeyClassesRoot, "lnkfile"},
        {tv::kHkeyClassesRoot, ""},
        {tv::kHkeyLocalMachine, "Software\\Classes\\lnkfile"},
    };
    for (const auto& [root, path] : unchanged) {
        EXPECT_EQ(tv::DisplayedKeyPath(root, path, tv::kKeyWow64_32Key), path);
        EXPECT_EQ(tv::DisplayedKeyPath(root, path + "\\x", tv::kKeyWow64_64Key), path + "\\x");
    }
}
