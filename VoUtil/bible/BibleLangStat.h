// CBibleLangStat: a statistics object wrapped with its language block. Block layout, after
// a uint16 0xFFFE: int32 size (from this field to the end); the language GUID; int8 alias
// count a; int8 book-name count b; a pairs of bytes (signed first, unsigned second value);
// then zero-terminated strings: the language's name, the a aliases, and for each of the b
// books its name and its second name.
//
// Objects read from streams stand in a library-wide list and are shared by language and
// numbering; the list holds no references. FormatRef and ParseRef live in RefFormat.cpp and
// RefParse.cpp.
#pragma once
#include "Unknown.h"
#include "IBibleLangStat.h"
#include "ComPtr.h"
#include <string>
#include <utility>
#include <vector>

class CBibleLangStat : public CUnknown, public IBibleLangStat {
public:
    // Reads the language block at the stream's position over the given statistics.
    CBibleLangStat(IUnknown* outer, HRESULT* result, IStream* stream, IBibleStat* stat);
    // Builds the block from a source.
    CBibleLangStat(IUnknown* outer, HRESULT* result, IBibleStat* stat, ILangStatSource* source);
    ~CBibleLangStat() override;

    // Reads a block; when a loaded object has the same language over the same numbering,
    // that one is handed out instead, else the new one joins the list.
    static HRESULT OpenShared(IStream* stream, IBibleStat* stat, IBibleLangStat** out);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // IBibleStat, forwarded to the wrapped statistics.
    int STDMETHODCALLTYPE GetBookCount() override { return stat_->GetBookCount(); }
    int STDMETHODCALLTYPE GetChapterCount() override { return stat_->GetChapterCount(); }
    int STDMETHODCALLTYPE GetVerseCount() override { return stat_->GetVerseCount(); }
    int STDMETHODCALLTYPE GetBookId(int book) override { return stat_->GetBookId(book); }
    HRESULT STDMETHODCALLTYPE GetGuid(GUID* out, BOOL versification) override {
        return stat_->GetGuid(out, versification);
    }
    int STDMETHODCALLTYPE GetChaptersInBook(int book) override { return stat_->GetChaptersInBook(book); }
    int STDMETHODCALLTYPE GetVersesInBook(int book) override { return stat_->GetVersesInBook(book); }
    int STDMETHODCALLTYPE GetVersesInChapter(int book, int chapter) override {
        return stat_->GetVersesInChapter(book, chapter);
    }
    int STDMETHODCALLTYPE VerseIndexToRef(int index, int* book, int* chapter, int* verse) override {
        return stat_->VerseIndexToRef(index, book, chapter, verse);
    }
    int STDMETHODCALLTYPE ChapterIndexToRef(int index, int* book, int* chapter) override {
        return stat_->ChapterIndexToRef(index, book, chapter);
    }
    int STDMETHODCALLTYPE RefToVerseIndex(int book, int chapter, int verse) override {
        return stat_->RefToVerseIndex(book, chapter, verse);
    }
    int STDMETHODCALLTYPE RefToChapterIndex(int book, int chapter) override {
        return stat_->RefToChapterIndex(book, chapter);
    }

    // IBibleLangStat
    HRESULT STDMETHODCALLTYPE GetBookName(char* buf, int book) override;
    HRESULT STDMETHODCALLTYPE GetBookAbbreviation(char* buf, int book) override;
    HRESULT STDMETHODCALLTYPE FindBook(const char* text, int* outBook) override;
    int STDMETHODCALLTYPE GetAliasCount() override { return static_cast<int>(aliases_.size()); }
    HRESULT STDMETHODCALLTYPE GetAlias(char* buf, int index) override;
    HRESULT STDMETHODCALLTYPE GetAliasTarget(int index, int* first, int* second) override;
    HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) override;
    HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) override;
    HRESULT STDMETHODCALLTYPE FormatRef(char* buf, int handle, int previousRef, int previousRangeRef, int nextHandle,
                                        BOOL terminate) override;
    HRESULT STDMETHODCALLTYPE ParseRef(char** cursor, int* outHandle, int* contextHandle) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream) override { return stat_->Save(stream); }
    HRESULT STDMETHODCALLTYPE SaveWithLanguage(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE SaveLanguage(IStream* stream) override;

    // Book, chapter and verse of a position; -1 where a level is absent.
    struct Place {
        int book = -1, chapter = -1, verse = -1;
    };

private:
    HRESULT Read(IStream* stream);
    HRESULT Build(ILangStatSource* source);
    // Checks the block and points the name tables into it.
    HRESULT Parse();
    const GUID& LanguageGuid() const { return *reinterpret_cast<const GUID*>(&block_[4]); }
    bool SameLanguage(const CBibleLangStat& other) const;
    static HRESULT CopyName(char* buf, const char* name);

    // Formatting and parsing helpers (RefFormat.cpp, RefParse.cpp).
    Place Split(int position) const;                 // a single position's indices
    Place Context(int handle) const;                 // the part a following reference may leave out
    void WritePlace(std::string& out, const Place& place, const Place& context, bool mayUseV) const;
    class Parser;

    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleHandles> handles_;
    std::vector<BYTE> block_;  // from the size field on
    const char* languageName_ = nullptr;
    std::vector<const char*> aliases_, names_, secondNames_;
    std::vector<std::pair<int, int>> aliasTargets_;
    CBibleLangStat* nextLoaded_ = nullptr;
    bool loaded_ = false;
};
