// The library's own binding of lexicons: references through the language statistics and
// the reference values of their numbering, texts through the collation of the text
// utilities.
#include <cstring>
#include <vector>
#include "ComPtr.h"
#include "LexSupport.h"
#include "RyTextBinding.h"
#include "VarInt.h"
#include "VoUtil.h"

namespace {

class LangStatRefSystem : public LexRefSystem {
public:
    LangStatRefSystem(IBibleLangStat* langStat, IBibleHandles* handles) : langStat_(langStat), handles_(handles) {}

    HRESULT Parse(const char* text, int* ref) override {
        // ParseRef moves a cursor over a text of its own.
        std::vector<char> copy(text, text + strlen(text) + 1);
        char* cursor = copy.data();
        int handle = 0;
        if (langStat_->ParseRef(&cursor, &handle, nullptr) != S_OK) return S_FALSE;
        while (*cursor == ' ' || *cursor == '\t') ++cursor;
        if (*cursor) return S_FALSE;  // only part of the text is a reference
        *ref = handle;
        return S_OK;
    }
    HRESULT Format(int ref, char* buf, size_t size) override {
        char text[kFormatRefBufferSize];
        HRESULT hr = langStat_->FormatRef(text, ref, 0, 0, 0, FALSE);
        if (FAILED(hr)) return hr;
        lstrcpynA(buf, text, static_cast<int>(size));
        return S_OK;
    }
    HRESULT Split(int ref, int* book, int* chapter, int* verse) override {
        return handles_->RefToIndices(ref, book, chapter, verse);
    }
    HRESULT Make(int book, int chapter, int verse, int* ref) override {
        return handles_->MakeRef(ref, book, chapter, verse);
    }
    HRESULT Pack(int ref, std::string& out) override {
        char buf[16];
        char* cursor = buf;
        unsigned remaining = sizeof buf;
        HRESULT hr = handles_->WriteRef(ref, &cursor, &remaining);
        if (FAILED(hr)) return hr;
        out.append(buf, cursor - buf);
        return S_OK;
    }
    HRESULT Unpack(ByteReader& in, int* ref) override {
        char* start = reinterpret_cast<char*>(const_cast<BYTE*>(in.Cursor()));
        char* cursor = start;
        unsigned remaining = static_cast<unsigned>(in.Remaining());
        HRESULT hr = handles_->ReadRef(ref, &cursor, &remaining);
        if (FAILED(hr)) return hr;
        in.Advance(static_cast<size_t>(cursor - start));
        return S_OK;
    }
    HRESULT Save(IStream* stream) override { return langStat_->SaveWithLanguage(stream); }
    HRESULT GetLangStat(IBibleLangStat** out) const override {
        langStat_.CopyTo(out);
        return S_OK;
    }

private:
    ComPtr<IBibleLangStat> langStat_;
    ComPtr<IBibleHandles> handles_;
};

class RyCollation : public LexCollation {
public:
    explicit RyCollation(IRyLanguage* language) : language_(language) {}
    int Compare(const char* a, const char* b) const override {
        long result = 0;
        language_->StringCompare(const_cast<LPSTR>(a), const_cast<LPSTR>(b), &result);
        return result < 0 ? -1 : result > 0 ? 1 : 0;
    }
    HRESULT GetLanguage(IRyLanguage** out) const override {
        language_.CopyTo(out);
        return S_OK;
    }

private:
    ComPtr<IRyLanguage> language_;
};

HRESULT WrapRefSystem(IBibleLangStat* langStat, std::unique_ptr<LexRefSystem>* out) {
    if (!langStat) return E_POINTER;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    HRESULT hr = langStat->GetBibleStat(stat.Put());
    if (SUCCEEDED(hr)) hr = stat.As(IID_IBibleHandles, &handles);
    if (FAILED(hr)) return hr;
    return NoThrow([&] {
        out->reset(new LangStatRefSystem(langStat, handles.Get()));
        return S_OK;
    });
}

HRESULT OpenRefSystem(IStream* stream, std::unique_ptr<LexRefSystem>* out) {
    ComPtr<IBibleLangStat> langStat;
    HRESULT hr = OpenLangStat(stream, langStat.Put());
    if (FAILED(hr)) return hr;
    return WrapRefSystem(langStat.Get(), out);
}

HRESULT CreateCollation(const char* name, std::unique_ptr<LexCollation>* out) {
    ComPtr<IRyLanguage> language;
    HRESULT hr = CreateRyLanguage(name, language.Put());
    if (FAILED(hr)) return hr;
    return NoThrow([&] {
        out->reset(new RyCollation(language.Get()));
        return S_OK;
    });
}

const LexBinding kBinding = {OpenRefSystem, WrapRefSystem, CreateCollation};

}  // namespace

const LexBinding& DefaultLexBinding() { return kBinding; }
