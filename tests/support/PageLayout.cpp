#include "tests/support/PageLayout.h"

namespace tv::testing {

namespace {

struct Child {
    int id;
    RECT rect;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* children = reinterpret_cast<std::vector<Child>*>(param);
    HWND page = GetParent(child);
    if (!IsWindowVisible(child) || !page) return TRUE;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    children->push_back({GetDlgCtrlID(child), r});
    return TRUE;
}

}  // namespace

std::vector<std::string> LayoutFaults(HWND page) {
    std::vector<Child> children;
    // Direct children only: a list's header is the list's own.
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        CollectChild(child, reinterpret_cast<LPARAM>(&children));
    RECT client{};
    GetClientRect(page, &client);
    std::vector<std::string> faults;
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT& a = children[i].rect;
        if (a.left < client.left || a.top < client.top || a.right > client.right ||
            a.bottom > client.bottom)
            faults.push_back(std::to_string(children[i].id) + " leaves the page");
        for (size_t j = i + 1; j < children.size(); ++j) {
            RECT both{};
            if (IntersectRect(&both, &a, &children[j].rect))
                faults.push_back(std::to_string(children[i].id) + " overlaps " +
                                 std::to_string(children[j].id));
        }
    }
    return faults;
}

bool TextFits(HWND control) {
    char text[256] = {};
    GetWindowTextA(control, text, sizeof(text));
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT r{};
    GetClientRect(control, &r);
    LONG room = r.right - r.left;
    const LONG_PTR type = GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK;
    char name[32] = {};
    GetClassNameA(control, name, sizeof(name));
    if (lstrcmpiA(name, "Button") == 0 && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX))
        room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
    return size.cx <= room;
}

}  // namespace tv::testing
