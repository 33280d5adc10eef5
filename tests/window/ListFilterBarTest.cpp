// The filter bar and the signature column of the management lists in the
// real window, over the fakes: the column fills once the rows are shown,
// the check box hides only what Windows' own publisher signed, the search
// keeps the rows holding its text, and the buttons reach only rows in view
// (the add-ons tab's ticked rows: AddonPageTest).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/ServiceDeletion.h"
#include "manage/ServiceScan.h"
#include "manage/win32/AddonPage.h"
#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "manage/win32/StartupPage.h"
#include "platform/Registry.h"
#include "tests/support/ManagementTabTest.h"
#include "tests/support/PageLayout.h"


namespace tv {
namespace {

using testing::PumpMessages;

constexpr int kSignature = kServiceColumnCount;  // the services list's last column

std::string Text(HWND control) {
    char text[256] = {};
    GetWindowTextA(control, text, sizeof(text));
    return text;
}

class ServiceFilterTest : public testing::ManagementTabTest<ServicePage, 3> {
protected:
    void SetUp() override {
        // Windows' own host, listed twice; a program whose company text says
        // Microsoft, signed by another publisher; an unsigned one; one whose
        // signature no longer holds; one whose file is gone.
        Add("Alpha", "C:\\Windows\\system32\\svchost.exe");
        Add("Bravo", "C:\\Tools\\bravo.exe");
        Add("Charlie", "C:\\Tools\\charlie.exe");
        Add("Delta", "C:\\Tools\\delta.exe");
        Add("Echo", "C:\\Windows\\system32\\svchost.exe");
        fakes_.serviceDatabase.Add("Foxtrot", "華中文", "C:\\Gone\\gone.exe");
        fakes_.trust.AddSigned(u"C:\\Windows\\system32\\svchost.exe", u"Microsoft Windows", true);
        fakes_.trust.AddSigned(u"C:\\Tools\\bravo.exe", u"Contoso Ltd", false);
        fakes_.trust.AddUnsigned(u"C:\\Tools\\charlie.exe");
        fakes_.trust.AddInvalid(u"C:\\Tools\\delta.exe");
        const std::string base = "\\StringFileInfo\\04090000\\";
        fakes_.versions.AddFile("C:\\Tools\\bravo.exe", {0x04090000});
        fakes_.versions.AddText("C:\\Tools\\bravo.exe", base + "CompanyName", "Microsoft Corporation");
        Open();
        ClickTab(3);
    }
    void Add(const std::string& name, const std::string& path) {
        fakes_.serviceDatabase.Add(name, name + " display", path);
        fakes_.files.AddFile(path);
        // The key a deletion keeps in its restore file.
        RegKey::Create(fakes_.registry, kHkeyLocalMachine, kServicesKey + name).SetDword("Start", 3);
    }
    // Service name and signature cell of every row shown, top first.
    std::vector<std::string> Shown() const {
        std::vector<std::string> rows;
        const ui::ListView& list = Page().List();
        for (int i = 0; i < list.ItemCount(); ++i)
            rows.push_back(list.ItemText(i, kServiceName) + " " + list.ItemText(i, kSignature));
        return rows;
    }
    HWND Bar(int id) const { return GetDlgItem(Page().Handle(), id); }
    void TickHide() {
        SendMessageA(Bar(IDC_LIST_HIDE_WINDOWS), BM_CLICK, 0, 0);
        PumpMessages(5);
    }
    void Search(const std::string& text) {
        SetWindowTextA(Bar(IDC_LIST_SEARCH), text.c_str());
        PumpMessages(5);
    }
    void Select(int item) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        Page().List().Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
        Page().List().Send(LVM_SETSELECTIONMARK, 0, item);
    }
};

const std::vector<std::string> kEveryService = {
    "Alpha 已验证：Microsoft Windows", "Bravo 已验证：Contoso Ltd", "Charlie 未签名",
    "Delta 签名无效", "Echo 已验证：Microsoft Windows", "Foxtrot "};

TEST_F(ServiceFilterTest, TheColumnFillsOnceAndARefreshVerifiesNothingAgain) {
    EXPECT_EQ(Shown(), kEveryService);
    // One host, verified once for its two services.
    EXPECT_EQ(fakes_.trust.Calls(u"C:\\Windows\\system32\\svchost.exe"), 1);
    const int calls = fakes_.trust.Calls();
    // The check box starts unchecked, the count says nothing.
    EXPECT_EQ(IsDlgButtonChecked(Page().Handle(), IDC_LIST_HIDE_WINDOWS), BST_UNCHECKED);
    EXPECT_EQ(Text(Bar(IDC_LIST_HIDE_WINDOWS)), "隐藏 Windows 自带项目");
    EXPECT_EQ(Text(Bar(IDC_LIST_HIDDEN_COUNT)), "");
    Press(IDC_SERVICE_REFRESH);
    EXPECT_EQ(Shown(), kEveryService);
    // Only the missing file, which the cache cannot stamp, is asked again.
    EXPECT_EQ(fakes_.trust.Calls(), calls + 1);
    EXPECT_EQ(fakes_.trust.Calls(u"C:\\Windows\\system32\\svchost.exe"), 1);
}

TEST_F(ServiceFilterTest, TheCheckBoxHidesOnlyWhatWindowsSignedByItsCertificate) {
    TickHide();
    // Bravo's company text says Microsoft: it stays.
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Bravo 已验证：Contoso Ltd", "Charlie 未签名",
                                                 "Delta 签名无效", "Foxtrot "}));
    EXPECT_EQ(Text(Bar(IDC_LIST_HIDDEN_COUNT)), "已隐藏 2 项");
    // Still hidden after a refresh, the count the same.
    Press(IDC_SERVICE_REFRESH);
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_EQ(Text(Bar(IDC_LIST_HIDDEN_COUNT)), "已隐藏 2 项");
    TickHide();
    EXPECT_EQ(Shown(), kEveryService);
    EXPECT_EQ(Text(Bar(IDC_LIST_HIDDEN_COUNT)), "");
}

