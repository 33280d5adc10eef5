#include "platform/ui/Window.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace tv::ui {

namespace {

// The object standing for each window of ours. Every message is dispatched
// through this look-up, so it is kept in the process: a window property
// would cost a trip to the window server per message under Wine. Never
// destroyed, so windows that outlive static objects still find nothing.
struct ObjectTable {
    std::mutex lock;
    std::unordered_map<HWND, Window*> objects;
};

ObjectTable& Objects() {
    static ObjectTable* table = new ObjectTable;
    return *table;
}

}  // namespace

Window::~Window() { DestroyWindow(); }

Window* Window::FromHandle(HWND window) {
    if (!window) return nullptr;
    ObjectTable& table = Objects();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.objects.find(window);
    return found != table.objects.end() ? found->second : nullptr;
}

void Window::AttachHandle(HWND window) {
    hwnd_ = window;
    ObjectTable& table = Objects();
    std::lock_guard<std::mutex> hold(table.lock);
    table.objects[window] = this;
}

void Window::DetachHandle() {
    if (!hwnd_) return;
    {
        ObjectTable& table = Objects();
        std::lock_guard<std::mutex> hold(table.lock);
        auto found = table.objects.find(hwnd_);
        if (found != table.objects.end() && found->second == this) table.objects.erase(found);
    }
    if (originalProc_) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
        originalProc_ = nullptr;
    }
    hwnd_ = nullptr;
}

bool Window::SubclassDlgItem(int id, HWND dialog) {
    HWND control = GetDlgItem(dialog, id);
    if (!control || hwnd_ || FromHandle(control)) return false;
    AttachHandle(control);
    originalProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
    PreSubclassWindow();
    return true;
}

void Window::DestroyWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    // WM_NCDESTROY normally detaches; make sure nothing points here any more.
    DetachHandle();
}

LRESULT CALLBACK Window::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    Window* self = FromHandle(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = self->originalProc_;
        self->DetachHandle();
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    // No exception may cross the system's code: the control's own
    // handling answers instead.
    try {
        return self->WindowProc(message, wParam, lParam);
    } catch (...) {
        return self->Default(message, wParam, lParam);
    }
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (originalProc_) return CallWindowProcA(originalProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool Window::OnDrawItem(const DRAWITEMSTRUCT&) { return false; }

bool Window::OnReflectedCommand(int) { return false; }

HBRUSH Window::OnReflectedCtlColor(HDC, UINT) { return nullptr; }

void Window::PreSubclassWindow() {}

std::string Window::Text() const {
    int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = GetWindowTextA(hwnd_, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

RECT Window::ClientRect() const {
    RECT rect{};
    GetClientRect(hwnd_, &rect);
    return rect;
}

RECT Window::WindowRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
}

void Window::Move(const RECT& rect, bool repaint) const {
    MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               repaint);
}

}  // namespace tv::ui
