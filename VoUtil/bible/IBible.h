// IBible and INewBible: one opened bible translation. Verse texts and the further texts
// kept per verse and chapter (section titles, verse notes, chapter texts), the names and
// description, the statistics and language block; INewBible adds the display value, the
// companion ".inf" file and the verse text table of the new format.
#pragma once
#include <windows.h>
#include <objidl.h>
#include "IBibleLangStat.h"

// {54802FE0-43AB-11D0-9681-444553540000}
inline const IID IID_IBible = {0x54802FE0, 0x43AB, 0x11D0, {0x96, 0x81, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {0380AA47-39BA-4688-916F-EE21990B9BA7}
inline const IID IID_INewBible = {0x0380AA47, 0x39BA, 0x4688, {0x91, 0x6F, 0xEE, 0x21, 0x99, 0x0B, 0x9B, 0xA7}};

// Field sizes of the trailer, terminator included.
constexpr int kBibleLongNameSize = 64;
constexpr int kBibleShortNameSize = 16;
constexpr int kBibleDescriptionSize = 4096;
// The display value a new-format file reports when it stores none.
constexpr int kDefaultDisplayValue = 10;

// Positions are zero-based book, chapter and verse; an invalid one answers E_INVALIDARG.
// Text results are cut to len - 1 bytes and terminated.
struct IBible : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetLangStat(IBibleLangStat** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) = 0;
    // Without keepMarkup a leading "<...>" group (groups may nest) and the blanks after it
    // are removed.
    virtual HRESULT STDMETHODCALLTYPE GetVerseText(int book, int chapter, int verse, BOOL keepMarkup, char* buf,
                                                   int len) = 0;
    // S_OK when the verse has a note, S_FALSE when not.
    virtual HRESULT STDMETHODCALLTYPE HasVerseNote(int book, int chapter, int verse) = 0;
    // S_FALSE (and an empty text) when the verse has no note.
    virtual HRESULT STDMETHODCALLTYPE GetVerseNote(int book, int chapter, int verse, char* buf, int len) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasSectionTitle(int book, int chapter, int verse) = 0;
    // The title that begins at the verse, without its markers; S_FALSE when none.
    virtual HRESULT STDMETHODCALLTYPE GetSectionTitle(int book, int chapter, int verse, char* buf, int len) = 0;
    // In and out: the last verse of the section the given verse lies in.
    virtual HRESULT STDMETHODCALLTYPE GetSectionEnd(int* book, int* chapter, int* verse) = 0;
    // The chapter's section titles with their verse ranges, its chapter text, or the
    // start of its first verse.
    virtual HRESULT STDMETHODCALLTYPE GetChapterSummary(int book, int chapter, char* buf, unsigned len) = 0;
    // Pin the entries of a chapter or book in memory (old format); pair with the unloads.
    virtual HRESULT STDMETHODCALLTYPE LoadChapter(int book, int chapter) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadBook(int book) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnloadChapter(int book, int chapter) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnloadBook(int book) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFilePath(char* buf, int len) = 0;
    // TRUE: the long name; FALSE: the short name.
    virtual HRESULT STDMETHODCALLTYPE GetBibleName(BOOL longName, char* buf, int len) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDescription(char* buf, int len) = 0;
};

struct INewBible : public IBible {
    virtual HRESULT STDMETHODCALLTYPE GetTrailerValue(int* out) = 0;
    // S_OK when the bible has section titles at all, S_FALSE when not.
    virtual HRESULT STDMETHODCALLTYPE HasSectionTitles() = 0;
    // The companion file: the bible's path with "inf" after its last "."; S_FALSE (and an
    // empty text) when it can't be opened.
    virtual HRESULT STDMETHODCALLTYPE ReadInfoFile(char* buf, int len) = 0;
    // The verse text table (an IRyTextTab) with one added reference.
    virtual HRESULT STDMETHODCALLTYPE GetTextTable(IUnknown** out) = 0;
};
