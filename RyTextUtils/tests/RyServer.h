// RyServer: RyTxtUtl.dll loaded from the program folder, with its exports, for the tests.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "ComPtr.h"
#include "Handles.h"
#include "RyTextUtilsApi.h"

class RyServer {
public:
    RyServer() : dll_(LoadLibraryA("RyTxtUtl.dll")) {
        if (!dll_) return;
        createLanguage_ = GetProc<CreateLanguageFn>(dll_.Get(), "CreateLanguage");
        createTextTab_ = GetProc<CreateRyTextTabFn>(dll_.Get(), "CreateRyTextTab");
        getClassObject_ = GetProc<GetClassObjectFn>(dll_.Get(), "DllGetClassObject");
        canUnloadNow_ = GetProc<NoArgFn>(dll_.Get(), "DllCanUnloadNow");
    }
    bool Loaded() const { return dll_ && createLanguage_ && createTextTab_ && getClassObject_ && canUnloadNow_; }
    HMODULE Module() const { return dll_.Get(); }

    HRESULT CreateLanguage(const char* name, IRyLanguage** out) const { return createLanguage_(name, out); }
    HRESULT CreateTextTab(IRyTextTab** out) const { return createTextTab_(out); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const { return getClassObject_(clsid, iid, out); }
    HRESULT CanUnloadNow() const { return canUnloadNow_(); }

    ComPtr<IRyLanguage> StdLang() const {
        ComPtr<IRyLanguage> lang;
        EXPECT_EQ(S_OK, createLanguage_("StdLang", lang.Put()));
        return lang;
    }

private:
    typedef HRESULT(__stdcall* GetClassObjectFn)(REFCLSID, REFIID, void**);
    typedef HRESULT(__stdcall* NoArgFn)();
    ModuleHandle dll_;
    CreateLanguageFn createLanguage_ = nullptr;
    CreateRyTextTabFn createTextTab_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    NoArgFn canUnloadNow_ = nullptr;
};

// COM initialised for the life of a test (apartment-threaded, as the programs run it).
class ComScope {
public:
    ComScope() { hr_ = CoInitialize(nullptr); }
    ~ComScope() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    HRESULT Result() const { return hr_; }
private:
    HRESULT hr_;
};

// The reference count of an interface pointer, read by one AddRef/Release pair.
inline ULONG RefCount(IUnknown* p) {
    p->AddRef();
    return p->Release();
}
