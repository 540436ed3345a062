#include "RyTextBinding.h"
#include <string>
#include "VarInt.h"

namespace {

// RyTxtUtl.dll beside this library, loaded the first time it is needed and kept for the
// life of the process: the objects it hands out run its code.
HMODULE TextUtilities() {
    static volatile LONG state = 0;  // 0 not tried, 1 trying, 2 done
    static HMODULE module = nullptr;
    for (;;) {
        LONG s = InterlockedCompareExchange(&state, 1, 0);
        if (s == 2) return module;
        if (s == 1) {
            Sleep(0);
            continue;
        }
        HMODULE self = nullptr;
        wchar_t path[MAX_PATH];
        if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(&TextUtilities), &self)) {
            DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
            std::wstring dir(path, n < MAX_PATH ? n : 0);
            size_t slash = dir.find_last_of(L"\\/");
            if (slash != std::wstring::npos) {
                dir.resize(slash + 1);
                module = LoadLibraryW((dir + L"RyTxtUtl.dll").c_str());
            }
        }
        InterlockedExchange(&state, 2);
        return module;
    }
}

HRESULT CreateByProgId(const char* name, IRyLanguage** out) {
    std::string progId = std::string("RyTextUtils.") + name + ".1";
    wchar_t wide[128];
    if (!MultiByteToWideChar(CP_ACP, 0, progId.c_str(), -1, wide, 128)) return E_INVALIDARG;
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(wide, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRyLanguage, reinterpret_cast<void**>(out));
}

}  // namespace

HRESULT CreateRyLanguage(const char* name, IRyLanguage** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!name || !*name || strlen(name) > kMaxLanguageName) return E_INVALIDARG;
    if (HMODULE dll = TextUtilities()) {
        auto create = reinterpret_cast<CreateLanguageFn>(reinterpret_cast<void*>(GetProcAddress(dll, "CreateLanguage")));
        if (create) return create(name, out);
    }
    return NoThrow([&] { return CreateByProgId(name, out); });
}

HRESULT CreateRyTextTable(IRyTextTab** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (HMODULE dll = TextUtilities()) {
        auto create = reinterpret_cast<CreateRyTextTabFn>(reinterpret_cast<void*>(GetProcAddress(dll, "CreateRyTextTab")));
        if (create) return create(out);
    }
    return CoCreateInstance(CLSID_RyTextTab, nullptr, CLSCTX_INPROC_SERVER, IID_IRyTextTab, reinterpret_cast<void**>(out));
}
