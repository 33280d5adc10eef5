// The real Trimvex.exe, started by a test and worked from outside as a user
// (or a script) would: found by its windows' titles, pressed by messages.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "platform/win32/ScopedHandle.h"

namespace tv::testing {

class TrimvexProcess {
public:
    // The program built beside the test programs.
    static std::string BuiltProgram();

    explicit TrimvexProcess(const std::string& path = BuiltProgram());
    // Closes the program through its close button if its window is known,
    // and ends it if it is still running after that.
    ~TrimvexProcess();
    TrimvexProcess(const TrimvexProcess&) = delete;
    TrimvexProcess& operator=(const TrimvexProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    // Waits for the main window with every page filled; the outdated-version
    // notice, if the date brings it, is closed on the way. Null after
    // `milliseconds` (generous: a loaded host fills slowly).
    HWND WaitForMain(DWORD milliseconds = 60000);
    HWND Main() const { return main_; }
    // A visible top-level window of the program with this title (and
    // window class, when one is given), or null.
    HWND FindTopLevel(const std::string& title, const char* className = nullptr) const;
    // The program's message box, if one shows, other than the one naming the
    // home page that the version notice brings when a busy desktop shell
    // misses its second; that one is answered on the way.
    HWND FindMessageBox() const;
    HWND WaitForTopLevel(const std::string& title, const char* className, DWORD milliseconds) const;
    // The first descendant of the main window (a page) that holds every
    // one of these controls: pages share control ids, so one is not enough.
    HWND PageWith(std::initializer_list<int> ids) const;
    // Presses a section button of the main window.
    void ShowSection(int buttonId) const;
    // Opens the management section and presses one of its tab buttons;
    // returns the sub-page that holds every one of `pageIds`.
    // Waits for its rows; ClickTab does not.
    HWND ClickTab(int tabButtonId, std::initializer_list<int> pageIds) const;
    HWND OpenTab(int tabButtonId, std::initializer_list<int> pageIds) const;
    // Waits until no list of the program is being refreshed (the main
    // window carries the pages-filled mark again).
    bool WaitForLists(DWORD milliseconds = 60000) const;
    // Waits for the program's next message box with this caption, reads its
    // text, answers it with `button` and waits for it to go.
    bool NextMessageBox(const std::string& caption, std::string* text, DWORD milliseconds = 10000,
                        int button = IDOK) const;
    // True when no message box of the program's shows for `milliseconds`,
    // the version notice's shell refusal aside; else `text` is its text.
    bool ShowsNoMessageBox(DWORD milliseconds, std::string* text) const;
    bool WaitForExit(DWORD milliseconds, DWORD* code = nullptr) const;

private:
    ScopedHandle process_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

// A window's text, however long, read without hanging on a busy program.
std::string WindowText(HWND window);

// Posts a button click to a control of a page of another process.
void PostClick(HWND page, int id);

}  // namespace tv::testing
