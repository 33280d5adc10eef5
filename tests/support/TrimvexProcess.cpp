#include "tests/support/TrimvexProcess.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/ui/Gathering.h"
#include "tests/support/WindowTestSupport.h"

namespace tv::testing {

namespace {

constexpr int kCloseButton = 1012;
constexpr int kManagementSection = 1001;
constexpr int kTabContentFrame = 1045;

}  // namespace

std::string TrimvexProcess::BuiltProgram() { return ProgramDirectory() + "..\\Trimvex.exe"; }

TrimvexProcess::TrimvexProcess(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string command = "\"" + path + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    PROCESS_INFORMATION info{};
    if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        ScopedHandle thread(info.hThread);
        process_.Reset(info.hProcess);
        id_ = info.dwProcessId;
    }
}

TrimvexProcess::~TrimvexProcess() {
    if (!process_ || WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT) return;
    if (main_ && IsWindow(main_))
        PostMessageA(main_, WM_COMMAND, MAKEWPARAM(kCloseButton, BN_CLICKED), 0);
    if (WaitForSingleObject(process_.Get(), main_ ? 10000 : 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

HWND TrimvexProcess::FindTopLevel(const std::string& title, const char* className) const {
    struct Search {
        DWORD process;
        const std::string* title;
        const char* className;
        HWND found;
    } search{id_, &title, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !IsWindowVisible(window)) return TRUE;
            if (s->className) {
                char name[64] = {};
                GetClassNameA(window, name, sizeof(name));
                if (std::string(name) != s->className) return TRUE;
            }
            if (WindowText(window) != *s->title) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND TrimvexProcess::FindMessageBox() const {
    const std::string noticeRefusal =
        "无法通过桌面打开，请自行在浏览器中打开以下地址：\n" + HomePageAddress();
    HWND box = FindTopLevel("Trimvex", "#32770");
    if (box && WindowText(GetDlgItem(box, 0xFFFF)) == noticeRefusal) {
        std::printf("answered the version notice's shell refusal\n");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(10);
        box = FindTopLevel("Trimvex", "#32770");
    }
    return box;
}

HWND TrimvexProcess::WaitForTopLevel(const std::string& title, const char* className,
                                     DWORD milliseconds) const {
    DWORD start = GetTickCount();
    do {
        if (HWND window = FindTopLevel(title, className)) return window;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

HWND TrimvexProcess::WaitForMain(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        if (!main_) main_ = FindTopLevel(kMainWindowTitle, "#32770");
        // The pages fill themselves after the window shows; what the tests
        // read is there once the window carries the pages-filled mark.
        if (main_ && GetPropA(main_, ui::kPagesFilledProperty)) return main_;
        if (HWND notice = FindTopLevel("Trimvex", "#32770"))
            PostMessageA(notice, WM_COMMAND, IDOK, 0);
        Sleep(main_ ? 2 : 20);
    } while (GetTickCount() - start < milliseconds);
    main_ = nullptr;
    return nullptr;
}

bool TrimvexProcess::WaitForLists(DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    while (!GetPropA(main_, ui::kPagesFilledProperty)) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(5);
    }
    return true;
}

HWND TrimvexProcess::PageWith(std::initializer_list<int> ids) const {
    struct Search {
        std::initializer_list<int> ids;
        HWND found;
    } search{ids, nullptr};
    EnumChildWindows(
        main_,
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            for (int id : s->ids)
                if (!GetDlgItem(window, id)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TrimvexProcess::ShowSection(int buttonId) const {
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main_, buttonId)));
}

HWND TrimvexProcess::ClickTab(int tabButtonId, std::initializer_list<int> pageIds) const {
    Click(GetDlgItem(main_, kManagementSection));
    HWND container = PageWith({kTabContentFrame, tabButtonId});
    if (!container) return nullptr;
    Click(GetDlgItem(container, tabButtonId));
    return PageWith(pageIds);
}

HWND TrimvexProcess::OpenTab(int tabButtonId, std::initializer_list<int> pageIds) const {
    // The click has begun the tab's refresh; its rows come off the
    // program's window thread.
    HWND page = ClickTab(tabButtonId, pageIds);
    return page && WaitForLists() ? page : nullptr;
}

bool TrimvexProcess::NextMessageBox(const std::string& caption, std::string* text,
                                    DWORD milliseconds, int button) const {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        if (HWND box = FindTopLevel(caption, "#32770")) {
            *text = WindowText(GetDlgItem(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
            // Gone before the next look, so one box is never counted twice.
            while (IsWindow(box) && GetTickCount() - start < milliseconds) Sleep(10);
            return true;
        }
        Sleep(10);
    }
    return false;
}

bool TrimvexProcess::ShowsNoMessageBox(DWORD milliseconds, std::string* text) const {
    const DWORD start = GetTickCount();
    do {
        if (HWND box = FindMessageBox()) {
            *text = WindowText(GetDlgItem(box, 0xFFFF));
            return false;
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
    return true;
}

bool TrimvexProcess::WaitForExit(DWORD milliseconds, DWORD* code) const {
    // On a busy machine the desktop shell may miss its second for a link the
    // program opened (the version notice's site): the box that then names
    // the address waits for an answer before the window can end.
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        const DWORD step = waited >= milliseconds ? 0 : std::min<DWORD>(milliseconds - waited, 50);
        if (WaitForSingleObject(process_.Get(), step) == WAIT_OBJECT_0) break;
        if (waited >= milliseconds) return false;
        if (HWND box = FindTopLevel("Trimvex", "#32770")) {
            const std::string text = WindowText(GetDlgItem(box, 0xFFFF));
            if (text.rfind("无法通过桌面", 0) == 0) {
                std::printf("answered a shell refusal while waiting for the end: %s\n", text.c_str());
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        }
    }
    DWORD ignored = 0;
    return GetExitCodeProcess(process_.Get(), code ? code : &ignored) != 0;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return std::string(text.data());
}

void PostClick(HWND page, int id) {
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

}  // namespace tv::testing
