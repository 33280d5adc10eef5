// The processes tab: running processes with their icons and details; a
// click shows a verdict and the process's modules; ticked processes can be
// ended.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/win32/FilteredList.h"
#include "manage/win32/ListRefresh.h"
#include "manage/win32/ListRowsView.h"
#include "manage/win32/PageSignatures.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class ProcessPage : public SubPage {
public:
    explicit ProcessPage(const Platform& platform);

    // Lists the running processes anew, off this thread; a listing still
    // running is dropped for the fresh one.
    void RefreshProcessList();
    // Clears and refills the module list with the modules of process `id`.
    void ListModules(std::uint32_t id);
    // Ends every ticked process, waits, refreshes.
    void EndTickedProcesses();

    const ui::ListView& ProcessList() const { return processList_; }
    const ui::ListView& ModuleList() const { return moduleList_; }
    // Images in the row icon list: one per image file listed.
    int RowIconCount() const;
    bool Filled() const override {
        return !scan_.Pending() && !processes_.Pending() && !modules_.Pending();
    }
    void TakeGathered() override;
    HWND ScanSignWindow() const { return scan_.Sign(); }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;
    void OnRefresh() override { RefreshProcessList(); }
    // The lists' right-click menus.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void FillList(std::vector<ListRow> rows);
    void OnProcessClick();
    // The row icon list's index of the icon for an image path, added on
    // first sight.
    int RowIcon(const std::string& path);

    static constexpr size_t kMostRowIcons = 1024;
    // Right of the buttons; ending processes waits for the rows.
    ListRefresh<std::vector<ListRow>> scan_{{375, 145, 505, 155}, {IDC_PROCESS_END}};
    ui::ImageList rowIcons_;
    std::map<std::string, int> pathImages_;
    // The rows scanned: the list asks for the texts of those it shows.
    std::vector<ListRow> rows_;
    // The modules of the process last clicked.
    std::vector<ListRow> moduleRows_;
    PageSignatures signatures_{platform_};
    FilteredList processes_;
    FilteredList modules_;
    CGradientButton endButton_;
    CGradientButton refreshButton_;
    ui::ListView moduleList_;
    ui::ListView processList_;
};

}  // namespace tv
