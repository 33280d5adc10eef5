// How a page's controls stand, judged as a user sees them: every shown
// control inside the page, and none covering another.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace tv::testing {

// One line per fault ("1072 overlaps 1061", "1073 leaves the page"); none
// when the page is laid out well. Works on a page of another process too.
std::vector<std::string> LayoutFaults(HWND page);

// Whether a control's own text fits its width in its font (a check box's
// with room for its box); for controls of this process.
bool TextFits(HWND control);

// A report list's column as its header shows it.
struct ListColumn {
    std::string heading;
    int width;
    int format;  // LVCFMT_LEFT, _RIGHT or _CENTER
};
std::ostream& operator<<(std::ostream& out, const ListColumn& column);
std::vector<ListColumn> ListColumns(HWND list);

// One line per column whose heading is cut off ("column 3 (状态) needs 52
// of 50"); none when every shown column's heading fits. Hidden columns (no
// width) are left out. For lists of this process.
std::vector<std::string> HeadingFaults(HWND list);

// A control as a template places it, in dialog units.
struct Placement {
    int id;
    int x, y, width, height;
    const char* text;  // null: not checked
};
// One line per control away from its place or with another text; none when
// each stands where its template puts it, at the page's own dialog units.
std::vector<std::string> PlacementFaults(HWND page, const std::vector<Placement>& placements);

}  // namespace tv::testing
