// Thin wrappers over the standard controls, attached to dialog controls by
// DataExchange (or created, for the tooltip).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/ScopedHandle.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/Window.h"

namespace tv::ui {

// Owns an image list; list views given one with LVS_SHAREIMAGELISTS only
// borrow it.
using ImageList = Win32Handle<HIMAGELIST, &ImageListDestroy>;

class Button : public Window {
public:
    int Check() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int check) const { Send(BM_SETCHECK, static_cast<WPARAM>(check)); }
    // The pushed look (BM_SETSTATE).
    void SetPushed(bool pushed) const { Send(BM_SETSTATE, pushed ? TRUE : FALSE); }
    bool IsPushed() const { return (Send(BM_GETSTATE) & BST_PUSHED) != 0; }
};

class Static : public Window {
public:
    // Hands the control a bitmap (STM_SETIMAGE); returns the one it showed
    // before, which the caller owns again.
    HBITMAP SetBitmap(HBITMAP bitmap) const {
        return reinterpret_cast<HBITMAP>(
            Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(Send(STM_GETIMAGE, IMAGE_BITMAP));
    }
};

class Edit : public Window {
public:
    void SetLimit(int characters) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
};

class ListView : public Window {
public:
    int InsertColumn(int index, const std::string& heading, int width, int format = LVCFMT_LEFT) const;
    int InsertItem(int index, const std::string& text, int image = -1) const;
    bool SetItemText(int item, int subItem, const std::string& text) const;
    std::string ItemText(int item, int subItem) const;
    int ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
    void SetExtendedStyle(DWORD style) const {
        Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
    }
    int SelectedItem() const {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
};

// A tooltip control created for an owner window; destroyed with this object.
class ToolTip : public Window {
public:
    bool Create(HWND owner, DWORD style = 0);
    bool AddTool(HWND tool, const std::string& text) const;
    void Activate(bool active) const { Send(TTM_ACTIVATE, active ? TRUE : FALSE); }
    void RelayEvent(const MSG& message) const {
        Send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    }
};

}  // namespace tv::ui
