// Opening and reading the old and the new bible file, and the exports that open them.
#include "Bible.h"
#include "PackedIO.h"
#include "LeadingRecord.h"
#include "Handles.h"
#include "TextUtilsBinding.h"
#include "RyTextUtilsIdl.h"
#include "VoUtil.h"
#include <cstring>
#include <vector>

// ---- Old format ------------------------------------------------------------------------

CBible::CBible(IUnknown* outer, HRESULT* result, const char* path) : CBibleObject<IBible>(outer, result, '+') {
    HRESULT hr = Open(path);
    if (result) *result = hr;
}

HRESULT CBible::Open(const char* path) {
    HRESULT hr = ResolvePath(path);
    ComPtr<IStream> stream, rest;
    if (SUCCEEDED(hr)) hr = OpenFile(stream.Put());
    if (SUCCEEDED(hr)) hr = OpenIndexedDataOnStream(stream.Get(), verses_.Put());
    ComPtr<IStream> next;
    if (SUCCEEDED(hr)) hr = verses_->GetTrailingStream(next.Put());
    if (SUCCEEDED(hr)) hr = OpenTablesAndTrailer(next.Get(), rest.Put());
    int count = 0;
    if (SUCCEEDED(hr)) hr = verses_->GetCount(&count);
    if (SUCCEEDED(hr)) hr = CheckVerseTexts(count);
    return hr;
}

HRESULT CBible::VerseSize(int index, int* size) {
    return verses_->GetEntrySize(index, size);
}

HRESULT CBible::ReadVerse(int index, char* buf, int len) {
    buf[0] = '\0';
    int size = 0;
    HRESULT hr = verses_->GetEntrySize(index, &size);
    if (FAILED(hr) || size <= 0) return hr;
    if (size > len - 1) size = len - 1;
    if (size > 0 && FAILED(hr = verses_->ReadEntry(index, 0, buf, size))) return hr;
    buf[size] = '\0';
    return S_OK;
}

// ---- New format ------------------------------------------------------------------------

CNewBible::CNewBible(IUnknown* outer, HRESULT* result, const char* path)
    : CBibleObject<INewBible>(outer, result, '\t') {
    HRESULT hr = Open(path);
    if (result) *result = hr;
}

HRESULT CNewBible::Open(const char* path) {
    HRESULT hr = ResolvePath(path);
    ComPtr<IStream> stream, rest;
    if (SUCCEEDED(hr)) hr = OpenFile(stream.Put());
    if (SUCCEEDED(hr)) hr = SkipLeadingRecord(stream.Get());
    if (SUCCEEDED(hr)) hr = LoadTextTable(stream.Get());
    if (SUCCEEDED(hr)) hr = OpenTablesAndTrailer(stream.Get(), rest.Put());
    if (SUCCEEDED(hr)) hr = CheckVerseTexts(textCount_);
    if (FAILED(hr)) return hr;
    int value = 0;
    displayValue_ = NormaliseDisplayValue(SUCCEEDED(ReadPackedInt(rest.Get(), &value))
                                              ? static_cast<unsigned>(value)
                                              : static_cast<unsigned>(kDefaultDisplayValue));
    return S_OK;
}

HRESULT CNewBible::SkipLeadingRecord(IStream* stream) {
    char digits[kLeadingRecordDigits];
    unsigned length = 0;
    if (FAILED(ReadAll(stream, digits, sizeof digits))) return E_FAIL;
    if (!ParseLeadingRecordLength(digits, &length)) return E_FAIL;
    std::vector<char> rest(length ? length : 1);
    if (length && FAILED(ReadAll(stream, rest.data(), length))) return E_FAIL;
    return S_OK;
}

HRESULT CNewBible::LoadTextTable(IStream* stream) {
    HRESULT hr = CreateTextTabObject(reinterpret_cast<void**>(table_.Put()));
    if (FAILED(hr)) return hr;
    ComPtr<IPersistStream> persist;
    if (FAILED(hr = table_.As(IID_IPersistStream, &persist))) return hr;
    if (FAILED(hr = persist->Load(stream))) return hr;
    long count = 0;
    if (FAILED(hr = table_->get_TextCount(&count))) return hr;
    textCount_ = static_cast<int>(count);
    return S_OK;
}

int CNewBible::NormaliseDisplayValue(unsigned v) {
    unsigned h = 1;
    while (h <= v / 2) h <<= 1;  // the largest power of two not above v (1 below 2)
    if (h == 8) return static_cast<int>(v);
    return static_cast<int>((v & (h - 1)) | (10u & ~(h - 1)));
}

HRESULT STDMETHODCALLTYPE CNewBible::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_INewBible)) return GetInterface(static_cast<INewBible*>(this), out);
    return CBibleObject<INewBible>::NonDelegatingQueryInterface(iid, out);
}

HRESULT CNewBible::VerseSize(int index, int* size) {
    *size = 0;
    if (index >= textCount_) return S_OK;
    long length = 0;
    HRESULT hr = table_->get_TextLength(index, &length);
    if (FAILED(hr)) return hr;
    *size = length > 0 ? static_cast<int>(length - 1) : 0;
    return S_OK;
}

HRESULT CNewBible::ReadVerse(int index, char* buf, int len) {
    buf[0] = '\0';
    if (index >= textCount_) return S_OK;
    HRESULT hr = table_->get_Text(index, len, buf);
    return FAILED(hr) ? hr : S_OK;  // S_FALSE: cut to the buffer, as asked
}

HRESULT STDMETHODCALLTYPE CNewBible::GetTrailerValue(int* out) {
    if (!out) return E_POINTER;
    *out = displayValue_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CNewBible::HasSectionTitles() {
    int count = 0;
    HRESULT hr = Titles()->GetCount(&count);
    if (FAILED(hr)) return hr;
    return count > 0 ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CNewBible::ReadInfoFile(char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len <= 0) return E_INVALIDARG;
    buf[0] = '\0';
    char path[MAX_PATH + 4];
    GetFilePath(path, MAX_PATH);
    char* dot = strrchr(path, '.');
    char* slash = strrchr(path, '\\');
    if (dot && (!slash || dot > slash)) dot[1] = '\0';
    else strcat(path, ".");
    strcat(path, "inf");
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return S_FALSE;
    DWORD total = 0;
    const DWORD want = static_cast<DWORD>(len - 1);
    while (total < want) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buf + total, want - total, &got, nullptr)) {
            buf[0] = '\0';
            return E_FAIL;
        }
        if (got == 0) break;
        total += got;
    }
    buf[total] = '\0';
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CNewBible::GetTextTable(IUnknown** out) {
    if (!out) return E_POINTER;
    *out = table_.Get();
    (*out)->AddRef();
    return S_OK;
}

// ---- Exports ---------------------------------------------------------------------------

extern "C" HRESULT __stdcall OpenBibleFile(const char* path, IBible** out) {
    return CreateObjectAs<CBible>(IID_IBible, out, path);
}

extern "C" HRESULT __stdcall OpenNewBibleFile(const char* path, INewBible** out) {
    return CreateObjectAs<CNewBible>(IID_INewBible, out, path);
}
