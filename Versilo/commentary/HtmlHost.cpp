#include "HtmlHost.h"

HRESULT STDMETHODCALLTYPE CVoHtmlHost::CustomMessage(long code, BSTR text, VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    if (!client_) return E_UNEXPECTED;
    return client_->OnCustomMessage(code, text ? text : L"", result);
}

HRESULT CVoHtmlHost::Create(AVoHtmlHostClient* client, CVoHtmlHost** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    IVoHtmlHost* host = nullptr;
    HRESULT hr = CreateComInstance<CVoHtmlHost>(nullptr, IID_IVoHtmlHost, reinterpret_cast<void**>(&host));
    if (FAILED(hr)) return hr;
    *out = static_cast<CVoHtmlHost*>(host);
    (*out)->SetClient(client);
    return S_OK;
}

void InitHtmlHostModule(HINSTANCE program) { ComModule::Current().Init(program, &LIBID_VoHtmlHostLib); }
