// FORMATETC copies and the format enumerator.
#include "FormatEnum.h"
#include "ComPtr.h"
#include <cstring>
#include <new>

HRESULT CopyFormatEtc(const FORMATETC& from, FORMATETC* to) {
    *to = from;
    to->ptd = nullptr;
    if (!from.ptd) return S_OK;
    auto* ptd = static_cast<DVTARGETDEVICE*>(::CoTaskMemAlloc(from.ptd->tdSize));
    if (!ptd) return E_OUTOFMEMORY;
    std::memcpy(ptd, from.ptd, from.ptd->tdSize);
    to->ptd = ptd;
    return S_OK;
}

void FreeFormatEtc(FORMATETC& f) {
    ::CoTaskMemFree(f.ptd);
    f.ptd = nullptr;
}

bool SameTargetDevice(const DVTARGETDEVICE* a, const DVTARGETDEVICE* b) {
    if (!a || !b) return a == b;
    return a->tdSize == b->tdSize && std::memcmp(a, b, a->tdSize) == 0;
}

HRESULT CEnumFormatEtc::Create(const FORMATETC* records, size_t count, size_t position, IEnumFORMATETC** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<IEnumFORMATETC> e;
    HRESULT hr = CreateComInstance<CEnumFormatEtc>(nullptr, IID_IEnumFORMATETC, e.PutVoid());
    if (FAILED(hr)) return hr;
    auto* self = static_cast<CEnumFormatEtc*>(e.Get());
    try {
        self->records_.reserve(count);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (size_t i = 0; i < count; ++i) {
        FORMATETC copy;
        hr = CopyFormatEtc(records[i], &copy);
        if (FAILED(hr)) return hr;  // the records copied so far go with the enumerator
        self->records_.push_back(copy);
    }
    self->position_ = position < count ? position : count;
    *out = e.Detach();
    return S_OK;
}

CEnumFormatEtc::~CEnumFormatEtc() {
    for (FORMATETC& f : records_) FreeFormatEtc(f);
}

HRESULT CEnumFormatEtc::Next(ULONG n, FORMATETC* out, ULONG* fetched) {
    if (!fetched && n != 1) return E_POINTER;
    if (fetched) *fetched = 0;
    if (records_.empty() || position_ >= records_.size()) return S_FALSE;
    if (!out) return E_POINTER;
    ULONG copied = 0;
    while (copied < n && position_ + copied < records_.size()) {
        if (FAILED(CopyFormatEtc(records_[position_ + copied], &out[copied]))) {
            for (ULONG i = 0; i < copied; ++i) FreeFormatEtc(out[i]);
            return E_OUTOFMEMORY;
        }
        ++copied;
    }
    position_ += copied;
    if (fetched) *fetched = copied;
    return copied == n ? S_OK : S_FALSE;
}

HRESULT CEnumFormatEtc::Skip(ULONG n) {
    const size_t left = records_.size() - position_;
    if (n <= left) {
        position_ += n;
        return S_OK;
    }
    position_ = records_.size();
    return S_FALSE;
}

HRESULT CEnumFormatEtc::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT CEnumFormatEtc::Clone(IEnumFORMATETC** out) {
    return Create(records_.data(), records_.size(), position_, out);
}
