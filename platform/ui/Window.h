// The base of every window object: a window handle plus routing of the
// window's messages to virtual handlers. Controls on a dialog are attached to
// their objects by subclassing (see DataExchange in Dialog.h).
#pragma once

#include <windows.h>

#include <string>

namespace tv::ui {

class Window {
public:
    Window() = default;
    // Destroys the window if it still exists.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The object attached to a window handle, or null.
    static Window* FromHandle(HWND window);

    // Attaches this object to control `id` of `dialog` and routes the
    // control's messages through WindowProc. False when the control is
    // missing or this object already has a window.
    bool SubclassDlgItem(int id, HWND dialog);

    void DestroyWindow();
    bool Show(int showCommand) const { return ShowWindow(hwnd_, showCommand) != 0; }
    bool IsVisible() const { return IsWindowVisible(hwnd_) != 0; }
    void Enable(bool enable) const { EnableWindow(hwnd_, enable); }
    void Invalidate(bool erase = true) const { InvalidateRect(hwnd_, nullptr, erase); }
    void Update() const { UpdateWindow(hwnd_); }
    std::string Text() const;
    void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
    RECT ClientRect() const;
    RECT WindowRect() const;
    void Move(const RECT& rect, bool repaint = true) const;
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }

    // Owner draw reflected from the parent dialog. True when drawn.
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& item);
    // A notification this control sent to its dialog, offered back to it
    // first. True: handled here alone; false: the dialog handles it too.
    virtual bool OnReflectedCommand(int code);
    // A colour request of this control that its dialog leaves to it (the
    // dialog's default colour handling); null for the default colours.
    virtual HBRUSH OnReflectedCtlColor(HDC dc, UINT message);

protected:
    // Messages of a subclassed window; the default passes them on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once a control has been attached by SubclassDlgItem, before any
    // of its messages reach WindowProc.
    virtual void PreSubclassWindow();
    // The processing the window had before it was subclassed.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds a window created elsewhere (a dialog) to this object.
    void AttachHandle(HWND window);
    void DetachHandle();

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam);
    WNDPROC originalProc_ = nullptr;
};

}  // namespace tv::ui
