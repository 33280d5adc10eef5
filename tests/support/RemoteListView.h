// Reads and ticks the rows of a list view in another process, the way a
// program that works a window from outside has to: every request travels
// through memory borrowed in the list's process.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/ScopedHandle.h"

namespace tv::testing {

class RemoteListView {
public:
    explicit RemoteListView(HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    explicit operator bool() const { return memory_ != nullptr; }
    int ItemCount() const;
    std::string ItemText(int item, int subItem) const;
    // The cell's text as the list gives it in UTF-16.
    std::u16string ItemTextW(int item, int subItem) const;
    int ItemImage(int item) const;
    // Where the row stands in the list's client area.
    POINT ItemPosition(int item) const;
    bool IsTicked(int item) const;
    void SetTicked(int item, bool ticked) const;
    // Makes `item` the only selected row, with the focus.
    void Select(int item) const;

private:
    static constexpr SIZE_T kTextSize = 16384;
    bool Write(const void* data, SIZE_T size, SIZE_T offset = 0) const;
    bool Read(void* data, SIZE_T size, SIZE_T offset = 0) const;

    HWND list_;
    ScopedHandle process_;
    void* memory_ = nullptr;
};

}  // namespace tv::testing
