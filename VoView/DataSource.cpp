// XDataSource: the cache of formats and media, and the IDataObject over it.
#include "DataSource.h"
#include <cstring>
#include <cwchar>
#include <new>
#include "FormatEnum.h"
#include "Handles.h"

namespace {

// A new movable, shareable copy of a global memory block.
HGLOBAL CopyGlobal(HGLOBAL from) {
    const SIZE_T size = ::GlobalSize(from);
    GlobalLocked<> source(from);
    if (!source.Get()) return nullptr;
    GlobalMemory copy(::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size));
    GlobalLocked<> target(copy.Get());
    if (!target.Get()) return nullptr;
    std::memcpy(target.Get(), source.Get(), size);
    return copy.Release();
}

// A medium the caller owns, copied from a cached one by the rules of its type.
HRESULT CopyMedium(const STGMEDIUM& from, CLIPFORMAT format, STGMEDIUM* to) {
    *to = {};
    to->tymed = from.tymed;
    switch (from.tymed) {
    case TYMED_HGLOBAL:
        to->hGlobal = CopyGlobal(from.hGlobal);
        return to->hGlobal ? S_OK : E_OUTOFMEMORY;
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
        to->hGlobal = static_cast<HGLOBAL>(::OleDuplicateData(from.hGlobal, format, GMEM_MOVEABLE | GMEM_SHARE));
        return to->hGlobal ? S_OK : E_OUTOFMEMORY;
    case TYMED_FILE: {
        const size_t bytes = (std::wcslen(from.lpszFileName) + 1) * sizeof(wchar_t);
        to->lpszFileName = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
        if (!to->lpszFileName) return E_OUTOFMEMORY;
        std::memcpy(to->lpszFileName, from.lpszFileName, bytes);
        return S_OK;
    }
    case TYMED_ISTREAM:
        to->pstm = from.pstm;
        if (to->pstm) to->pstm->AddRef();
        return S_OK;
    case TYMED_ISTORAGE:
        to->pstg = from.pstg;
        if (to->pstg) to->pstg->AddRef();
        return S_OK;
    default:
        to->tymed = TYMED_NULL;
        return E_NOTIMPL;
    }
}

}  // namespace

HRESULT XDataSource::Create(ComPtr<ISimpleDataSource>* source, ComPtr<IDataObject>* data) {
    ComPtr<ISimpleDataSource> s;
    const HRESULT hr = CreateComInstance<XDataSource>(nullptr, IID_ISimpleDataSource, s.PutVoid());
    if (FAILED(hr)) return hr;
    if (data) *data = ComPtr<IDataObject>(&static_cast<XDataSource*>(s.Get())->dataObject_);
    if (source) *source = std::move(s);
    return S_OK;
}

void XDataSource::FinalRelease() {
    if (adviseHolder_) {
        adviseHolder_->SendOnDataChange(&dataObject_, 0, ADVF_DATAONSTOP);
        adviseHolder_.Reset();
    }
    for (Entry& e : cache_) FreeEntry(e);
    cache_.clear();
}

void XDataSource::FreeEntry(Entry& e) {
    FreeFormatEtc(e.format);
    ::ReleaseStgMedium(&e.medium);
    e.medium = {};
}

int XDataSource::Match(const FORMATETC& request, DWORD direction) const {
    int last = -1;
    for (size_t i = 0; i < cache_.size(); ++i) {
        const Entry& e = cache_[i];
        if (e.format.cfFormat != request.cfFormat || e.format.dwAspect != request.dwAspect ||
            e.direction != direction || (e.format.tymed & request.tymed) == 0)
            continue;
        if (e.medium.tymed != TYMED_NULL && e.format.lindex != request.lindex) continue;
        if (SameTargetDevice(e.format.ptd, request.ptd)) return static_cast<int>(i);
        last = static_cast<int>(i);
    }
    return last;
}

HRESULT XDataSource::SetData(UINT format, const void* data, int bytes, FORMATETC* formatEtc) {
    if (bytes < 0) return E_INVALIDARG;
    if (!data && bytes > 0) return E_POINTER;
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes > 0 ? bytes : 1));
    {
        GlobalLocked<> target(memory.Get());
        if (!target.Get()) return E_OUTOFMEMORY;
        if (bytes > 0) std::memcpy(target.Get(), data, static_cast<size_t>(bytes));
        else *static_cast<char*>(target.Get()) = 0;
    }
    return CacheGlobal(format, memory.Release(), formatEtc);
}

