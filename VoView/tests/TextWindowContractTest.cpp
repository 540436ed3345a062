// The text window's export, class, creation and life, and its private messages, on real
// windows under Wine: ordinal-only export, creation and failure, references to server and
// sink, the drop target, item counts, caret, selection, show-range, reload and focus.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <climits>
#include "RectCompare.h"
#include "TestFiles.h"
#include "TextWindowHost.h"

namespace {

SCROLLINFO ScrollInfoOf(HWND hwnd) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    EXPECT_TRUE(GetScrollInfo(hwnd, SB_VERT, &si));
    return si;
}

TEST(VoViewExports, OnlyOrdinalTenAndNoName) {
    HMODULE dll = LoadLibraryA("VoView.dll");
    ASSERT_NE(nullptr, dll);
    EXPECT_TRUE(ExportedNames(dll).empty());
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, MAKEINTRESOURCEA(10))));
    EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, MAKEINTRESOURCEA(11))));
    for (const char* name : {"VoCreateBibleTextWindow", "_VoCreateBibleTextWindow@20", "VoCreateBibleTextWindow@20"})
        EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, name))) << name;
    EXPECT_FALSE(ImportsCompilerRuntime(dll));
    FreeLibrary(dll);
}

// The ordinals this module imports from a DLL (names are not collected).
std::vector<WORD> ImportedOrdinals(HMODULE module, const char* dll) {
    std::vector<WORD> ordinals;
    auto base = reinterpret_cast<const BYTE*>(module);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        // The thunks are pointer-sized: IMAGE_THUNK_DATA is this module's own width.
        for (auto t = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk); t->u1.Ordinal; ++t)
            if (IMAGE_SNAP_BY_ORDINAL(t->u1.Ordinal)) ordinals.push_back(static_cast<WORD>(IMAGE_ORDINAL(t->u1.Ordinal)));
    }
    return ordinals;
}

// A program linked with VoView's import library, as the main program is, binds ordinal 10.
TEST(VoViewImports, CallersBindTheExportByOrdinal) {
    volatile auto direct = &VoCreateBibleTextWindow;  // this test program links it directly
    ASSERT_NE(nullptr, direct);
    EXPECT_EQ((std::vector<WORD>{10}), ImportedOrdinals(GetModuleHandleW(nullptr), "VoView.dll"));
}

TEST_F(TextWindowTest, ClassStylesAndPlace) {
    server_.SetCount(10);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    EXPECT_STREQ(L"OrdvevTextWindow", name);
    EXPECT_EQ(0x56200000, GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(0, GetWindowLongW(hwnd, GWL_EXSTYLE));
    EXPECT_EQ(static_cast<LONG>(kId), GetWindowLongW(hwnd, GWL_ID));
    EXPECT_EQ(host_, GetParent(hwnd));

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"OrdvevTextWindow", &wc));  // the program's instance
    EXPECT_EQ(static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), wc.style);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), wc.hbrBackground);
    EXPECT_EQ(nullptr, wc.hIcon);
    EXPECT_EQ(nullptr, wc.lpszMenuName);
    EXPECT_EQ(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)), wc.hCursor);

    // Without a rectangle the window fills the parent's client area.
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ((RECT{0, 0, kClientW, kClientH}), rc);
    // With one it takes that place.
    RECT place = {10, 20, 210, 170};
    HWND second = Create(&place);
    ASSERT_NE(nullptr, second);
    GetWindowRect(second, &rc);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(place, rc);
}

using Calls = std::vector<std::string>;

TEST_F(TextWindowTest, WhatTheWindowAsksOfItsServerFromCreationToFirstPaint) {
    server_.SetCount(3);
    HWND hwnd = create_(host_, &server_, &sink_, nullptr, kId);
    ASSERT_NE(nullptr, hwnd);
    // Construction, initialisation, WM_CREATE, then the relayout of the first WM_SIZE: the
    // page walk measures from the end without filling the cache.
    EXPECT_EQ((Calls{"GetScrollUnitsPerItem", "GetFixedItemHeight", "GetItemCount", "QueryInterface(IDropTarget)",
                     "GetColumnWidth", "MeasureItem(2)", "MeasureItem(1)", "MeasureItem(0)"}),
              server_.calls);
    server_.calls.clear();
    Paint(hwnd);
    EXPECT_EQ((Calls{"MeasureItem(0)", "MeasureItem(1)", "MeasureItem(2)", "DrawItem(0)", "DrawItem(1)", "DrawItem(2)"}),
              server_.calls);
    server_.calls.clear();
    server_.SetCount(0);
    Send(hwnd, TWM_RELOADITEMS);
    Paint(hwnd);
    EXPECT_EQ((Calls{"GetScrollUnitsPerItem", "GetFixedItemHeight", "GetItemCount", "GetColumnWidth"}), server_.calls);
}

