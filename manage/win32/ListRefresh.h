// One list page's scan, run off the window's thread: while it runs the list
// keeps what it showed and the buttons that act on its rows are disabled;
// a scan that takes over half a second says so beside the page's buttons;
// a new Start drops the running scan, so only the newest rows are shown.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Gathering.h"

namespace tv {

// The sign of a running scan: where it stands on the page (dialog units, a
// free spot right of the buttons) and the buttons held while it runs.
class ScanSign {
public:
    ScanSign(RECT place, std::initializer_list<int> actions) : place_(place), actions_(actions) {}
    ~ScanSign();
    // The scan has begun: the row actions are disabled.
    void Begin(HWND page);
    // Shown once the scan has run half a second, with its progress.
    void Tick(HWND page, int progress);
    // The rows are in: the sign goes and the actions come back.
    void End(HWND page);
    HWND Sign() const { return sign_; }

private:
    RECT place_;
    std::vector<int> actions_;
    DWORD begun_ = 0;
    int shown_ = -1;
    HWND sign_ = nullptr;
};

// The sign's text for a scan that has looked at `progress` items.
std::string ScanSignText(int progress);

template <typename Rows>
class ListRefresh {
public:
    using Work = typename ui::Gathering<Rows>::Work;
    ListRefresh(RECT place, std::initializer_list<int> actions) : sign_(place, actions) {}

    void Start(HWND page, Work work) {
        scan_.Start(std::move(work));
        held_ = page != nullptr;
        if (!page) return;
        sign_.Begin(page);
        ui::ReportPageFilled(page);
    }
    // On each hand-off: the rows once scanned; till then, the sign.
    std::optional<Rows> Take(HWND page) {
        if (!page || !scan_.Pending()) return std::nullopt;
        // Begun before the page had its window.
        if (!held_) sign_.Begin(page);
        held_ = true;
        std::optional<Rows> rows = scan_.Take();
        if (rows)
            sign_.End(page);
        else
            sign_.Tick(page, scan_.Progress());
        return rows;
    }
    bool Pending() const { return scan_.Pending(); }
    // The sign while it shows; null otherwise.
    HWND Sign() const { return sign_.Sign(); }

private:
    ui::Gathering<Rows> scan_;
    ScanSign sign_;
    bool held_ = false;
};

}  // namespace tv
