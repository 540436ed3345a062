// CPosStreamOnFile: a stream over a file of the Windows file API, through which the
// library reads and writes its files. It answers its own interface identifier and
// ISequentialStream (not IID_IStream itself); the pointer it hands out is used wherever
// an IStream* is expected.
#pragma once
#include "Unknown.h"
#include "Handles.h"
#include "ComPtr.h"
#include <objidl.h>

// {25828082-25F1-11D0-9680-444553540000}
extern const IID IID_IPosStreamOnFile;

enum PosStreamMode {
    kPosStreamRead = 0,    // read-only, at position 0
    kPosStreamAppend = 2,  // read and write, at the end
    kPosStreamCreate = 3,  // created or truncated, for writing
};

class CPosStreamOnFile : public CUnknown, public IStream {
public:
    CPosStreamOnFile(IUnknown* outer, HRESULT* result, const char* path, PosStreamMode mode);

    // The three openers: E_INVALIDARG and no object when the file can't be opened.
    static HRESULT Open(const char* path, PosStreamMode mode, IStream** out);
    static HRESULT OpenRead(const char* path, IStream** out) { return Open(path, kPosStreamRead, out); }
    static HRESULT OpenAppend(const char* path, IStream** out) { return Open(path, kPosStreamAppend, out); }
    static HRESULT Create(const char* path, IStream** out) { return Open(path, kPosStreamCreate, out); }

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // ISequentialStream
    HRESULT STDMETHODCALLTYPE Read(void* buf, ULONG n, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buf, ULONG n, ULONG* written) override;
    // IStream
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    FileHandle file_;
};

// The body of an export that opens a file: *out is cleared, the file opened for reading
// and its stream handed to the export that reads from a stream.
template <class I, class OpenOnStream>
HRESULT OpenFileWith(const char* path, I** out, OpenOnStream openOnStream) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<IStream> stream;
    HRESULT hr = CPosStreamOnFile::OpenRead(path, stream.Put());
    if (FAILED(hr)) return hr;
    return openOnStream(stream.Get(), out);
}
