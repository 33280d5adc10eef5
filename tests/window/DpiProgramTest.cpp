// The real Trimvex.exe at 100%, 125% and 150% text size (the prefix's
// LogPixels, read by Wine when a program starts): the window and its
// controls are the 96-dpi figures scaled, every skin picture is its
// control's size, and the hardware pictures stand beside their rows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/ui/DpiScale.h"
#include "res/resource.h"
#include "tests/support/PageLayout.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

// Sets LogPixels where Wine reads it for the programs started after, and
// puts back what was there.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof(previous_);
        had_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr,
                                reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS;
        ok_ = RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                             sizeof(dpi)) == ERROR_SUCCESS;
    }
    ~LogPixels() {
        if (!key_) return;
        if (had_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof(previous_));
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    bool Ok() const { return ok_; }

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool had_ = false;
    bool ok_ = false;
};

Rect ToTv(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A child's rectangle in `parent`'s client coordinates.
Rect RectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return ToTv(r);
}

std::string Show(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.Width()) +
           "x" + std::to_string(r.Height());
}

// The size of bitmap `id` as the program carries it.
SIZE ProgramBitmapSize(HMODULE program, int id) {
    SIZE size{0, 0};
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (!found) return size;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(program, found)));
    if (header) size = {header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
    return size;
}

// The share of pure white pixels in `area` of the window's picture on screen
// (with `least` below 0xFF: of pixels whose three channels all reach it).
double WhiteShare(HWND window, const Rect& area, unsigned least = 0xFF) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = area.Width();
    info.bmiHeader.biHeight = -area.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    POINT origin{area.left, area.top};
    ClientToScreen(window, &origin);
    BitBlt(memory, 0, 0, area.Width(), area.Height(), screen, origin.x, origin.y, SRCCOPY);
    size_t white = 0, total = static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height());
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (size_t i = 0; pixels && i < total; ++i)
        white += (pixels[i] & 0xFF) >= least && (pixels[i] >> 8 & 0xFF) >= least &&
                 (pixels[i] >> 16 & 0xFF) >= least;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return total ? static_cast<double>(white) / static_cast<double>(total) : 0.0;
}

struct SectionButton {
    int id, image;
};
// Left to right; each 65 x 60 at x = 12 + 75 n, y = 26 (96 dpi).
const SectionButton kSections[] = {{1000, 187}, {1005, 193}, {1002, 196}, {1001, 190},
                                   {1003, 207}, {1006, 199}, {1004, 203}};
// Beside rows 0 to 5, in template order.
const int kRowPictures[] = {220, 224, 221, 225, 223, 222};

class DpiProgram : public ::testing::TestWithParam<int> {};

