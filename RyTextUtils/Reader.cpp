#include "Reader.h"

HRESULT StreamReader::Read(void* buf, unsigned n) {
    if (n == 0) return S_OK;
    if (!stream_ || !buf) return E_FAIL;
    BYTE* p = static_cast<BYTE*>(buf);
    // A stream may deliver fewer bytes than asked; keep reading until it delivers none.
    while (n > 0) {
        ULONG got = 0;
        HRESULT hr = stream_->Read(p, n, &got);
        if (FAILED(hr) || got == 0 || got > n) return E_FAIL;
        p += got;
        n -= got;
    }
    return S_OK;
}

HRESULT FileReader::Open(const char* path) {
    file_.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    return file_ ? S_OK : E_FAIL;
}

HRESULT FileReader::Read(void* buf, unsigned n) {
    if (n == 0) return S_OK;
    if (!file_ || !buf) return E_FAIL;
    BYTE* p = static_cast<BYTE*>(buf);
    while (n > 0) {
        DWORD got = 0;
        if (!ReadFile(file_.Get(), p, n, &got, nullptr) || got == 0 || got > n) return E_FAIL;
        p += got;
        n -= got;
    }
    return S_OK;
}

HRESULT ReadU8(IReader& r, BYTE* v) { return r.Read(v, 1); }

HRESULT ReadU32(IReader& r, DWORD* v) {
    BYTE b[4];
    HRESULT hr = r.Read(b, 4);
    if (FAILED(hr)) return hr;
    *v = static_cast<DWORD>(b[0]) | static_cast<DWORD>(b[1]) << 8 | static_cast<DWORD>(b[2]) << 16 |
         static_cast<DWORD>(b[3]) << 24;
    return S_OK;
}

namespace {
constexpr DWORD kSlice = 1u << 20;
}

HRESULT ReadBlock(IReader& r, DWORD n, std::vector<BYTE>* out) {
    out->clear();
    while (out->size() < n) {
        size_t have = out->size();
        DWORD part = static_cast<DWORD>(n - have < kSlice ? n - have : kSlice);
        out->resize(have + part);
        HRESULT hr = r.Read(out->data() + have, part);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT SkipBytes(IReader& r, DWORD n) {
    BYTE buf[4096];
    while (n > 0) {
        DWORD part = n < sizeof buf ? n : static_cast<DWORD>(sizeof buf);
        HRESULT hr = r.Read(buf, part);
        if (FAILED(hr)) return hr;
        n -= part;
    }
    return S_OK;
}
