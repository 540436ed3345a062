// CBible and CNewBible: the two bible file formats behind IBible.
//
// Old format, from the start of the file: a container of verse texts (entry i = linear
// verse i); in its trailing stream a container of section titles, in that one's a
// container of verse notes, in that one's a container of chapter texts; in that one's the
// trailer: counted strings long name (< 64 bytes) and short name (< 16), the statistics
// and language blocks, a counted string description (< 4,096).
//
// New format (".vrsb"): a leading record (LeadingRecord.h), skipped; a text table of the
// verse texts (RyTxtUtl.dll); the titles, notes and chapter-text containers and the
// trailer as above; then a packed integer, the display value.
#pragma once
#include "BibleObject.h"
#include "RyTextUtilsIdl.h"

class CBible : public CBibleObject<IBible> {
public:
    CBible(IUnknown* outer, HRESULT* result, const char* path);

protected:
    HRESULT ReadVerse(int index, char* buf, int len) override;
    HRESULT VerseSize(int index, int* size) override;
    HRESULT PinVerses(int first, int count) override { return verses_->LoadEntries(first, count); }
    void UnpinVerses(int first, int count) override { verses_->UnloadEntries(first, count); }

private:
    HRESULT Open(const char* path);

    ComPtr<IIndexedData> verses_;
};

class CNewBible : public CBibleObject<INewBible> {
public:
    CNewBible(IUnknown* outer, HRESULT* result, const char* path);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // INewBible
    HRESULT STDMETHODCALLTYPE GetTrailerValue(int* out) override;
    HRESULT STDMETHODCALLTYPE HasSectionTitles() override;
    HRESULT STDMETHODCALLTYPE ReadInfoFile(char* buf, int len) override;
    HRESULT STDMETHODCALLTYPE GetTextTable(IUnknown** out) override;

    // The display value as a reader shows it: 8-15 stay, others are folded into that
    // range or below it (0-2 become 10, 3 becomes 11, 16 becomes 0).
    static int NormaliseDisplayValue(unsigned value);

protected:
    HRESULT ReadVerse(int index, char* buf, int len) override;
    HRESULT VerseSize(int index, int* size) override;
    HRESULT PinVerses(int, int) override { return S_OK; }
    void UnpinVerses(int, int) override {}

private:
    HRESULT Open(const char* path);
    HRESULT SkipLeadingRecord(IStream* stream);
    HRESULT LoadTextTable(IStream* stream);

    ComPtr<IRyTextTab> table_;
    int textCount_ = 0;
    int displayValue_ = kDefaultDisplayValue;
};
