// CConversionTable: one ".brt" table between two versifications, read whole into memory,
// and the mapping of a chapter and verse through it in either direction.
//
// File: an indexed-data container whose entry k * N + c holds the mapping row of chapter c
// of the book of key k; in its trailing stream a uint16 byte-order mark (0xFFFE, or 0xFEFF
// when every following number has its bytes reversed), a uint16 0, uint16 key count R,
// uint16 rows per key N, the GUIDs of versification A and B, and R ascending uint32 book
// identifiers. A non-empty row starts with three bytes: the side whose verses are shifted
// (bit 7, 0 = A) with the shift (bits 0-5), the verse count on side A and on side B; then
// pairs (b, c): b verses one to one, then a block of c & 15 verses of A against c >> 4 of B.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <vector>

// The position a mapping works on, in place: chapter and verse zero-based, verse -1 for a
// whole chapter; verseEnd is the last target verse that corresponds to the source verse.
struct ChapterVerse {
    int chapter = -1;
    int verse = -1;
    int verseEnd = -1;
};

class CConversionTable {
public:
    // Reads a table file; E_UNEXPECTED (or the reader's error) for a file that can't be read
    // whole or breaks the format, so that a damaged table is never used.
    HRESULT Load(const char* path);
    HRESULT Load(IStream* stream);

    const GUID& SideA() const { return a_; }
    const GUID& SideB() const { return b_; }
    // True when the table serves the two versifications, in either order.
    bool Serves(const GUID& x, const GUID& y) const;

    // Maps a position of the book bookId from the versification `from` to the other side.
    // S_OK when it maps (the position changes or stays, as the row says); S_FALSE when the
    // mapping would leave the rows it describes (then the position is unchanged).
    HRESULT Map(const GUID& from, int bookId, ChapterVerse* position) const;

private:
    struct Row {
        const BYTE* bytes = nullptr;  // null for an empty row
        int size = 0;
        int Shift(bool sideB) const { return bytes && ((bytes[0] & 0x80) != 0) == sideB ? bytes[0] & 0x3F : 0; }
        int Count(bool sideB) const { return bytes ? bytes[sideB ? 2 : 1] : 0; }
        bool HasCounts() const { return bytes && (bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 0); }
    };

    HRESULT Load(struct IIndexedData* data);
    HRESULT ReadTrailer(IStream* stream);
    HRESULT ReadRows(struct IIndexedData* data);
    HRESULT CheckRows() const;
    Row RowAt(int key, int chapter) const;
    int KeyOf(int bookId) const;  // -1 when the book has no key
    // Walks the pairs of a row for a verse counted from the row's start on side S.
    static void WalkPairs(const Row& row, bool fromB, int verse, int* target, int* targetEnd);

    GUID a_ = {}, b_ = {};
    bool swapped_ = false;
    int perKey_ = 0;               // N
    std::vector<DWORD> keys_;      // R book identifiers, ascending
    std::vector<DWORD> rowStart_;  // R * N + 1 offsets into rows_
    std::vector<BYTE> rows_;
};
