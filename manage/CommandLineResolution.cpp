#include "manage/CommandLineResolution.h"

#include <string_view>

#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"

namespace tv {

namespace {

constexpr std::size_t npos = text::npos;

bool FoundAfterStart(const std::string& s, std::string_view needle, std::size_t* at = nullptr) {
    std::size_t p = text::Find(s, needle);
    if (at) *at = p;
    return p != npos && p > 0;
}

// Drops the arguments after the first `extension`, keeping the extension.
void CutAfter(std::string& s, std::string_view extension) {
    std::size_t p = text::Find(s, extension);
    if (p == npos) return;
    s.resize(p);
    s.append(extension);
}

// From the drive letter on (a quote or a launcher before it goes), then up
// to and including the first `extension`. Nothing happens without a ":\"
// after the first character.
void TrimPass(std::string& s, std::string_view extension) {
    std::size_t colon = npos;
    if (!FoundAfterStart(s, ":\\", &colon)) return;
    s.erase(0, text::PreviousCharStart(s, colon));
    CutAfter(s, extension);
}

void TrimPasses(std::string& s) {
    s = text::ToLower(s);
    for (std::string_view extension : {".dll", ".exe", ".kxp"}) TrimPass(s, extension);
}

bool StartsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string ResolveAutostartCommand(const Environment& environment, const FileSystem& files,
                                    const std::string& command) {
    const std::string windir = environment.WindowsDirectory();
    std::string s = text::ToLower(text::CutToChars(command, kMaxCommandLineChars));

    if (FoundAfterStart(s, "systemroot%")) {
        s = text::ReplaceAll(s, "%systemroot%", windir);
        TrimPasses(s);
        return s;
    }
    if (FoundAfterStart(s, "programfiles%")) {
        std::string programFiles = environment.SystemDirectory().substr(0, 3) + "Program Files";
        s = text::ReplaceAll(s, "%programfiles%", programFiles);
        TrimPasses(s);
        return s;
    }

    TrimPasses(s);
    const std::string sysdir = environment.SystemDirectory();
    s = text::ReplaceAll(s, "rundll32.exe ", "");
    s.erase(0, s.find_first_not_of(" \t\r\n\v\f"));
    CutAfter(s, ".exe");
    CutAfter(s, ".dll");
    // An empty command names no file: without this the Windows directory
    // itself would "exist" as its target. A path with a drive (or any
    // colon) cannot lie below another folder, so it is not looked for there.
    if (s.empty() || text::FindChar(s, ':') != npos) return s;
    for (const std::string& candidate :
         {windir + "\\" + s, sysdir + "\\Wbem\\" + s, sysdir + "\\" + s}) {
        if (files.Exists(candidate)) return candidate;
    }
    return s;
}

std::string ResolveServiceImagePath(const std::string& imagePath) {
    std::string s = imagePath;
    for (std::string_view host :
         {"svchost -k rpcss", "svchost -k DComLaunch", "svchost -k DcomLaunch"}) {
        std::size_t p = npos;
        if (FoundAfterStart(s, host, &p)) {
            s.resize(p);
            return s + "svchost.exe";
        }
    }
    if (!s.empty() && s[0] == '"') s.erase(0, 1);
    std::size_t dot = npos;
    if (FoundAfterStart(s, ".", &dot)) s.resize(dot);
    return s + ".exe";
}

void NormalizeNtPath(const Environment& environment, const std::string& source,
                     std::string* destination) {
    if (source.empty()) return;
    static constexpr std::string_view kSystemRoot = "\\SystemRoot\\";
    static constexpr std::string_view kWindows = "\\WINDOWS\\";
    static constexpr std::string_view kDosDevices = "\\??\\";
    if (StartsWith(source, kSystemRoot)) {
        std::string windir = environment.WindowsDirectory();
        if (!windir.empty()) {
            *destination = windir + "\\" + source.substr(kSystemRoot.size());
            return;
        }
    }
    if (StartsWith(source, kWindows)) {
        std::string windir = environment.WindowsDirectory();
        *destination = windir.empty() ? source : windir + "\\" + source.substr(kWindows.size());
        return;
    }
    if (StartsWith(source, kDosDevices)) {
        *destination = source.substr(kDosDevices.size());
        return;
    }
    *destination = source;
}

bool ResolveShortcutTarget(const ShellLinks& links, const std::string& linkPath,
                           std::string* destination) {
    std::string target;
    if (!links.ReadTarget(linkPath, &target)) return false;
    *destination = target;
    return true;
}

}  // namespace tv
