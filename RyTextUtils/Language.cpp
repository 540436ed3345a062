#include "Language.h"
#include "Collation.h"
#include <cstring>
#include "RyTextUtilsApi.h"

void* CRyLanguage::QueryPart(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IRyLanguage))
        return static_cast<IRyLanguage*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE CRyLanguage::StringCompare(LPSTR psz1, LPSTR psz2, long* pResult) {
    if (!pResult) return E_POINTER;
    // A null string compares as the empty one.
    *pResult = Collation::Std().Compare(psz1 ? psz1 : "", psz2 ? psz2 : "");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyLanguage::GetUnusedCharIndices(long** ppResult, long* pcUnused) {
    if (!ppResult || !pcUnused) return E_POINTER;
    const Collation& c = Collation::Std();
    *ppResult = const_cast<long*>(c.UnusedIndices());
    *pcUnused = c.UnusedCount();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyLanguage::get_LanguageName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = SysAllocString(L"StdLang");
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CRyLanguage::StringIsPrefixedBy(LPSTR lpszSuper, LPSTR lpszPrefix, long* pResult) {
    if (pResult) *pResult = 0;
    if (!lpszSuper || !*lpszSuper || !lpszPrefix || !*lpszPrefix) return E_INVALIDARG;
    bool yes = Collation::Std().IsPrefixedBy(lpszSuper, lpszPrefix);
    if (pResult) *pResult = yes ? 1 : 0;
    return yes ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CRyLanguage::GetNextWord(LPSTR pszPos, long* pOfsBegin, long* pOfsEnd) {
    if (!pszPos || !pOfsBegin || !pOfsEnd) return E_POINTER;
    return Collation::Std().NextWord(pszPos, pOfsBegin, pOfsEnd) ? S_FALSE : S_OK;
}

HRESULT CreateLanguageObject(const char* name, IRyLanguage** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!name || !*name) return E_INVALIDARG;
    if (strcmp(name, Collation::kName) == 0)
        return CreateComInstanceAs<CRyLanguage>(IID_IRyLanguage, out);
    // "RyTextUtils." + name + ".1" in a 64-byte buffer.
    static const char kPrefix[] = "RyTextUtils.";
    char progId[64];
    size_t len = strlen(name);
    if (len > kMaxLanguageName) return E_INVALIDARG;
    memcpy(progId, kPrefix, sizeof kPrefix - 1);
    memcpy(progId + sizeof kPrefix - 1, name, len);
    memcpy(progId + sizeof kPrefix - 1 + len, ".1", 3);
    wchar_t wide[64];
    if (!MultiByteToWideChar(CP_ACP, 0, progId, -1, wide, 64)) return E_INVALIDARG;
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(wide, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRyLanguage, reinterpret_cast<void**>(out));
}
