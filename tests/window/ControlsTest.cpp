// The control wrappers on real controls: what later pages rely on when they
// fill lists and read rows back.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

namespace tv {
namespace {

// A hidden pop-up with one child control of `className` (id 100).
class ControlHost {
public:
    ControlHost(const char* className, DWORD style) {
        parent_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 300, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 380, 280, parent_,
                        reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr), nullptr);
    }
    ~ControlHost() { DestroyWindow(parent_); }
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;
    HWND Parent() const { return parent_; }

private:
    HWND parent_;
};

TEST(ListViewWrapper, RowsReadBackAsWritten) {
    ControlHost host(WC_LISTVIEWA, LVS_REPORT);
    ui::ListView list;
    ASSERT_TRUE(list.SubclassDlgItem(100, host.Parent()));
    EXPECT_EQ(list.InsertColumn(0, "\xC3\xFB\xB3\xC6", 100), 0);  // 名称
    EXPECT_EQ(list.InsertColumn(1, "path", 200), 1);
    EXPECT_EQ(list.InsertColumn(2, "", 0), 2);  // hidden column

    const std::string longText(3000, 'x');
    const std::string chinese = "C:\\\xB3\xCC\xD0\xF2\\\xDB\x5C.exe";  // 程序, 踈
    struct Row {
        std::string name, path, hidden;
    } rows[] = {{"a", chinese, "1"}, {"b", longText, "0"}, {"", "", ""}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(list.InsertItem(i, rows[i].name), i);
        EXPECT_TRUE(list.SetItemText(i, 1, rows[i].path));
        EXPECT_TRUE(list.SetItemText(i, 2, rows[i].hidden));
    }
    ASSERT_EQ(list.ItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.ItemText(i, 0), rows[i].name) << i;
        EXPECT_EQ(list.ItemText(i, 1), rows[i].path) << i;
        EXPECT_EQ(list.ItemText(i, 2), rows[i].hidden) << i;
    }
    EXPECT_EQ(list.SelectedItem(), -1);
    ListView_SetItemState(list.Handle(), 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.SelectedItem(), 1);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST(ButtonWrapper, CheckAndPushedLook) {
    ControlHost host("BUTTON", BS_AUTOCHECKBOX);
    ui::Button button;
    ASSERT_TRUE(button.SubclassDlgItem(100, host.Parent()));
    EXPECT_EQ(button.Check(), BST_UNCHECKED);
    button.SetCheck(BST_CHECKED);
    EXPECT_EQ(button.Check(), BST_CHECKED);
    button.SetPushed(true);
    EXPECT_TRUE(button.IsPushed());
    button.SetPushed(false);
    EXPECT_FALSE(button.IsPushed());
}

TEST(StaticWrapper, SetBitmapHandsBackThePreviousImage) {
    ControlHost host("STATIC", SS_BITMAP);
    ui::Static image;
    ASSERT_TRUE(image.SubclassDlgItem(100, host.Parent()));
    ui::Bitmap first = ui::LoadBitmapResource(218);
    ui::Bitmap second = ui::LoadBitmapResource(219);
    EXPECT_EQ(image.SetBitmap(first.Get()), nullptr);
    EXPECT_EQ(image.GetBitmap(), first.Get());
    EXPECT_EQ(image.SetBitmap(second.Get()), first.Get());
    EXPECT_EQ(image.SetBitmap(nullptr), second.Get());
}

TEST(WindowWrapper, ObjectLetsGoWhenItsWindowIsDestroyed) {
    ui::Static label;
    {
        ControlHost host("STATIC", 0);
        ASSERT_TRUE(label.SubclassDlgItem(100, host.Parent()));
        EXPECT_EQ(ui::Window::FromHandle(label.Handle()), &label);
        label.SetText("\xCC\xE1\xCA\xBE");
        EXPECT_EQ(label.Text(), "\xCC\xE1\xCA\xBE");
        // A second object cannot take the same control.
        ui::Static other;
        EXPECT_FALSE(other.SubclassDlgItem(100, host.Parent()));
    }
    EXPECT_EQ(label.Handle(), nullptr);
}

}  // namespace
}  // namespace tv
