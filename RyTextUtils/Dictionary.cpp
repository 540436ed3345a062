#include "Dictionary.h"
#include <new>

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
    const WordList* list = List();
    *pVal = list ? list->Count() : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::get_Word(long Index, LPSTR pszBuf) {
    const WordList* list = List();
    if (!list || Index < 0 || Index >= list->Count()) return E_INVALIDARG;
    if (!pszBuf) return E_POINTER;
    list->Decode(Index, pszBuf);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::get_Language(IRyLanguage** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    const WordList* list = List();
    if (!list) return E_FAIL;
    *pVal = list->Language();
    (*pVal)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::Find(LPSTR pszSearchKey, long* pIdx) {
    if (!pszSearchKey || !*pszSearchKey) return E_INVALIDARG;
    if (!pIdx) return E_POINTER;
    *pIdx = -1;
    const WordList* list = List();
    if (!list) return S_FALSE;  // as an empty list
    *pIdx = list->Find(pszSearchKey);
    return *pIdx >= 0 ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::FindPrefix(LPSTR pszPrefix, long* piBegin, long* piEnd) {
    if (!pszPrefix || !*pszPrefix) return E_INVALIDARG;
    if (!piBegin || !piEnd) return E_POINTER;
    *piBegin = *piEnd = -1;
    const WordList* list = List();
    if (!list) return S_FALSE;  // as an empty list
    long begin = 0, end = 0;
    list->FindPrefix(pszPrefix, &begin, &end);
    if (begin >= list->Count()) return S_FALSE;  // every word sorts below the prefix
    *piBegin = begin;
    *piEnd = end;
    return end > begin ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CRyDictionary::Load(IReader* reader, BOOL) {
    if (!reader) return E_POINTER;
    ObjectLock lock(*this);
    // Loaded once: a loaded list stays as it is for the readers that may be using it.
    if (list_) return E_UNEXPECTED;
    std::unique_ptr<WordList> list(new (std::nothrow) WordList);
    if (!list) return E_OUTOFMEMORY;
    HRESULT hr = list->Load(*reader);
    if (FAILED(hr)) return hr;
    owned_ = std::move(list);
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&list_), owned_.get());
    return S_OK;
}
