#include "PosStreamOnFile.h"

const IID IID_IPosStreamOnFile = {0x25828082, 0x25F1, 0x11D0, {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

CPosStreamOnFile::CPosStreamOnFile(IUnknown* outer, HRESULT* result, const char* path, PosStreamMode mode)
    : CUnknown(outer, result) {
    if (FAILED(*result)) return;
    if (!path) {
        *result = E_INVALIDARG;
        return;
    }
    DWORD access = GENERIC_READ, share = FILE_SHARE_READ, disposition = OPEN_EXISTING;
    switch (mode) {
    case kPosStreamRead: break;
    case kPosStreamAppend: access = GENERIC_READ | GENERIC_WRITE; break;
    case kPosStreamCreate:
        access = GENERIC_WRITE;
        share = 0;
        disposition = CREATE_ALWAYS;
        break;
    default: *result = E_INVALIDARG; return;
    }
    file_.Reset(CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        *result = E_INVALIDARG;
        return;
    }
    if (mode == kPosStreamAppend &&
        SetFilePointer(file_.Get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        file_.Reset();
        *result = E_INVALIDARG;
    }
}

HRESULT CPosStreamOnFile::Open(const char* path, PosStreamMode mode, IStream** out) {
    return CreateObjectAs<CPosStreamOnFile>(IID_IPosStreamOnFile, out, path, mode);
}

HRESULT STDMETHODCALLTYPE CPosStreamOnFile::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IPosStreamOnFile) || IsEqualIID(iid, IID_ISequentialStream))
        return GetInterface(static_cast<IStream*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CPosStreamOnFile::Read(void* buf, ULONG n, ULONG* read) {
    if (read) *read = 0;
    if (!file_) return E_INVALIDARG;
    DWORD got = 0;
    BOOL ok = ReadFile(file_.Get(), buf, n, &got, nullptr);
    if (read) *read = got;
    return ok && got == n ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CPosStreamOnFile::Write(const void* buf, ULONG n, ULONG* written) {
    if (written) *written = 0;
    if (!file_) return E_INVALIDARG;
    DWORD put = 0;
    BOOL ok = WriteFile(file_.Get(), buf, n, &put, nullptr);
    if (written) *written = put;
    return ok && put == n ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CPosStreamOnFile::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) {
    if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
    // Files of this library are below 2 GiB: the move must fit a signed 32-bit value.
    LONG low = static_cast<LONG>(move.u.LowPart);
    if (!((move.u.HighPart == 0 && low >= 0) || (move.u.HighPart == -1 && low < 0)))
        return STG_E_INVALIDPOINTER;
    if (!file_) return STG_E_INVALIDPOINTER;
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    SetLastError(NO_ERROR);
    DWORD pos = SetFilePointer(file_.Get(), low, nullptr, methods[origin]);
    if (pos == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return STG_E_INVALIDPOINTER;
    if (newPos) newPos->QuadPart = pos;
    return S_OK;
}
