// The colour picker over a static of a dialog and its grid: choosing a colour writes it at
// once and closes the grid, a colour outside the table checks no square, the click that
// closed the grid does not reopen it (501 ms) while F4 does, Up and Down move by rows from
// the corners, Escape and focus loss change nothing, a picker destroyed with its grid
// open takes the grid with it, and the drop-down button draws its own arrow, grey when the
// picker is disabled.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "ColorGrid.h"
#include "ColorPicker.h"
#include "ModalScript.h"
#include "RyDialog.h"
#include "RyMessageMap.h"
#include "WindowCapture.h"

namespace {

constexpr UINT kPickerDialog = 310;
constexpr UINT kPickerStatic = 1016;
constexpr UINT kOtherButton = 1200;

class PickerDialog : public RyDialog {
public:
    explicit PickerDialog(COLORREF start) : RyDialog(kPickerDialog), color(start), picker(&color) {}
    bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == WM_INITDIALOG) {
            subclassed = picker.SubclassWindow(Item(kPickerStatic));
            result = TRUE;
            return true;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            EndDialog(IDOK);
            result = 0;
            return true;
        }
        return false;
    }
    COLORREF color;
    RyColorPicker picker;
    bool subclassed = false;
};

// Waits in the running loop until the picker's grid is gone (or ms pass).
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

int CheckedSquares(HWND toolBar) {
    int n = 0;
    for (int i = 0; i < kGridColorCount; ++i)
        n += SendMessageA(toolBar, TB_ISBUTTONCHECKED, kFirstGridCommand + i, 0) ? 1 : 0;
    return n;
}

HWND ToolBarOf(HWND popup) {
    return GetDlgItem(popup, RyColorGridPopupWnd::kToolBarId);
}

void ClickButton(const RyColorPicker& picker) {
    SendMessageA(picker.Button(), BM_CLICK, 0, 0);
}

// The widths of the runs of one colour inside a button's frame (2 pixels), a row at a time
// from the top: 0 for a row of more than one run and for a gap between rows.
std::vector<int> RunsOf(const Capture& shot, COLORREF colour) {
    std::vector<int> widths;
    int lastRow = -1;
    for (int y = 2; y < shot.height - 2; ++y) {
        int first = -1, last = -1, count = 0;
        for (int x = 2; x < shot.width - 2; ++x) {
            if (shot.At(x, y) != colour) continue;
            if (first < 0) first = x;
            last = x;
            ++count;
        }
        if (count == 0) continue;
        if (lastRow >= 0 && y != lastRow + 1) widths.push_back(0);
        widths.push_back(count == last - first + 1 ? count : 0);
        lastRow = y;
    }
    return widths;
}

TEST(ColorGrid, TheTableHoldsFortyDistinctColours) {
    EXPECT_EQ(0x000000u, GridColor(0));
    EXPECT_EQ(0x003599u, GridColor(1));
    EXPECT_EQ(0xFFFFFFu, GridColor(39));
    for (int i = 0; i < kGridColorCount; ++i) EXPECT_EQ(i, FindGridColor(GridColor(i)));
    EXPECT_EQ(-1, FindGridColor(0x123456));
}