TEST_P(DpiProgram, EverythingIsThe96DpiFiguresScaled) {
    const int dpi = GetParam();
    auto s = [dpi](int pixels96) { return ScaleToDpi(pixels96, dpi); };
    LogPixels setting(static_cast<DWORD>(dpi));
    ASSERT_TRUE(setting.Ok());
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForMain();
    ASSERT_NE(main, nullptr);
    HMODULE art = LoadLibraryExA(testing::TrimvexProcess::BuiltProgram().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(art, nullptr);
    const int set = NearestArtDpi(dpi);

    RECT window{};
    GetWindowRect(main, &window);
    EXPECT_EQ(window.right - window.left, s(780)) << dpi;
    EXPECT_EQ(window.bottom - window.top, s(567)) << dpi;
    // 125% fits a 1366 x 768 screen above a 40-pixel taskbar.
    if (dpi == 120) { EXPECT_LE(window.bottom - window.top, 768 - 40); }

    // Image buttons: their picture's size, at their scaled place.
    for (size_t n = 0; n < 7; ++n) {
        const Rect button = RectIn(GetDlgItem(main, kSections[n].id), main);
        const int left = 12 + 75 * static_cast<int>(n);
        EXPECT_EQ(button, ScaleSized({left, 26, left + 65, 86}, dpi)) << Show(button) << " at " << dpi;
        const SIZE image = ProgramBitmapSize(art, ArtResourceId(kSections[n].image, set));
        EXPECT_EQ(image.cx, button.Width()) << kSections[n].image << " at " << dpi;
        EXPECT_EQ(image.cy, button.Height()) << kSections[n].image << " at " << dpi;
    }
    const Rect close = RectIn(GetDlgItem(main, IDC_CLOSE_BUTTON), main);
    EXPECT_EQ(close, ScaleSized({750, 8, 768, 26}, dpi)) << Show(close);
    EXPECT_EQ(ProgramBitmapSize(art, ArtResourceId(213, set)).cx, close.Width());
    const Rect logo = RectIn(GetDlgItem(main, IDC_LOGO), main);
    EXPECT_EQ(logo, ScaleSized({618, 42, 768, 82}, dpi)) << Show(logo);
    EXPECT_EQ(ProgramBitmapSize(art, ArtResourceId(IDB_LOGO, set)).cx, logo.Width());
    // The frame and the page inside it: edges scaled, so they still meet.
    const Rect frame = RectIn(GetDlgItem(main, IDC_CONTENT_FRAME), main);
    EXPECT_EQ(frame, ScaleEdges({11, 125, 773, 538}, dpi)) << Show(frame);
    HWND page = program.PageWith({IDC_COMPUTER_NAME_LABEL, IDC_HARDWARE_LIST});
    ASSERT_NE(page, nullptr);
    const Rect pageRect = RectIn(page, main);
    EXPECT_EQ(pageRect, ScaleEdges({11, 130, 771, 536}, dpi)) << Show(pageRect);
    HWND listWindow = GetDlgItem(page, IDC_HARDWARE_LIST);
    const Rect list = RectIn(listWindow, page);
    EXPECT_EQ(list, ScaleEdges({78, 101, 752, 406}, dpi)) << Show(list);
    const Rect label = RectIn(GetDlgItem(page, IDC_COMPUTER_NAME_LABEL), page);
    EXPECT_EQ(label, ScaleEdges({129, 14, 489, 26}, dpi)) << Show(label);

    // Rows of the scaled height, each with its picture beside it.
    testing::RemoteListView rows(listWindow);
    ASSERT_TRUE(rows);
    std::vector<HWND> pictures;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) pictures.push_back(child);
    ASSERT_EQ(pictures.size(), 6u);
    for (int row = 0; row < 6; ++row) {
        POINT top = rows.ItemPosition(row);
        MapWindowPoints(listWindow, page, &top, 1);
        if (row > 0) { EXPECT_EQ(rows.ItemPosition(row).y - rows.ItemPosition(row - 1).y, s(50)) << row; }
        const Rect picture = RectIn(pictures[static_cast<size_t>(row)], page);
        const int centre = (picture.top + picture.bottom) / 2;
        EXPECT_GE(centre, top.y) << "row " << row << " at " << dpi;
        EXPECT_LT(centre, top.y + s(50)) << "row " << row << " at " << dpi;
        const SIZE image = ProgramBitmapSize(art, ArtResourceId(kRowPictures[row], set));
        EXPECT_EQ(image.cx, picture.Width()) << kRowPictures[row];
        EXPECT_EQ(image.cy, picture.Height()) << kRowPictures[row];
    }
    FreeLibrary(art);

    // What the user sees, and how much of the button band is bare white.
    // Whole on the screen, to be read from it.
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    const Rect band = ScaleEdges({12, 26, 12 + 75 * 6 + 65, 86}, dpi);
    const double white = WhiteShare(main, band);
    std::printf("dpi %d: window %ldx%ld, white share of the button band %.2f%%\n", dpi,
                window.right - window.left, window.bottom - window.top, white * 100);
    // The share alone cannot tell bare white from the artwork's own: crisp
    // white glyphs fill 5 to 6% of the band at 125% and 150%. An image that
    // falls short of its button leaves the button's bare light face along
    // its right and bottom edges, where every image of every set is darker
    // than 0xC0 in some channel.
    for (const SectionButton& section : kSections) {
        const Rect b = RectIn(GetDlgItem(main, section.id), main);
        EXPECT_EQ(WhiteShare(main, {b.right - 1, b.top, b.right, b.bottom}, 0xC0), 0.0)
            << section.image << " at " << dpi;
        EXPECT_EQ(WhiteShare(main, {b.left, b.bottom - 1, b.right, b.bottom}, 0xC0), 0.0)
            << section.image << " at " << dpi;
    }
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    const std::string shot =
        testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\program-dpi-" + std::to_string(dpi) + ".png";
    EXPECT_TRUE(testing::SaveWindowPng(main, shot)) << shot;

    // The services page's button row: every button inside the page, below
    // the list, none over another, the new ones right of the delete button.
    HWND services = program.ClickTab(IDC_TAB_SERVICES, {IDC_SERVICE_LIST, IDC_SERVICE_STOP});
    ASSERT_NE(services, nullptr);
    RECT servicesClient{};
    GetClientRect(services, &servicesClient);
    const Rect serviceList = RectIn(GetDlgItem(services, IDC_SERVICE_LIST), services);
    const int row[] = {IDC_SERVICE_REFRESH, IDC_SERVICE_DELETE, IDC_SERVICE_AUTO, IDC_SERVICE_MANUAL,
                       IDC_SERVICE_DISABLE, IDC_SERVICE_START, IDC_SERVICE_STOP};
    const Rect deleteButton = RectIn(GetDlgItem(services, IDC_SERVICE_DELETE), services);
    for (size_t n = 0; n < sizeof(row) / sizeof(row[0]); ++n) {
        const Rect b = RectIn(GetDlgItem(services, row[n]), services);
        EXPECT_GE(b.left, 0) << row[n] << " at " << dpi;
        EXPECT_LE(b.right, servicesClient.right) << row[n] << " at " << dpi;
        EXPECT_LE(b.bottom, servicesClient.bottom) << row[n] << " at " << dpi;
        EXPECT_GE(b.top, serviceList.bottom) << row[n] << " at " << dpi;
        // The same size in dialog units; each edge is rounded to a pixel.
        EXPECT_NEAR(b.Width(), deleteButton.Width(), 1) << row[n] << " at " << dpi;
        EXPECT_EQ(b.Height(), deleteButton.Height()) << row[n] << " at " << dpi;
        if (n > 0) {
            const Rect before = RectIn(GetDlgItem(services, row[n - 1]), services);
            EXPECT_GT(b.left, before.right) << row[n] << " at " << dpi;
        }
    }

    // Each list page with its filter bar: every control inside the page and
    // none over another; the bar between its list and the page's buttons.
    const struct {
        int tab, list, button;
    } lists[] = {{IDC_TAB_STARTUP, IDC_STARTUP_LIST, IDC_STARTUP_REFRESH},
                 {IDC_TAB_PROCESSES, IDC_PROCESS_LIST, IDC_PROCESS_REFRESH},
                 {IDC_TAB_SERVICES, IDC_SERVICE_LIST, IDC_SERVICE_REFRESH},
                 {IDC_TAB_ADDONS, IDC_ADDON_LIST, IDC_ADDON_REFRESH}};
    for (const auto& l : lists) {
        HWND page = program.ClickTab(l.tab, {l.list, l.button, IDC_LIST_SEARCH});
        ASSERT_NE(page, nullptr) << l.list << " at " << dpi;
        EXPECT_EQ(testing::LayoutFaults(page), std::vector<std::string>()) << l.list << " at " << dpi;
        const Rect list = RectIn(GetDlgItem(page, l.list), page);
        const Rect button = RectIn(GetDlgItem(page, l.button), page);
        for (int id : {IDC_LIST_SEARCH_LABEL, IDC_LIST_SEARCH, IDC_LIST_HIDE_WINDOWS, IDC_LIST_HIDDEN_COUNT}) {
            const Rect bar = RectIn(GetDlgItem(page, id), page);
            EXPECT_GE(bar.top, list.bottom) << id << " on " << l.list << " at " << dpi;
            EXPECT_LE(bar.bottom, button.top) << id << " on " << l.list << " at " << dpi;
        }
    }

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

INSTANTIATE_TEST_SUITE_P(TextSizes, DpiProgram, ::testing::Values(96, 120, 144),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Dpi" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace tv
