#include "VarInt.h"
#include <new>

unsigned EncodeVarInt(int value, BYTE* buf) {
    // The fewest 7-bit groups that hold the value with its sign.
    unsigned groups = 1;
    while (groups < kMaxVarIntBytes) {
        long long limit = 1LL << (7 * groups - 1);
        if (value >= -limit && value < limit) break;
        ++groups;
    }
    for (unsigned i = 0; i < groups; ++i) {
        unsigned shift = 7 * (groups - 1 - i);
        BYTE group = static_cast<BYTE>((static_cast<long long>(value) >> shift) & 0x7F);
        buf[i] = static_cast<BYTE>(group | (i + 1 < groups ? 0x80 : 0));
    }
    return groups;
}

void AppendVarInt(std::string& out, int value) {
    BYTE buf[kMaxVarIntBytes];
    unsigned n = EncodeVarInt(value, buf);
    out.append(reinterpret_cast<const char*>(buf), n);
}

HRESULT ByteReader::VarInt(int* out) {
    if (p_ >= end_) return E_FAIL;
    BYTE b = *p_++;
    unsigned value = b & 0x7F;
    if (value & 0x40) value |= ~0x7Fu;  // sign-extend the first group
    for (unsigned n = 1; b & 0x80; ++n) {
        if (n >= kMaxVarIntBytes || p_ >= end_) return E_FAIL;
        b = *p_++;
        value = (value << 7) | (b & 0x7F);
    }
    *out = static_cast<int>(value);
    return S_OK;
}

HRESULT ByteReader::Byte(BYTE* out) {
    if (p_ >= end_) return E_FAIL;
    *out = *p_++;
    return S_OK;
}

HRESULT ByteReader::Bytes(size_t n, const BYTE** out) {
    if (n > Remaining()) return E_FAIL;
    *out = p_;
    p_ += n;
    return S_OK;
}

HRESULT ReadWholeStream(IStream* stream, ULONG maxSize, std::string* out) {
    STATSTG st = {};
    HRESULT hr = stream->Stat(&st, STATFLAG_NONAME);
    if (FAILED(hr)) return hr;
    if (st.cbSize.QuadPart > maxSize) return E_FAIL;
    LARGE_INTEGER zero = {};
    hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) return hr;
    ULONG size = static_cast<ULONG>(st.cbSize.QuadPart);
    return NoThrow([&] {
        out->assign(size, '\0');
        if (!size) return S_OK;
        ULONG got = 0;
        HRESULT rhr = stream->Read(&(*out)[0], size, &got);
        if (FAILED(rhr)) return rhr;
        return got == size ? S_OK : E_FAIL;
    });
}

HRESULT ReplaceStreamContent(IStream* stream, const std::string& bytes) {
    LARGE_INTEGER zero = {};
    HRESULT hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) return hr;
    if (!bytes.empty()) {
        ULONG put = 0;
        hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &put);
        if (FAILED(hr)) return hr;
        if (put != bytes.size()) return E_FAIL;
    }
    ULARGE_INTEGER size;
    size.QuadPart = bytes.size();
    return stream->SetSize(size);
}
