// IReader: the byte reader under the word list's and the text table's loading, with its
// two sources: a stream (StreamReader) and a file opened for reading (FileReader).
#pragma once
#include <windows.h>
#include <objidl.h>
#include "ComPtr.h"
#include "Handles.h"

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
