// What a management list keeps in view: the search over the columns the
// user sees (code page 936 text included), the check box that hides what
// Windows' own publisher signed, and which rows an action then reaches.
//   衆 D0 5C and 癨 B0 5C end in '\'; 華 C8 41 ends in 'A'; 萢 C8 61 in 'a'.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/RowFilter.h"
#include "manage/RowSignatures.h"
#include "manage/ShownRows.h"

namespace tv {
namespace {

const std::string kBackslashTrail = "\xD0\x5C";  // 衆
const std::string kUpperATrail = "\xC8\x41";     // 華
const std::string kLowerATrail = "\xC8\x61";     // 萢
const std::string kZhong = "\xD6\xD0";           // 中
const std::string kWen = "\xCE\xC4";             // 文

struct SearchCase {
    std::vector<std::string> cells;
    std::string search;
    bool holds;
};

TEST(ListFilter, SearchFindsWholeCharactersInAnyCellLetterCaseAside) {
    const SearchCase cases[] = {
        {{"Winlogon", "C:\\Windows\\explorer.exe"}, "EXPLORER", true},
        {{"Winlogon", "C:\\Windows\\explorer.exe"}, "winLOGON", true},
        {{"abc", "def"}, "cd", false},
        {{"abc", "def"}, "", true},
        {{}, "", true},
        {{}, "a", false},
        // Double-byte text matches as typed.
        {{"QQ" + kZhong + kWen}, kZhong + kWen, true},
        {{"QQ" + kZhong + kWen}, kWen, true},
        {{"QQ" + kZhong}, kWen, false},
        // A trail byte is no backslash, and no letter.
        {{"C:" + kBackslashTrail + "x"}, "\\", false},
        {{"C:" + kBackslashTrail + "x"}, kBackslashTrail, true},
        {{"C:\\" + kBackslashTrail}, "\\", true},
        {{kUpperATrail}, "a", false},
        {{kUpperATrail}, "A", false},
        {{kLowerATrail + "b"}, "ab", false},
        {{kLowerATrail + "b"}, "B", true},
        // Letter case never folds a double-byte character: 華 is not 萢.
        {{kUpperATrail}, kLowerATrail, false},
        // A lead byte typed alone finds no character it starts.
        {{kZhong}, "\xD6", false},
    };
    for (const SearchCase& c : cases) {
        std::vector<std::string_view> cells(c.cells.begin(), c.cells.end());
        EXPECT_EQ(RowHolds(cells, c.search), c.holds) << c.search << " in " << c.cells.size();
    }
}

// Rows as the filter sees them: shown cells and whether Windows signed it.
struct Row {
    std::vector<std::string> cells;
    bool windows;
};

FilterOutcome Filter(const std::vector<Row>& rows, const RowFilter& filter) {
    return FilterRows(rows.size(), [&](size_t i) {
        FilterRow r;
        r.shownCells.assign(rows[i].cells.begin(), rows[i].cells.end());
        r.windowsSigned = rows[i].windows;
        return r;
    }, filter);
}

TEST(ListFilter, CheckBoxAndSearchTogether) {
    const std::vector<Row> rows = {
        {{"svchost", "C:\\Windows\\system32\\svchost.exe"}, true},
        {{"QQ" + kZhong, "C:\\QQ\\qq.exe"}, false},
        {{"spooler", "C:\\Windows\\system32\\spoolsv.exe"}, true},
        {{"Updater", "C:\\Program Files\\" + kZhong + "\\up.exe"}, false},
    };
    struct {
        RowFilter filter;
        std::vector<size_t> shown;
        size_t hidden;
        std::string count;
    } cases[] = {
        {{"", false}, {0, 1, 2, 3}, 0, ""},
        {{"", true}, {1, 3}, 2, "已隐藏 2 项"},
        {{"SYSTEM32", false}, {0, 2}, 0, ""},
        // The count is what the check box hides, whatever the search.
        {{"system32", true}, {}, 2, "已隐藏 2 项"},
        {{kZhong, false}, {1, 3}, 0, ""},
        {{kZhong, true}, {1, 3}, 2, "已隐藏 2 项"},
        {{"qq", true}, {1}, 2, "已隐藏 2 项"},
        {{"nowhere", false}, {}, 0, ""},
    };
    for (const auto& c : cases) {
        FilterOutcome outcome = Filter(rows, c.filter);
        EXPECT_EQ(outcome.shown, c.shown) << c.filter.search << " " << c.filter.hideWindows;
        EXPECT_EQ(outcome.hiddenWindows, c.hidden) << c.filter.search << " " << c.filter.hideWindows;
        EXPECT_EQ(HiddenCountText(c.filter, outcome.hiddenWindows), c.count);
    }
    EXPECT_EQ(HiddenCountText({"", true}, 0), "已隐藏 0 项");
    EXPECT_EQ(HiddenCountText({"", true}, 12), "已隐藏 12 项");
}

TrustVerdict Verdict(TrustState state, const std::u16string& signer, bool windows) {
    TrustVerdict v;
    v.state = state;
    v.signer = signer;
    v.windowsPublisher = windows;
    return v;
}

TEST(ListFilter, OnlyTheCertificateSaysWindowsSignedIt) {
    RowSignatures signatures;
    // Two services share one host; the third's company text says Microsoft
    // but another publisher signed it; the fourth names no file; the fifth
    // is not verified yet; the sixth claims the publisher with a signature
    // that does not hold.
    signatures.Reset({u"C:\\Windows\\system32\\svchost.exe", u"c:\\windows\\SYSTEM32\\SVCHOST.EXE",
                      u"C:\\Tools\\fake.exe", u"", u"C:\\Later\\later.exe", u"C:\\Bad\\bad.exe"});
    EXPECT_EQ(signatures.Files(),
              (std::vector<std::u16string>{u"C:\\Windows\\system32\\svchost.exe", u"C:\\Tools\\fake.exe",
                                           u"C:\\Later\\later.exe", u"C:\\Bad\\bad.exe"}));
    EXPECT_EQ(signatures.Settle(u"C:\\WINDOWS\\system32\\svchost.exe",
                                Verdict(TrustState::kVerified, u"Microsoft Windows", true),
                                "已验证：Microsoft Windows"),
              (std::vector<size_t>{0, 1}));
    EXPECT_EQ(signatures.Settle(u"C:\\Tools\\fake.exe",
                                Verdict(TrustState::kVerified, u"Contoso Ltd", false),
                                "已验证：Contoso Ltd"),
              (std::vector<size_t>{2}));
    EXPECT_EQ(signatures.Settle(u"C:\\Bad\\bad.exe", Verdict(TrustState::kInvalid, u"", true), "签名无效"),
              (std::vector<size_t>{5}));
    EXPECT_TRUE(signatures.Settle(u"C:\\Elsewhere.exe", Verdict(TrustState::kUnsigned, u"", false), "未签名")
                    .empty());

    const std::vector<std::string> company = {"Microsoft Corporation", "Microsoft Corporation",
                                              "Microsoft Corporation", "Microsoft Corporation",
                                              "Microsoft Corporation", "Microsoft Corporation"};
    FilterOutcome outcome = FilterRows(company.size(), [&](size_t i) {
        FilterRow r;
        r.shownCells = {company[i], signatures.CellText(i)};
        r.windowsSigned = signatures.WindowsSigned(i);
        return r;
    }, RowFilter{"", true});
    EXPECT_EQ(outcome.shown, (std::vector<size_t>{2, 3, 4, 5}));
    EXPECT_EQ(outcome.hiddenWindows, 2u);
    EXPECT_EQ(signatures.CellText(1), "已验证：Microsoft Windows");
    EXPECT_EQ(signatures.CellText(2), "已验证：Contoso Ltd");
    EXPECT_EQ(signatures.CellText(4), "");
    EXPECT_TRUE(signatures.Verified(5));
    EXPECT_FALSE(signatures.Verified(4));
    EXPECT_FALSE(signatures.Verified(3));
    EXPECT_FALSE(signatures.WindowsSigned(99));
    EXPECT_EQ(signatures.CellText(99), "");

    // The signature column is searched as the others are.
    outcome = FilterRows(company.size(), [&](size_t i) {
        FilterRow r;
        r.shownCells = {signatures.CellText(i)};
        return r;
    }, RowFilter{"contoso", false});
    EXPECT_EQ(outcome.shown, (std::vector<size_t>{2}));

    // Every letter folds, "a" and "z" included; nothing past the rows.
    signatures.Reset({u"C:\\za\\a.exe", u"c:\\ZA\\A.EXE", u"C:\\z@\\`.exe"});
    EXPECT_EQ(signatures.Files().size(), 2u);
    EXPECT_EQ(signatures.Settle(u"C:\\ZA\\a.EXE", Verdict(TrustState::kUnsigned, u"", false), "未签名"),
              (std::vector<size_t>{0, 1}));
    EXPECT_TRUE(signatures.Settle(u"C:\\Z@\\@.exe", Verdict(TrustState::kUnsigned, u"", false), "未签名")
                    .empty());
    EXPECT_FALSE(signatures.Verified(signatures.RowCount()));
    EXPECT_FALSE(signatures.WindowsSigned(signatures.RowCount()));
    EXPECT_EQ(signatures.CellText(signatures.RowCount()), "");

    // A new scan starts every row unverified.
    signatures.Reset({u"C:\\Windows\\system32\\svchost.exe"});
    EXPECT_FALSE(signatures.Verified(0));
    EXPECT_FALSE(signatures.WindowsSigned(0));
    EXPECT_EQ(signatures.RowCount(), 1u);
}

TEST(ListFilter, ActionsReachOnlyTheRowsInView) {
    ShownRows shown;
    shown.ShowAll(5);
    EXPECT_EQ(shown.Rows(), (std::vector<size_t>{0, 1, 2, 3, 4}));
    // Rows going: the control loses those items, highest first.
    ShownRows::Change change = shown.Show({1, 3});
    EXPECT_FALSE(change.refill);
    EXPECT_EQ(change.removedItems, (std::vector<int>{4, 2, 0}));
    // Items 0 and 1 are rows 1 and 3; a picked item out of the list is none.
    EXPECT_EQ(shown.RowOf(0), 1u);
    EXPECT_EQ(shown.RowOf(1), 3u);
    EXPECT_EQ(shown.RowOf(2), ShownRows::npos);
    EXPECT_EQ(shown.RowOf(-1), ShownRows::npos);
    EXPECT_EQ(shown.RowsOf({1, 0, 2, 7}), (std::vector<size_t>{3, 1}));
    EXPECT_EQ(shown.ItemOf(3), 1);
    EXPECT_EQ(shown.ItemOf(0), -1);
    EXPECT_EQ(shown.ItemOf(4), -1);
    EXPECT_EQ(shown.ItemOf(9), -1);
    EXPECT_EQ(shown.ItemOf(shown.RowCount()), -1);
    // A row coming back fills the control again.
    change = shown.Show({0, 1, 3});
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(shown.ItemOf(0), 0);
    EXPECT_EQ(shown.ItemOf(3), 2);
    // The same rows: nothing to do.
    change = shown.Show({0, 1, 3});
    EXPECT_FALSE(change.refill);
    EXPECT_TRUE(change.removedItems.empty());
    // Clearing the search shows every row again.
    change = shown.Show({0, 1, 2, 3, 4});
    EXPECT_TRUE(change.refill);
    EXPECT_EQ(shown.RowsOf({0, 1, 2, 3, 4}), (std::vector<size_t>{0, 1, 2, 3, 4}));
    // A row the scan does not have is never an item's.
    shown.Show({1, 5});
    EXPECT_EQ(shown.ItemOf(1), 0);
    EXPECT_EQ(shown.ItemOf(4), -1);
    EXPECT_EQ(shown.ItemOf(5), -1);
    // A new scan shows all of its rows.
    shown.Show({2});
    shown.ShowAll(2);
    EXPECT_EQ(shown.Rows(), (std::vector<size_t>{0, 1}));
    EXPECT_EQ(shown.ItemOf(1), 1);
    EXPECT_EQ(shown.RowCount(), 2u);
}

}  // namespace
}  // namespace tv
