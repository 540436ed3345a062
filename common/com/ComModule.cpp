#include "ComModule.h"
#include <oleauto.h>

ComModule& ComModule::Current() {
    // One module object per module: each DLL or program that links this code has its own.
    static ComModule module;
    return module;
}

void ComModule::Init(HINSTANCE instance, const GUID* libid) {
    instance_ = instance;
    libid_ = libid;
    DWORD n = GetModuleFileNameW(instance, path_, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) path_[0] = 0;
    InitializeCriticalSection(&cs_);
    csReady_ = true;
}

void ComModule::Term(bool processExiting) {
    if (!csReady_) return;
    if (!processExiting) {
        for (int i = 0; i < infoCount_; ++i) infos_[i].info->Release();
        if (typeLib_) typeLib_->Release();
    }
    infoCount_ = 0;
    typeLib_ = nullptr;
    DeleteCriticalSection(&cs_);
    csReady_ = false;
}

HRESULT ComModule::LoadTypeLibLocked() {
    if (typeLib_) return S_OK;
    if (!libid_ || !path_[0]) return TYPE_E_CANTLOADLIBRARY;
    return LoadTypeLibEx(path_, REGKIND_NONE, &typeLib_);
}

HRESULT ComModule::GetTypeInfo(REFIID iid, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!csReady_) return E_UNEXPECTED;
    EnterCriticalSection(&cs_);
    HRESULT hr = S_OK;
    for (int i = 0; i < infoCount_; ++i) {
        if (IsEqualIID(infos_[i].iid, iid)) {
            *out = infos_[i].info;
            (*out)->AddRef();
            LeaveCriticalSection(&cs_);
            return S_OK;
        }
    }
    hr = LoadTypeLibLocked();
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(hr)) hr = typeLib_->GetTypeInfoOfGuid(iid, &info);
    if (SUCCEEDED(hr)) {
        if (infoCount_ < kMaxTypeInfos) {
            infos_[infoCount_++] = CachedInfo{iid, info};
            info->AddRef();
        }
        *out = info;
    }
    LeaveCriticalSection(&cs_);
    return hr;
}

HRESULT ComModule::RegisterTypeLib() {
    if (!libid_) return S_OK;
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(path_, REGKIND_NONE, &lib);
    if (FAILED(hr)) return hr;
    hr = ::RegisterTypeLib(lib, path_, nullptr);
    lib->Release();
    return hr;
}

HRESULT ComModule::UnregisterTypeLib() {
    if (!libid_) return S_OK;
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(path_, REGKIND_NONE, &lib);
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        // A library that is not registered (any more) counts as done.
        BSTR registered = nullptr;
        if (SUCCEEDED(QueryPathOfRegTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                                            &registered))) {
            SysFreeString(registered);
            hr = ::UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
        }
        lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    return hr;
}
