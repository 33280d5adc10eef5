// The common shape of every page: a child dialog created hidden from its
// template, white behind every control, owned and placed by its parent.
#pragma once

#include "platform/Platform.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Gdi.h"

namespace tv {

class SectionPage : public ui::Dialog {
public:
    SectionPage(int templateId, const Platform& platform);
    // Destroys the window before the page's members go.
    ~SectionPage() override;

    // Creates the page window as a child of `parent`; it stays hidden.
    bool CreatePage(HWND parent) { return Create(parent); }
    // Starts gathering the page's data before its window exists, so that
    // work need not wait for the windows made ahead of it; the page takes
    // the data once created. Pages that gather nothing at creation ignore it.
    virtual void GatherAhead() {}
    // Shows whatever the page's gatherings have brought since; the main
    // window calls it on each hand-off (see Gathering.h).
    virtual void TakeGathered() {}
    // False while data gathered at creation has yet to reach the controls.
    virtual bool Filled() const { return true; }

protected:
    // Every control-colour request, and the page's own background, gets
    // the white page brush; text colours are left alone.
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;

    ui::Brush PageBrush;
    Platform platform_;
};

// A page of the management container: refreshed each time its tab is
// selected.
class SubPage : public SectionPage {
public:
    using SectionPage::SectionPage;
    void Refresh();
    // As Refresh, but the page may gather off this thread and fill its
    // controls when the data comes.
    void RefreshInBackground();
    // How often Refresh has run.
    int RefreshCount() const { return refreshCount_; }

protected:
    virtual void OnRefresh() = 0;
    virtual void OnRefreshInBackground() { OnRefresh(); }

private:
    int refreshCount_ = 0;
};

}  // namespace tv
