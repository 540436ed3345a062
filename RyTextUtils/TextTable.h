// TextTable: the phrases, code tables and token streams of a compressed table of texts as
// loaded from its stream (after the embedded word list), with the rebuilding of a text and
// the scanning of token streams for the words of a query term. Immutable once loaded.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "Reader.h"
#include "WordList.h"

// Where a query term, or a phrase of terms, occurs in a text: the ordinals of its first and
// last word among the text's words, and the count of sentence breaks (phrases with a ".")
// before each of them. Two occurrences follow each other directly when the second's first
// word is the word after the first's last word and no sentence break stands between.
struct Occurrence {
    DWORD text;
    DWORD firstWord, firstBreaks;
    DWORD lastWord, lastBreaks;
};

class TextTable {
public:
    // Reads items 3-9 of the stream after the word list and checks every token stream.
    HRESULT Load(IReader& reader, const WordList* words);

    DWORD TextCount() const { return static_cast<DWORD>(starts_.size()) - 1; }
    DWORD PhraseCount() const { return static_cast<DWORD>(phrases_.size()); }

    // Rebuilds text i (< TextCount()). Answers the size with the terminating zero; with a
    // buffer of cb bytes writes the longest run of whole tokens that fits, terminated, and
    // sets *fits to whether all of it did.
    DWORD Rebuild(DWORD i, char* buf, DWORD cb, bool* fits) const;

    // Cost of a term of the single token t: its position in the one-byte table + 1, or 0
    // when it has a two-byte code (rarest first).
    long TokenCost(DWORD t) const;

    // The texts among the candidates (a sorted list, or [begin, end) when null) whose
    // streams hold a word token in [lo, hi) (when only is given, only the words w of it
    // with (*only)[w - lo]); with positions, every occurrence too.
    void Scan(DWORD lo, DWORD hi, const std::vector<bool>* only, const std::vector<DWORD>* candidates, DWORD begin,
              DWORD end, bool positions, std::vector<DWORD>* texts, std::vector<Occurrence>* occs) const;

    // The occurrences, in the given texts (sorted), of the terms (word indices [lo, hi))
    // as a phrase: each word directly after the one before, no sentence break between.
    void ScanPhrase(const std::vector<std::pair<DWORD, DWORD>>& terms, const std::vector<DWORD>& texts,
                    std::vector<Occurrence>* occs) const;

private:
    enum : BYTE { kOneByte, kTwoByte, kLiteral };
    struct Token {
        enum { Phrase, Word, Literal } kind;
        DWORD id;          // phrase number or word index
        const BYTE* text;  // literal bytes
        DWORD length;
    };
    // Takes one token from [*p, end); false when the stream is malformed there.
    bool NextToken(const BYTE** p, const BYTE* end, Token* t) const;
    // Takes the one- or two-byte code at p (not a literal run) without a branch on its
    // length: the streams were checked at load and a padding byte follows the last one.
    DWORD TakeCode(const BYTE*& p) const {
        const BYTE c = p[0];
        const DWORD two = c < firstOneByte_;
        const DWORD token = two ? (static_cast<DWORD>(c) << 8 | p[1]) : oneByteToken_[c];
        p += 1 + two;
        return token;
    }

    // What a scan for one term does with each first byte of a token.
    enum : BYTE { kMiss, kHit, kLead, kRun };
    struct Term {
        BYTE action[256];
        DWORD lo, span;                // the term's tokens [lo, lo + span)
        const std::vector<bool>* only;  // null, or which of them belong to the term
        bool Holds(DWORD token) const { return token - lo < span && (!only || (*only)[token - lo]); }
    };
    void MakeTerm(DWORD lo, DWORD hi, const std::vector<bool>* only, Term* term) const;
    // Whether [p, end) holds one of the term's tokens.
    static bool Contains(const Term& term, const BYTE* p, const BYTE* end);
    void ScanRange(const Term& term, DWORD begin, DWORD end, std::vector<DWORD>* texts) const;
    // The byte to search the streams for to find a token: false when it has more than one.
    bool KeyByte(DWORD token, BYTE* key) const;
    void FindTexts(const Term& term, DWORD begin, DWORD end, std::vector<DWORD>* texts) const;
    bool ScanPositions(const Term& term, DWORD text, std::vector<Occurrence>* occs) const;

    const WordList* words_ = nullptr;
    std::vector<std::string> phrases_;
    std::vector<BYTE> modes_;
    std::vector<BYTE> breaks_;  // per token: 1 for a phrase that holds a "."
    DWORD tokenCount_ = 0;      // W + P
    BYTE firstOneByte_ = 255;   // B
    BYTE kind_[256] = {};
    DWORD oneByteToken_[256] = {};
    std::vector<std::pair<DWORD, DWORD>> byToken_;  // (token, code position + 1), by token
    bool longFormOfShortToken_ = false;  // a stream codes a token with two bytes that has one
    DWORD byteCount_[256] = {};          // how often each byte value stands in the streams
    std::vector<BYTE> data_;
    std::vector<DWORD> starts_;  // T + 1 offsets into data_
};
