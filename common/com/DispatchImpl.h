// DispatchImpl<I>: the IDispatch half of a dual interface I, answered from the type
// information of I in the module's embedded type library.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include "ComModule.h"
#include "DispatchInvoke.h"

template <class I>
class DispatchImpl : public I {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return ComModule::Current().GetTypeInfo(__uuidof(I), out);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        HRESULT hr = ComModule::Current().GetTypeInfo(__uuidof(I), &info);
        if (FAILED(hr)) return hr;
        hr = info->GetIDsOfNames(names, count, ids);
        info->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        HRESULT hr = ComModule::Current().GetTypeInfo(__uuidof(I), &info);
        if (FAILED(hr)) return hr;
        hr = InvokeFromTypeInfo(info, static_cast<I*>(this), id, flags, params, result, excep, argErr);
        info->Release();
        return hr;
    }
};
