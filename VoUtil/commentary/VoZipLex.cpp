#include "VoZipLex.h"
#include "LeadingRecord.h"
#include "TextUtilsBinding.h"
#include "UserLexFormat.h"
#include "VarInt.h"
#include "ZipLexFormat.h"

namespace {

constexpr DWORD kReadStream = STGM_READ | STGM_SHARE_EXCLUSIVE;

// Reads exactly size bytes; a short read is E_FAIL.
HRESULT ReadExactly(IStream* stream, void* buffer, ULONG size) {
    ULONG got = 0;
    HRESULT hr = stream->Read(buffer, size, &got);
    if (FAILED(hr)) return hr;
    return got == size ? S_OK : E_FAIL;
}

// Moves the stream past the leading record before the text table. The record is read, not
// sought over, so that a record longer than the stream is a short read.
HRESULT SkipLeadingRecord(IStream* stream) {
    char digits[kLeadingRecordDigits];
    unsigned length = 0;
    HRESULT hr = ReadExactly(stream, digits, sizeof digits);
    if (FAILED(hr)) return hr;
    if (!ParseLeadingRecordLength(digits, &length)) return E_FAIL;
    return NoThrow([&] {
        std::string content(length, '\0');
        return length ? ReadExactly(stream, &content[0], length) : S_OK;
    });
}

}  // namespace

VoZipLex::VoZipLex(IUnknown* outer, HRESULT* result, const LexBinding& binding)
    : VoLexiconBase(outer, result, binding) {}

HRESULT STDMETHODCALLTYPE VoZipLex::GetLexiconType(int* type) {
    if (!type) return E_POINTER;
    *type = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::IsTextOpen(VARIANT_BOOL* open) {
    if (!open) return E_POINTER;
    *open = textOpenCount_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::IsOpenReadOnly(VARIANT_BOOL* readOnly) {
    if (!readOnly) return E_POINTER;
    *readOnly = VARIANT_TRUE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::GetAccess(int* flags) {
    if (!flags) return E_POINTER;
    *flags = kLexNoChanges | kLexTextsScrambled;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::GetProtection(int* level) {
    if (!level) return E_POINTER;
    *level = kLexNoChanges | kLexTextsScrambled;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::AddEntry(const char*, int* id) {
    if (id) *id = 0;
    return E_ACCESSDENIED;
}

// ---- Loading ----

HRESULT STDMETHODCALLTYPE VoZipLex::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    if (storage_ || IsLoaded()) return E_UNEXPECTED;
    return NoThrow([&] {
        ComPtr<IStream> names, stat;
        HRESULT hr = storage->OpenStream(kZipNamesStream, nullptr, kReadStream, 0, names.Put());
        if (SUCCEEDED(hr)) hr = storage->OpenStream(kZipStatStream, nullptr, kReadStream, 0, stat.Put());
        if (FAILED(hr)) return hr;

        std::unique_ptr<LexRefSystem> refs;
        hr = binding_.openRefSystem(stat.Get(), &refs);
        if (FAILED(hr)) return hr;
        std::string bytes;
        ZipLexNames decoded;
        hr = ReadWholeStream(names.Get(), kMaxStreamBytes, &bytes);
        if (SUCCEEDED(hr)) hr = DecodeNamesStream(bytes, *refs, &decoded);
        if (FAILED(hr)) return hr;
        std::unique_ptr<LexCollation> collation;
        hr = binding_.createCollation(decoded.language.c_str(), &collation);
        if (FAILED(hr)) return hr;
        // The searches are binary: a list out of order would answer wrong entries.
        hr = CheckStrictKeyOrder(decoded.keys, KeyOrder(collation.get(), refs.get()));
        if (SUCCEEDED(hr)) hr = list_.Assign(std::move(decoded.keys), std::move(decoded.words));
        if (FAILED(hr)) return hr;
        rows_ = decoded.rows;

        refs_ = std::move(refs);
        collation_ = std::move(collation);
        KeepStorage(storage);
        return S_OK;
    });
}

// ---- Article text ----

HRESULT VoZipLex::LoadText(IRyTextTab** out) {
    if (!storage_) return E_UNEXPECTED;
    ComPtr<IStream> stream;
    HRESULT hr = storage_->OpenStream(kZipTextStream, nullptr, kReadStream, 0, stream.Put());
    if (SUCCEEDED(hr)) hr = SkipLeadingRecord(stream.Get());
    if (FAILED(hr)) return hr;
    ComPtr<IRyTextTab> table;
    ComPtr<IPersistStream> persist;
    hr = CreateTextTabObject(table.PutVoid());
    if (SUCCEEDED(hr)) hr = table.As(IID_IPersistStream, &persist);
    if (SUCCEEDED(hr)) hr = persist->Load(stream.Get());
    long texts = 0;
    if (SUCCEEDED(hr)) hr = table->get_TextCount(&texts);
    if (FAILED(hr)) return hr;
    // The table holds one text for each row the entry list counts; another number means
    // the two streams are not of one lexicon.
    if (static_cast<DWORD>(texts) != rows_) return E_FAIL;
    *out = table.Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::OpenText() {
    if (textOpenCount_ == 0) {
        ComPtr<IRyTextTab> table;
        HRESULT hr = LoadText(table.Put());
        if (FAILED(hr)) return hr;
        text_ = std::move(table);
    }
    ++textOpenCount_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::CloseText() {
    if (textOpenCount_ == 0) return E_UNEXPECTED;
    if (--textOpenCount_ == 0) text_.Reset();
    return S_OK;
}

HRESULT VoZipLex::RowOf(int id, long* row) const {
    int number = 0;
    HRESULT hr = ArticleNumber(id, &number);
    if (FAILED(hr)) return hr;
    *row = static_cast<long>(IndexValue(list_.IndexWord(number)));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoZipLex::GetEntryText(int id, char* buffer, int max) {
    if (!buffer) return E_POINTER;
    long row = 0;
    HRESULT hr = RowOf(id, &row);
    if (FAILED(hr)) return hr;
    if (!text_) return E_FAIL;
    return text_->get_Text(row, max, buffer);
}

HRESULT STDMETHODCALLTYPE VoZipLex::GetEntryTextLength(int id, int* length) {
    if (!length) return E_POINTER;
    long row = 0;
    HRESULT hr = RowOf(id, &row);
    if (FAILED(hr)) return hr;
    if (!text_) return E_FAIL;
    long n = 0;
    hr = text_->get_TextLength(row, &n);
    if (SUCCEEDED(hr)) *length = static_cast<int>(n);
    return hr;
}
