#include "DispatchInvoke.h"
#include <oleauto.h>
#include <string>
#include <vector>

namespace {

// The function of a member id that the given Invoke flags call, with its description.
class FuncDescHolder {
public:
    FuncDescHolder(ITypeInfo* info) : info_(info) {}
    ~FuncDescHolder() { if (desc_) info_->ReleaseFuncDesc(desc_); }
    FuncDescHolder(const FuncDescHolder&) = delete;
    FuncDescHolder& operator=(const FuncDescHolder&) = delete;

    HRESULT Find(DISPID id, WORD flags) {
        TYPEATTR* attr = nullptr;
        HRESULT hr = info_->GetTypeAttr(&attr);
        if (FAILED(hr)) return hr;
        WORD count = attr->cFuncs;
        info_->ReleaseTypeAttr(attr);
        for (WORD i = 0; i < count; ++i) {
            FUNCDESC* d = nullptr;
            if (FAILED(info_->GetFuncDesc(i, &d))) continue;
            if (d->memid == id && (d->invkind & flags)) {
                desc_ = d;
                return S_OK;
            }
            info_->ReleaseFuncDesc(d);
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    const FUNCDESC* Get() const { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

// The interface side of a dual interface's type information, with one reference; the
// information itself when it describes an interface; null otherwise.
ITypeInfo* VtableSide(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
    TYPEKIND kind = attr->typekind;
    WORD typeFlags = attr->wTypeFlags;
    info->ReleaseTypeAttr(attr);
    if (kind == TKIND_INTERFACE) {
        info->AddRef();
        return info;
    }
    if (kind != TKIND_DISPATCH || !(typeFlags & TYPEFLAG_FDUAL)) return nullptr;
    HREFTYPE ref = 0;
    ITypeInfo* side = nullptr;
    if (FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) || FAILED(info->GetRefTypeInfo(ref, &side)))
        return nullptr;
    return side;
}

HRESULT InvokeOnVtable(ITypeInfo* vtblInfo, ITypeInfo* info, void* self, DISPID id, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* excep, UINT* argErr);

bool HasAnsiStringParam(const FUNCDESC* d) {
    for (SHORT i = 0; i < d->cParams; ++i)
        if (d->lprgelemdescParam[i].tdesc.vt == VT_LPSTR) return true;
    return false;
}

}  // namespace

HRESULT InvokeFromTypeInfo(ITypeInfo* info, void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excep, UINT* argErr) {
    // A dual interface's type information describes its dispatch side; the vtable offsets
    // stand in the interface side.
    ITypeInfo* vtblInfo = VtableSide(info);
    if (!vtblInfo) return info->Invoke(self, id, flags, params, result, excep, argErr);
    HRESULT result2 = InvokeOnVtable(vtblInfo, info, self, id, flags, params, result, excep, argErr);
    vtblInfo->Release();
    return result2;
}

namespace {

HRESULT InvokeOnVtable(ITypeInfo* vtblInfo, ITypeInfo* info, void* self, DISPID id, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    FuncDescHolder fd(vtblInfo);
    if (FAILED(fd.Find(id, flags)) || !HasAnsiStringParam(fd.Get()))
        return info->Invoke(self, id, flags, params, result, excep, argErr);
    const FUNCDESC* d = fd.Get();
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    if (params->cNamedArgs) return DISP_E_NONAMEDARGS;

    const UINT total = static_cast<UINT>(d->cParams);
    const bool hasRetval = total > 0 && (d->lprgelemdescParam[total - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
    const UINT inputs = hasRetval ? total - 1 : total;
    if (params->cArgs != inputs) return DISP_E_BADPARAMCOUNT;

    try {
        std::vector<VARIANT> values(total);
        std::vector<std::string> strings(total);
        std::vector<VARIANTARG*> ptrs(total);
        std::vector<VARTYPE> types(total);
        for (VARIANT& v : values) VariantInit(&v);
        HRESULT hr = S_OK;
        for (UINT i = 0; i < inputs && SUCCEEDED(hr); ++i) {
            VARIANT* src = &params->rgvarg[params->cArgs - 1 - i];
            if (V_VT(src) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(src)) src = V_VARIANTREF(src);
            VARTYPE want = d->lprgelemdescParam[i].tdesc.vt;
            if (want == VT_LPSTR) {
                if (V_VT(src) == VT_LPSTR) {
                    V_VT(&values[i]) = VT_BYREF | VT_UI1;
                    V_BYREF(&values[i]) = src->byref;
                } else if (V_VT(src) == VT_BSTR || (V_VT(src) == (VT_BYREF | VT_BSTR) && V_BSTRREF(src))) {
                    BSTR b = V_VT(src) == VT_BSTR ? V_BSTR(src) : *V_BSTRREF(src);
                    int n = WideCharToMultiByte(CP_ACP, 0, b ? b : L"", -1, nullptr, 0, nullptr, nullptr);
                    strings[i].resize(n > 0 ? static_cast<size_t>(n) : 1);
                    WideCharToMultiByte(CP_ACP, 0, b ? b : L"", -1, &strings[i][0], n, nullptr, nullptr);
                    V_VT(&values[i]) = VT_BYREF | VT_UI1;
                    V_BYREF(&values[i]) = &strings[i][0];
                } else {
                    hr = DISP_E_TYPEMISMATCH;
                }
            } else if (want == VT_PTR || want == VT_USERDEFINED || want == VT_CARRAY) {
                hr = DISP_E_TYPEMISMATCH;  // no plain out-parameters through this path
            } else {
                hr = VariantChangeType(&values[i], src, 0, want);
            }
            if (FAILED(hr) && argErr) *argErr = params->cArgs - 1 - i;
            types[i] = V_VT(&values[i]);
            ptrs[i] = &values[i];
        }
        VARIANT out;
        VariantInit(&out);
        if (SUCCEEDED(hr) && hasRetval) {
            const TYPEDESC& t = d->lprgelemdescParam[total - 1].tdesc;
            if (t.vt != VT_PTR || !t.lptdesc) {
                hr = DISP_E_TYPEMISMATCH;
            } else {
                V_VT(&out) = t.lptdesc->vt;
                V_VT(&values[total - 1]) = VT_BYREF | VT_UI1;
                V_BYREF(&values[total - 1]) = &out.lVal;  // the union's storage, of any type
                types[total - 1] = V_VT(&values[total - 1]);
                ptrs[total - 1] = &values[total - 1];
            }
        }
        VARIANT ret;
        VariantInit(&ret);
        if (SUCCEEDED(hr))
            hr = DispCallFunc(self, d->oVft, d->callconv, VT_ERROR, total, types.data(), ptrs.data(), &ret);
        if (SUCCEEDED(hr)) hr = V_ERROR(&ret);
        for (UINT i = 0; i < inputs; ++i)
            if (!(V_VT(&values[i]) & VT_BYREF)) VariantClear(&values[i]);
        if (FAILED(hr)) {
            if (hasRetval) V_VT(&out) = VT_EMPTY;
            return hr;
        }
        if (result) *result = out;
        else VariantClear(&out);
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace
