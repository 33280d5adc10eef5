// The main window: skinned chrome, seven section buttons and the content
// frame in which one of the seven section pages is shown.
#pragma once

#include <array>
#include <memory>

#include "app/PageLayout.h"
#include "app/Sections.h"
#include "platform/ui/SectionPage.h"
#include "controls/win32/HandStatic.h"
#include "controls/win32/SkinBitmapButton.h"
#include "platform/Platform.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Gdi.h"

namespace tv {

constexpr char kMainWindowTitle[] = "Trimvex 1.1   Build20091025";
constexpr UINT kLogoTimerId = 0;
constexpr UINT kLogoTimerPeriod = 3500;
// Presses at or above this client y start a window drag.
constexpr int kDragBandBottom = 90;

class MainWindow : public ui::Dialog {
public:
    explicit MainWindow(const Platform& platform);
    ~MainWindow() override;

    int CurrentSection() const { return currentSection_; }
    const PixelRect& ContentRect() const { return contentRect_; }
    // The page of section 1..7, or null once deleted.
    SectionPage* Page(int section) const;
    CLatchBitmapButton& SectionButton(int section);
    ui::Static& Logo() { return logo_; }

    // Shows the current section's page, hides the others and trims the
    // working set.
    void ShowCurrentSection();
    // True once every page has filled what it gathers while the window
    // comes up; the window then also carries the pages-filled property.
    bool PagesFilled() const;

    bool PreTranslateMessage(MSG& message) override;

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void ShowVersionNoticeIfDue();
    void MarkPagesFilledWhenDone();
    // The hidden pages and the outdated-version notice, after the window
    // has appeared.
    void FinishStart();
    void CreateToolTips();
    void BlinkLogo();
    void Paint();
    bool StartDrag(LPARAM lParam);
    void ApplyWindowRegion();
    void OpenHomePage(int showCommand);

    ui::Region windowRegion_;
    std::unique_ptr<ui::ToolTip> tooltip_;
    ui::Brush frameBrush_;
    PixelRect contentRect_;
    int currentSection_ = 1;
    // False until FinishStart has made the pages hidden at start.
    bool allPagesCreated_ = false;
    // By section number, from 1 (kSections).
    std::array<std::unique_ptr<SectionPage>, kSectionCount> pages_;
    CHoverBitmapButton close_;
    CHoverBitmapButton minimize_;
    CHoverBitmapButton webSite_;
    CHandStatic logo_;
    // By section number - 1.
    std::array<CLatchBitmapButton, 7> sectionButtons_;
    ui::Static frame_;
    ui::Icon icon_;
    ui::Icon smallIcon_;
    // The logo image handed to the logo control last; the control does not
    // own it.
    ui::Bitmap logoImage_;
    int logoBlinkFlag_ = 1;
    Platform platform_;
};

}  // namespace tv
