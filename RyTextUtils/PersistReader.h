// The persistence bases of the classes that load and never save: IPersistStreamReaderImpl
// and IPersistFileReaderImpl. Both end in one further slot, the class's own
// Load(IReader*, BOOL fromFile), which the class implements once for both.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <string>
#include "Reader.h"

class IPersistStreamReaderImpl : public IPersistStream {
public:
    explicit IPersistStreamReaderImpl(const CLSID& clsid) : clsid_(clsid) {}

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream* pStm) override;
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

    virtual HRESULT STDMETHODCALLTYPE Load(IReader* reader, BOOL fromFile) = 0;

private:
    const CLSID& clsid_;
};

class IPersistFileReaderImpl : public IPersistFile {
public:
    explicit IPersistFileReaderImpl(const CLSID& clsid) : clsid_(clsid) {}

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR pszFileName, DWORD dwMode) override;
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* ppszFileName) override;

    virtual HRESULT STDMETHODCALLTYPE Load(IReader* reader, BOOL fromFile) = 0;

private:
    const CLSID& clsid_;
    std::wstring name_;  // the name of the last Load, empty when none
};
