// A test item server and sink for real text windows: items of given heights and units,
// optional columns and drop target, and a record of every call the window makes.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "VoView.h"

// Reference counting shared by the test objects: counts start at 1 (the test's own).
template <class Base>
class CountedObject : public Base {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }  // owned by the test
    LONG refs = 1;
};

class TestDropTarget : public CountedObject<IDropTarget> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { *effect = DROPEFFECT_NONE; return S_OK; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { *effect = DROPEFFECT_NONE; return S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override { *effect = DROPEFFECT_NONE; return S_OK; }
};

// A colour of its own for every item, never white and never a system colour of the tests.
inline COLORREF ItemColour(int item) {
    return RGB(40 + (item * 53) % 160, 30 + (item * 29) % 150, 20 + (item * 71) % 170);
}

class TestItemServer : public CountedObject<IVoItemServer> {
public:
    int count = 0;
    int unitsPerItem = 1;
    int fixedHeight = 0;
    int columnWidth = 0;
    std::vector<int> heights;       // per item; items beyond use defaultHeight
    int defaultHeight = 20;
    std::vector<int> measuredUnits;  // per item, reported by MeasureItem (empty = 1)
    TestDropTarget* dropTarget = nullptr;  // answered to QueryInterface when set

    // What the window asked.
    std::vector<int> measureCount;  // per item
    int measureCalls = 0;
    int dropTargetQueries = 0;
    struct Drawn {
        int item, x, y, width, height, hot, selected;
    };
    std::vector<Drawn> drawn;
    std::vector<std::string> calls;  // every call in order, as "Name" or "Name(item)"

    void Log(const char* name, int item = -1) {
        calls.push_back(item < 0 ? std::string(name) : std::string(name) + "(" + std::to_string(item) + ")");
    }

