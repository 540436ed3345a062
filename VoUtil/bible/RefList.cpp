#include "RefList.h"
#include "VoUtil.h"
#include "PackedIO.h"

CRefList::CRefList(IUnknown* outer, HRESULT* result, const char* path) : CUnknown(outer, result) {
    if (FAILED(*result)) return;
    *result = Open(path);
}

HRESULT OpenRefFileParts(const char* path, ComPtr<IIndexedData>* data, ComPtr<IStream>* trailer,
                         ComPtr<IBibleStat>* stat, ComPtr<IBibleHandles>* handles) {
    HRESULT hr = OpenIndexedDataFile(path, data->Put());
    if (SUCCEEDED(hr)) hr = (*data)->GetTrailingStream(trailer->Put());
    if (SUCCEEDED(hr)) hr = OpenBibleStat(trailer->Get(), stat->Put());
    if (SUCCEEDED(hr)) hr = stat->As(IID_IBibleHandles, handles);
    return hr;
}

HRESULT CRefList::Open(const char* path) {
    ComPtr<IStream> trailer;
    HRESULT hr = OpenRefFileParts(path, &data_, &trailer, &stat_, &handles_);
    if (FAILED(hr)) return hr;
    BYTE tail[8];
    if (FAILED(ReadAll(trailer.Get(), tail, sizeof tail))) return E_UNEXPECTED;
    const INT16 mark = static_cast<INT16>(tail[0] | (tail[1] << 8));
    perEntry_ = tail[2] | (tail[3] << 8);
    count_ = static_cast<INT32>(tail[4] | (tail[5] << 8) | (tail[6] << 16) | (static_cast<DWORD>(tail[7]) << 24));
    // Items need entries to lie in: no items per entry, or a negative count, is a damaged tail.
    if (mark != -2 || count_ < 0 || (count_ > 0 && perEntry_ == 0)) return E_UNEXPECTED;
    return CheckItems();
}

// The count may name no item that the entries do not hold: every entry it covers must hold
// as many whole references as items fall into it, each a reference of the list's own
// numbering. An entry too long to be read is left to GetRef, which answers for it.
HRESULT CRefList::CheckItems() {
    int entries = 0;
    HRESULT hr = data_->GetCount(&entries);
    if (FAILED(hr)) return hr;
    if (count_ > static_cast<LONGLONG>(entries) * perEntry_) return E_UNEXPECTED;
    for (int entry = 0, first = 0; first < count_; ++entry, first += perEntry_) {
        int size = 0;
        if (FAILED(hr = data_->GetEntrySize(entry, &size))) return hr;
        if (size > kRefListMaxEntryBytes) continue;
        if (size > 0 && FAILED(hr = data_->ReadEntry(entry, 0, cached_, size))) return hr;
        char* cursor = reinterpret_cast<char*>(cached_);
        unsigned remaining = static_cast<unsigned>(size);
        const int items = count_ - first < perEntry_ ? count_ - first : perEntry_;
        for (int i = 0; i < items; ++i) {
            int handle = 0;
            if (FAILED(handles_->ReadRef(&handle, &cursor, &remaining)) || !IsListedRef(handle)) return E_UNEXPECTED;
        }
    }
    return S_OK;
}

bool CRefList::IsListedRef(int handle) {
    if (FAILED(handles_->GetRefKind(handle))) return false;
    if (handles_->IsSingleRef(handle) != 0 || handles_->HasRangeLength(handle) != 1) return true;
    int book = 0, chapter = 0, verse = 0;
    return SUCCEEDED(handles_->RangeEndToIndices(handle, &book, &chapter, &verse));
}

HRESULT STDMETHODCALLTYPE CRefList::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IRefList)) return GetInterface(static_cast<IRefList*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CRefList::GetBibleStat(IBibleStat** out) {
    if (!out) return E_POINTER;
    stat_.CopyTo(out);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRefList::GetCount(int* out) {
    if (!out) return E_POINTER;
    *out = count_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRefList::GetRef(int index, int* outHandle) {
    if (!outHandle) return E_POINTER;
    *outHandle = 0;
    if (index < 0 || index >= count_) return E_INVALIDARG;
    const int entry = index / perEntry_;
    if (index < cachedFirst_ || index >= cachedFirst_ + cachedItems_) {
        cachedFirst_ = -1;
        cachedItems_ = 0;
        int size = 0;
        HRESULT hr = data_->GetEntrySize(entry, &size);
        if (FAILED(hr)) return hr;
        if (size > kRefListMaxEntryBytes) return E_UNEXPECTED;
        if (size > 0) {
            hr = data_->ReadEntry(entry, 0, cached_, size);
            if (FAILED(hr)) return hr;
        }
        cachedLength_ = static_cast<unsigned>(size);
        cachedFirst_ = entry * perEntry_;
        cachedItems_ = count_ - cachedFirst_ < perEntry_ ? count_ - cachedFirst_ : perEntry_;
    }
    char* cursor = reinterpret_cast<char*>(cached_);
    unsigned remaining = cachedLength_;
    int handle = 0;
    for (int i = cachedFirst_; i <= index; ++i) {
        HRESULT hr = handles_->ReadRef(&handle, &cursor, &remaining);
        if (FAILED(hr)) return hr;
    }
    *outHandle = handle;
    return S_OK;
}
