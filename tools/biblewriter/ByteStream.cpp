#include "ByteStream.h"
#include <cstring>

HRESULT STDMETHODCALLTYPE ByteStream::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
        *out = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ByteStream::Release() {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT STDMETHODCALLTYPE ByteStream::Read(void* buf, ULONG n, ULONG* read) {
    size_t avail = pos_ < bytes_.size() ? bytes_.size() - pos_ : 0;
    size_t take = n < avail ? n : avail;
    if (take) memcpy(buf, bytes_.data() + pos_, take);
    pos_ += take;
    if (read) *read = static_cast<ULONG>(take);
    return take == n ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE ByteStream::Write(const void* buf, ULONG n, ULONG* written) {
    if (written) *written = 0;
    try {
        if (pos_ + n > bytes_.size()) bytes_.resize(pos_ + n);
    } catch (...) {
        return STG_E_MEDIUMFULL;
    }
    if (n) memcpy(&bytes_[pos_], buf, n);
    pos_ += n;
    if (written) *written = n;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ByteStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) {
    long long base = 0;
    if (origin == STREAM_SEEK_CUR) base = static_cast<long long>(pos_);
    else if (origin == STREAM_SEEK_END) base = static_cast<long long>(bytes_.size());
    else if (origin != STREAM_SEEK_SET) return STG_E_INVALIDFUNCTION;
    long long to = base + move.QuadPart;
    if (to < 0) return STG_E_INVALIDFUNCTION;
    pos_ = static_cast<size_t>(to);
    if (newPos) newPos->QuadPart = static_cast<ULONGLONG>(to);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ByteStream::SetSize(ULARGE_INTEGER size) {
    try {
        bytes_.resize(static_cast<size_t>(size.QuadPart));
    } catch (...) {
        return STG_E_MEDIUMFULL;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ByteStream::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    ZeroMemory(stat, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_.size();
    return S_OK;
}
