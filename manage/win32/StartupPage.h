// The startup items tab: every autostart entry with the file it runs and
// where it is stored; selected entries can be removed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "controls/win32/GradientButton.h"
#include "manage/StartupItem.h"
#include "platform/UniqueHandle.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SectionPage.h"
#include "res/resource.h"

namespace tv {

struct ImageListTraits {
    static HIMAGELIST Empty() { return nullptr; }
    static bool IsValid(HIMAGELIST list) { return list != nullptr; }
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};
using ImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;

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

private:
    // The image-list index of the row's icon.
    int AddIcon(const StartupItem& item);
    int AddResourceIcon(int id);
    // The shell's small icon of a file added to the image list; -1 when the
    // shell has none.
    int AddFileIcon(const std::string& file);

    ui::ListView list_;
    CGradientButton removeButton_;
    CGradientButton refreshButton_;
    ImageList images_;
    // Resource icons already in the image list during one scan.
    std::map<int, int> resourceIcons_;
    // File icons already in the image list, by lower-cased path.
    std::map<std::string, int> fileIcons_;
};

}  // namespace tv
