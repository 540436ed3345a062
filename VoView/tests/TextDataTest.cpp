// Copying and dragging from real text windows: Ctrl+C through the OLE clipboard read back
// as other programs read it, an empty selection and a server with nothing to offer, and a
// drag of the selection from one text window onto another; and the screenshot of a
// selection with a hovered link.
#include <windows.h>
#include <ole2.h>
#include <string>
#include "ComPtr.h"
#include "TextInputHost.h"

namespace {

std::string ClipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return "<not opened>";
    std::string text = "<none>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void PutClipboardText(HWND owner, const char* text) {
    ASSERT_EQ(S_OK, OleSetClipboard(nullptr));
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t n = strlen(text) + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(GlobalLock(h), text, n);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

std::string TextOf(IDataObject* data) {
    FORMATETC f = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m = {};
    if (FAILED(data->GetData(&f, &m))) return "<no text>";
    std::string text = static_cast<const char*>(GlobalLock(m.hGlobal));
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    return text;
}

TEST_F(TextInputTest, CtrlCCopiesTheSelectionToTheClipboard) {
    HWND hwnd = Make(10);
    server_.offerData = true;
    Send(hwnd, TWM_SELECTRANGE, 1, 3);
    SetModifiers(false, true);
    Send(hwnd, WM_KEYDOWN, 'C', 1);
    SetModifiers(false, false);
    EXPECT_EQ("Item 1\r\nItem 2\r\n", ClipboardText(host_));
    ComPtr<IDataObject> clip;
    ASSERT_EQ(S_OK, OleGetClipboard(clip.Put()));
    EXPECT_EQ("Item 1\r\nItem 2\r\n", TextOf(clip.Get()));
    clip.Reset();
    ASSERT_EQ(S_OK, OleFlushClipboard());
    EXPECT_EQ("Item 1\r\nItem 2\r\n", ClipboardText(host_));  // still there once the window's data is gone
}

TEST_F(TextInputTest, NothingSelectedCopiesNothingAndNothingOfferedEmptiesTheClipboard) {
    HWND hwnd = Make(10);
    server_.offerData = true;
    PutClipboardText(host_, "before");
    Send(hwnd, TWM_SELECTRANGE, 0, 0);
    EXPECT_EQ(0, Send(hwnd, WM_COPY));
    EXPECT_EQ(0u, server_.calls.size());
    EXPECT_EQ("before", ClipboardText(host_));
    int bounds[2] = {-1, -1};
    EXPECT_EQ(0, Send(hwnd, TWM_GETSELECTIONBOUNDS, 0, reinterpret_cast<LPARAM>(bounds)));
    EXPECT_EQ(0, bounds[0]);
    EXPECT_EQ(0, bounds[1]);

    server_.offerData = false;
    Send(hwnd, TWM_SELECTRANGE, 4, 5);
    Send(hwnd, WM_COPY);
    EXPECT_EQ((std::vector<std::string>{"FillSelectionData"}), server_.calls);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

// A drop target that takes copies and records what it was given.
class RecordingDropTarget : public TestDropTarget {
public:
    HWND source = nullptr;
    LRESULT draggingAtEnter = -1;
    std::string dropped;
    int enters = 0;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        ++enters;
        draggingAtEnter = SendMessageW(source, TWM_ISDRAGGING, 0, 0);
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        dropped = TextOf(data);
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
};

void CALLBACK ReleaseLeftButton(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SetKeys({{VK_LBUTTON, false}});
}

TEST_F(TextInputTest, DraggingTheSelectionDropsItOnAnotherWindow) {
    const RECT left = {0, 0, 200, kClientH};
    const RECT right = {220, 0, kClientW, kClientH};
    HWND source = Make(10, &left);
    server_.offerData = true;
    TestItemServer targetServer;
    TestSink targetSink;
    RecordingDropTarget target;
    target.source = source;
    targetServer.dropTarget = &target;
    targetServer.SetCount(5);
    HWND dest = create_(host_, &targetServer, &targetSink, &right, kId + 1);
    ASSERT_NE(nullptr, dest);
    Send(source, TWM_SELECTRANGE, 1, 3);
    sink_.events.clear();

    ParkCursor(dest, {60, 60});  // the drop lands where the cursor is
    SetKeys({{VK_LBUTTON, true}});
    Watchdog watchdog(5000);
    ThreadTimer release(150, &ReleaseLeftButton);
    PostMessageW(source, WM_MOUSEMOVE, MK_LBUTTON, At({300, 30}));  // out of the drag rectangle
    Send(source, WM_LBUTTONDOWN, MK_LBUTTON, At(ItemPoint(1)));
    EXPECT_FALSE(Watchdog::Fired());
    EXPECT_EQ(1, target.enters);
    EXPECT_EQ(TRUE, target.draggingAtEnter);
    EXPECT_EQ("Item 1\r\nItem 2\r\n", target.dropped);
    EXPECT_EQ(FALSE, Send(source, TWM_ISDRAGGING));
    // The press set the caret and left the selection for the drag.
    EXPECT_EQ((std::vector<std::string>{"Caret(1)"}), sink_.events);
    EXPECT_EQ((std::vector<int>{1, 2}), Selected(source));
    DestroyWindow(dest);
    Pump();
    EXPECT_EQ(1, target.refs);
}

TEST_F(TextInputTest, ScreenshotOfASelectionWithAHoveredLink) {
    server_.linkItems = {1};
    HWND hwnd = Make(12);
    Send(hwnd, TWM_SELECTRANGE, 3, 7);
    Send(hwnd, TWM_SETCARET, 6);
    ParkCursor(hwnd, ItemPoint(1, 10));
    Send(hwnd, WM_MOUSEMOVE, 0, At(ItemPoint(1, 10)));
    UpdateWindow(hwnd);
    const Capture c = Capture::Of(hwnd);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), c.At(300, 3 * kItemH + 10));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), c.At(300, 6 * kItemH + 10));
    EXPECT_NE(GetSysColor(COLOR_HIGHLIGHT), c.At(300, 7 * kItemH + 10));
    // The server drew item 1 with its hot part.
    bool hot = false;
    for (const auto& d : server_.drawn) hot = hot || (d.item == 1 && d.hot == 7);
    EXPECT_TRUE(hot);
    EXPECT_TRUE(Capture::Of(hwnd, true).SaveArtifact("text-window-selection.bmp"));
}

}  // namespace
