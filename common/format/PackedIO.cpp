#include "PackedIO.h"

HRESULT ReadAll(IStream* stream, void* data, ULONG size) {
    ULONG got = 0;
    HRESULT hr = stream->Read(data, size, &got);
    if (got != size) return E_UNEXPECTED;
    return FAILED(hr) ? hr : S_OK;
}

HRESULT WriteAll(IStream* stream, const void* data, ULONG size) {
    ULONG put = 0;
    HRESULT hr = stream->Write(data, size, &put);
    if (FAILED(hr)) return hr;
    return put == size ? S_OK : E_UNEXPECTED;
}

HRESULT ReadPackedInt(IStream* stream, int* out) {
    unsigned value = 0;
    for (unsigned i = 0; i < kMaxPackedIntBytes; ++i) {
        BYTE b = 0;
        ULONG got = 0;
        HRESULT hr = stream->Read(&b, 1, &got);
        if (FAILED(hr)) return hr;
        if (got != 1) return E_UNEXPECTED;
        value = value * 128 + (b & 0x7F);
        if (!(b & 0x80)) {
            *out = static_cast<int>(value);
            return S_OK;
        }
    }
    return E_UNEXPECTED;  // a form that never ends
}

HRESULT ReadCountedString(IStream* stream, char* buf, unsigned size) {
    int n = 0;
    HRESULT hr = ReadPackedInt(stream, &n);
    if (FAILED(hr)) return hr;
    unsigned len = static_cast<unsigned>(n);
    if (len >= size) return E_OUTOFMEMORY;
    hr = ReadAll(stream, buf, len);
    if (FAILED(hr)) return hr;
    buf[len] = '\0';
    return S_OK;
}

unsigned PackInt(unsigned value, BYTE* buf) {
    BYTE groups[kMaxPackedIntBytes];
    unsigned n = 0;
    do {
        groups[n++] = static_cast<BYTE>(value & 0x7F);
        value >>= 7;
    } while (value);
    for (unsigned i = 0; i < n; ++i)
        buf[i] = static_cast<BYTE>(groups[n - 1 - i] | (i + 1 < n ? 0x80 : 0));
    return n;
}

unsigned UnpackInt(const BYTE* p, const BYTE* end, unsigned* value) {
    unsigned v = 0;
    for (unsigned i = 0; i < kMaxPackedIntBytes && p + i < end; ++i) {
        v = v * 128 + (p[i] & 0x7F);
        if (!(p[i] & 0x80)) {
            *value = v;
            return i + 1;
        }
    }
    return 0;
}

HRESULT WritePackedInt(IStream* stream, unsigned value) {
    BYTE buf[kMaxPackedIntBytes];
    return WriteAll(stream, buf, PackInt(value, buf));
}

HRESULT WriteCountedString(IStream* stream, const char* text, unsigned length) {
    HRESULT hr = WritePackedInt(stream, length);
    if (FAILED(hr)) return hr;
    return length ? WriteAll(stream, text, length) : S_OK;
}
