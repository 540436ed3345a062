#include "Dictionary.h"

CRyDictionary::CRyDictionary()
    : IPersistStreamReaderImpl(CLSID_RyDictionary), IPersistFileReaderImpl(CLSID_RyDictionary) {}

CRyDictionary::~CRyDictionary() = default;

void* CRyDictionary::QueryPart(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IRyDictionary))
        return static_cast<IRyDictionary*>(this);
    if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStream))
        return static_cast<IPersistStream*>(this);
    if (IsEqualIID(iid, IID_IPersistFile)) return static_cast<IPersistFile*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::get_WordCount(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::get_Word(long, LPSTR pszBuf) {
    if (!pszBuf) return E_POINTER;
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::get_Language(IRyLanguage** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::Find(LPSTR pszSearchKey, long* pIdx) {
    if (!pszSearchKey || !*pszSearchKey) return E_INVALIDARG;
    if (!pIdx) return E_POINTER;
    *pIdx = -1;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::FindPrefix(LPSTR pszPrefix, long* piBegin, long* piEnd) {
    if (!pszPrefix || !*pszPrefix) return E_INVALIDARG;
    if (!piBegin || !piEnd) return E_POINTER;
    *piBegin = *piEnd = -1;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::Load(IReader* reader, BOOL) {
    if (!reader) return E_POINTER;
    return E_NOTIMPL;
}
