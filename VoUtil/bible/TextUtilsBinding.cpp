#include "TextUtilsBinding.h"
#include "Handles.h"
#include "RyTextUtilsIdl.h"
#include <cstring>

namespace {

// The ProgID buffer holds 64 wide characters with its terminator.
constexpr int kProgIdChars = 64;

HMODULE LoadTextUtilsLibrary() {
    char path[MAX_PATH + 16];
    if (!GetOwnModuleFolder(path, MAX_PATH)) return nullptr;
    if (strlen(path) + sizeof "RyTxtUtl.dll" > sizeof path) return nullptr;
    strcat(path, "RyTxtUtl.dll");
    // A full path: no search, so a library elsewhere on the path is never taken instead.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

bool GetOwnModuleFolder(char* buf, unsigned size) {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&GetOwnModuleFolder), &self))
        return false;
    DWORD n = GetModuleFileNameA(self, buf, size);
    if (n == 0 || n >= size) return false;
    char* slash = strrchr(buf, '\\');
    if (!slash) return false;
    slash[1] = '\0';
    return true;
}

TextUtilsBinding::TextUtilsBinding(HMODULE library) : library_(library) {
    if (!library_) return;
    createTextTab_ = GetProc<CreateTextTabFn>(library_, "CreateRyTextTab");
    createLanguage_ = GetProc<CreateLanguageFn>(library_, "CreateLanguage");
}

const TextUtilsBinding& TextUtilsBinding::Process() {
    // Built once, thread-safe; the library stays loaded until the process ends.
    static const TextUtilsBinding binding(LoadTextUtilsLibrary());
    return binding;
}

HRESULT TextUtilsBinding::CreateTextTab(void** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (createTextTab_) return createTextTab_(out);
    return CoCreateInstance(CLSID_RyTextTab, nullptr, CLSCTX_INPROC_SERVER, IID_IRyTextTab, out);
}

HRESULT TextUtilsBinding::CreateLanguage(const char* name, void** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!name || !*name) return E_INVALIDARG;
    if (createLanguage_) return createLanguage_(name, out);
    CLSID clsid = CLSID_RyLanguage;
    if (strcmp(name, "StdLang") != 0) {
        char progId[kProgIdChars * 2];
        if (strlen(name) + sizeof "RyTextUtils..1" > static_cast<size_t>(kProgIdChars)) return E_INVALIDARG;
        strcpy(progId, "RyTextUtils.");
        strcat(progId, name);
        strcat(progId, ".1");
        WCHAR wide[kProgIdChars];
        if (!MultiByteToWideChar(CP_ACP, 0, progId, -1, wide, kProgIdChars)) return E_INVALIDARG;
        HRESULT hr = CLSIDFromProgID(wide, &clsid);
        if (FAILED(hr)) return hr;
    }
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRyLanguage, out);
}
