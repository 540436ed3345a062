// Writers of the bible-data library's reference files, for tools and tests: conversion
// tables between versifications (".brt", in either byte order), reference libraries
// (".brf") and reference lists (".vrsm"). They write through VoUtil's exports.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <vector>
#include "IBibleStat.h"

// One pair of a conversion row: `same` verses one to one, then a block of blockA verses of
// side A against blockB verses of side B (each 0-15).
struct ConversionPair {
    int same, blockA, blockB;
};

// The mapping row of one chapter (zero-based) of a book.
struct ConversionRow {
    int chapter;
    bool shiftB;  // the side whose verses are shifted: false A, true B
    int shift;    // 0-63
    int countA, countB;  // the chapter's verses on each side (0 and 0 with no shift: none given)
    std::vector<ConversionPair> pairs;
    std::vector<BYTE> extra;  // bytes stored after the pairs as they are (damaged rows for tests)
};

inline ConversionRow MakeRow(int chapter, bool shiftB, int shift, int countA, int countB,
                             std::vector<ConversionPair> pairs = {}) {
    ConversionRow row;
    row.chapter = chapter;
    row.shiftB = shiftB;
    row.shift = shift;
    row.countA = countA;
    row.countB = countB;
    row.pairs = std::move(pairs);
    return row;
}

struct ConversionBook {
    int bookId;
    std::vector<ConversionRow> rows;
};

// The bytes of a row as the table stores them.
std::vector<BYTE> EncodeConversionRow(const ConversionRow& row);

// Writes a table between versifications a and b with rowsPerKey rows per book (the most
// chapters a book has on either side); books in ascending order of identifier. reversed
// stores every number of the trailer with its bytes reversed (mark 0xFEFF).
HRESULT WriteConversionTable(IStream* stream, const GUID& a, const GUID& b, int rowsPerKey,
                             const std::vector<ConversionBook>& books, bool reversed);
HRESULT WriteConversionTableFile(const char* path, const GUID& a, const GUID& b, int rowsPerKey,
                                 const std::vector<ConversionBook>& books, bool reversed);

// A reference library over a numbering: refs[v] holds the handles (in the same numbering)
// of linear verse v; verses past the end of refs have none.
HRESULT WriteRefLibFile(const char* path, IBibleStat* stat, const std::vector<std::vector<int>>& refs);

// A reference list of handles, perEntry items to an entry (each entry at most 256 bytes).
// checkEntrySize false lets entries grow past 256 bytes (damaged lists for tests).
HRESULT WriteRefListFile(const char* path, IBibleStat* stat, const std::vector<int>& refs, int perEntry,
                         bool checkEntrySize = true);

// Parses a normalised reference of the importers ("43.3.16", "19.23", "2.6.16-2.6.20",
// "4.17-4.18"; books 1-66, chapters and verses from 1) into a handle of the numbering.
HRESULT ParseNormalisedRef(IBibleHandles* handles, const char* text, int* handle);

// Writes a statistics block alone, as the reference versification file is stored.
HRESULT WriteBibleStatFile(const char* path, IBibleStat* stat);
