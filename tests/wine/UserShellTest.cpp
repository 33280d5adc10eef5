// The desktop shell's own ShellExecute against the real system: the program
// is started by the desktop shell's process, not by this one; a shell that
// does not answer is given up on within a second, without holding up the
// caller, and what it was asked is never started afterwards.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32UserShell.h"
#include "tests/support/HeldProcess.h"

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

ShellLaunch Sleeper(const char* program = "tv_sleeper.exe") {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = self;
    folder.resize(folder.find_last_of('\\'));
    ShellLaunch launch;
    launch.file = "\"" + folder + "\\" + program + "\"";
    launch.parameters = "20000";
    launch.showCommand = kSwHide;
    return launch;
}

struct Answer {
    std::optional<bool> taken;
    DWORD returnedMs = 0;   // Launch itself
    DWORD answeredMs = 0;   // until the answer
};

// Asks, then dispatches this thread's messages until the answer comes.
Answer AskAndWait(Win32UserShell& shell, const ShellLaunch& launch, DWORD limitMs = 10000) {
    Answer answer;
    const DWORD begin = GetTickCount();
    shell.Launch(launch, [&answer, begin](bool taken) {
        answer.taken = taken;
        answer.answeredMs = GetTickCount() - begin;
    });
    answer.returnedMs = GetTickCount() - begin;
    while (!answer.taken && GetTickCount() - begin < limitMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return answer;
}

TEST(UserShell, TheDesktopShellsProcessStartsIt) {
    const ShellLaunch launch = Sleeper();
    const std::vector<ProcessRow> before = Processes();
    Win32UserShell shell;
    // A loaded host's desktop shell may miss its second (the program then
    // tells the user what to open); it is asked again, twice at most.
    Answer answer;
    std::vector<ProcessRow> sleepers;
    for (int attempt = 0; attempt < 3 && !(answer.taken && *answer.taken); ++attempt) {
        for (const ProcessRow& row : sleepers) End(row.id);
        answer = AskAndWait(shell, launch);
        sleepers.clear();
        for (int i = 0; i < 50 && sleepers.empty(); ++i) {
            Sleep(100);
            sleepers = NewSleepers(before);
        }
    }
    for (const ProcessRow& row : sleepers) End(row.id);
    std::printf("desktop shell answered in %lu ms (the call returned in %lu ms)\n",
                static_cast<unsigned long>(answer.answeredMs), static_cast<unsigned long>(answer.returnedMs));
    // Wine's desktop (explorer.exe) answers these calls, as Windows 7's
    // desktop shell does for a signed-in user.
    ASSERT_TRUE(answer.taken.has_value());
    ASSERT_TRUE(*answer.taken);
    EXPECT_LT(answer.returnedMs, 200u);
    ASSERT_EQ(sleepers.size(), 1u);
    EXPECT_NE(sleepers[0].parent, GetCurrentProcessId());
    EXPECT_EQ(NameOf(sleepers[0].parent), "explorer.exe");

    // A start that fails in the desktop shell is still its answer (Wine's
    // says S_FALSE): the caller must not retry it from this elevated process.
    const Answer missing = AskAndWait(shell, Sleeper("tv_no_such_program.exe"));
    ASSERT_TRUE(missing.taken.has_value());
    EXPECT_TRUE(*missing.taken);
}

TEST(UserShell, AShellThatDoesNotAnswerIsGivenUpOnWithinASecondAndNeverStartsItLater) {
    const DWORD explorer = testing::ProcessNamed("explorer.exe");
    ASSERT_NE(explorer, 0u) << "no desktop shell running";
    const ShellLaunch launch = Sleeper();
    const std::vector<ProcessRow> before = Processes();
    Win32UserShell shell;
    Answer answer;
    {
        testing::HeldProcess held(explorer);
        ASSERT_GT(held.Threads(), 0u);
        answer = AskAndWait(shell, launch);
        std::printf("held desktop shell given up on after %lu ms (the call returned in %lu ms)\n",
                    static_cast<unsigned long>(answer.answeredMs),
                    static_cast<unsigned long>(answer.returnedMs));
    }
    // The shell runs again: whatever it makes of the call it was in, the
    // request it was late for is not started.
    std::vector<ProcessRow> sleepers;
    for (int i = 0; i < 30 && sleepers.empty(); ++i) {
        Sleep(100);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        sleepers = NewSleepers(before);
    }
    for (const ProcessRow& row : sleepers) End(row.id);
    ASSERT_TRUE(answer.taken.has_value());
    EXPECT_FALSE(*answer.taken);
    EXPECT_LT(answer.returnedMs, 200u);
    EXPECT_GE(answer.answeredMs, kUserShellAnswerMs - 50);
    EXPECT_LT(answer.answeredMs, kUserShellAnswerMs + 500);
    EXPECT_TRUE(sleepers.empty());

    // And once it answers again, it is asked again.
    const Answer again = AskAndWait(shell, Sleeper("tv_no_such_program.exe"));
    ASSERT_TRUE(again.taken.has_value());
    EXPECT_TRUE(*again.taken);
}

}  // namespace
}  // namespace tv
