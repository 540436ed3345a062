// RyTxtUtl.dll: the module object, the class table and the exports of the server.
#include <windows.h>
#include <new>
#include "ClassFactory.h"
#include "Collation.h"
#include "Dictionary.h"
#include "Language.h"
#include "RegistryScript.h"
#include "RyTextUtilsApi.h"
#include "TextTab.h"

namespace {

ClassFactory<CRyDictionary> g_dictionaryFactory;
ClassFactory<CRyTextTab> g_textTabFactory;
SingletonClassFactory<CRyLanguage> g_languageFactory;

const ClassEntry kClasses[] = {
    {&CLSID_RyLanguage, &g_languageFactory},
    {&CLSID_RyDictionary, &g_dictionaryFactory},
    {&CLSID_RyTextTab, &g_textTabFactory},
};

// Registry scripts of the three classes, REGISTRY resources 101-103.
const UINT kScripts[] = {101, 102, 103};

HRESULT RunScripts(bool doRegister) {
    // The module path in ANSI, as the scripts write it.
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(ComModule::Current().Instance(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return E_FAIL;
    HRESULT result = S_OK;
    for (UINT id : kScripts) {
        RegistryScript script("", {});
        HRESULT hr = RegistryScript::FromResource(ComModule::Current().Instance(), id, {{"MODULE", path}}, &script);
        if (SUCCEEDED(hr)) hr = doRegister ? script.Register() : script.Unregister();
        if (FAILED(hr)) {
            if (doRegister) return hr;
            result = hr;  // unregistering goes on with the rest
        }
    }
    return result;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ComModule::Current().Init(instance, &LIBID_RyTextUtilsLib);
        DisableThreadLibraryCalls(instance);
        Collation::Std();  // the collation tables exist before any object can be made
    } else if (reason == DLL_PROCESS_DETACH) {
        ComModule::Current().Term(reserved != nullptr);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return GetClassObjectFromTable(kClasses, sizeof kClasses / sizeof kClasses[0], clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return ComModule::Current().LockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    try {
        HRESULT hr = RunScripts(true);
        if (SUCCEEDED(hr)) hr = ComModule::Current().RegisterTypeLib();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDAPI DllUnregisterServer() {
    try {
        HRESULT hr = RunScripts(false);
        HRESULT tlb = ComModule::Current().UnregisterTypeLib();
        return FAILED(hr) ? hr : tlb;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT __stdcall CreateLanguage(const char* name, IRyLanguage** out) {
    return CreateLanguageObject(name, out);
}

extern "C" HRESULT __stdcall CreateRyTextTab(IRyTextTab** out) {
    if (!out) return E_POINTER;
    return CreateComInstanceAs<CRyTextTab>(IID_IRyTextTab, out);
}
