// The processes tab: running processes with their icons and details; a
// click shows a verdict and the process's modules; ticked processes can be
// ended.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "controls/win32/GradientButton.h"
#include "manage/win32/ListRowsView.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

class ProcessPage : public SubPage {
public:
    explicit ProcessPage(const Platform& platform);

    // Clears and refills the process list.
    void RefreshProcessList();
    // Clears and refills the module list with the modules of process `id`.
    void ListModules(std::uint32_t id);
    // Ends every ticked process, waits, refreshes.
    void EndTickedProcesses();

    const ui::ListView& ProcessList() const { return processList_; }
    const ui::ListView& ModuleList() const { return moduleList_; }
    int RowIconCount() const;

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;
    void OnRefresh() override { RefreshProcessList(); }

private:
    void OnProcessClick();
    // Appends the row's icon to the row icon list; returns its index.
    int AppendRowIcon(const std::string& path);

    ui::ImageList rowIcons_;
    // The shell's icon by image path: it depends on the name alone, so one
    // look-up per path serves every refresh.
    std::map<std::string, ui::Icon> shellIcons_;
    CGradientButton endButton_;
    CGradientButton refreshButton_;
    ui::ListView moduleList_;
    ui::ListView processList_;
};

}  // namespace tv
