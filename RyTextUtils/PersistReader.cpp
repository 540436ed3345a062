#include "PersistReader.h"
#include <new>
#include <vector>

HRESULT STDMETHODCALLTYPE IPersistStreamReaderImpl::GetClassID(CLSID* pClassID) {
    if (!pClassID) return E_POINTER;
    *pClassID = clsid_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IPersistStreamReaderImpl::Load(IStream* pStm) {
    if (!pStm) return E_POINTER;
    StreamReader reader(pStm);
    return Load(&reader, FALSE);
}

HRESULT STDMETHODCALLTYPE IPersistFileReaderImpl::GetClassID(CLSID* pClassID) {
    if (!pClassID) return E_POINTER;
    *pClassID = clsid_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IPersistFileReaderImpl::Load(LPCOLESTR pszFileName, DWORD dwMode) {
    if (dwMode != 0 || !pszFileName || !*pszFileName) return E_FAIL;
    try {
        name_ = pszFileName;
        int n = WideCharToMultiByte(CP_THREAD_ACP, 0, pszFileName, -1, nullptr, 0, nullptr, nullptr);
        if (n <= 0) return E_FAIL;
        std::vector<char> path(static_cast<size_t>(n));
        WideCharToMultiByte(CP_THREAD_ACP, 0, pszFileName, -1, path.data(), n, nullptr, nullptr);
        FileReader reader;
        if (FAILED(reader.Open(path.data()))) return E_FAIL;
        return Load(&reader, TRUE);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE IPersistFileReaderImpl::GetCurFile(LPOLESTR* ppszFileName) {
    if (!ppszFileName) return E_POINTER;
    *ppszFileName = nullptr;
    if (name_.empty()) return E_FAIL;
    size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    memcpy(copy, name_.c_str(), bytes);
    *ppszFileName = copy;
    return S_OK;
}
