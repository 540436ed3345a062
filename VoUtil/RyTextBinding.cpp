#include "RyTextBinding.h"
#include <cstring>
#include "TextUtilsBinding.h"

// One binding serves the whole library (bible/TextUtilsBinding.h): "RyTxtUtl.dll" beside
// it and its exports, else the COM classes.
HRESULT CreateRyLanguage(const char* name, IRyLanguage** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!name || !*name || strlen(name) > kMaxLanguageName) return E_INVALIDARG;
    return CreateLanguageObject(name, reinterpret_cast<void**>(out));
}
