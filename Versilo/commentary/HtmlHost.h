// CVoHtmlHost: the object the article view's page script reaches as window.external. Its
// one method, CustomMessage(code, text), hands the script's message to the view (the
// client) and gives the client's answer back to the script.
#pragma once
#include <windows.h>
#include "ComObject.h"
#include "DispatchImpl.h"
#include "VoHtmlHostIdl.h"

// What the host object asks of the view that shows the page.
class AVoHtmlHostClient {
public:
    virtual HRESULT OnCustomMessage(long code, const wchar_t* text, VARIANT* result) = 0;

protected:
    ~AVoHtmlHostClient() = default;
};

class CVoHtmlHost : public ComObjectRoot, public DispatchImpl<IVoHtmlHost> {
public:
    void* QueryPart(REFIID iid) {
        if (IsEqualIID(iid, IID_IVoHtmlHost) || IsEqualIID(iid, IID_IDispatch))
            return static_cast<IVoHtmlHost*>(this);
        return nullptr;
    }

    // The client (borrowed); null detaches it, after which script calls answer E_UNEXPECTED.
    void SetClient(AVoHtmlHostClient* client) { client_ = client; }

    HRESULT STDMETHODCALLTYPE CustomMessage(long code, BSTR text, VARIANT* result) override;

    // A new host object with its client, one reference for the caller.
    static HRESULT Create(AVoHtmlHostClient* client, CVoHtmlHost** out);

private:
    AVoHtmlHostClient* client_ = nullptr;
};

// Initialises the program's module object with the host's type library (resource TYPELIB 1
// of the program), which the host's IDispatch answers from.
void InitHtmlHostModule(HINSTANCE program);
