// The item server and sink the text window benchmarks stand on: a fixed count of one-unit
// items with no parts, links or drag data, and a sink that does nothing. A benchmark derives
// from it and answers the measuring and drawing (and the copy data where it copies).
#pragma once
#include <windows.h>
#include "VoView.h"

class BenchItemServer : public IVoItemServer, public IVoBibleTextWindowSink {
public:
    explicit BenchItemServer(int items) : items_(items) {}
    virtual ~BenchItemServer() = default;

    // Lives on the benchmark's stack: the counts are not kept.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IVoItemServer) *out = static_cast<IVoItemServer*>(this);
        else if (iid == IID_IVoBibleTextWindowSink) *out = static_cast<IVoBibleTextWindowSink*>(this);
        else return E_NOINTERFACE;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    int STDMETHODCALLTYPE GetColumnWidth() override { return 0; }
    int STDMETHODCALLTYPE GetItemCount() override { return items_; }
    int STDMETHODCALLTYPE GetScrollUnitsPerItem() override { return 1; }
    int STDMETHODCALLTYPE GetFixedItemHeight() override { return 0; }
    void STDMETHODCALLTYPE GetUnitOffsets(HDC, int, int, int count, int* offsets) override {
        for (int i = 0; i < count; ++i) offsets[i] = 0;
    }
    BOOL STDMETHODCALLTYPE HitTest(HDC, int, POINT*, int, int*, HCURSOR*) override { return FALSE; }
    int STDMETHODCALLTYPE CanDragPart(int, int) override { return 0; }
    BOOL STDMETHODCALLTYPE FillSelectionData(ISimpleDataSource*) override { return FALSE; }
    BOOL STDMETHODCALLTYPE FillPartData(ISimpleDataSource*, int, int) override { return FALSE; }

    void STDMETHODCALLTYPE OnCaretChanged(int) override {}
    void STDMETHODCALLTYPE OnItemDoubleClick(int) override {}
    void STDMETHODCALLTYPE OnLinkPress(int, LinkPressInfo*) override {}
    void STDMETHODCALLTYPE OnHoverEnter(int, int) override {}
    void STDMETHODCALLTYPE OnHoverLeave(int, int) override {}
    BOOL STDMETHODCALLTYPE OnChar(UINT, UINT, UINT) override { return FALSE; }
    void STDMETHODCALLTYPE OnRightClick(int) override {}
    void STDMETHODCALLTYPE OnSelectionChanged() override {}

private:
    int items_;
};
