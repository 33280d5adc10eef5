#include "tests/support/PageLayout.h"

#include <commctrl.h>

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

std::ostream& operator<<(std::ostream& out, const ListColumn& column) {
    return out << '"' << column.heading << "\" " << column.width << " fmt " << column.format;
}

std::vector<ListColumn> ListColumns(HWND list) {
    std::vector<ListColumn> columns;
    for (int i = 0;; ++i) {
        char text[128] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)))
            break;
        columns.push_back({text, column.cx, column.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
}

std::vector<std::string> HeadingFaults(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    std::vector<std::string> faults;
    if (!header) return {"the list has no header"};
    HDC dc = GetDC(header);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
    const std::vector<ListColumn> columns = ListColumns(list);
    for (size_t i = 0; i < columns.size(); ++i) {
        const ListColumn& column = columns[i];
        if (column.width == 0) continue;
        SIZE size{};
        GetTextExtentPoint32A(dc, column.heading.data(), static_cast<int>(column.heading.size()), &size);
        if (size.cx > column.width)
            faults.push_back("column " + std::to_string(i) + " (" + column.heading + ") needs " +
                             std::to_string(size.cx) + " of " + std::to_string(column.width));
    }
    SelectObject(dc, old);
    ReleaseDC(header, dc);
    return faults;
}

std::vector<std::string> PlacementFaults(HWND page, const std::vector<Placement>& placements) {
    std::vector<std::string> faults;
    for (const Placement& p : placements) {
        const std::string id = std::to_string(p.id);
        HWND control = GetDlgItem(page, p.id);
        if (!control) {
            faults.push_back(id + " is missing");
            continue;
        }
        // Position and size are converted separately, as the system does.
        RECT units{p.x, p.y, p.width, p.height};
        MapDialogRect(page, &units);
        RECT actual{};
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&actual), 2);
        if (actual.left != units.left || actual.top != units.top ||
            actual.right - actual.left != units.right || actual.bottom - actual.top != units.bottom)
            faults.push_back(id + " stands at " + std::to_string(actual.left) + "," +
                             std::to_string(actual.top) + " " + std::to_string(actual.right - actual.left) +
                             "x" + std::to_string(actual.bottom - actual.top) + ", not " +
                             std::to_string(units.left) + "," + std::to_string(units.top) + " " +
                             std::to_string(units.right) + "x" + std::to_string(units.bottom));
        if (p.text) {
            char text[256] = {};
            GetWindowTextA(control, text, sizeof(text));
            if (std::string(text) != p.text) faults.push_back(id + " reads \"" + text + "\"");
        }
    }
    return faults;
}

}  // namespace tv::testing