TEST_F(TextWindowTest, DestructionReleasesServerAndSinkExactlyOnce) {
    server_.SetCount(100);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(2, server_.refs);
    EXPECT_EQ(2, sink_.refs);
    DestroyWindow(hwnd);
    EXPECT_EQ(1, server_.refs);
    EXPECT_EQ(1, sink_.refs);
}

TEST_F(TextWindowTest, FailedCreationLeavesNothingBehind) {
    server_.SetCount(5);
    RECT rc = {0, 0, 100, 100};
    HWND bogusParent = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7FFF1234));
    EXPECT_EQ(nullptr, create_(bogusParent, &server_, &sink_, &rc, 1));
    EXPECT_EQ(1, server_.refs);
    EXPECT_EQ(1, sink_.refs);
    EXPECT_EQ(nullptr, create_(host_, nullptr, &sink_, &rc, 1));
    EXPECT_EQ(nullptr, create_(host_, &server_, nullptr, &rc, 1));
    EXPECT_EQ(1, server_.refs);
    EXPECT_EQ(1, sink_.refs);
}

TEST_F(TextWindowTest, DropTargetIsRegisteredOnlyWhenTheServerHasOne) {
    TestDropTarget other;
    server_.SetCount(3);
    HWND plain = Create();
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(1, server_.dropTargetQueries);
    // Nothing is registered on the window: another target can be.
    EXPECT_EQ(S_OK, RegisterDragDrop(plain, &other));
    EXPECT_EQ(S_OK, RevokeDragDrop(plain));
    DestroyWindow(plain);

    TestDropTarget target;
    server_.dropTarget = &target;
    HWND withTarget = Create();
    ASSERT_NE(nullptr, withTarget);
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, RegisterDragDrop(withTarget, &other));
    EXPECT_GT(target.refs, 1);
    DestroyWindow(withTarget);
    EXPECT_EQ(1, target.refs);  // revoked: every reference the registration took is back
    EXPECT_EQ(1, server_.refs);
    EXPECT_EQ(1, other.refs);
}

