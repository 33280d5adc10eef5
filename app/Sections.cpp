#include "app/Sections.h"

#include <cstddef>

#include "res/resource.h"

namespace tv {

// Left to right as the buttons stand. The main window makes, places, loads
// and ends its pages in this one order (its page factories follow it): the
// page shown at start, section 1, comes first, so it is drawn before the
// hidden ones are made.
const std::array<SectionEntry, kSectionCount> kSections = {{
    {1, IDC_SECTION_SYSTEM_INFO, IDD_SYSTEM_INFO_PAGE, {187, 205, 204}},
    {2, IDC_SECTION_SPEED, IDD_SPEED_PAGE, {193, 192, 191}},
    {3, IDC_SECTION_APPEARANCE, IDD_APPEARANCE_PAGE, {196, 195, 194}},
    {4, IDC_SECTION_MANAGEMENT, IDD_MANAGEMENT_PAGE, {190, 189, 188}},
    {5, IDC_SECTION_DRIVERS, IDD_DRIVER_PAGE, {207, 208, 200}},
    {6, IDC_SECTION_SOFTWARE, IDD_SOFTWARE_PAGE, {199, 198, 197}},
    {7, IDC_SECTION_HELP, IDD_HELP_PAGE, {203, 202, 201}},
}};

const std::array<SectionEntry, kTabCount> kTabs = {{
    {1, IDC_TAB_STARTUP, IDD_STARTUP_PAGE, {229, 228, 227}},
    {2, IDC_TAB_PROCESSES, IDD_PROCESS_PAGE, {230, 232, 231}},
    {3, IDC_TAB_SERVICES, IDD_SERVICE_PAGE, {235, 234, 233}},
    {4, IDC_TAB_ADDONS, IDD_ADDON_PAGE, {236, 238, 237}},
    {5, IDC_TAB_SECURITY, IDD_SECURITY_PAGE, {241, 240, 239}},
}};

const std::array<CaptionButtonEntry, 3> kCaptionButtons = {{
    {IDC_CLOSE_BUTTON, {213, 212, 217}, "关闭"},
    {IDC_MINIMIZE_BUTTON, {211, 210, 216}, "最小化"},
    {IDC_WEB_SITE_BUTTON, {209, 214, 215}, "访问Trimvex官方网站"},
}};

namespace {
template <typename Table>
int NumberOfButton(const Table& table, int buttonId) {
    for (const auto& entry : table)
        if (entry.buttonId == buttonId) return entry.number;
    return 0;
}
}  // namespace

int SectionOfButton(int buttonId) { return NumberOfButton(kSections, buttonId); }
int TabOfButton(int buttonId) { return NumberOfButton(kTabs, buttonId); }
const SectionEntry& Section(int number) { return kSections.at(static_cast<std::size_t>(number - 1)); }
const SectionEntry& Tab(int number) { return kTabs.at(static_cast<std::size_t>(number - 1)); }

}  // namespace tv
