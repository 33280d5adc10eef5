#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "manage/AddonSources.h"
#include "manage/FileLocation.h"
#include "manage/RegistryJump.h"
#include "manage/StartupScan.h"
#include "platform/WideText.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

constexpr char16_t kZh[] = u"计算机";

struct RowCase {
    const char* what;
    std::u16string hidden;
    // Empty: the row is not in the registry.
    std::u16string lastKey;
};

TEST(RegistryJump, EachStartupRowKindNamesItsKeyOrNone) {
    const RowCase cases[] = {
        {"user Run value", u"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
         u"计算机\\HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {"machine Run value of the 32-bit view",
         u"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
         u"计算机\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {"single value", u"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Shell]",
         u"计算机\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"},
        {"single value with a dot", u"HKCU\\Control Panel\\Desktop [SCRNSAVE.EXE]",
         u"计算机\\HKEY_CURRENT_USER\\Control Panel\\Desktop"},
        {"switched-off value: its record, brackets and all",
         u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\Tool [x]",
         u"计算机\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\Tool [x]"},
        {"switched-off file: its record",
         u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder\\C:^a.lnk",
         u"计算机\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder\\C:^a.lnk"},
        {"name outside the code page", u"HKCU\\Software\\한 [x]", u"计算机\\HKEY_CURRENT_USER\\Software\\한"},
        {"startup-folder file", u"C:\\users\\me\\Startup\\Tool.lnk", u""},
        {"scheduled task", u"\\Microsoft\\TvTask", u""},
        {"notice row", u"", u""},
        {"a root alone", u"HKCU\\", u""},
        {"a trailing backslash", u"HKCU\\Software\\Run\\\\", u"计算机\\HKEY_CURRENT_USER\\Software\\Run"},
    };
    for (const RowCase& c : cases) {
        const std::optional<RegistryPlace> place = StartupRowPlace(c.hidden);
        EXPECT_EQ(place ? RegeditLastKey(kZh, *place) : std::u16string(), c.lastKey) << c.what;
    }
}