TEST_F(ServiceFilterTest, TheSearchKeepsRowsHoldingItsTextInAnyShownColumn) {
    // The service name, letter case aside.
    Search("CHAR");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Charlie 未签名"}));
    // The signature column is searched too.
    Search("contoso");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Bravo 已验证：Contoso Ltd"}));
    // Double-byte text in the display name.
    Search("文");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Foxtrot "}));
    // 華's second byte is an "A": no match for "a", which every other row
    // holds in its display name.
    Search("a");
    EXPECT_EQ(Shown(), std::vector<std::string>(kEveryService.begin(), kEveryService.end() - 1));
    // With the check box: both at once.
    TickHide();
    Search("system32");
    EXPECT_EQ(Shown(), std::vector<std::string>());
    EXPECT_EQ(Text(Bar(IDC_LIST_HIDDEN_COUNT)), "已隐藏 2 项");
    TickHide();
    Search("");
    EXPECT_EQ(Shown(), kEveryService);
}

TEST_F(ServiceFilterTest, DeleteReachesOnlyTheSelectedRowInView) {
    // Alpha is selected, then searched out of view: deleting now finds no
    // selected row and opens no service.
    Select(0);
    Search("Charlie");
    ASSERT_EQ(Shown(), (std::vector<std::string>{"Charlie 未签名"}));
    fakes_.prompter.QueueAnswer(kIdYes);
    Press(IDC_SERVICE_DELETE);
    EXPECT_EQ(fakes_.serviceDatabase.Services().size(), 6u);
    // The row in view, selected: exactly that service goes.
    Select(0);
    fakes_.prompter.QueueAnswer(kIdYes);
    Press(IDC_SERVICE_DELETE);
    // Stopped, it leaves the manager once its last handle closes.
    EXPECT_EQ(fakes_.serviceDatabase.Find("Charlie"), nullptr);
    for (const char* other : {"Alpha", "Bravo", "Delta", "Echo", "Foxtrot"}) {
        const FakeServiceDatabase::Service* service = fakes_.serviceDatabase.Find(other);
        ASSERT_NE(service, nullptr) << other;
        EXPECT_FALSE(service->markedForDeletion) << other;
    }
}

class ProcessFilterTest : public testing::ManagementTabTest<ProcessPage, 2> {};

