#include "links/HelpActions.h"

#include <algorithm>
#include <limits>

#include "platform/BuildSettings.h"
#include "platform/CodePageText.h"
#include "platform/Drives.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "restore/RestoreFiles.h"

namespace tv {

const char kEmptySearchMessage[] = "请先在左边方框中输入问题描述或关键字";
const char kHardwareRequirementsText[] =
    "Windows 7 最低硬件安装要求\r\n\r\n"
    "CPU:  1G MHz 或以上               \r\n\r\n"
    "内存: 1GB 或以上                 \r\n\r\n"
    "硬盘: C盘为NTFS格式,安装分区至少8GB剩余空间   \r\n";
const char kAdvisorDefaultText[] = "如果安装双系统我应该如何选择分区呢?";
const char kNoRestoreFolderMessage[] = "无法建立还原文件夹：";

namespace {

constexpr int kApplicationIcon = 128;
// Windows 7 wants 8 GB free; the advisor counts 8000 MiB.
constexpr std::int32_t kMinimumInstallMegabytes = 8000;
constexpr std::int32_t kTightSystemDriveMegabytes = 400;

const char kNotNtfs[] = "您的系统分区不为NTFS\r\n";
const char kSystemDriveFull[] = "C分区可用空间太小\r\n";
const char kRecommendPrefix[] = "推荐您安装 Windows 7 在分区 [ ";
const char kRecommendSuffix[] = " ]";
const char kNoPartition[] = "没有找到适合Win7安装的分区";

void AppendUtf8(std::string* out, std::uint32_t code) {
    if (code < 0x80) {
        *out += static_cast<char>(code);
    } else if (code < 0x800) {
        *out += static_cast<char>(0xC0 | (code >> 6));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out += static_cast<char>(0xE0 | (code >> 12));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (code >> 18));
        *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_' || c == '.' || c == '~';
}

}  // namespace

std::string HelpBannerText() {
    return std::string("Trimvex官方网站常见问题站内搜索") + " [ " + TV_SITE_HOST + "]" + "    " +
           "[ " + TV_SUPPORT_MAIL + "]";
}

std::string SupportMailAddress() {
    return std::string("mailto:") + TV_SUPPORT_MAIL + "?Subject=Windows7用户技术支持";
}

std::string RequirementsArticleAddress() {
    return std::string("http://") + TV_SITE_HOST + "/upgrade/70.html";
}

std::string SiteSearchAddress(const std::string& encodedWords) {
    return std::string("http://") + TV_SEARCH_HOST + "/search?q=" + encodedWords +
           "&ie=UTF-8&oe=UTF-8&hl=zh-cn&domains=" + TV_SITE_HOST + "&sitesearch=" + TV_SITE_HOST;
}

bool SearchWordsAccepted(const std::string& words) { return words.size() >= 2; }

std::string PercentEncodeUtf8(const std::u16string& text) {
    std::string utf8;
    for (size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        AppendUtf8(&utf8, code);
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : utf8) {
        if (IsUnreserved(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return encoded;
}

Prompt HelpMessage(const std::string& text) {
    Prompt prompt;
    prompt.text = text;
    prompt.caption = "Trimvex";
    prompt.type = kMbUserIcon | kMbOk;
    prompt.iconId = kApplicationIcon;
    return prompt;
}

void SiteSearch(const Platform& platform, const TextCodec& codec, const std::string& words) {
    if (!SearchWordsAccepted(words)) {
        platform.prompter->Ask(HelpMessage(kEmptySearchMessage));
        return;
    }
    // The address says its words are UTF-8 ("ie=UTF-8"), so they are sent so.
    platform.shell->Open(SiteSearchAddress(PercentEncodeUtf8(codec.AnsiToWide(words))), kSwShow);
}

void SupportMail(const Platform& platform) {
    platform.shell->Open(SupportMailAddress(), kSwShow);
}

void ShowHardwareRequirements(const Platform& platform) {
    platform.prompter->Ask(HelpMessage(kHardwareRequirementsText));
    platform.shell->Open(RequirementsArticleAddress(), kSwShow);
}

void OpenRestoreFolder(const Platform& platform) {
    const std::string folder = RestoreFolder(platform);
    if (folder.empty()) {
        platform.prompter->Ask(HelpMessage(kNoRestoreFolderMessage + RestoreFolderPath(platform)));
        return;
    }
    // The shell seam opens it through the user's desktop shell: the
    // Explorer window and whatever is started from it have the user's
    // rights, not this program's.
    platform.shell->Open(folder, kSwShowNormal);
}

std::string VolumeFileSystemName(const Drives& drives, const std::string& root) {
    std::string name;
    if (!drives.FileSystemName(root, &name) || name.empty()) return "null";
    return name;
}

std::int32_t DriveFreeMegabytes(const Drives& drives, const std::string& root) {
    DriveSpace space;
    if (!drives.Space(root, &space)) return 0;
    // Kept in 32 bits; a volume beyond that range counts as the largest.
    return static_cast<std::int32_t>(std::min<std::uint64_t>(
        space.freeToCaller >> 20, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())));
}

std::string RecommendPartition(const Drives& drives) {
    std::string report;
    std::int32_t bestFree = kMinimumInstallMegabytes;
    std::string bestDrive;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (drives.DriveType(root) != kDriveFixed) continue;
        if (text::EqualsNoCase(root, "C:\\")) {
            if (!text::EqualsNoCase(VolumeFileSystemName(drives, root), "NTFS")) report += kNotNtfs;
            if (DriveFreeMegabytes(drives, root) < kTightSystemDriveMegabytes)
                report += kSystemDriveFull;
        }
        std::int32_t free = DriveFreeMegabytes(drives, root);
        if (free > bestFree) {
            // Any file system raises the bar; only NTFS can be recommended.
            bestFree = free;
            if (text::EqualsNoCase(VolumeFileSystemName(drives, root), "NTFS")) bestDrive = root;
        }
    }
    if (!bestDrive.empty())
        report += kRecommendPrefix + bestDrive + kRecommendSuffix;
    else
        report += kNoPartition;
    return report;
}

}  // namespace tv
