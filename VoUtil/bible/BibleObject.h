// CBibleObject: what the old and the new bible file share. Both hold containers of
// section titles, verse notes and chapter texts, and a trailer of names, statistics,
// language block and description; they differ in where the verse texts lie (a container
// or a text table) and in the marker a section title may end in ("+" old, a tab new).
// The template serves IBible (CBible) and INewBible (CNewBible) with one body.
#pragma once
#include "Unknown.h"
#include "IBible.h"
#include "IIndexedData.h"
#include "ComPtr.h"
#include <string>

template <class Iface>
class CBibleObject : public CUnknown, public Iface {
public:
    CBibleObject(IUnknown* outer, HRESULT* result, char titleMarker)
        : CUnknown(outer, result), marker_(titleMarker) {}

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // IBible
    HRESULT STDMETHODCALLTYPE GetLangStat(IBibleLangStat** out) override;
    HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) override;
    HRESULT STDMETHODCALLTYPE GetVerseText(int book, int chapter, int verse, BOOL keepMarkup, char* buf,
                                           int len) override;
    HRESULT STDMETHODCALLTYPE HasVerseNote(int book, int chapter, int verse) override;
    HRESULT STDMETHODCALLTYPE GetVerseNote(int book, int chapter, int verse, char* buf, int len) override;
    HRESULT STDMETHODCALLTYPE HasSectionTitle(int book, int chapter, int verse) override;
    HRESULT STDMETHODCALLTYPE GetSectionTitle(int book, int chapter, int verse, char* buf, int len) override;
    HRESULT STDMETHODCALLTYPE GetSectionEnd(int* book, int* chapter, int* verse) override;
    HRESULT STDMETHODCALLTYPE GetChapterSummary(int book, int chapter, char* buf, unsigned len) override;
    HRESULT STDMETHODCALLTYPE LoadChapter(int book, int chapter) override;
    HRESULT STDMETHODCALLTYPE LoadBook(int book) override;
    HRESULT STDMETHODCALLTYPE UnloadChapter(int book, int chapter) override;
    HRESULT STDMETHODCALLTYPE UnloadBook(int book) override;
    HRESULT STDMETHODCALLTYPE GetFilePath(char* buf, int len) override;
    HRESULT STDMETHODCALLTYPE GetBibleName(BOOL longName, char* buf, int len) override;
    HRESULT STDMETHODCALLTYPE GetDescription(char* buf, int len) override;

protected:
    // Opening steps, in file order: the full path, the file, then (after the verse texts)
    // the three containers one from the other's trailing stream and the trailer. The
    // stream that follows the trailer is handed back for what the format adds.
    HRESULT ResolvePath(const char* path);
    HRESULT OpenFile(IStream** out);
    HRESULT OpenTablesAndTrailer(IStream* stream, IStream** rest);
    // Checks a count of entries against the statistics (more than there are positions
    // means the file and its statistics disagree).
    HRESULT CheckVerseEntries(int count) const;
    // The verse texts hold one text (possibly empty) for every verse the statistics count:
    // with fewer or more, every later verse would show another verse's text.
    HRESULT CheckVerseTexts(int count) const;

    // The verse texts of the format: the text of linear verse index cut to len - 1 bytes
    // and terminated (len >= 1), and its whole size without terminator.
    virtual HRESULT ReadVerse(int index, char* buf, int len) = 0;
    virtual HRESULT VerseSize(int index, int* size) = 0;
    // Pins and unpins the verse texts' entries; the new format has nothing to pin.
    virtual HRESULT PinVerses(int first, int count) = 0;
    virtual void UnpinVerses(int first, int count) = 0;

    IIndexedData* Titles() const { return titles_.Get(); }

private:
    // Linear verse index of a valid position, else -1.
    int VerseIndex(int book, int chapter, int verse) const;
    bool ValidChapter(int book, int chapter) const;
    // S_OK when the verse's entry in data is not empty, S_FALSE when it is.
    HRESULT HasEntry(IIndexedData* data, int book, int chapter, int verse) const;
    HRESULT PinChapterVerses(int first, int count);
    void UnpinChapterVerses(int first, int count);
    // The verse's entry in data, for a caller's buffer of len bytes (cleared first).
    HRESULT VerseEntry(IIndexedData* data, int book, int chapter, int verse, char* buf, int len,
                       std::string* text) const;
    // An entry's text cut to at most max bytes.
    static HRESULT EntryText(IIndexedData* data, int index, int max, std::string* out);
    // The text of linear verse index as a caller asked for it.
    HRESULT VerseText(int index, BOOL keepMarkup, char* buf, int len);
    void AppendSummarySections(int book, int chapter, std::string& out, unsigned room);

    char marker_;
    ComPtr<IBibleLangStat> lang_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IIndexedData> titles_, notes_, chapters_;
    char path_[MAX_PATH] = {};
    char longName_[kBibleLongNameSize] = {};
    char shortName_[kBibleShortNameSize] = {};
    std::string description_;
    int bookCount_ = 0;
};

// Copies text into a caller's buffer, cut to len - 1 bytes and terminated.
void CopyCut(char* buf, int len, const char* text, size_t size);
// Removes a leading markup group ("<" ... ">", nesting allowed) and the blanks after it,
// in place; a text whose group is not closed stays as it is.
void RemoveLeadingMarkup(std::string& text);
