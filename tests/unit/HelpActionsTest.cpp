// The help page's actions against the fakes: the addresses opened, the
// message texts and the install advisor's reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "links/HelpActions.h"
#include "platform/BuildSettings.h"
#include "platform/host/IconvTextCodec.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

constexpr std::uint64_t kMiB = 1ull << 20;
const std::string kSite = TV_SITE_HOST;

std::string SearchAddress(const std::string& encoded) {
    return std::string("http://") + TV_SEARCH_HOST + "/search?q=" + encoded +
           "&ie=UTF-8&oe=UTF-8&hl=zh-cn&domains=" + kSite + "&sitesearch=" + kSite;
}

class HelpTest : public ::testing::Test {
protected:
    testing::FakePlatform fakes_;
    IconvTextCodec codec_;
};

TEST_F(HelpTest, SearchNeedsTwoBytesAndSendsTheWordsAsUtf8) {
    struct Case {
        std::string words;  // code page 936
        std::string encoded;  // empty: refused
    } cases[] = {
        {"", ""},
        {"a", ""},
        {"ab", "ab"},
        {"\xD6\xD0", "%E4%B8%AD"},                        // 中: one character, two bytes
        {"\xC0\xB6\xC6\xC1 7", "%E8%93%9D%E5%B1%8F%207"},  // 蓝屏 7
        {"a&b#c", "a%26b%23c"},
        {"C:\\x", "C%3A%5Cx"},
        {"\xDB\x5C", "%E8%B8%88"},  // 踈: its trail byte is a backslash
        // The unreserved ranges and the characters just outside them.
        {"AZaz09-_.~", "AZaz09-_.~"},
        {"@[`{/:", "%40%5B%60%7B%2F%3A"},
    };
    for (const Case& c : cases) {
        fakes_.userShell.Clear();
        fakes_.prompter.Clear();
        SiteSearch(fakes_.Get(), codec_, c.words);
        if (c.encoded.empty()) {
            EXPECT_TRUE(fakes_.userShell.Asked().empty()) << c.words;
            ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u) << c.words;
            const Prompt& p = fakes_.prompter.Prompts()[0];
            EXPECT_EQ(p.text, "请先在左边方框中输入问题描述或关键字");
            EXPECT_EQ(p.caption, "Trimvex");
            EXPECT_EQ(p.type, 0x80u);
            EXPECT_EQ(p.iconId, 128);
        } else {
            EXPECT_TRUE(fakes_.prompter.Prompts().empty()) << c.words;
            ASSERT_EQ(fakes_.userShell.Launches().size(), 1u) << c.words;
            EXPECT_EQ(fakes_.userShell.Launches()[0].file, SearchAddress(c.encoded));
            EXPECT_EQ(fakes_.userShell.Launches()[0].showCommand, 5);
        }
        EXPECT_TRUE(fakes_.shell.Requests().empty()) << c.words;
    }
}

// Code page 936 has no characters beyond the 16-bit range, but the encoder
// must still treat surrogates right: a pair is one 4-byte character, a lone
// one is replaced.
TEST(HelpSearchEncoding, SurrogatesPairedOrReplaced) {
    const struct {
        std::u16string text;
        const char* encoded;
    } cases[] = {
        {u"\xD7FF", "%ED%9F%BF"},
        {u"\xE000", "%EE%80%80"},
        {u"\xD83D\xDE00", "%F0%9F%98%80"},
        {u"\xD800\xDC00", "%F0%90%80%80"},
        {u"\xDBFF\xDFFF", "%F4%8F%BF%BF"},
        {u"\xD800", "%EF%BF%BD"},
        {u"\xDFFF", "%EF%BF%BD"},
        {u"\xDC00\xD800", "%EF%BF%BD%EF%BF%BD"},
        {u"\xDBFF" u"a", "%EF%BF%BDa"},
        {u"\xD800\xDBFF\xDFFF", "%EF%BF%BD%F4%8F%BF%BF"},
        {u"\xD800\xE000", "%EF%BF%BD%EE%80%80"},
        {u"\x07FF\x0800", "%DF%BF%E0%A0%80"},
        {u"\x007F\x0080", "%7F%C2%80"},
    };
    for (const auto& c : cases) EXPECT_EQ(PercentEncodeUtf8(c.text), c.encoded) << c.encoded;
}

