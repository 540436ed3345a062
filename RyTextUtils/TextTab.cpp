#include "TextTab.h"
#include <new>
#include <vector>
#include "Dictionary.h"
#include "LeadingRecord.h"
#include "TextQuery.h"

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
    const Loaded* s = State();
    if (!s) return E_FAIL;
    *pVal = static_cast<long>(s->table.TextCount());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_TextLength(long Idx, long* pVal) {
    const Loaded* s = State();
    if (!s) return E_FAIL;
    if (Idx < 0 || static_cast<DWORD>(Idx) >= s->table.TextCount()) return E_INVALIDARG;
    if (!pVal) return E_POINTER;
    *pVal = static_cast<long>(s->table.Rebuild(static_cast<DWORD>(Idx), nullptr, 0, nullptr));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_Text(long Idx, long cbBuf, LPSTR pVal) {
    const Loaded* s = State();
    if (!s) return E_FAIL;
    if (Idx < 0 || static_cast<DWORD>(Idx) >= s->table.TextCount() || cbBuf <= 0) return E_INVALIDARG;
    if (!pVal) return E_POINTER;
    bool fits = false;
    s->table.Rebuild(static_cast<DWORD>(Idx), pVal, static_cast<DWORD>(cbBuf), &fits);
    return fits ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::Find(long iBegin, long iEnd, LPSTR pszSearchText, long* pcArticles,
                                           long** pprgArticleIdx) {
    if (!pcArticles || !pprgArticleIdx) return E_POINTER;
    *pcArticles = 0;
    *pprgArticleIdx = nullptr;
    const Loaded* s = State();
    if (!s) return E_FAIL;
    const long count = static_cast<long>(s->table.TextCount());
    if (!pszSearchText || !*pszSearchText) return E_INVALIDARG;
    if (iBegin < 0 || iBegin > count) return E_INVALIDARG;
    if (iEnd == -1) iEnd = count;
    if (iEnd < 0 || iEnd > count) return E_INVALIDARG;
    if (iEnd < iBegin) iEnd = iBegin;
    std::vector<DWORD> found;
    HRESULT hr = RunTextQuery(s->table, *s->words, pszSearchText, static_cast<DWORD>(iBegin),
                              static_cast<DWORD>(iEnd), &found);
    if (hr != S_OK || found.empty()) return hr;
    auto* out = static_cast<long*>(CoTaskMemAlloc(found.size() * sizeof(long)));
    if (!out) return E_OUTOFMEMORY;
    for (size_t i = 0; i < found.size(); ++i) out[i] = static_cast<long>(found[i]);
    *pcArticles = static_cast<long>(found.size());
    *pprgArticleIdx = out;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::get_Dictionary(IRyDictionary** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    const Loaded* s = State();
    if (!s) return E_FAIL;
    s->dictionary.CopyTo(pVal);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRyTextTab::Load(IReader* reader, BOOL fromFile) {
    if (!reader) return E_POINTER;
    ObjectLock lock(*this);
    if (state_) return E_UNEXPECTED;  // loaded once; readers may be using what is there
    std::unique_ptr<Loaded> s(new (std::nothrow) Loaded);
    if (!s) return E_OUTOFMEMORY;
    HRESULT hr;
    if (fromFile) {
        char digits[kLeadingRecordDigits];
        unsigned length = 0;
        if (FAILED(hr = reader->Read(digits, kLeadingRecordDigits))) return hr;
        if (!ParseLeadingRecordLength(digits, &length)) return E_FAIL;
        if (FAILED(hr = SkipBytes(*reader, length))) return hr;
    }
    // The embedded word list, as an object of its own that the table hands out.
    if (FAILED(hr = CreateComInstanceAs<CRyDictionary>(IID_IRyDictionary, s->dictionary.Put()))) return hr;
    auto* dict = static_cast<CRyDictionary*>(s->dictionary.Get());
    if (FAILED(hr = dict->Load(reader, FALSE))) return hr;
    s->words = dict->List();
    s->language = ComPtr<IRyLanguage>(s->words->Language());
    if (FAILED(hr = s->table.Load(*reader, s->words))) return hr;
    owned_ = std::move(s);
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&state_), owned_.get());
    return S_OK;
}
