// The main window's seven sections and the management container's five tabs:
// which button shows which page, with which bitmaps. Section and tab numbers
// are positions from the left on screen.
#pragma once

#include <array>

namespace tv {

struct ButtonImages {
    int normal;
    int down;
    int hover;
};

struct SectionEntry {
    int number;      // 1..7
    int buttonId;
    int pageId;      // dialog template of the page
    ButtonImages images;
};

struct CaptionButtonEntry {
    int buttonId;
    ButtonImages images;  // normal, pressed, hover
    const char* tooltip;
};

constexpr int kSectionCount = 7;
constexpr int kTabCount = 5;

extern const std::array<SectionEntry, kSectionCount> kSections;
extern const std::array<SectionEntry, kTabCount> kTabs;
// In the order their bitmaps are loaded: close, minimize, web site.
extern const std::array<CaptionButtonEntry, 3> kCaptionButtons;

// Section (1..7) or tab (1..5) of a button id; 0 when the id is not one.
int SectionOfButton(int buttonId);
int TabOfButton(int buttonId);
const SectionEntry& Section(int number);
const SectionEntry& Tab(int number);

}  // namespace tv
