// The real open-file dialog under Wine, driven from this thread while a
// worker waits in GetOpenFileName: its title and filter are the request's,
// a typed name comes back as the chosen path, Cancel chooses nothing, and
// the current directory stays.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32FileDialog.h"
#include "tests/support/WindowTestSupport.h"
#include "tweaks/AppearanceTweaks.h"

namespace tv {
namespace {

// Control ids of the common dialog's template.
constexpr int kFilterCombo = 0x470;  // cmb1
constexpr int kFileNameCombo = 0x47C;  // cmb13 (Explorer style)
constexpr int kFileNameEdit = 0x480;   // edt1 (old style)

struct Choice {
    OpenFileRequest request;
    bool chosen = false;
    std::string path;
};

DWORD WINAPI Choose(void* data) {
    auto* choice = static_cast<Choice*>(data);
    choice->chosen = Win32FileDialog().ChooseFile(choice->request, &choice->path);
    return 0;
}

HWND WaitForDialog(const std::string& title) {
    for (int i = 0; i < 500; ++i) {
        std::pair<const std::string*, HWND> search(&title, nullptr);
        EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<std::pair<const std::string*, HWND>*>(data);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                char text[256] = {};
                GetWindowTextA(window, text, sizeof(text));
                if (process == GetCurrentProcessId() && IsWindowVisible(window) && *s->first == text) {
                    s->second = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.second) return search.second;
        Sleep(20);
    }
    return nullptr;
}

std::string ComboText(HWND combo) {
    char text[256] = {};
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string CurrentDirectory() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

TEST(FileDialog, ShowsTheRequestAndReturnsTheChosenFile) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string picture = std::string(temp) + "tv-wallpaper-test.jpg";
    ScopedHandle file(CreateFileA(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    file.Reset();
    // The dialog leaves the current directory where it was, not in the
    // chosen file's folder.
    const std::string before = CurrentDirectory();
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryA(windows));
    const std::string current = CurrentDirectory();

    for (bool accept : {true, false}) {
        Choice choice;
        choice.request = WallpaperFileRequest();
        ScopedHandle worker(CreateThread(nullptr, 0, Choose, &choice, 0, nullptr));
        ASSERT_TRUE(worker);
        HWND dialog = WaitForDialog(choice.request.title);
        ASSERT_NE(dialog, nullptr) << "no dialog titled with the request's title";
        EXPECT_EQ(ComboText(GetDlgItem(dialog, kFilterCombo)), "图像文件 (*.bmp;*.gif;*.jpg)");
        if (accept) {
            HWND name = GetDlgItem(dialog, kFileNameCombo);
            if (!name) name = GetDlgItem(dialog, kFileNameEdit);
            ASSERT_NE(name, nullptr);
            SetWindowTextA(name, picture.c_str());
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        } else {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        ASSERT_EQ(WaitForSingleObject(worker.Get(), 10000), WAIT_OBJECT_0);
        EXPECT_EQ(choice.chosen, accept);
        if (accept) {
            EXPECT_EQ(lstrcmpiA(choice.path.c_str(), picture.c_str()), 0) << choice.path;
        }
        EXPECT_EQ(CurrentDirectory(), current) << accept;
    }
    SetCurrentDirectoryA(before.c_str());
    DeleteFileA(picture.c_str());
}

}  // namespace
}  // namespace tv
