// XDataSource: the data the text window copies and drags. The item server fills it through
// ISimpleDataSource (global memory per clipboard format); its nested XDataObject serves the
// same cache to OLE as an IDataObject, for the clipboard and for drag and drop.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <vector>
#include "ComObject.h"
#include "ComPtr.h"
#include "VoView.h"

class XDataSource : public ComObjectRoot, public ISimpleDataSource {
public:
    // A new source and its data object, each holding one reference to the source.
    static HRESULT Create(ComPtr<ISimpleDataSource>* source, ComPtr<IDataObject>* data);

    void* QueryPart(REFIID iid) {
        return IsEqualIID(iid, IID_ISimpleDataSource) ? static_cast<ISimpleDataSource*>(this) : nullptr;
    }
    void FinalRelease();

    // ISimpleDataSource
    HRESULT STDMETHODCALLTYPE SetData(UINT format, const void* data, int bytes, FORMATETC* formatEtc) override;
    HRESULT STDMETHODCALLTYPE CacheGlobal(UINT format, HGLOBAL memory, FORMATETC* formatEtc) override;

    // The data object: its references are the source's.
    class XDataObject : public IDataObject {
    public:
        explicit XDataObject(XDataSource& source) : source_(source) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return source_.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return source_.Release(); }
        HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
        HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
        HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
        HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return DATA_S_SAMEFORMATETC; }
        HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
        HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
        HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
        HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
        HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override;

    private:
        XDataSource& source_;
    };

protected:
    XDataSource() : dataObject_(*this) {}

private:
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
        DWORD direction;  // DATADIR_GET: offered for reading
    };
    static constexpr size_t kGrowth = 10;

    // The entry that answers a request, or -1 (caller holds the lock).
    int Match(const FORMATETC& request, DWORD direction) const;
    static void FreeEntry(Entry& e);

    XDataObject dataObject_;
    std::vector<Entry> cache_;
    ComPtr<IDataAdviseHolder> adviseHolder_;  // made by the first DAdvise
};
