#include "TextTab.h"

CRyTextTab::CRyTextTab() : IPersistStreamReaderImpl(CLSID_RyTextTab), IPersistFileReaderImpl(CLSID_RyTextTab) {}

CRyTextTab::~CRyTextTab() = default;

void* CRyTextTab::QueryPart(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IRyTextTab))
        return static_cast<IRyTextTab*>(this);
    if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStream))
        return static_cast<IPersistStream*>(this);
    if (IsEqualIID(iid, IID_IPersistFile)) return static_cast<IPersistFile*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_TextCount(long* pVal) {
    if (!pVal) return E_POINTER;
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_TextLength(long, long* pVal) {
    if (!pVal) return E_POINTER;
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_Text(long, long, LPSTR pVal) {
    if (!pVal) return E_POINTER;
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::Find(long, long, LPSTR, long* pcArticles, long** pprgArticleIdx) {
    if (!pcArticles || !pprgArticleIdx) return E_POINTER;
    *pcArticles = 0;
    *pprgArticleIdx = nullptr;
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_Dictionary(IRyDictionary** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return E_FAIL;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::Load(IReader* reader, BOOL) {
    if (!reader) return E_POINTER;
    return E_NOTIMPL;
}
