// Data objects that offer one block under one format in one medium, as any program may
// offer data under a public format name, and count what the reader asks and releases.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <cstring>
#include <string>
#include <vector>
#include "ReferenceData.h"

// The release object of the media a test data object hands out: counts the releases and
// frees the global memory it lent.
class MediumOwner : public IUnknown {
public:
    ~MediumOwner() {
        for (HGLOBAL h : lent) GlobalFree(h);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++releases;
        return 1;
    }
    std::vector<HGLOBAL> lent;
    int releases = 0;
};

// One block offered under one format in one medium, as any program may offer data under the
// public name.
class OfferedBlock : public IDataObject {
public:
    OfferedBlock(UINT format, DWORD tymed, std::string bytes) : format_(format), tymed_(tymed), bytes_(std::move(bytes)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDataObject) return E_NOINTERFACE;
        *out = static_cast<IDataObject*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* medium) override {
        if (QueryGetData(fe) != S_OK) return DV_E_FORMATETC;
        ++gets;
        medium->tymed = tymed_;
        medium->pUnkForRelease = &owner;
        if (tymed_ == TYMED_ISTREAM) {
            CreateStreamOnHGlobal(nullptr, TRUE, &medium->pstm);
            medium->pstm->Write(bytes_.data(), static_cast<ULONG>(bytes_.size()), nullptr);
            return S_OK;
        }
        medium->hGlobal = nullptr;
        if (!nullHandle) {
            medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
            if (!bytes_.empty()) {
                std::memcpy(GlobalLock(medium->hGlobal), bytes_.data(), bytes_.size());
                GlobalUnlock(medium->hGlobal);
            }
            owner.lent.push_back(medium->hGlobal);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    // Answers for the format whatever medium is asked for, as a careless program might.
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override {
        return fe && fe->cfFormat == format_ ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    MediumOwner owner;
    int gets = 0;
    bool nullHandle = false;

private:
    UINT format_;
    DWORD tymed_;
    std::string bytes_;
};


// The "VersiloReference" record of ref in the numbering of identity, as bytes.
inline std::string Record(int ref, const GUID& identity) {
    BYTE record[kReferenceRecordSize];
    MakeReferenceRecord(ref, identity, record);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}
