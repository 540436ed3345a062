#include "Language.h"
#include "Collation.h"

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
