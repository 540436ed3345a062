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
