// CBibleLangStat::ParseRef: one typed reference ("Joh 3:16", "16", "v. 16", "Joh 3:16f",
// "1 Mos 1-3", "Joh 3:16ff"), with the context of the reference before it. Words of more
// than 31 characters are refused: no book name or number is that long.
#include "BibleLangStat.h"
#include "AnsiText.h"
#include <cstring>

namespace {
constexpr int kMaxWord = 31;
}

class CBibleLangStat::Parser {
public:
    enum Kind { kEnd, kV, kBook, kF, kFF, kColon, kComma, kMinus, kDot, kNumber, kUnknown };
    struct Token {
        Kind kind = kUnknown;
        int value = 0;
        const char* end = nullptr;
    };

    Parser(CBibleLangStat& owner, const char* text) : owner_(owner), at_(text) {}
    const char* At() const { return at_; }
    Token Peek() const;
    void Take(const Token& t) { at_ = t.end; }
    // One position (a book, a chapter or a verse) read with the context before it.
    bool Position(const Place& context, Place* out);

private:
    static const unsigned char* U(const char* p) { return reinterpret_cast<const unsigned char*>(p); }
    CBibleLangStat& owner_;
    const char* at_;
};

CBibleLangStat::Parser::Token CBibleLangStat::Parser::Peek() const {
    const char* p = at_;
    while (IsBlank(*U(p))) ++p;
    Token t;
    t.end = p + 1;
    const unsigned char c = *U(p);
    if (!c) {
        t.kind = kEnd;
        t.end = p;
        return t;
    }
    if ((c == 'v' || c == 'V') && p[1] == '.') {
        t.kind = kV;
        t.end = p + 2;
        return t;
    }
    if (!IsLetterOrDigit(c)) {
        switch (c) {
        case ':': t.kind = kColon; break;
        case ',': t.kind = kComma; break;
        case '-': t.kind = kMinus; break;
        case '.': t.kind = kDot; break;
        default: t.kind = kUnknown; break;
        }
        return t;
    }
    // A run of letters and digits; a single digit, a blank or "." and letters make one
    // word ("1 Mos"); a word ending in a letter takes a "." that follows it ("Mos.").
    const char* e = p;
    while (IsLetterOrDigit(*U(e))) ++e;
    if (e - p == 1 && IsDigit(c) && (*e == ' ' || *e == '.') && IsLetter(*U(e + 1))) {
        e += 1;
        while (IsLetterOrDigit(*U(e))) ++e;
    }
    if (e - p >= 2 && IsLetter(*U(e - 1)) && *e == '.' && !(e - p == 2 && FoldCase(c) == 'f' && FoldCase(*U(p + 1)) == 'f'))
        ++e;
    if (e - p > kMaxWord) {
        t.kind = kUnknown;
        return t;
    }
    char word[kMaxWord + 1];
    memcpy(word, p, e - p);
    word[e - p] = '\0';
    int book = -1;
    if (owner_.FindBook(word, &book) == S_OK) {
        t.kind = kBook;
        t.value = book;
        t.end = e;
        return t;
    }
    if (EqualsFolded(word, "f") || EqualsFolded(word, "ff")) {
        t.kind = word[1] ? kFF : kF;
        t.end = e;
        return t;
    }
    if (IsDigit(c)) {
        // Digits are taken while the value is at most 99, so a longer run is split.
        const char* d = p;
        int value = 0;
        do value = value * 10 + (*d++ - '0');
        while (IsDigit(*U(d)) && value <= 99);
        t.kind = kNumber;
        t.value = value;
        t.end = d;
        return t;
    }
    t.kind = kUnknown;
    return t;
}

bool CBibleLangStat::Parser::Position(const Place& context, Place* out) {
    Place place = context;
    place.verse = -1;
    bool verseContext = context.verse != -1, found = false;
    Token t = Peek();
    if (t.kind == kBook) {
        Take(t);
        place.book = t.value;
        place.chapter = -1;
        verseContext = false;
        found = true;
        t = Peek();
    }
    const bool oneChapter = place.book >= 0 && owner_.GetChaptersInBook(place.book) == 1;
    bool verseMarked = false;
    if (t.kind == kV) {
        Take(t);
        t = Peek();
        if (t.kind != kNumber) return false;
        verseMarked = true;
    }
    if (t.kind == kNumber) {
        Take(t);
        if (t.value == 0) return false;
        Token next = Peek();
        if (next.kind == kColon) {
            Take(next);
            Token verse = Peek();
            if (verse.kind != kNumber || verse.value == 0) return false;
            Take(verse);
            place.chapter = t.value - 1;
            place.verse = verse.value - 1;
        } else if (verseMarked || oneChapter || verseContext) {
            place.verse = t.value - 1;
        } else {
            place.chapter = t.value - 1;
        }
        found = true;
    }
    if (!found || place.book < 0) return false;
    if (oneChapter && place.verse != -1 && place.chapter == -1) place.chapter = 0;
    if (place.verse != -1 && place.chapter == -1) return false;
    *out = place;
    return true;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::ParseRef(char** cursor, int* outHandle, int* contextHandle) {
    if (!cursor || !*cursor || !outHandle) return E_POINTER;
    *outHandle = 0;
    if (!handles_) return E_INVALIDARG;
    Parser parser(*this, *cursor);
    if (parser.Peek().kind == Parser::kEnd) return S_FALSE;
    const Place context = contextHandle && *contextHandle ? Context(*contextHandle) : Place();
    Place first;
    if (!parser.Position(context, &first)) return E_INVALIDARG;
    int handle = 0;
    HRESULT hr = handles_->MakeRef(&handle, first.book, first.chapter, first.verse);
    if (FAILED(hr)) return hr;
    Place last = first;
    Parser::Token t = parser.Peek();
    if (t.kind == Parser::kF || t.kind == Parser::kFF) {
        if (first.verse == -1) return E_INVALIDARG;
        parser.Take(t);
        if (t.kind == Parser::kF) {
            ++last.verse;
            hr = handles_->ExtendRef(&handle, last.book, last.chapter, last.verse);
        } else {
            hr = handles_->MakeFollowingRef(&handle);
        }
        if (FAILED(hr)) return hr;
    } else if (t.kind == Parser::kMinus) {
        parser.Take(t);
        if (!parser.Position(first, &last)) return E_INVALIDARG;
        hr = handles_->ExtendRef(&handle, last.book, last.chapter, last.verse);
        if (FAILED(hr)) return hr;
    }
    // The end of the text, "." (the next reference starts with a chapter) or "," (after a
    // verse: the next number is a verse of the same chapter).
    t = parser.Peek();
    if (t.kind == Parser::kDot) {
        last.verse = -1;
    } else if (!(t.kind == Parser::kEnd || (t.kind == Parser::kComma && first.verse != -1))) {
        return E_INVALIDARG;
    }
    parser.Take(t);
    if (contextHandle) handles_->MakeRef(contextHandle, last.book, last.chapter, last.verse);
    *outHandle = handle;
    *cursor += parser.At() - *cursor;
    return S_OK;
}