TEST_F(HelpTest, MailRequirementsAndBanner) {
    SupportMail(fakes_.Get());
    ShowHardwareRequirements(fakes_.Get());
    ASSERT_EQ(fakes_.userShell.Launches().size(), 2u);
    EXPECT_EQ(fakes_.userShell.Launches()[0].file,
              std::string("mailto:") + TV_SUPPORT_MAIL + "?Subject=Windows7用户技术支持");
    EXPECT_EQ(fakes_.userShell.Launches()[1].file, "http://" + kSite + "/upgrade/70.html");
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text,
              "Windows 7 最低硬件安装要求\r\n\r\nCPU:  1G MHz 或以上" + std::string(15, ' ') +
                  "\r\n\r\n内存: 1GB 或以上" + std::string(17, ' ') +
                  "\r\n\r\n硬盘: C盘为NTFS格式,安装分区至少8GB剩余空间   \r\n");
    EXPECT_EQ(fakes_.prompter.Prompts()[0].caption, "Trimvex");
    EXPECT_EQ(HelpBannerText(), "Trimvex官方网站常见问题站内搜索 [ " + kSite + "]    [ " +
                                    TV_SUPPORT_MAIL + "]");
}

TEST_F(HelpTest, WithADesktopShellAddressesOpenThroughItAlone) {
    // The desktop shell opens them with the user's rights; nothing is opened
    // from this elevated process.
    SupportMail(fakes_.Get());
    ShowHardwareRequirements(fakes_.Get());
    EXPECT_TRUE(fakes_.shell.Requests().empty());
    EXPECT_TRUE(fakes_.shell.Launches().empty());
    const std::vector<ShellLaunch>& launches = fakes_.userShell.Launches();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].file, std::string("mailto:") + TV_SUPPORT_MAIL + "?Subject=Windows7用户技术支持");
    EXPECT_EQ(launches[1].file, "http://" + kSite + "/upgrade/70.html");
    for (const ShellLaunch& launch : launches) {
        EXPECT_EQ(launch.verb, "");
        EXPECT_EQ(launch.parameters, "");
        EXPECT_EQ(launch.directory, "");
        EXPECT_EQ(launch.showCommand, kSwShow);
    }
}

struct DriveSetup {
    char letter;
    int type;
    std::string fileSystem;  // empty: unreadable
    std::uint64_t freeMiB;
};

std::string Advise(const std::vector<DriveSetup>& setup) {
    FakeDrives drives;
    for (const DriveSetup& d : setup) {
        FakeDrives::Drive drive;
        drive.type = d.type;
        drive.fileSystem = d.fileSystem;
        drive.space.freeToCaller = d.freeMiB * kMiB + 12345;
        drive.space.totalFree = drive.space.freeToCaller;
        drive.space.total = drive.space.freeToCaller * 2;
        drives.Set(std::string(1, d.letter) + ":\\", drive);
    }
    return RecommendPartition(drives);
}

TEST(InstallAdvisor, Reports) {
    const int F = kDriveFixed;
    struct Case {
        const char* what;
        std::vector<DriveSetup> drives;
        std::string report;
    } cases[] = {
        {"larger D wins", {{'C', F, "NTFS", 20480}, {'D', F, "NTFS", 51200}},
         "推荐您安装 Windows 7 在分区 [ D:\\ ]"},
        {"FAT32 D raises the bar over E",
         {{'C', F, "NTFS", 20480}, {'D', F, "FAT32", 51200}, {'E', F, "NTFS", 30720}},
         "推荐您安装 Windows 7 在分区 [ C:\\ ]"},
        {"small FAT32 C", {{'C', F, "FAT32", 300}},
         "您的系统分区不为NTFS\r\nC分区可用空间太小\r\n没有找到适合Win7安装的分区"},
        {"exactly 8000 MiB", {{'C', F, "NTFS", 1000}, {'D', F, "NTFS", 8000}},
         "没有找到适合Win7安装的分区"},
        {"8001 MiB", {{'C', F, "NTFS", 1000}, {'D', F, "NTFS", 8001}},
         "推荐您安装 Windows 7 在分区 [ D:\\ ]"},
        {"tie keeps the earlier letter",
         {{'C', F, "NTFS", 500}, {'E', F, "NTFS", 9000}, {'G', F, "ntfs", 9000}},
         "推荐您安装 Windows 7 在分区 [ E:\\ ]"},
        {"A, B and removable drives are not looked at",
         {{'A', F, "NTFS", 90000}, {'B', F, "NTFS", 90000}, {'C', F, "NTFS", 9000},
          {'D', kDriveRemovable, "NTFS", 90000}, {'E', kDriveCdRom, "NTFS", 90000},
          {'F', kDriveRemote, "NTFS", 90000}},
         "推荐您安装 Windows 7 在分区 [ C:\\ ]"},
        {"unreadable C counts as null and empty",
         {{'C', F, "", 0}, {'Z', F, "NTFS", 70000}},
         "您的系统分区不为NTFS\r\nC分区可用空间太小\r\n推荐您安装 Windows 7 在分区 [ Z:\\ ]"},
        {"no drives at all", {}, "没有找到适合Win7安装的分区"},
        {"C just at 400 MiB is enough", {{'C', F, "NTFS", 400}}, "没有找到适合Win7安装的分区"},
        {"C at 399 MiB is tight", {{'C', F, "NTFS", 399}},
         "C分区可用空间太小\r\n没有找到适合Win7安装的分区"},
        {"a huge volume is still the largest",
         {{'C', F, "NTFS", 9000}, {'D', F, "NTFS", 1ull << 40}},
         "推荐您安装 Windows 7 在分区 [ D:\\ ]"},
    };
    for (const Case& c : cases) EXPECT_EQ(Advise(c.drives), c.report) << c.what;
}