    void SetCount(int n) {
        count = n;
        measureCount.assign(static_cast<size_t>(n > 0 ? n : 0), 0);
    }
    int HeightOf(int item) const {
        return item < static_cast<int>(heights.size()) ? heights[static_cast<size_t>(item)] : defaultHeight;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IVoItemServer) {
            *out = static_cast<IVoItemServer*>(this);
        } else if (iid == IID_IDropTarget) {
            ++dropTargetQueries;
            Log("QueryInterface(IDropTarget)");
            if (!dropTarget) return E_NOINTERFACE;
            return dropTarget->QueryInterface(iid, out);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    int STDMETHODCALLTYPE GetColumnWidth() override { Log("GetColumnWidth"); return columnWidth; }
    int STDMETHODCALLTYPE GetItemCount() override { Log("GetItemCount"); return count; }
    int STDMETHODCALLTYPE GetScrollUnitsPerItem() override { Log("GetScrollUnitsPerItem"); return unitsPerItem; }
    int STDMETHODCALLTYPE GetFixedItemHeight() override { Log("GetFixedItemHeight"); return fixedHeight; }
    void STDMETHODCALLTYPE MeasureItem(HDC, int item, int, int* units, int* height) override {
        Log("MeasureItem", item);
        ++measureCalls;
        if (item >= 0 && item < static_cast<int>(measureCount.size())) ++measureCount[static_cast<size_t>(item)];
        *units = item < static_cast<int>(measuredUnits.size()) ? measuredUnits[static_cast<size_t>(item)] : 1;
        *height = HeightOf(item);
    }
    void STDMETHODCALLTYPE GetUnitOffsets(HDC, int item, int, int unitCount, int* offsets) override {
        for (int i = 0; i < unitCount; ++i) offsets[i] = HeightOf(item) * i / unitCount;
    }
    // A marker square of the item's colour in its top-left corner; the rest is the fill the
    // window made.
    void STDMETHODCALLTYPE DrawItem(HDC dc, int item, int x, int y, int width, int height, const int* state) override {
        Log("DrawItem", item);
        drawn.push_back({item, x, y, width, height, state[0], state[1]});
        RECT marker = {x + 2, y + 2, x + 8, y + 8};
        HBRUSH brush = CreateSolidBrush(ItemColour(item));
        FillRect(dc, &marker, brush);
        DeleteObject(brush);
        wchar_t text[16];
        int n = wsprintfW(text, L"%d", item);
        TextOutW(dc, x + 12, y + 2, text, n);
        if (state[0] >= 0) {  // the hot part: a bar under the item's left end
            RECT bar = {x, y + height - 3, x + 40, y + height - 1};
            FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    }
    // Links: the items in linkItems have part linkPart in their left linkWidth pixels.
    std::set<int> linkItems;
    int linkPart = 7;
    int linkWidth = 40;
    int canDrag = 0;              // CanDragPart's answer
    HWND window = nullptr;        // the text window, for the selection data
    bool offerData = false;       // FillSelectionData and FillPartData put CF_TEXT in the source
    HRESULT fillResult = S_OK;    // what the source answered the last fill

    BOOL STDMETHODCALLTYPE HitTest(HDC, int item, POINT* pt, int, int* part, HCURSOR* cursor) override {
        if (!linkItems.count(item) || pt->x < 0 || pt->x >= linkWidth) return FALSE;
        *part = linkPart;
        *cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
        return TRUE;
    }
    int STDMETHODCALLTYPE CanDragPart(int item, int) override { Log("CanDragPart", item); return canDrag; }
    // "Item 1\r\nItem 2\r\n" for the selected items, read back from the window.
    BOOL STDMETHODCALLTYPE FillSelectionData(ISimpleDataSource* source) override {
        Log("FillSelectionData");
        if (!offerData) return FALSE;
        std::string text;
        for (int i = 0; i < count; ++i)
            if (SendMessageW(window, TWM_ISSELECTED, static_cast<WPARAM>(i), 0) == 1)
                text += "Item " + std::to_string(i) + "\r\n";
        fillResult = source->SetData(CF_TEXT, text.c_str(), static_cast<int>(text.size() + 1), nullptr);
        return SUCCEEDED(fillResult);
    }
    BOOL STDMETHODCALLTYPE FillPartData(ISimpleDataSource* source, int item, int part) override {
        Log("FillPartData", item);
        if (!offerData) return FALSE;
        const std::string text = "Part " + std::to_string(item) + "/" + std::to_string(part);
        fillResult = source->SetData(CF_TEXT, text.c_str(), static_cast<int>(text.size() + 1), nullptr);
        return SUCCEEDED(fillResult);
    }
};

class TestSink : public CountedObject<IVoBibleTextWindowSink> {
public:
    std::vector<int> carets;
    int selectionChanges = 0;
    struct Char {
        UINT character, repeat, flags;
    };
    std::vector<Char> chars;
    BOOL charAnswer = TRUE;
    int hoverLeaves = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IVoBibleTextWindowSink) {
            *out = static_cast<IVoBibleTextWindowSink*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Everything the sink heard, in order: "Caret(3)", "Selection", "HoverEnter(2,7)",
    // "HoverLeave(2,7)", "Link0(2,7)" (phase, item, part), "DoubleClick(4)", "RightClick(4)".
    std::vector<std::string> events;
    std::vector<LinkPressInfo> linkInfos;                       // as each phase left the sink
    std::function<void(int phase, LinkPressInfo&)> linkScript;  // runs before the record
    std::function<void(int item)> onCaret;

    void Hear(const std::string& what) { events.push_back(what); }
    static std::string Pair(int a, int b) { return "(" + std::to_string(a) + "," + std::to_string(b) + ")"; }

    void STDMETHODCALLTYPE OnCaretChanged(int item) override {
        carets.push_back(item);
        Hear("Caret(" + std::to_string(item) + ")");
        if (onCaret) onCaret(item);
    }
    void STDMETHODCALLTYPE OnItemDoubleClick(int item) override { Hear("DoubleClick(" + std::to_string(item) + ")"); }
    void STDMETHODCALLTYPE OnLinkPress(int phase, LinkPressInfo* info) override {
        Hear("Link" + std::to_string(phase) + Pair(info->item, info->part));
        if (linkScript) linkScript(phase, *info);
        linkInfos.push_back(*info);
    }
    void STDMETHODCALLTYPE OnHoverEnter(int item, int part) override { Hear("HoverEnter" + Pair(item, part)); }
    void STDMETHODCALLTYPE OnHoverLeave(int item, int part) override {
        ++hoverLeaves;
        Hear("HoverLeave" + Pair(item, part));
    }
    BOOL STDMETHODCALLTYPE OnChar(UINT c, UINT repeat, UINT flags) override {
        chars.push_back({c, repeat, flags});
        return charAnswer;
    }
    void STDMETHODCALLTYPE OnRightClick(int item) override { Hear("RightClick(" + std::to_string(item) + ")"); }
    void STDMETHODCALLTYPE OnSelectionChanged() override {
        ++selectionChanges;
        Hear("Selection");
    }
};
