// A test item server and sink for real text windows: items of given heights and units,
// optional columns and drop target, and a record of every call the window makes.
#pragma once
#include <windows.h>
#include <ole2.h>
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
    }
    BOOL STDMETHODCALLTYPE HitTest(HDC, int, POINT*, int, int*, HCURSOR*) override { return FALSE; }
    int STDMETHODCALLTYPE CanDragPart(int, int) override { return 0; }
    BOOL STDMETHODCALLTYPE FillSelectionData(ISimpleDataSource*) override { return FALSE; }
    BOOL STDMETHODCALLTYPE FillPartData(ISimpleDataSource*, int, int) override { return FALSE; }
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
    void STDMETHODCALLTYPE OnCaretChanged(int item) override { carets.push_back(item); }
    void STDMETHODCALLTYPE OnItemDoubleClick(int) override {}
    void STDMETHODCALLTYPE OnLinkPress(int, LinkPressInfo*) override {}
    void STDMETHODCALLTYPE OnHoverEnter(int, int) override {}
    void STDMETHODCALLTYPE OnHoverLeave(int, int) override { ++hoverLeaves; }
    BOOL STDMETHODCALLTYPE OnChar(UINT c, UINT repeat, UINT flags) override {
        chars.push_back({c, repeat, flags});
        return charAnswer;
    }
    void STDMETHODCALLTYPE OnRightClick(int) override {}
    void STDMETHODCALLTYPE OnSelectionChanged() override { ++selectionChanges; }
};
