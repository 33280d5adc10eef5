#include "tests/window/StartupFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "manage/StartupScan.h"
#include "platform/CodePageText.h"
#include "platform/Platform.h"
#include "tests/support/RegFile.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/HostShell.h"
#include "tests/support/Shortcut.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {

const char* const kUserRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char* const kSession = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char* const kRdp = "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd";
const char* const kDesktop = "Control Panel\\Desktop";
const char* const kWindowsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const std::string kLongName = "TvFixtureLong" + std::string(270, 'N');

// Every value startup.reg sets.
const std::vector<FixtureValue>& FixtureValues() {
    static const std::vector<FixtureValue> values = {
        {kHkeyCurrentUser, kUserRun, "TvFixtureTool"},
        {kHkeyCurrentUser, kUserRun, "TvFixture中文"},
        {kHkeyCurrentUser, kUserRun, kLongName},
        {kHkeyLocalMachine, kUserRun, "TvFixtureMachine"},
        {kHkeyLocalMachine, kWinlogon, "Shell"},
        {kHkeyLocalMachine, kWinlogon, "Userinit"},
        {kHkeyLocalMachine, kSession, "BootExecute"},
        {kHkeyLocalMachine, kRdp, "StartupPrograms"},
        {kHkeyCurrentUser, kDesktop, "SCRNSAVE.EXE"},
        {kHkeyLocalMachine, kWindowsKey, "AppInit_DLLs"},
    };
    return values;
}

namespace {

std::string Quoted(const std::string& hostPath) { return "'" + hostPath + "'"; }

}  // namespace

bool MakeLinkLoops(const std::string& folder) {
    const std::string host = UnixPath(folder);
    if (host.empty()) return false;
    return RunHostShell("ln -s . " + Quoted(host + "/TvLoop") + "\nln -s .. " +
                            Quoted(host + "/TvUp") + "\nln -s .. " + Quoted(host + "/TvSub/TvBack") +
                            "\n",
                        folder + "\\TvSub\\TvBack", true);
}

void RemoveLinkLoops(const std::string& folder) {
    const std::string host = UnixPath(folder);
    if (host.empty()) return;
    RunHostShell("rm -f " + Quoted(host + "/TvLoop") + " " + Quoted(host + "/TvUp") + " " +
                     Quoted(host + "/TvSub/TvBack") + "\n",
                 folder + "\\TvSub\\TvBack", false);
}

std::string FixturePath(const char* name) {
    return testing::ProgramDirectory() + "fixtures\\" + name;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::vector<std::string> ExpectedRows(const StartupFixture& fixture,
                                      const std::vector<std::string>& baseline) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string wl = std::string(kWinlogon);
    const std::string lowUser = text::ToLower(fixture.user);
    const std::string lowCommon = text::ToLower(fixture.common);
    std::vector<std::string> expected = {
        "TvFixtureTool | c:\\program files\\tvfixture\\tool.exe | HKEY_CURRENT_USER | " +
            std::string(kUserRun) + " | HKCU\\" + kUserRun,
        "TvFixture中文 | c:\\windows\\system32\\notepad.exe | HKEY_CURRENT_USER | " +
            std::string(kUserRun) + " | HKCU\\" + kUserRun,
        kLongName + " | c:\\program files\\" + std::string(280, 'l') +
            "\\long.exe | HKEY_CURRENT_USER | " + kUserRun + " | HKCU\\" + kUserRun,
        "TvFixtureMachine | " + std::string(windows) + "\\regedit.exe | HKEY_LOCAL_MACHINE | " +
            kUserRun + " | HKLM\\" + kUserRun,
        "Shell  [警告] | explorer.exe,tvfixture.exe | HKEY_LOCAL_MACHINE | " + wl +
            " [Shell] | HKLM\\" + wl + " [Shell]",
        "Userinit  [警告] | C:\\windows\\system32\\userinit.exe | HKEY_LOCAL_MACHINE | " + wl +
            " [Userinit] | HKLM\\" + wl + " [Userinit]",
        "Load [警告] | tvfixture boot | HKEY_LOCAL_MACHINE | " + std::string(kSession) +
            " [BootExecute] | HKLM\\" + kSession + " [BootExecute]",
        "StartupPrograms  [警告] | rdpclip,tvfixture.exe | HKEY_LOCAL_MACHINE | " +
            std::string(kRdp) + " [StartupPrograms] | HKLM\\" + kRdp + " [StartupPrograms]",
        "屏幕保护  [注意] | c:\\windows\\system32\\tvfixture.scr | HKEY_CURRENT_USER | " +
            std::string(kDesktop) + " [SCRNSAVE.EXE] | HKCU\\" + kDesktop + " [SCRNSAVE.EXE]",
        " [AppInit_DLLs 警告] | c:\\windows\\system32\\tvfixture.dll | HKEY_LOCAL_MACHINE | " +
            std::string(kWindowsKey) + " [AppInit_DLLs] | HKLM\\" + kWindowsKey + " [AppInit_DLLs]",
        "TvFixture App.lnk | " + fixture.target + " | " + fixture.target + " |  | " + fixture.shortcut,
        "TvSub.txt | " + lowUser + "\\tvsub\\tvsub.txt | " + lowUser + "\\tvsub\\tvsub.txt |  | " +
            fixture.user + "\\TvSub\\TvSub.txt",
        "TvSame.txt | " + lowUser + "\\tvsame.txt | " + lowUser + "\\tvsame.txt |  | " +
            fixture.user + "\\TvSame.txt",
        "TvSame.txt | " + lowCommon + "\\tvsame.txt | " + lowCommon + "\\tvsame.txt |  | " +
            fixture.common + "\\TvSame.txt",
        "TvCommon.txt | " + lowCommon + "\\tvcommon.txt | " + lowCommon + "\\tvcommon.txt |  | " +
            fixture.common + "\\TvCommon.txt",
    };
    // The fixture's machine-wide Shell and AppInit_DLLs replace any the
    // prefix had.
    for (const std::string& row : baseline) {
        if (row.rfind("Shell  [", 0) != 0 && row.rfind(" [AppInit_DLLs", 0) != 0 &&
            row.rfind("Userinit  [", 0) != 0)
            expected.push_back(row);
    }
    std::sort(expected.begin(), expected.end());
    return expected;
}

void MatchShortcutCase(std::vector<std::string>* rows, const std::vector<std::string>& expected) {
    // The shortcut's target may come back in another letter case.
    for (std::string& row : *rows) {
        if (row.rfind("TvFixture App.lnk | ", 0) != 0) continue;
        for (const std::string& e : expected)
            if (text::EqualsNoCase(row, e)) row = e;
    }
    std::sort(rows->begin(), rows->end());
}

}  // namespace tv