TEST_F(ProcessFilterTest, EndReachesOnlyTickedRowsInView) {
    fakes_.processes.Add(100, "alpha.exe").kernelPath = "C:\\Apps\\alpha.exe";
    fakes_.processes.Add(200, "bravo.exe").kernelPath = "C:\\Apps\\bravo.exe";
    Open();
    ClickTab(2);
    const ui::ListView& list = Page().ProcessList();
    ASSERT_EQ(list.ItemCount(), 2);
    for (int i = 0; i < list.ItemCount(); ++i) {
        LVITEMA tick{};
        tick.stateMask = LVIS_STATEIMAGEMASK;
        tick.state = INDEXTOSTATEIMAGEMASK(2);
        list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tick));
    }
    SetWindowTextA(GetDlgItem(Page().Handle(), IDC_LIST_SEARCH), "BRAVO");
    PumpMessages(5);
    ASSERT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(list.ItemText(0, 0), "bravo.exe");
    Press(IDC_PROCESS_END);
    // Alpha, ticked but out of view, runs on.
    EXPECT_EQ(fakes_.processes.terminated,
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{200, 1}}));
}

// Each list page at this screen's text size: the bar between the list and
// the buttons, its texts whole, nothing over anything else, the signature
// column last.
TEST(ListFilterBarLayout, EveryListPageCarriesTheBarInItsOwnRoom) {
    testing::FakePlatform fakes;
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1010, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    StartupPage startup(fakes.Get());
    ProcessPage processes(fakes.Get());
    ServicePage services(fakes.Get());
    AddonPage addons(fakes.Get());
    const struct {
        SubPage* page;
        int list, button;
    } pages[] = {{&startup, IDC_STARTUP_LIST, IDC_STARTUP_REFRESH},
                 {&processes, IDC_PROCESS_LIST, IDC_PROCESS_REFRESH},
                 {&services, IDC_SERVICE_LIST, IDC_SERVICE_REFRESH},
                 {&addons, IDC_ADDON_LIST, IDC_ADDON_REFRESH}};
    for (const auto& p : pages) {
        ASSERT_TRUE(p.page->CreatePage(host));
        HWND page = p.page->Handle();
        MoveWindow(page, 0, 0, 1010, 494, FALSE);
        ShowWindow(page, SW_SHOWNA);
        EXPECT_EQ(testing::LayoutFaults(page), std::vector<std::string>()) << p.list;
        RECT list{}, button{};
        GetWindowRect(GetDlgItem(page, p.list), &list);
        GetWindowRect(GetDlgItem(page, p.button), &button);
        for (int id : {IDC_LIST_SEARCH_LABEL, IDC_LIST_SEARCH, IDC_LIST_HIDE_WINDOWS, IDC_LIST_HIDDEN_COUNT}) {
            RECT bar{};
            ASSERT_TRUE(GetWindowRect(GetDlgItem(page, id), &bar)) << id;
            EXPECT_GE(bar.top, list.bottom) << id << " on " << p.list;
            EXPECT_LE(bar.bottom, button.top) << id << " on " << p.list;
        }
        EXPECT_EQ(Text(GetDlgItem(page, IDC_LIST_SEARCH_LABEL)), "查找:");
        EXPECT_TRUE(testing::TextFits(GetDlgItem(page, IDC_LIST_SEARCH_LABEL))) << p.list;
        EXPECT_TRUE(testing::TextFits(GetDlgItem(page, IDC_LIST_HIDE_WINDOWS))) << p.list;
        // The widest count a machine shows.
        SetDlgItemTextA(page, IDC_LIST_HIDDEN_COUNT, "已隐藏 9999 项");
        EXPECT_TRUE(testing::TextFits(GetDlgItem(page, IDC_LIST_HIDDEN_COUNT))) << p.list;
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(page, IDC_LIST_SEARCH), GWL_STYLE) & WS_TABSTOP, WS_TABSTOP);
        // The signature column is the last.
        HWND listWindow = GetDlgItem(page, p.list);
        HWND header = reinterpret_cast<HWND>(SendMessageA(listWindow, LVM_GETHEADER, 0, 0));
        const int last = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) - 1;
        char heading[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = heading;
        column.cchTextMax = sizeof(heading);
        ASSERT_TRUE(SendMessageA(listWindow, LVM_GETCOLUMNA, static_cast<WPARAM>(last),
                                 reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(heading, "数字签名") << p.list;
    }
    DestroyWindow(host);
}

}  // namespace
}  // namespace tv
