// CBibleStat: a statistics block and the tables derived from it, as the IBibleStat and
// IBibleStatBuilder parts of the object that owns it (CBibleHandles). Block layout, after
// a uint16 0xFFFE: int32 size (from this field to the end, 40 + 5n + C); GUID identity;
// GUID versification; int32 n; n int32 book identifiers; n uint8 chapter counts; C uint8
// verse counts, every chapter of every book in order.
#pragma once
#include "IBibleStat.h"
#include "SortableTable.h"
#include <vector>

class CBibleStat : public IBibleStat, public IBibleStatBuilder {
public:
    explicit CBibleStat(IUnknown* owner) : owner_(owner) {}
    CBibleStat(const CBibleStat&) = delete;
    CBibleStat& operator=(const CBibleStat&) = delete;

    // Reads one block at the stream's position and builds the tables; E_INVALIDARG for a
    // short read or a block whose counts disagree or break the numbering.
    HRESULT Read(IStream* stream);
    // Starts an empty block for bookCount books, filled by AddBook.
    HRESULT StartBuilding(const GUID& identity, const GUID& versification, int bookCount);
    bool IsComplete() const { return complete_; }
    const GUID& Identity() const { return *reinterpret_cast<const GUID*>(&block_[4]); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return owner_->QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

    // IBibleStat
    int STDMETHODCALLTYPE GetBookCount() override { return books_; }
    int STDMETHODCALLTYPE GetChapterCount() override { return chapters_; }
    int STDMETHODCALLTYPE GetVerseCount() override { return verses_; }
    int STDMETHODCALLTYPE GetBookId(int book) override;
    HRESULT STDMETHODCALLTYPE GetGuid(GUID* out, BOOL versification) override;
    int STDMETHODCALLTYPE GetChaptersInBook(int book) override;
    int STDMETHODCALLTYPE GetVersesInBook(int book) override;
    int STDMETHODCALLTYPE GetVersesInChapter(int book, int chapter) override;
    int STDMETHODCALLTYPE VerseIndexToRef(int verseIndex, int* book, int* chapter, int* verse) override;
    int STDMETHODCALLTYPE ChapterIndexToRef(int chapterIndex, int* book, int* chapter) override;
    int STDMETHODCALLTYPE RefToVerseIndex(int book, int chapter, int verse) override;
    int STDMETHODCALLTYPE RefToChapterIndex(int book, int chapter) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream) override;

    // IBibleStatBuilder
    HRESULT STDMETHODCALLTYPE AddBook(int bookId, int chapterCount, const int* versesPerChapter) override;

    // Linear chapter index of a book's first chapter, and the same for verses.
    int FirstChapter(int book) const { return bookFirstChapter_[book]; }
    int FirstVerse(int book) const { return bookFirstVerse_[book]; }
    int ChapterFirstVerse(int chapter) const { return chapterFirstVerse_[chapter]; }

private:
    // An ascending table of first indices; a key finds the last element not above it.
    struct FirstIndexTable : ISortableTable {
        const WORD* firsts;
        int Compare(int key, int position) override {
            return key < firsts[position] ? -1 : key > firsts[position] ? 1 : 0;
        }
        int Containing(int key, int count) {
            int position = 0;
            return BinarySearchTable(&position, key, this, 0, count) ? position : position - 1;
        }
    };

    const BYTE* ChapterCounts() const { return &block_[40 + 4 * books_]; }
    const BYTE* VerseCounts() const { return &block_[40 + 5 * books_]; }
    bool ValidBook(int book) const { return book >= 0 && book < books_; }
    HRESULT BuildTables();

    IUnknown* owner_;
    std::vector<BYTE> block_;  // from the size field on
    int books_ = 0, chapters_ = 0, verses_ = 0;
    int booksAdded_ = 0;
    bool complete_ = false;
    std::vector<WORD> bookFirstChapter_, bookFirstVerse_;  // n + 1 each, the last = C, V
    std::vector<WORD> chapterFirstVerse_;                  // C + 1, the last = V
};