HRESULT XDataSource::CacheGlobal(UINT format, HGLOBAL memory, FORMATETC* formatEtc) {
    GlobalMemory owned(memory);  // ours from here on, whatever the answer
    if (!memory) return E_INVALIDARG;
    FORMATETC f = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (formatEtc && FAILED(CopyFormatEtc(*formatEtc, &f))) return E_OUTOFMEMORY;
    f.tymed = TYMED_HGLOBAL;

    ObjectLock lock(*this);
    const int i = Match(f, DATADIR_GET);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    if (i >= 0) {
        Entry& e = cache_[static_cast<size_t>(i)];
        FreeEntry(e);
        e.format = f;
        medium.hGlobal = owned.Release();
        e.medium = medium;
        return S_OK;
    }
    try {
        if (cache_.size() == cache_.capacity()) cache_.reserve(cache_.size() + kGrowth);
    } catch (const std::bad_alloc&) {
        FreeFormatEtc(f);
        return E_OUTOFMEMORY;
    }
    medium.hGlobal = owned.Release();
    cache_.push_back({f, medium, DATADIR_GET});
    return S_OK;
}

HRESULT XDataSource::XDataObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT XDataSource::XDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!format || !medium) return E_INVALIDARG;
    ObjectLock lock(source_);
    const int i = source_.Match(*format, DATADIR_GET);
    if (i < 0) return DV_E_FORMATETC;
    *medium = {};
    const Entry& e = source_.cache_[static_cast<size_t>(i)];
    if (e.medium.tymed == TYMED_NULL) return E_NOTIMPL;
    return SUCCEEDED(CopyMedium(e.medium, e.format.cfFormat, medium)) ? S_OK : DV_E_FORMATETC;
}

HRESULT XDataSource::XDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
    if (!format || !medium) return E_INVALIDARG;
    ObjectLock lock(source_);
    const int i = source_.Match(*format, DATADIR_GET);
    if (i < 0) return DV_E_FORMATETC;
    const Entry& e = source_.cache_[static_cast<size_t>(i)];
    // The cache holds global memory only (CacheGlobal is its one way in), and the match
    // means the request asks for it.
    if (e.medium.tymed != TYMED_HGLOBAL) return DV_E_TYMED;
    // The medium takes its type from the request (of its types, the one held here); a caller
    // may leave it unset. One that filled in another type holds a handle of that kind, which
    // is never taken for a global block.
    if (medium->tymed != TYMED_NULL && medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
    const SIZE_T size = ::GlobalSize(e.medium.hGlobal);
    if (!medium->hGlobal || ::GlobalSize(medium->hGlobal) < size) return DV_E_FORMATETC;
    GlobalLocked<> source(e.medium.hGlobal);
    GlobalLocked<> target(medium->hGlobal);
    if (!source.Get() || !target.Get()) return DV_E_FORMATETC;
    std::memcpy(target.Get(), source.Get(), size);
    medium->tymed = TYMED_HGLOBAL;
    return S_OK;
}

HRESULT XDataSource::XDataObject::QueryGetData(FORMATETC* format) {
    if (!format) return E_INVALIDARG;
    ObjectLock lock(source_);
    return source_.Match(*format, DATADIR_GET) >= 0 ? S_OK : DV_E_FORMATETC;
}

HRESULT XDataSource::XDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL) {
    if (!format || !medium) return E_POINTER;
    return DV_E_FORMATETC;  // no format is accepted for writing
}

HRESULT XDataSource::XDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::vector<FORMATETC> records;  // views of the cache's records, copied by the enumerator
    ObjectLock lock(source_);
    try {
        for (const Entry& e : source_.cache_)
            if (e.direction == direction) records.push_back(e.format);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return CEnumFormatEtc::Create(records.data(), records.size(), 0, out);
}

HRESULT XDataSource::XDataObject::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) {
    ObjectLock lock(source_);
    if (!source_.adviseHolder_) {
        const HRESULT hr = ::CreateDataAdviseHolder(source_.adviseHolder_.Put());
        if (FAILED(hr)) return hr;
    }
    return source_.adviseHolder_->Advise(this, format, flags, sink, connection);
}

HRESULT XDataSource::XDataObject::DUnadvise(DWORD connection) {
    ObjectLock lock(source_);
    if (!source_.adviseHolder_) return OLE_E_NOCONNECTION;
    return source_.adviseHolder_->Unadvise(connection);
}

HRESULT XDataSource::XDataObject::EnumDAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ObjectLock lock(source_);
    if (!source_.adviseHolder_) return E_FAIL;
    return source_.adviseHolder_->EnumAdvise(out);
}
