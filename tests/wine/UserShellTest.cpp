// The desktop shell's own ShellExecute against the real system: the program
// is started by the desktop shell's process, not by this one.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32UserShell.h"

namespace tv {
namespace {

struct ProcessRow {
    DWORD id;
    DWORD parent;
    std::string name;
};

std::vector<ProcessRow> Processes() {
    std::vector<ProcessRow> rows;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return rows;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        rows.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snapshot);
    return rows;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Sleepers started since `before`.
std::vector<ProcessRow> NewSleepers(const std::vector<ProcessRow>& before) {
    std::vector<ProcessRow> found;
    for (const ProcessRow& row : Processes()) {
        if (Lower(row.name) != "tv_sleeper.exe") continue;
        bool old = false;
        for (const ProcessRow& b : before) old = old || b.id == row.id;
        if (!old) found.push_back(row);
    }
    return found;
}

std::string NameOf(DWORD id) {
    for (const ProcessRow& row : Processes())
        if (row.id == id) return Lower(row.name);
    return {};
}

void End(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (!process) return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}

TEST(UserShell, TheDesktopShellsProcessStartsIt) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = self;
    folder.resize(folder.find_last_of('\\'));
    ShellLaunch launch;
    launch.file = "\"" + folder + "\\tv_sleeper.exe\"";
    launch.parameters = "20000";
    launch.showCommand = kSwHide;

    const std::vector<ProcessRow> before = Processes();
    Win32UserShell shell;
    const bool started = shell.Launch(launch);
    std::vector<ProcessRow> sleepers;
    for (int i = 0; i < 50 && sleepers.empty(); ++i) {
        Sleep(100);
        sleepers = NewSleepers(before);
    }
    for (const ProcessRow& row : sleepers) End(row.id);
    // Wine's desktop (explorer.exe) answers these calls, as Windows 7's
    // desktop shell does for a signed-in user.
    ASSERT_TRUE(started);
    ASSERT_EQ(sleepers.size(), 1u);
    EXPECT_NE(sleepers[0].parent, GetCurrentProcessId());
    EXPECT_EQ(NameOf(sleepers[0].parent), "explorer.exe");

    // A start that fails in the desktop shell is still its answer (Wine's
    // says S_FALSE): the caller must not retry it from this elevated process.
    ShellLaunch missing = launch;
    missing.file = "\"" + folder + "\\tv_no_such_program.exe\"";
    EXPECT_TRUE(shell.Launch(missing));
}

}  // namespace
}  // namespace tv
