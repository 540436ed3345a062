// The text window of VoView.dll as its callers see it: the export that creates it, the
// item server that feeds it (IVoItemServer), the sink that hears what the user does
// (IVoBibleTextWindowSink), the data source an item server fills for copying and dragging
// (ISimpleDataSource), and the window's private messages.
#pragma once
#include <windows.h>
#include <unknwn.h>

struct ISimpleDataSource;

// What a link press tells the sink; the sink may write part and holdTime back in phase 0.
struct LinkPressInfo {
    int item;
    int part;
    bool leftButton;
    int holdTime;   // milliseconds; 0 from the window
    int elapsed;    // milliseconds since the press
    int reserved;   // 0
};

// {7ffb6da6-5ae3-4c79-bb93-48eb51625420}
inline constexpr IID IID_IVoItemServer = {0x7ffb6da6, 0x5ae3, 0x4c79, {0xbb, 0x93, 0x48, 0xeb, 0x51, 0x62, 0x54, 0x20}};
// {ac3fd64e-d090-499d-b803-f01d9968f57e}
inline constexpr IID IID_IVoBibleTextWindowSink = {0xac3fd64e, 0xd090, 0x499d, {0xb8, 0x03, 0xf0, 0x1d, 0x99, 0x68, 0xf5, 0x7e}};
// {1d1c42ff-6d74-4b12-b273-48bd1c8f0de6}
inline constexpr IID IID_ISimpleDataSource = {0x1d1c42ff, 0x6d74, 0x4b12, {0xb2, 0x73, 0x48, 0xbd, 0x1c, 0x8f, 0x0d, 0xe6}};

// Everything the window shows comes from here; called only on the window's thread.
struct IVoItemServer : public IUnknown {
    // > 0 (with scroll units per item not 0) splits the client width into equal columns.
    virtual int STDMETHODCALLTYPE GetColumnWidth() = 0;
    virtual int STDMETHODCALLTYPE GetItemCount() = 0;
    // 0 = the window measures every item at relayout and takes its units from MeasureItem.
    virtual int STDMETHODCALLTYPE GetScrollUnitsPerItem() = 0;
    // Not 0 = every scroll unit is that many pixels tall.
    virtual int STDMETHODCALLTYPE GetFixedItemHeight() = 0;
    virtual void STDMETHODCALLTYPE MeasureItem(HDC dc, int item, int width, int* units, int* height) = 0;
    // The pixel offset of each of the item's unitCount units from the item's top.
    virtual void STDMETHODCALLTYPE GetUnitOffsets(HDC dc, int item, int width, int unitCount, int* offsets) = 0;
    // state[0]: the hot part under the mouse (-1 = none); state[1]: selected (0 or 1).
    virtual void STDMETHODCALLTYPE DrawItem(HDC dc, int item, int x, int y, int width, int height,
                                            const int* state) = 0;
    // The point is relative to the item's top-left corner; true = on a part.
    virtual BOOL STDMETHODCALLTYPE HitTest(HDC dc, int item, POINT* pointInItem, int width, int* part,
                                           HCURSOR* cursor) = 0;
    // Bit 0 set = the part can be dragged on its own.
    virtual int STDMETHODCALLTYPE CanDragPart(int item, int part) = 0;
    virtual BOOL STDMETHODCALLTYPE FillSelectionData(ISimpleDataSource* source) = 0;
    virtual BOOL STDMETHODCALLTYPE FillPartData(ISimpleDataSource* source, int item, int part) = 0;
};

// What the user does with the window's content.
struct IVoBibleTextWindowSink : public IUnknown {
    virtual void STDMETHODCALLTYPE OnCaretChanged(int item) = 0;
    virtual void STDMETHODCALLTYPE OnItemDoubleClick(int item) = 0;
    virtual void STDMETHODCALLTYPE OnLinkPress(int phase, LinkPressInfo* info) = 0;
    virtual void STDMETHODCALLTYPE OnHoverEnter(int item, int part) = 0;
    virtual void STDMETHODCALLTYPE OnHoverLeave(int item, int part) = 0;
    // False = the window passes the character to the default procedure.
    virtual BOOL STDMETHODCALLTYPE OnChar(UINT character, UINT repeatCount, UINT keyFlags) = 0;
    virtual void STDMETHODCALLTYPE OnRightClick(int item) = 0;
    virtual void STDMETHODCALLTYPE OnSelectionChanged() = 0;
};

// The data source the window hands the item server for copying and dragging.
struct ISimpleDataSource : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetData(UINT format, const void* data, int bytes, FORMATETC* format_etc) = 0;
    virtual HRESULT STDMETHODCALLTYPE CacheGlobal(UINT format, HGLOBAL memory, FORMATETC* format_etc) = 0;
};

// Private messages of the text window.
enum : UINT {
    TWM_RELOADITEMS = WM_USER + 0,
    TWM_GETTOPINDEX = WM_USER + 1,
    TWM_SHOWRANGE = WM_USER + 2,         // wParam first, lParam end (exclusive)
    TWM_GETMAXTOPINDEX = WM_USER + 3,
    TWM_SETCARET = WM_USER + 4,          // wParam item
    TWM_GETCARET = WM_USER + 5,
    TWM_ISSELECTED = WM_USER + 6,        // wParam item
    TWM_SELECTRANGE = WM_USER + 7,       // wParam first, lParam end | 0x80000000 to add
    TWM_GETSELECTIONBOUNDS = WM_USER + 8,  // lParam int[2]*
    TWM_ISDRAGGING = WM_USER + 9,
    TWM_GETITEMRECT = WM_USER + 10,      // wParam item, lParam RECT*
    TWM_SETDIMSELECTION = WM_USER + 11,  // wParam flag
};

// The window class of the text window.
#define VO_TEXT_WINDOW_CLASS "OrdvevTextWindow"
// VoView.dll exports VoCreateBibleTextWindow by this ordinal only.
#define VO_CREATE_BIBLE_TEXT_WINDOW_ORDINAL 10

typedef HWND(WINAPI* VoCreateBibleTextWindowFn)(HWND parent, IVoItemServer* server,
                                                 IVoBibleTextWindowSink* sink, const RECT* rect,
                                                 UINT controlId);

extern "C" HWND WINAPI VoCreateBibleTextWindow(HWND parent, IVoItemServer* server,
                                               IVoBibleTextWindowSink* sink, const RECT* rect,
                                               UINT controlId);