TEST(ColorPicker, ChoosingAColourWritesItAtOnceAndClosesTheGrid) {
    for (int index : {0, 13, 39}) {
        SCOPED_TRACE(index);
        PickerDialog dlg(GridColor(20));
        HWND popup = nullptr;
        bool buttonCheckedWhileOpen = false, currentChecked = false, stillOpenAfterChoice = false;
        COLORREF atOnce = 0, background = 0;
        int textPixels = 0;
        std::string sampleText;
        ModalScript script({
            [&] {
                ASSERT_TRUE(dlg.subclassed);
                char text[64] = {};
                GetWindowTextA(dlg.picker.Sample(), text, sizeof(text));
                sampleText = text;
                ClickButton(dlg.picker);
                popup = dlg.picker.Popup();
                ASSERT_NE(nullptr, popup);
                buttonCheckedWhileOpen = SendMessageA(dlg.picker.Button(), BM_GETCHECK, 0, 0) == BST_CHECKED;
                currentChecked = SendMessageA(ToolBarOf(popup), TB_ISBUTTONCHECKED, kFirstGridCommand + 20, 0) != 0 &&
                                 CheckedSquares(ToolBarOf(popup)) == 1;
                if (index == 13) {
                    UpdateWindow(popup);
                    Capture::Of(popup, true).SaveArtifact("color-grid.bmp");
                }
                SendMessageA(popup, WM_COMMAND, kFirstGridCommand + index, 0);
                atOnce = dlg.color;
                stillOpenAfterChoice = IsWindow(popup) != FALSE;
            },
            [&] { PumpFor(400); },
            [&] {
                RedrawWindow(dlg.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                // The sample shows its text in the chosen colour on the window colour.
                const Capture sample = Capture::Of(dlg.picker.Sample());
                for (int y = 0; y < sample.height; ++y)
                    for (int x = 0; x < sample.width; ++x) textPixels += sample.At(x, y) == GridColor(index) ? 1 : 0;
                background = sample.At(sample.width - 4, sample.height / 2);
                if (index == 13) Capture::Of(dlg.Handle(), true).SaveArtifact("color-picker.bmp");
                SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
            },
        });
        EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
        ASSERT_FALSE(script.TimedOut());
        EXPECT_EQ("Henvisning", sampleText);
        EXPECT_TRUE(buttonCheckedWhileOpen);
        EXPECT_TRUE(currentChecked);
        EXPECT_EQ(GridColor(index), atOnce);
        EXPECT_TRUE(stillOpenAfterChoice);  // the chosen square stays a moment
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_EQ(nullptr, dlg.picker.Popup());
        EXPECT_GT(textPixels, 10);
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), background);
    }
}

TEST(ColorPicker, TheButtonDrawsADownArrowGreyWhenThePickerIsDisabled) {
    const std::vector<int> arrow = {7, 5, 3, 1};
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        PickerDialog dlg(GridColor(13));
        bool buttonEnabled = !enabled;
        std::vector<int> black, grey;
        ModalScript script({
            [&] {
                SetFocus(GetDlgItem(dlg.Handle(), kOtherButton));  // no focus rectangle on the button
                if (!enabled) EnableWindow(dlg.Item(kPickerStatic), FALSE);
                buttonEnabled = IsWindowEnabled(dlg.picker.Button()) != FALSE;
                RedrawWindow(dlg.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                const Capture button = Capture::Of(dlg.picker.Button());
                black = RunsOf(button, GetSysColor(COLOR_BTNTEXT));
                grey = RunsOf(button, GetSysColor(COLOR_GRAYTEXT));
                if (!enabled) {
                    Capture::Of(dlg.Handle(), true).SaveArtifact("color-picker-disabled.bmp");
                }
                SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
            },
        });
        EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
        ASSERT_FALSE(script.TimedOut());
        EXPECT_EQ(enabled, buttonEnabled);
        EXPECT_EQ(enabled ? arrow : std::vector<int>{}, black);
        EXPECT_EQ(enabled ? std::vector<int>{} : arrow, grey);
    }
}

