#include "restore/RestoreFiles.h"

#include <cstdio>

#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/TextCodec.h"
#include "restore/RegBackup.h"

namespace tv {

const char kRestoreFolderName[] = "Trimvex 还原文件";
const char kRestoreFailedMessage[] = "无法写入还原文件，本次没有做任何更改。";

namespace {

// Room for the detail in a file name; paths stay well inside 260 bytes.
constexpr std::size_t kDetailBytes = 48;
// How many numbered names are tried before giving up.
constexpr int kMaxSlots = 100;

std::string Cleaned(const std::string& detail) {
    std::string out;
    for (std::size_t i = 0; i < detail.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(detail[i]);
        if (text::IsLeadByte(c) && i + 1 < detail.size()) {
            out += detail.substr(i, 2);
            ++i;
        } else if (c < 0x20 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) {
            out += '_';
        } else {
            out += static_cast<char>(c);
        }
    }
    // Windows drops trailing dots and blanks from a name.
    while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
    return std::string(text::CutToBytes(out, kDetailBytes));
}

std::string Numbered(const std::string& name, int number) {
    if (number == 1) return name;
    const std::string suffix = " (" + std::to_string(number) + ")";
    const std::size_t dot = text::FindLastChar(name, '.');
    if (dot == text::npos || dot == 0) return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

std::u16string Numbered(const std::u16string& name, int number) {
    if (number == 1) return name;
    const std::string digits = " (" + std::to_string(number) + ")";
    const std::u16string suffix(digits.begin(), digits.end());
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos || dot == 0) return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

// The restore folder, made if missing, and still a plain folder reached
// through no link; empty when it cannot be.
std::string MadeFolder(const Platform& platform) {
    const std::string folder = RestoreFolder(platform);
    if (folder.empty() || !platform.files->CreateFolder(folder)) return {};
    return folder;
}

}  // namespace

std::string RestoreFolderPath(const Platform& platform) {
    const std::string common = platform.environment->CommonAppDataFolder();
    if (common.empty()) return {};
    if (text::FindLastChar(common, '\\') == common.size() - 1) return common + kRestoreFolderName;
    return common + "\\" + kRestoreFolderName;
}

std::string RestoreFolder(const Platform& platform) {
    const std::string first = RestoreFolderPath(platform);
    if (first.empty()) return {};
    // Anyone may make folders in the common application data folder, so a
    // folder of this name may be another's: each taken name costs one try,
    // and the tries are bounded.
    for (int number = 1; number <= kMaxSlots; ++number) {
        const std::string folder =
            number == 1 ? first : first + " (" + std::to_string(number) + ")";
        switch (platform.files->CreateProtectedFolder(folder)) {
        case ProtectedFolder::kUsable: return folder;
        case ProtectedFolder::kNotOurs: continue;
        case ProtectedFolder::kFailed: return {};
        }
    }
    return {};
}

std::string RestoreFileStem(const LocalDateTime& when, const std::string& subject,
                            const std::string& detail) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d.%02d.%02d ", when.date.year,
                  when.date.month, when.date.day, when.time.hour, when.time.minute,
                  when.time.second);
    std::string stem = stamp + subject;
    const std::string cleaned = Cleaned(detail);
    if (!cleaned.empty()) stem += " " + cleaned;
    return stem;
}

std::string RestoreHeading(const std::string& subject) {
    return "Trimvex " + subject + "之前的注册表内容。双击本文件并确认导入，即可恢复原状。";
}

std::string RestoreFolderSlot(const Platform& platform, const std::string& name) {
    const std::string folder = MadeFolder(platform);
    if (folder.empty()) return {};
    for (int number = 1; number <= kMaxSlots; ++number) {
        const std::string path = folder + "\\" + Numbered(name, number);
        if (!platform.files->Exists(path)) return path;
    }
    return {};
}

std::u16string RestoreFolderSlot(const Platform& platform, const std::u16string& name) {
    const std::string folder = MadeFolder(platform);
    if (folder.empty() || name.empty()) return {};
    const std::u16string exactFolder = platform.codec->AnsiToWide(folder);
    for (int number = 1; number <= kMaxSlots; ++number) {
        const std::u16string path = exactFolder + u"\\" + Numbered(name, number);
        if (!platform.files->ExistsW(path)) return path;
    }
    return {};
}

bool SaveRestoreFile(const Platform& platform, const RegBackup& backup,
                     const std::string& subject, const std::string& detail,
                     std::string* path, std::unique_ptr<NewFile>* held) {
    if (!backup.Failed()) {
        const std::string name =
            RestoreFileStem(platform.clock->Now(), subject, detail) + ".reg";
        // Two actions in the same second get numbered names; a name taken
        // meanwhile is never overwritten, the next one is tried.
        const std::string bytes = backup.Bytes();
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::string slot = RestoreFolderSlot(platform, name);
            if (slot.empty()) break;
            if (std::unique_ptr<NewFile> file = platform.files->WriteNewFile(slot, bytes)) {
                if (path) *path = slot;
                if (held) *held = std::move(file);
                return true;
            }
            if (!platform.files->Exists(slot)) break;
        }
    }
    TellRestoreFailed(platform);
    return false;
}

void TellRestoreFailed(const Platform& platform) {
    // No caption: the box carries the program's title.
    platform.prompter->Ask(Prompt{kRestoreFailedMessage, "", kMbOk | kMbIconExclamation, 0});
}

}  // namespace tv
