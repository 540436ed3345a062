// IReader: the byte reader under the word list's and the text table's loading, with its
// two sources: a stream (StreamReader) and a file opened for reading (FileReader).
#pragma once
#include <windows.h>
#include <objidl.h>
#include "ComPtr.h"
#include "Handles.h"
#include <vector>

struct IReader {
    // S_OK only when exactly n bytes were read; E_FAIL otherwise.
    virtual HRESULT Read(void* buf, unsigned n) = 0;

protected:
    ~IReader() = default;
};

class StreamReader final : public IReader {
public:
    explicit StreamReader(IStream* stream) : stream_(stream) {}
    HRESULT Read(void* buf, unsigned n) override;

private:
    ComPtr<IStream> stream_;
};

class FileReader final : public IReader {
public:
    // An existing file, opened for reading with shared reading allowed.
    HRESULT Open(const char* path);
    HRESULT Read(void* buf, unsigned n) override;

private:
    FileHandle file_;
};

// Typed reads over a reader (little-endian). ReadBlock reads n bytes in slices, so a stream
// that announces more than it holds fails at its end without a huge allocation up front;
// it may throw std::bad_alloc.
HRESULT ReadU8(IReader& r, BYTE* v);
HRESULT ReadU32(IReader& r, DWORD* v);
HRESULT ReadBlock(IReader& r, DWORD n, std::vector<BYTE>* out);
// Skips n bytes; E_FAIL when fewer are left.
HRESULT SkipBytes(IReader& r, DWORD n);
