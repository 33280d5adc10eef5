// The startup items tab: every autostart entry with the file it runs and
// where it is stored; selected entries can be removed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/win32/GradientButton.h"
#include "manage/StartupItem.h"
#include "platform/UniqueHandle.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gathering.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {


class StartupPage : public SubPage {
public:
    explicit StartupPage(const Platform& platform);

    // Rebuilds the list from the system.
    void StartupScan();
    // Removes the entries of the selected rows (or refuses protected ones),
    // then rebuilds the list unless every one was refused.
    void RemoveStartupItem();

    const ui::ListView& List() const { return list_; }
    HIMAGELIST Images() const { return images_.Get(); }
    CGradientButton& RemoveButton() { return removeButton_; }
    CGradientButton& RefreshButton() { return refreshButton_; }

protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnRefresh() override { StartupScan(); }
    void OnRefreshInBackground() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;

public:
    bool Filled() const override { return !scanPending_; }

private:
    // The image-list index of the row's icon.
    int AddIcon(const StartupItem& item);
    int AddResourceIcon(int id);
    // The shell's small icon of a file added to the image list; -1 when the
    // shell has none.
    int AddFileIcon(const std::string& file);
    // Whether `file` exists, sparing the look-up for files of a folder found
    // missing during this fill.
    bool FileExists(const std::string& file);
    // Rebuilds the list from scanned rows.
    void FillList(std::vector<StartupItem> items);

    ui::ListView list_;
    CGradientButton removeButton_;
    CGradientButton refreshButton_;
    ui::ImageList images_;
    // Resource icons already in the image list during one scan.
    std::map<int, int> resourceIcons_;
    // File icons already in the image list, by lower-cased path.
    std::map<std::string, int> fileIcons_;
    // Icons that depend on the file's type alone, by lower-cased extension.
    std::map<std::string, int> extensionIcons_;
    // Folders found missing during one fill, lower-cased.
    std::set<std::string> missingFolders_;
    // The rows shown: the list asks for their texts.
    std::vector<StartupItem> rows_;
    // A scan started in the background whose rows have not been shown yet.
    bool scanPending_ = false;
    // Last, so its thread is waited for before anything else goes.
    ui::Gathering<std::vector<StartupItem>> scan_;
};

}  // namespace tv
