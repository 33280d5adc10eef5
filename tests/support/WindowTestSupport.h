// Helpers for tests that drive real windows under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/ScopedHandle.h"

namespace tv::testing {

// Dispatches this thread's messages for about `milliseconds`.
void PumpMessages(int milliseconds);
// Dispatches this thread's messages until `done` says so (true), or until
// `boundMilliseconds` have passed (false).
bool PumpMessagesUntil(const std::function<bool()>& done, int boundMilliseconds = 20000);

// The number of GDI objects of this process. Wine answers GetGuiResources
// with 0, so there the process's GDI handle table is counted instead.
int GdiObjectCount();

// The pixels of a bitmap as 32-bit values, row by row (empty when invalid).
std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap);

// A host path as Wine sees it ("/a/b" -> "Z:\a\b"); other paths unchanged.
std::string WindowsPath(const std::string& hostPath);

// The directory of the running test program, with a trailing backslash.
std::string ProgramDirectory();

// What the screen shows at the window's top-left corner, width x height
// pixels, row by row.
std::vector<std::uint32_t> ScreenPixels(HWND window, int width, int height);

// Saves what the window shows on screen as a PNG file.
bool SaveWindowPng(HWND window, const std::string& path);

// Presses a button (or a notifying static) the way the mouse does:
// button down and up at a point inside it.
void Click(HWND control);

// Watches for message boxes of this process in the background, records
// their caption and text, and closes each with OK.
class MessageBoxWatcher {
public:
    struct Box {
        std::string caption;
        std::string text;
        bool hasOwner;
        HWND owner;
    };
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    std::vector<Box> Boxes();

private:
    static DWORD WINAPI Run(void* self);
    void Poll();
    ScopedHandle stop_;
    ScopedHandle thread_;
    CRITICAL_SECTION lock_;
    std::vector<Box> boxes_;
};

}  // namespace tv::testing
