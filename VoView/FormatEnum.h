// FORMATETC records with their own target devices, and CEnumFormatEtc, the enumerator the
// text window's data object hands out for its cached formats.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <vector>
#include "ComObject.h"

// Copies a FORMATETC, its target device into new task memory; E_OUTOFMEMORY leaves `to`
// without one.
HRESULT CopyFormatEtc(const FORMATETC& from, FORMATETC* to);
// Frees the record's target device.
void FreeFormatEtc(FORMATETC& f);
// Both records without a target device, or both with one of the same size and bytes.
bool SameTargetDevice(const DVTARGETDEVICE* a, const DVTARGETDEVICE* b);

class CEnumFormatEtc : public ComObjectRoot, public IEnumFORMATETC {
public:
    // An enumerator over copies of the records; E_OUTOFMEMORY when they cannot be had.
    static HRESULT Create(const FORMATETC* records, size_t count, size_t position, IEnumFORMATETC** out);

    void* QueryPart(REFIID iid) {
        return IsEqualIID(iid, IID_IEnumFORMATETC) ? static_cast<IEnumFORMATETC*>(this) : nullptr;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG n, FORMATETC* out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override;

protected:
    CEnumFormatEtc() = default;
    ~CEnumFormatEtc();

private:
    std::vector<FORMATETC> records_;
    size_t position_ = 0;
};
