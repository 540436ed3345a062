#include "BibleRefLib.h"
#include "VersificationConverter.h"
#include "RefList.h"
#include "PackedRef.h"
#include "VoUtil.h"
#include <algorithm>
#include <cstring>

CBibleRefLib::CBibleRefLib(IUnknown* outer, HRESULT* result, const char* path, CVersificationConverter* converter)
    : CUnknown(outer, result), converter_(converter) {
    if (FAILED(*result)) return;
    *result = Open(path);
}

HRESULT CBibleRefLib::Open(const char* path) {
    if (!path || !converter_) return E_INVALIDARG;
    const size_t length = strlen(path);
    if (length >= sizeof path_) return E_INVALIDARG;
    memcpy(path_, path, length + 1);
    // The name: the file name without its folder, at most 31 characters, up to its first ".".
    const char* file = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') file = p + 1;
    lstrcpynA(name_, file, sizeof name_);
    if (char* dot = strchr(name_, '.')) *dot = '\0';

    ComPtr<IStream> trailer;
    HRESULT hr = OpenRefFileParts(path, &data_, &trailer, &stat_, &handles_);
    if (FAILED(hr)) return hr;
    // Entry v holds the references of verse v: one entry for every verse the statistics
    // count, or every later verse would get another verse's references.
    int entries = 0;
    if (FAILED(hr = data_->GetCount(&entries))) return hr;
    if (entries != stat_->GetVerseCount()) return E_UNEXPECTED;
    return stat_->GetGuid(&identity_, FALSE);
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IBibleRefLib)) return GetInterface(static_cast<IBibleRefLib*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

// Statistics are shared by identity, so one identity is one numbering.
bool CBibleRefLib::SameNumbering(IBibleStat* bible) const {
    GUID identity = {};
    bible->GetGuid(&identity, FALSE);
    return IsEqualGUID(identity, identity_) != 0;
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::IsCompatible(IBibleStat* bible) {
    if (!bible) return E_POINTER;
    return converter_->CanConvert(bible, stat_.Get()) == S_OK && converter_->CanConvert(stat_.Get(), bible) == S_OK
               ? S_OK
               : S_FALSE;
}

HRESULT CBibleRefLib::ReadEntries(int first, int count, BYTE* buf, unsigned* used) {
    *used = 0;
    for (int i = first; i < first + count && *used < kRefLibBufferSize; ++i) {
        int size = 0;
        HRESULT hr = data_->GetEntrySize(i, &size);
        if (FAILED(hr)) return hr;
        if (size <= 0) continue;
        const unsigned room = kRefLibBufferSize - *used;
        const unsigned take = std::min(static_cast<unsigned>(size), room);
        hr = data_->ReadEntry(i, 0, buf + *used, static_cast<int>(take));
        if (FAILED(hr)) return hr;
        if (take == static_cast<unsigned>(size)) {
            *used += take;
            continue;
        }
        // The buffer is full: keep the whole references of the part that fitted.
        unsigned whole = 0;
        int handle = 0;
        while (unsigned n = UnpackRef(buf + *used + whole, take - whole, &handle)) whole += n;
        *used += whole;
        break;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::GetVerseRefs(IBibleStat* bible, int book, int chapter, int verse,
                                                     int* outHandles, int maxHandles, unsigned* outCount) {
    if (!outCount) return E_POINTER;
    *outCount = 0;
    if (!bible || (maxHandles > 0 && !outHandles)) return E_POINTER;
    if (IsCompatible(bible) != S_OK) return E_INVALIDARG;
    const bool same = SameNumbering(bible);
    int end = verse;
    if (!same && converter_->ConvertBibleIndex(bible, stat_.Get(), &book, &chapter, &verse, &end) != S_OK)
        return S_FALSE;
    const int first = stat_->RefToVerseIndex(book, chapter, verse);
    if (first < 0) return E_UNEXPECTED;
    int count = 1;
    if (end > verse) {
        const int last = stat_->RefToVerseIndex(book, chapter, end);
        if (last > first) count = std::min(last - first + 1, kRefLibMaxVerses);
    }
    BYTE buf[kRefLibBufferSize];
    unsigned used = 0;
    HRESULT hr = ReadEntries(first, count, buf, &used);
    if (FAILED(hr)) return hr;
    if (used == 0) return S_FALSE;
    char* cursor = reinterpret_cast<char*>(buf);
    unsigned remaining = used;
    while (static_cast<int>(*outCount) < maxHandles && remaining > 0) {
        int handle = 0;
        hr = handles_->ReadRef(&handle, &cursor, &remaining);
        if (FAILED(hr)) return hr;
        if (!same && converter_->ConvertRef(stat_.Get(), bible, handle, &handle) != S_OK) continue;
        outHandles[(*outCount)++] = handle;
    }
    return S_OK;
}

HRESULT CBibleRefLib::VerseSpan(IBibleStat* bible, int book, int chapter, int* first, int* count) {
    if (!bible) return E_POINTER;
    if (IsCompatible(bible) != S_OK) return E_INVALIDARG;
    if (!SameNumbering(bible)) {
        int verse = -1, end = -1;
        converter_->ConvertBibleIndex(bible, stat_.Get(), &book, &chapter, &verse, &end);
    }
    if (book == -1) {
        *first = 0;
        *count = stat_->GetVerseCount();
        return S_OK;
    }
    if (book < 0 || book >= stat_->GetBookCount()) return E_INVALIDARG;
    if (chapter == -1) {
        *first = stat_->RefToVerseIndex(book, 0, 0);
        *count = stat_->GetVersesInBook(book);
    } else {
        *first = stat_->RefToVerseIndex(book, chapter, 0);
        *count = *first < 0 ? 0 : stat_->GetVersesInChapter(book, chapter);
    }
    return *first < 0 ? E_INVALIDARG : S_OK;
}

HRESULT CBibleRefLib::Pin(IBibleStat* bible, int book, int chapter, bool load) {
    int first = 0, count = 0;
    HRESULT hr = VerseSpan(bible, book, chapter, &first, &count);
    if (FAILED(hr)) return hr;
    hr = load ? data_->LoadEntries(first, count) : data_->UnloadEntries(first, count);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::LoadRefs(IBibleStat* bible, int book, int chapter) {
    return Pin(bible, book, chapter, true);
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::UnloadRefs(IBibleStat* bible, int book, int chapter) {
    return Pin(bible, book, chapter, false);
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::GetFilePath(char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len > 0) lstrcpynA(buf, path_, len);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleRefLib::GetName(char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len > 0) lstrcpynA(buf, name_, len);
    return S_OK;
}

HRESULT OpenBibleRefLib(const char* path, CVersificationConverter* converter, IBibleRefLib** out) {
    return CreateObjectAs<CBibleRefLib>(IID_IBibleRefLib, out, path, converter);
}
