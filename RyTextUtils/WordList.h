// WordList: the data of a compressed sorted word list as loaded from its stream, with
// decoding of single words and the lower-bound look-ups. Immutable once loaded.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "RyTextUtilsIdl.h"
#include "ComPtr.h"
#include "Reader.h"
#include "WordListFormat.h"

class Collation;

class WordList {
public:
    // Reads the stream format and checks every record. Failures: the reader's E_FAIL for a
    // short read, E_FAIL for inconsistent data, E_OUTOFMEMORY, a failing CreateLanguage.
    HRESULT Load(IReader& reader);

    long Count() const { return count_; }
    IRyLanguage* Language() const { return language_.Get(); }

    // Decodes word i (0 <= i < Count()) into buf, which holds kWordBufferSize bytes;
    // answers its length.
    unsigned Decode(long i, char* buf) const;
    // The length of word i, without decoding it.
    unsigned Length(long i) const { return length_[static_cast<size_t>(i)]; }

    // -1, 0 or 1 by the list's language.
    int Compare(const char* a, const char* b) const;
    bool IsPrefixedBy(const char* super, const char* prefix) const;

    // The first word that does not sort below key.
    long LowerBound(const char* key) const;
    // The word equal to key, or -1.
    long Find(const char* key) const;
    // [begin, end) of the words prefixed by prefix; begin = Count() when every word sorts
    // below it.
    void FindPrefix(const char* prefix, long* begin, long* end) const;

private:
    // Copies a record's bytes after any prefix code, with its ending expanded.
    char* CopyTail(const BYTE* p, const BYTE* end, char* o) const;
    void Record(long i, const BYTE** p, const BYTE** end) const;
    bool IsCode(BYTE b) const { return unused_[b] >= 0; }

    ComPtr<IRyLanguage> language_;
    const Collation* builtin_ = nullptr;  // the built-in collation when the language is it
    long unused_[256] = {};
    std::vector<std::string> endings_;
    long count_ = 0;
    unsigned shift_ = 0;
    std::vector<BYTE> records_;
    std::vector<BYTE> endOffset_;      // per word: end of its record within its block
    std::vector<DWORD> blockStart_;    // per block: offset of its first record
    std::vector<BYTE> length_;         // per word: its decoded length
};

// Decoding is inlined into the text table's rebuilding, its hottest loop.
inline void WordList::Record(long i, const BYTE** p, const BYTE** end) const {
    const BYTE* block = records_.data() + blockStart_[static_cast<DWORD>(i) >> shift_];
    bool first = (i & ((1L << shift_) - 1)) == 0;
    *p = block + (first ? 0 : endOffset_[i - 1]);
    *end = block + endOffset_[i];
}

namespace {
// Words are a few bytes long: a plain loop beats a call to the runtime's memcpy.
inline char* CopyBytes(char* o, const char* p, size_t n) {
    for (size_t k = 0; k < n; ++k) o[k] = p[k];
    return o + n;
}
}  // namespace

inline char* WordList::CopyTail(const BYTE* p, const BYTE* end, char* o) const {
    if (end > p && IsCode(end[-1])) {
        o = CopyBytes(o, reinterpret_cast<const char*>(p), static_cast<size_t>(end - 1 - p));
        const std::string& e = endings_[unused_[end[-1]]];
        return CopyBytes(o, e.data(), e.size());
    }
    return CopyBytes(o, reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));
}

inline unsigned WordList::Decode(long i, char* buf) const {
    const BYTE *p, *end;
    Record(i, &p, &end);
    char* o = buf;
    if (end - p >= 2 && IsCode(p[0])) {
        // The beginning of an earlier word, which has no prefix code of its own.
        long u = unused_[p[0]];
        const BYTE *rp, *rend;
        Record(i - (u >> 3) - 1, &rp, &rend);
        o = CopyTail(rp, rend, o) - (u & 7);
        ++p;
    }
    o = CopyTail(p, end, o);
    *o = 0;
    return static_cast<unsigned>(o - buf);
}