TEST_F(TextWindowTest, ItemCountsZeroOneAndHundredThousand) {
    struct Case {
        int count, maxTop, visibleLast;
    } cases[] = {
        {0, 0, 0},
        {1, 0, 1},
        {100000, 100000 - kClientH / 20, kClientH / 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        server_.SetCount(c.count);
        server_.measureCalls = 0;
        HWND hwnd = Create();
        ASSERT_NE(nullptr, hwnd);
        Paint(hwnd);
        EXPECT_EQ(c.maxTop, Send(hwnd, TWM_GETMAXTOPINDEX));
        EXPECT_EQ(0, Send(hwnd, TWM_GETTOPINDEX));
        EXPECT_EQ(0, Send(hwnd, TWM_GETCARET));
        EXPECT_EQ(c.count > 0 ? TRUE : FALSE, Send(hwnd, TWM_SETCARET, 0));
        EXPECT_EQ(FALSE, Send(hwnd, TWM_SETCARET, c.count));
        EXPECT_EQ(-1, Send(hwnd, TWM_ISSELECTED, c.count));
        RECT rc = {};
        EXPECT_EQ(FALSE, Send(hwnd, TWM_GETITEMRECT, c.count, reinterpret_cast<LPARAM>(&rc)));
        // The ring cache holds every visible item after one paint: measuring stays near a screen.
        EXPECT_LE(server_.measureCalls, 4 * (c.visibleLast + 1));
        if (c.count == 0) {
            EXPECT_EQ(0, server_.measureCalls);
        }
        // The largest top position is reachable, and no further.
        Send(hwnd, WM_VSCROLL, SB_BOTTOM);
        EXPECT_EQ(c.maxTop, Send(hwnd, TWM_GETTOPINDEX));
        SCROLLINFO si = ScrollInfoOf(hwnd);
        EXPECT_EQ(0, si.nMin);
        EXPECT_EQ(std::max(c.count - 1, 0), si.nMax);
        EXPECT_EQ(c.maxTop, si.nPos);
        DestroyWindow(hwnd);
    }
}

TEST_F(TextWindowTest, CaretMessages) {
    server_.SetCount(100);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(TRUE, Send(hwnd, TWM_SETCARET, 5));
    EXPECT_EQ(TRUE, Send(hwnd, TWM_SETCARET, 5));  // the same item is reported again
    EXPECT_EQ(FALSE, Send(hwnd, TWM_SETCARET, 100));
    EXPECT_EQ(FALSE, Send(hwnd, TWM_SETCARET, static_cast<WPARAM>(-1)));
    EXPECT_EQ(5, Send(hwnd, TWM_GETCARET));
    EXPECT_EQ((std::vector<int>{5, 5}), sink_.carets);
    EXPECT_EQ(0, Send(hwnd, TWM_GETTOPINDEX));  // setting the caret does not scroll
    EXPECT_EQ(FALSE, Send(hwnd, TWM_ISDRAGGING));
}

std::vector<int> SelectedItems(HWND hwnd, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
        if (SendMessageW(hwnd, TWM_ISSELECTED, i, 0) == 1) out.push_back(i);
    return out;
}

TEST_F(TextWindowTest, SelectRangeReplacesAddsAndClears) {
    server_.SetCount(100);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    int bounds[2] = {-1, -1};
    EXPECT_EQ(0, Send(hwnd, TWM_GETSELECTIONBOUNDS, 0, reinterpret_cast<LPARAM>(bounds)));
    EXPECT_EQ(0, bounds[0]);
    EXPECT_EQ(0, bounds[1]);

    EXPECT_EQ(0, Send(hwnd, TWM_SELECTRANGE, 2, 5));
    EXPECT_EQ((std::vector<int>{2, 3, 4}), SelectedItems(hwnd, 100));
    EXPECT_EQ(1, sink_.selectionChanges);
    EXPECT_EQ(0, Send(hwnd, TWM_SELECTRANGE, 10, 0x80000000 | 12));
    EXPECT_EQ((std::vector<int>{2, 3, 4, 10, 11}), SelectedItems(hwnd, 100));
    EXPECT_EQ(10, Send(hwnd, TWM_GETSELECTIONBOUNDS, 0, reinterpret_cast<LPARAM>(bounds)));
    EXPECT_EQ(2, bounds[0]);
    EXPECT_EQ(12, bounds[1]);
    EXPECT_EQ(2, sink_.selectionChanges);
    // Replacing with a range wholly below the screen changes no visible item: no report.
    EXPECT_EQ(0, Send(hwnd, TWM_SELECTRANGE, 60, 62));
    EXPECT_EQ((std::vector<int>{60, 61}), SelectedItems(hwnd, 100));
    EXPECT_EQ(3, sink_.selectionChanges);  // items 2-4 and 10-11 were visible and changed
    EXPECT_EQ(0, Send(hwnd, TWM_SELECTRANGE, 70, 0x80000000 | 72));
    EXPECT_EQ(3, sink_.selectionChanges);
    // An empty range added does nothing; an empty range alone clears and reports.
    EXPECT_EQ(0, Send(hwnd, TWM_SELECTRANGE, 5, 0x80000000 | 5));
    EXPECT_EQ(3, sink_.selectionChanges);
    EXPECT_EQ(0, Send(hwnd, TWM_SELECTRANGE, 9, 3));
    EXPECT_TRUE(SelectedItems(hwnd, 100).empty());
    EXPECT_EQ(4, sink_.selectionChanges);
    // A range past the list is cut at its end.
    Send(hwnd, TWM_SELECTRANGE, 98, 500);
    EXPECT_EQ((std::vector<int>{98, 99}), SelectedItems(hwnd, 100));
}

TEST_F(TextWindowTest, ShowRangeSetsCaretSelectionAndTopBoundedByTheLastPage) {
    server_.SetCount(100);  // 20 pixels each: 15 per page, largest top 85
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(TRUE, Send(hwnd, TWM_SHOWRANGE, 10, 13));
    EXPECT_EQ(10, Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ(10, Send(hwnd, TWM_GETCARET));
    EXPECT_EQ((std::vector<int>{10, 11, 12}), SelectedItems(hwnd, 100));

    EXPECT_EQ(TRUE, Send(hwnd, TWM_SHOWRANGE, 20, 20));  // no selection change
    EXPECT_EQ(20, Send(hwnd, TWM_GETCARET));
    EXPECT_EQ(20, Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ((std::vector<int>{10, 11, 12}), SelectedItems(hwnd, 100));

    EXPECT_EQ(TRUE, Send(hwnd, TWM_SHOWRANGE, 95, 0));  // lParam 0: the caret stays
    EXPECT_EQ(85, Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ(20, Send(hwnd, TWM_GETCARET));
    EXPECT_EQ((std::vector<int>{10, 20}), sink_.carets);

    EXPECT_EQ(FALSE, Send(hwnd, TWM_SHOWRANGE, static_cast<WPARAM>(-3), 5));
    EXPECT_EQ(85, Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ(20, Send(hwnd, TWM_GETCARET));
}

TEST_F(TextWindowTest, ReloadReadsTheNewListAndKeepsTheTopWithinIt) {
    server_.SetCount(100);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Send(hwnd, TWM_SHOWRANGE, 60, 62);
    ASSERT_EQ(60, Send(hwnd, TWM_GETTOPINDEX));
    const size_t caretsBefore = sink_.carets.size();
    server_.SetCount(40);
    server_.defaultHeight = 10;  // 30 per page now: largest top 10
    EXPECT_EQ(TRUE, Send(hwnd, TWM_RELOADITEMS));
    EXPECT_EQ(0, Send(hwnd, TWM_GETCARET));
    EXPECT_EQ(caretsBefore, sink_.carets.size());  // the caret moves to 0 silently
    EXPECT_TRUE(SelectedItems(hwnd, 40).empty());
    EXPECT_EQ(10, Send(hwnd, TWM_GETMAXTOPINDEX));
    EXPECT_EQ(10, Send(hwnd, TWM_GETTOPINDEX));
    SCROLLINFO si = ScrollInfoOf(hwnd);
    EXPECT_EQ(39, si.nMax);
    EXPECT_EQ(30u, si.nPage);
    EXPECT_EQ(10, si.nPos);
    EXPECT_EQ(-1, Send(hwnd, TWM_ISSELECTED, 40));
}

TEST_F(TextWindowTest, ItemRectangles) {
    server_.SetCount(100);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    RECT rc = {};
    EXPECT_EQ(TRUE, Send(hwnd, TWM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_EQ((RECT{0, 60, kClientW - GetSystemMetrics(SM_CXVSCROLL), 80}), rc);
    EXPECT_EQ(FALSE, Send(hwnd, TWM_GETITEMRECT, 3, 0));
    Send(hwnd, TWM_SHOWRANGE, 10, 0);
    EXPECT_EQ(TRUE, Send(hwnd, TWM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_EQ(-10, rc.top);  // before the top: above the client area
    EXPECT_EQ(0, rc.bottom);
}

TEST_F(TextWindowTest, FocusNotifiesTheParentAndCharactersGoToTheSink) {
    server_.SetCount(10);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    SetFocus(hwnd);
    Pump();
    ASSERT_FALSE(notifications().empty());
    const NMHDR& n = notifications().back();
    EXPECT_EQ(hwnd, n.hwndFrom);
    EXPECT_EQ(kId, n.idFrom);
    EXPECT_EQ(static_cast<UINT>(NM_SETFOCUS), n.code);

    Send(hwnd, WM_CHAR, 'a', MAKELPARAM(3, 0x1E));
    ASSERT_EQ(1u, sink_.chars.size());
    EXPECT_EQ(static_cast<UINT>('a'), sink_.chars[0].character);
    EXPECT_EQ(3u, sink_.chars[0].repeat);
    EXPECT_EQ(0x1Eu, sink_.chars[0].flags);
}

TEST_F(TextWindowTest, SizeEmptiesTheCacheAndSetFontRelayouts) {
    server_.SetCount(1000);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Paint(hwnd);
    const int first = server_.measureCount[0];
    EXPECT_GE(first, 1);
    InvalidateRect(hwnd, nullptr, FALSE);
    Paint(hwnd);
    EXPECT_EQ(first, server_.measureCount[0]);  // a repaint measures nothing again

    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    Paint(hwnd);
    EXPECT_EQ(first + 1, server_.measureCount[0]);

    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    ValidateRect(hwnd, nullptr);
    Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<LRESULT>(font), Send(hwnd, WM_GETFONT));
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));  // no repaint asked for
    Paint(hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
    Paint(hwnd);
    EXPECT_EQ(first + 2, server_.measureCount[0]);  // measured again once after the new font
    Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE));
}

TEST_F(TextWindowTest, ZeroUnitsPerItemMeasuresEveryItemOnceAtRelayout) {
    server_.SetCount(50);
    server_.unitsPerItem = 0;
    server_.columnWidth = 100;  // ignored without units per item
    server_.heights.resize(50);
    for (int i = 0; i < 50; ++i) server_.heights[static_cast<size_t>(i)] = 15 + (i % 4) * 10;
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(1, server_.measureCount[static_cast<size_t>(i)]) << i;
    Paint(hwnd);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(1, server_.measureCount[static_cast<size_t>(i)]) << i;
    // The last page: items from the end while they fit in 300 pixels.
    int run = 0, page = 0;
    for (int i = 49; i >= 0 && run + server_.heights[static_cast<size_t>(i)] <= kClientH; --i) {
        run += server_.heights[static_cast<size_t>(i)];
        ++page;
    }
    EXPECT_EQ(50 - page, Send(hwnd, TWM_GETMAXTOPINDEX));
    RECT rc = {};
    Send(hwnd, TWM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(15 + 25, rc.top);
    EXPECT_EQ(15 + 25 + 35, rc.bottom);
    EXPECT_FALSE(server_.drawn.empty());
    for (const auto& d : server_.drawn) EXPECT_EQ(server_.heights[static_cast<size_t>(d.item)], d.height);
}

}  // namespace

namespace {

TEST_F(TextWindowTest, ServerAnswersOutOfReasonGiveAnErrorOrAWorkingWindow) {
    // Two billion items to measure one by one at every relayout: creation fails cleanly.
    server_.count = INT_MAX;
    server_.unitsPerItem = 0;
    EXPECT_EQ(nullptr, Create());
    EXPECT_EQ(1, server_.refs);
    EXPECT_EQ(1, sink_.refs);
    // A negative count is an empty list.
    server_.count = -5;
    server_.unitsPerItem = 1;
    HWND empty = Create();
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0, Send(empty, TWM_GETMAXTOPINDEX));
    EXPECT_EQ(-1, Send(empty, TWM_ISSELECTED, 0));
    DestroyWindow(empty);  // it would cover the next one's pixels
    // Units per item whose product with the count passes the int range.
    server_.SetCount(100000);
    server_.unitsPerItem = 100000;
    HWND many = Create();
    ASSERT_NE(nullptr, many);
    Send(many, WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(99999, Send(many, TWM_GETTOPINDEX));  // the top item never passes the last item
    Send(many, WM_VSCROLL, SB_TOP);
    Paint(many);
    Send(many, WM_VSCROLL, SB_LINEDOWN);
    const Capture c = Paint(many);
    EXPECT_EQ(ItemColour(1), c.At(4, 4));  // the contents moved by the item's height
    EXPECT_EQ(ItemColour(2), c.At(4, 24));
}

}  // namespace

namespace {

TEST_F(TextWindowTest, AWindowWithNoRoomStillScrollsWithinTheList) {
    server_.SetCount(50);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    Paint(hwnd);
    EXPECT_EQ(49, Send(hwnd, TWM_GETMAXTOPINDEX));  // a page of one item
    for (WPARAM code : {SB_PAGEDOWN, SB_LINEDOWN, SB_BOTTOM, SB_PAGEUP, SB_LINEUP}) Send(hwnd, WM_VSCROLL, code);
    EXPECT_EQ(47, Send(hwnd, TWM_GETTOPINDEX));
    RECT rc = {};
    EXPECT_EQ(TRUE, Send(hwnd, TWM_GETITEMRECT, 48, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_EQ(TRUE, Send(hwnd, TWM_SHOWRANGE, 10, 12));
    EXPECT_EQ(10, Send(hwnd, TWM_GETTOPINDEX));
    SetWindowPos(hwnd, nullptr, 0, 0, kClientW, kClientH, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(10, Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ(35, Send(hwnd, TWM_GETMAXTOPINDEX));
}

}  // namespace