TEST(ColorPicker, AColourOutsideTheTableChecksNoSquare) {
    PickerDialog dlg(0x123456);
    int checked = -1;
    ModalScript script({
        [&] {
            ClickButton(dlg.picker);
            ASSERT_NE(nullptr, dlg.picker.Popup());
            checked = CheckedSquares(ToolBarOf(dlg.picker.Popup()));
            SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_EQ(0, checked);
    EXPECT_EQ(0x123456u, dlg.color);
}

TEST(ColorPicker, TheClickThatClosedTheGridDoesNotReopenItButF4AndALaterClickDo) {
    PickerDialog dlg(GridColor(5));
    bool reopenedAtOnce = true, openedByF4 = false, reopenedLater = false, closedByF4 = false;
    ModalScript script({
        [&] {
            ClickButton(dlg.picker);
            ASSERT_NE(nullptr, dlg.picker.Popup());
            // The click on the button takes the focus from the grid: the grid closes...
            SetFocus(dlg.picker.Button());
        },
        [&] {
            PumpFor(60);
            EXPECT_EQ(nullptr, dlg.picker.Popup());
            // ...and the click's own BN_CLICKED comes too soon to open it again.
            ClickButton(dlg.picker);
            reopenedAtOnce = dlg.picker.Popup() != nullptr;
            // F4 on the button opens it whenever.
            SetFocus(dlg.picker.Button());
            SendMessageA(dlg.picker.Button(), WM_KEYDOWN, VK_F4, 1);
            openedByF4 = dlg.picker.Popup() != nullptr;
            // F4 in the grid closes it again.
            if (openedByF4) PostMessageA(GetFocus(), WM_KEYDOWN, VK_F4, 1);
        },
        [&] {
            PumpFor(60);
            closedByF4 = dlg.picker.Popup() == nullptr;
            PumpFor(520);
            ClickButton(dlg.picker);
            reopenedLater = dlg.picker.Popup() != nullptr;
            SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_FALSE(reopenedAtOnce);
    EXPECT_TRUE(openedByF4);
    EXPECT_TRUE(closedByF4);
    EXPECT_TRUE(reopenedLater);
    EXPECT_EQ(GridColor(5), dlg.color);
}

TEST(ColorPicker, UpAndDownMoveByRowsFromTheCorners) {
    struct Move {
        int from;
        UINT key;
        int to;
    };
    const Move moves[] = {
        {0, VK_DOWN, 8},  {7, VK_DOWN, 15}, {32, VK_DOWN, 0},  {39, VK_DOWN, 7},
        {0, VK_UP, 32},   {7, VK_UP, 39},   {32, VK_UP, 24},   {39, VK_UP, 31},
    };
    PickerDialog dlg(GridColor(0));
    std::vector<int> reached;
    ModalScript script({
        [&] {
            // The pointer is parked in the screen's far corner first: a grid that opened under
            // it would take the square under the pointer as hot whenever the mouse message
            // arrives, which under load is after the keys.
            SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
            PumpFor(20);
            ClickButton(dlg.picker);
            ASSERT_NE(nullptr, dlg.picker.Popup());
            const HWND bar = ToolBarOf(dlg.picker.Popup());
            for (const Move& m : moves) {
                SendMessageA(bar, TB_SETHOTITEM, m.from, 0);
                PostMessageA(bar, WM_KEYDOWN, m.key, 1);
                PumpFor(20);
                reached.push_back(static_cast<int>(SendMessageA(bar, TB_GETHOTITEM, 0, 0)));
            }
            SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    std::vector<int> expected;
    for (const Move& m : moves) expected.push_back(m.to);
    EXPECT_EQ(expected, reached);
}

TEST(ColorPicker, EscapeAndFocusLossCloseTheGridAndChangeNothing) {
    PickerDialog dlg(GridColor(9));
    bool closedByEscape = false, closedByFocusLoss = false;
    ModalScript script({
        [&] {
            ClickButton(dlg.picker);
            ASSERT_NE(nullptr, dlg.picker.Popup());
            PostMessageA(ToolBarOf(dlg.picker.Popup()), WM_KEYDOWN, VK_ESCAPE, 1);
        },
        [&] {
            PumpFor(50);
            closedByEscape = dlg.picker.Popup() == nullptr;
            PumpFor(520);
            ClickButton(dlg.picker);
            ASSERT_NE(nullptr, dlg.picker.Popup());
            SetFocus(GetDlgItem(dlg.Handle(), kOtherButton));
            PumpFor(50);
            closedByFocusLoss = dlg.picker.Popup() == nullptr;
            SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_TRUE(closedByEscape);
    EXPECT_TRUE(closedByFocusLoss);
    EXPECT_EQ(GridColor(9), dlg.color);
}

TEST(ColorPicker, DestroyingThePickerWithItsGridOpenTakesTheGridAlong) {
    PickerDialog dlg(GridColor(2));
    HWND popup = nullptr;
    bool popupGone = false;
    ModalScript script({
        [&] {
            ClickButton(dlg.picker);
            popup = dlg.picker.Popup();
            ASSERT_NE(nullptr, popup);
            DestroyWindow(dlg.Item(kPickerStatic));
            popupGone = !IsWindow(popup);
            PumpFor(300);  // the grid's timers, if any were left, would fire now
            SendMessageA(dlg.Handle(), WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_TRUE(popupGone);
    EXPECT_EQ(nullptr, dlg.picker.Popup());
    EXPECT_EQ(nullptr, dlg.picker.Handle());
    EXPECT_EQ(GridColor(2), dlg.color);
}

}  // namespace