TEST(InstallAdvisor, Probes) {
    FakeDrives drives;
    FakeDrives::Drive d;
    d.fileSystem = "";
    d.spaceKnown = false;
    drives.Set("C:\\", d);
    EXPECT_EQ(VolumeFileSystemName(drives, "C:\\"), "null");
    EXPECT_EQ(DriveFreeMegabytes(drives, "C:\\"), 0);
    d.fileSystem = "FAT32";
    d.spaceKnown = true;
    d.space.freeToCaller = 3 * kMiB - 1;
    drives.Set("C:\\", d);
    EXPECT_EQ(VolumeFileSystemName(drives, "C:\\"), "FAT32");
    EXPECT_EQ(DriveFreeMegabytes(drives, "C:\\"), 2);
}

TEST_F(HelpTest, WithoutADesktopShellTheUserIsToldWhatToOpen) {
    // A planted handler with the shell ended: nothing may start from this
    // elevated process, and the box names exactly what the user opens.
    struct Case {
        const char* name;
        void (*act)(const Platform&, const TextCodec&);
        std::vector<std::string> texts;
    } cases[] = {
        {"search", [](const Platform& p, const TextCodec& c) { SiteSearch(p, c, "\xD6\xD0 7"); },
         {"无法通过桌面打开，请自行在浏览器中打开以下地址：\n" + SearchAddress("%E4%B8%AD%207")}},
        {"mail", [](const Platform& p, const TextCodec&) { SupportMail(p); },
         {std::string("无法通过桌面打开邮件程序，请自行发送邮件至以下地址：\n") + TV_SUPPORT_MAIL}},
        // The requirements box first, then the article's address.
        {"requirements", [](const Platform& p, const TextCodec&) { ShowHardwareRequirements(p); },
         {"", "无法通过桌面打开，请自行在浏览器中打开以下地址：\nhttp://" + kSite + "/upgrade/70.html"}},
    };
    for (const Case& c : cases) {
        testing::FakePlatform fakes;
        fakes.userShell.available = false;
        c.act(fakes.Get(), codec_);
        EXPECT_EQ(fakes.userShell.Asked().size(), 1u) << c.name;
        EXPECT_TRUE(fakes.userShell.Launches().empty()) << c.name;
        EXPECT_TRUE(fakes.shell.Requests().empty()) << c.name;
        EXPECT_TRUE(fakes.shell.Launches().empty()) << c.name;
        EXPECT_TRUE(fakes.shell.Commands().empty()) << c.name;
        EXPECT_TRUE(fakes.shell.Processes().empty()) << c.name;
        ASSERT_EQ(fakes.prompter.Prompts().size(), c.texts.size()) << c.name;
        const Prompt& told = fakes.prompter.Prompts().back();
        EXPECT_EQ(told.text, c.texts.back()) << c.name;
        EXPECT_EQ(told.caption, "") << c.name;
        EXPECT_EQ(told.type, kMbOk | kMbIconExclamation) << c.name;
    }
}

}  // namespace
}  // namespace tv
