// How a page's controls stand, judged as a user sees them: every shown
// control inside the page, and none covering another.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tv::testing {

// One line per fault ("1072 overlaps 1061", "1073 leaves the page"); none
// when the page is laid out well. Works on a page of another process too.
std::vector<std::string> LayoutFaults(HWND page);

// Whether a control's own text fits its width in its font (a check box's
// with room for its box); for controls of this process.
bool TextFits(HWND control);

}  // namespace tv::testing
