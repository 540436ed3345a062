#include "BibleStat.h"
#include "SizedBlock.h"
#include <cstring>
#include <new>

namespace {
constexpr int kFixedBlockBytes = 40;  // size, two GUIDs, book count
constexpr int kMaxPerLevel = 255;     // chapters per book, verses per chapter (one byte each)
}

HRESULT CBibleStat::Read(IStream* stream) {
    // The largest numbering that fits the positions: every position a book is the most bytes.
    HRESULT hr = ReadSizedBlock(stream, kFixedBlockBytes, kFixedBlockBytes + 5 * kMaxRefPositions, &block_);
    if (FAILED(hr)) return hr;
    const int size = static_cast<int>(block_.size());
    INT32 n = 0;
    memcpy(&n, &block_[36], 4);
    if (n < 1 || n > (size - kFixedBlockBytes) / 5) return E_INVALIDARG;
    books_ = n;
    booksAdded_ = n;
    chapters_ = size - kFixedBlockBytes - 5 * n;
    return BuildTables();
}

HRESULT CBibleStat::StartBuilding(const GUID& identity, const GUID& versification, int bookCount) {
    if (bookCount < 1 || bookCount > kMaxRefPositions) return E_INVALIDARG;
    try {
        block_.assign(kFixedBlockBytes + 5 * static_cast<size_t>(bookCount), 0);
        block_.reserve(block_.size() + 100 * static_cast<size_t>(bookCount) + 160);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    memcpy(&block_[4], &identity, 16);
    memcpy(&block_[20], &versification, 16);
    INT32 n = bookCount;
    memcpy(&block_[36], &n, 4);
    books_ = bookCount;
    return S_OK;
}

// Walks the books keeping running totals and checks that the counts make a numbering the
// handles can address: every book has chapters, every chapter verses, the chapter counts
// add up to C, and all positions fit 15 bits.
HRESULT CBibleStat::BuildTables() {
    const BYTE* chapterCounts = ChapterCounts();
    const BYTE* verseCounts = VerseCounts();
    int c = 0, v = 0;
    for (int b = 0; b < books_; ++b) {
        if (chapterCounts[b] == 0) return E_INVALIDARG;
        c += chapterCounts[b];
    }
    if (c != chapters_) return E_INVALIDARG;
    for (int i = 0; i < chapters_; ++i) {
        if (verseCounts[i] == 0) return E_INVALIDARG;
        v += verseCounts[i];
    }
    if (books_ + 2 + chapters_ + v > kMaxRefPositions) return E_INVALIDARG;
    verses_ = v;
    try {
        bookFirstChapter_.resize(books_ + 1);
        bookFirstVerse_.resize(books_ + 1);
        chapterFirstVerse_.resize(chapters_ + 1);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    c = 0;
    v = 0;
    for (int b = 0; b < books_; ++b) {
        bookFirstChapter_[b] = static_cast<WORD>(c);
        bookFirstVerse_[b] = static_cast<WORD>(v);
        for (int k = 0; k < chapterCounts[b]; ++k, ++c) {
            chapterFirstVerse_[c] = static_cast<WORD>(v);
            v += verseCounts[c];
        }
    }
    bookFirstChapter_[books_] = static_cast<WORD>(c);
    bookFirstVerse_[books_] = static_cast<WORD>(v);
    chapterFirstVerse_[chapters_] = static_cast<WORD>(v);
    complete_ = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleStat::AddBook(int bookId, int chapterCount, const int* versesPerChapter) {
    if (complete_ || booksAdded_ >= books_) return E_UNEXPECTED;
    if (chapterCount < 1 || chapterCount > kMaxPerLevel) return E_INVALIDARG;
    if (!versesPerChapter) return E_POINTER;
    int verses = 0;
    for (int i = 0; i < chapterCount; ++i) {
        if (versesPerChapter[i] < 1 || versesPerChapter[i] > kMaxPerLevel) return E_INVALIDARG;
        verses += versesPerChapter[i];
    }
    // The positions of the books so far must fit 15 bits (verses_ counts the verses added).
    if (books_ + 2 + chapters_ + chapterCount + verses_ + verses > kMaxRefPositions) return E_INVALIDARG;
    try {
        for (int i = 0; i < chapterCount; ++i) block_.push_back(static_cast<BYTE>(versesPerChapter[i]));
    } catch (const std::bad_alloc&) {
        block_.resize(kFixedBlockBytes + 5 * books_ + chapters_);
        return E_OUTOFMEMORY;
    }
    INT32 id = bookId;
    memcpy(&block_[kFixedBlockBytes + 4 * booksAdded_], &id, 4);
    block_[kFixedBlockBytes + 4 * books_ + booksAdded_] = static_cast<BYTE>(chapterCount);
    chapters_ += chapterCount;
    verses_ += verses;
    if (++booksAdded_ < books_) return S_OK;
    INT32 size = static_cast<INT32>(block_.size());
    memcpy(&block_[0], &size, 4);
    return BuildTables();
}

int STDMETHODCALLTYPE CBibleStat::GetBookId(int book) {
    if (!ValidBook(book)) return -1;
    INT32 id;
    memcpy(&id, &block_[kFixedBlockBytes + 4 * book], 4);
    return id;
}

HRESULT STDMETHODCALLTYPE CBibleStat::GetGuid(GUID* out, BOOL versification) {
    if (!out) return E_POINTER;
    memcpy(out, &block_[versification ? 20 : 4], 16);
    return S_OK;
}

int STDMETHODCALLTYPE CBibleStat::GetChaptersInBook(int book) {
    return ValidBook(book) && complete_ ? ChapterCounts()[book] : 0;
}

int STDMETHODCALLTYPE CBibleStat::GetVersesInBook(int book) {
    return ValidBook(book) && complete_ ? bookFirstVerse_[book + 1] - bookFirstVerse_[book] : 0;
}

int STDMETHODCALLTYPE CBibleStat::GetVersesInChapter(int book, int chapter) {
    int linear = book == -1 ? (chapter >= 0 && chapter < chapters_ ? chapter : -1) : RefToChapterIndex(book, chapter);
    return linear < 0 ? 0 : VerseCounts()[linear];
}

int STDMETHODCALLTYPE CBibleStat::VerseIndexToRef(int verseIndex, int* book, int* chapter, int* verse) {
    if (!complete_ || verseIndex < 0 || verseIndex >= verses_) return 0;
    FirstIndexTable books{}, chapters{};
    books.firsts = bookFirstVerse_.data();
    int b = books.Containing(verseIndex, books_);
    chapters.firsts = chapterFirstVerse_.data() + bookFirstChapter_[b];
    int c = chapters.Containing(verseIndex, ChapterCounts()[b]);
    if (book) *book = b;
    if (chapter) *chapter = c;
    if (verse) *verse = verseIndex - chapterFirstVerse_[bookFirstChapter_[b] + c];
    return 1;
}

int STDMETHODCALLTYPE CBibleStat::ChapterIndexToRef(int chapterIndex, int* book, int* chapter) {
    if (!complete_ || chapterIndex < 0 || chapterIndex >= chapters_) return 0;
    FirstIndexTable books{};
    books.firsts = bookFirstChapter_.data();
    int b = books.Containing(chapterIndex, books_);
    if (book) *book = b;
    if (chapter) *chapter = chapterIndex - bookFirstChapter_[b];
    return 0;
}

int STDMETHODCALLTYPE CBibleStat::RefToVerseIndex(int book, int chapter, int verse) {
    int linear = RefToChapterIndex(book, chapter);
    if (linear < 0 || verse < 0 || verse >= VerseCounts()[linear]) return -1;
    return chapterFirstVerse_[linear] + verse;
}

int STDMETHODCALLTYPE CBibleStat::RefToChapterIndex(int book, int chapter) {
    if (!complete_ || !ValidBook(book) || chapter < 0 || chapter >= ChapterCounts()[book]) return -1;
    return bookFirstChapter_[book] + chapter;
}

HRESULT STDMETHODCALLTYPE CBibleStat::Save(IStream* stream) {
    if (!stream) return E_INVALIDARG;
    if (!complete_) return E_UNEXPECTED;
    return WriteSizedBlock(stream, block_);
}