TEST(RegistryJump, AMachineRunValueReadInThe32BitViewNamesItsWow6432NodeKey) {
    testing::FakePlatform fake;
    fake.registry.UseViews(FakeRegistry::Views::TwoFor32BitProgram);
    fake.system.is64BitSystem = true;
    const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    RegKey::Create(fake.registry, kHkeyLocalMachine, kRun, kKeyWow64_32Key).SetString("Tv32", "C:\\tv32.exe");
    RegKey::Create(fake.registry, kHkeyLocalMachine, kRun, kKeyWow64_64Key).SetString("Tv64", "C:\\tv64.exe");
    std::u16string seen32, seen64;
    for (const StartupItem& item : StartupScan(fake.Get())) {
        const std::optional<RegistryPlace> place =
            StartupRowPlace(fake.codec.AnsiToWide(item.hidden.Shown()));
        if (!place) continue;
        if (item.name.Shown() == "Tv32") seen32 = RegeditLastKey(kZh, *place);
        if (item.name.Shown() == "Tv64") seen64 = RegeditLastKey(kZh, *place);
    }
    EXPECT_EQ(seen32, u"计算机\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(seen64, u"计算机\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
}

TEST(RegistryJump, ServicesAndAddOnsNameTheirOwnKeysInTheirViews) {
    const std::u16string id = u"{00000000-0000-0000-0000-000000000001}";
    struct Case {
        const char* what;
        RegistryPlace place;
        std::u16string lastKey;
    } cases[] = {
        {"service", ServicePlace(u"TvSvc"), u"Computer\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\TvSvc"},
        {"toolbar, 64-bit view", AddonPlace(kAddonSources[0], id, kKeyWow64_64Key),
         u"Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar"},
        {"toolbar, 32-bit view", AddonPlace(kAddonSources[0], id, kKeyWow64_32Key),
         u"Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Toolbar"},
        {"search hook of the user, 32-bit view", AddonPlace(kAddonSources[1], id, kKeyWow64_32Key),
         u"Computer\\HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\URLSearchHooks"},
        {"helper object, 32-bit view", AddonPlace(kAddonSources[2], id, kKeyWow64_32Key),
         u"Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
         u"Browser Helper Objects\\" + id},
        {"extension, 32-bit system", AddonPlace(kAddonSources[3], id, 0),
         u"Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\" + id},
    };
    for (const Case& c : cases) EXPECT_EQ(RegeditLastKey(u"Computer", c.place), c.lastKey) << c.what;
}

TEST(RegistryJump, TheTopItemIsTheOneTheEditorWroteOrElseTheSystemsOwn) {
    const struct {
        std::u16string before;
        std::u16string top;
    } cases[] = {
        {u"", u"计算机"},
        {u"Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE", u"Computer"},
        {u"我的电脑\\HKEY_CURRENT_USER", u"我的电脑"},
        {u"My Computer\\HKEY_CLASSES_ROOT\\CLSID", u"My Computer"},
        {std::u16string(u"Comp\0uter\\HKEY_LOCAL_MACHINE", 28), u"计算机"},
        {u"HKEY_LOCAL_MACHINE\\SOFTWARE", u"计算机"},
        {u"Computer\\Software", u"计算机"},
        {u"\\HKEY_LOCAL_MACHINE", u"计算机"},
        {u"Comp\tuter\\HKEY_LOCAL_MACHINE", u"计算机"},
        {std::u16string(65, u'x') + u"\\HKEY_LOCAL_MACHINE", u"计算机"},
        {std::u16string(64, u'x') + u"\\HKEY_LOCAL_MACHINE", std::u16string(64, u'x')},
    };
    for (const auto& c : cases) EXPECT_EQ(RegeditTopItem(c.before, kZh), c.top) << utf16::ToBytes(c.before);
}

class RememberTest : public ::testing::Test {
protected:
    // The value as stored: its type and its text, NUL included.
    std::pair<std::uint32_t, std::u16string> Stored() {
        RegKey key = RegKey::Open(fake.registry, kHkeyCurrentUser, kRegeditSettingsKey, kKeyRead);
        std::string data(1024, '\0');
        std::uint32_t size = 1024, type = 0;
        if (!key || fake.registry.QueryValueW(key.Handle(), u"LastKey", &type, data.data(), &size) != kErrorSuccess)
            return {};
        return {type, utf16::FromBytes(data.substr(0, size))};
    }
    testing::FakePlatform fake;
    const RegistryPlace place{kHkeyCurrentUser, u"Software\\한\\Run"};
};

TEST_F(RememberTest, WritesTheKeyExactlyAsTextUnderTheEditorsSettings) {
    ASSERT_TRUE(RememberRegeditKey(fake.registry, 0, place, kZh));
    const auto stored = Stored();
    EXPECT_EQ(stored.first, kRegSz);
    const std::u16string expected = std::u16string(u"计算机\\HKEY_CURRENT_USER\\Software\\한\\Run") + u'\0';
    EXPECT_EQ(stored.second, expected);
}

TEST_F(RememberTest, KeepsTheTopItemTheEditorNamedBefore) {
    RegKey::Create(fake.registry, kHkeyCurrentUser, kRegeditSettingsKey)
        .SetString("LastKey", "Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE");
    ASSERT_TRUE(RememberRegeditKey(fake.registry, 0, place, kZh));
    const std::u16string expected = std::u16string(u"Computer\\HKEY_CURRENT_USER\\Software\\한\\Run") + u'\0';
    EXPECT_EQ(Stored().second, expected);
}

TEST_F(RememberTest, AValueOfAnotherTypeIsNotReadForItsName) {
    const std::string bytes = utf16::ToBytes(u"Evil\\HKEY_LOCAL_MACHINE");
    RegKey::Create(fake.registry, kHkeyCurrentUser, kRegeditSettingsKey)
        .Set("LastKey", 3, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(RememberRegeditKey(fake.registry, 0, ServicePlace(u"S"), kZh));
    EXPECT_EQ(Stored().second, std::u16string(u"计算机\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\S") + u'\0');
}

TEST_F(RememberTest, ARootTheListsNeverNameIsNotWritten) {
    EXPECT_FALSE(RememberRegeditKey(fake.registry, 0, RegistryPlace{0x80000003u, u"S-1-5-18"}, kZh));
    EXPECT_EQ(Stored().first, 0u);
}

TEST(RegistryJump, TheEditorIsNamedByItsFullPathInTheWindowsFolder) {
    testing::FakePlatform fake;
    fake.environment.windowsDirectory = "D:\\Win";
    EXPECT_EQ(RegeditPath(fake.Get()), "D:\\Win\\regedit.exe");
    fake.environment.windowsDirectory.clear();
    EXPECT_EQ(RegeditPath(fake.Get()), "");
}

TEST(FileLocation, OnlyAFullPathWithoutQuotesHasALocation) {
    const struct {
        const char* file;
        bool has;
    } cases[] = {
        {"C:\\Windows\\notepad.exe", true},  {"d:\\a", true},
        {"\\\\server\\share\\a.exe", true},  {"", false},
        {"notepad.exe", false},              {"C:", false},
        {"C:\\", false},                     {"C:a.exe", false},
        {"\\\\server", false},               {"\\\\\\x\\y", false},
        {"\\Windows\\a.exe", false},         {"C:\\a\" /select,\"D:\\b", false},
        {"1:\\a", false},                    {"A:\\a", true},
        {"Z:\\a", true},                     {"a:\\a", true},
        {"z:\\a", true},                     {"@:\\a", false},
        {"[:\\a", false},                    {"`:\\a", false},
        {"{:\\a", false},                    {"\\\\a\\b", true},
        {"\\\\a\\", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasFileLocation(c.file), c.has) << c.file;
}

TEST(FileLocation, ExplorerIsToldToSelectTheFile) {
    const ShellLaunch launch = ExplorerAtFile("C:\\Windows", "C:\\Program Files\\a,b.exe");
    EXPECT_EQ(launch.file, "C:\\Windows\\explorer.exe");
    EXPECT_EQ(launch.parameters, "/select,\"C:\\Program Files\\a,b.exe\"");
    EXPECT_EQ(launch.verb, "");
    EXPECT_EQ(launch.showCommand, kSwShowNormal);
    EXPECT_EQ(ExplorerAtFile("", "C:\\a").file, "explorer.exe");
}

}  // namespace
}  // namespace tv
