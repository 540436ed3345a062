#include "TextTable.h"
#include <algorithm>
#include <iterator>
#include <cstring>
#include <new>
#include "Collation.h"
#include "PackedIO.h"

namespace {
// Token numbers must fit the two-byte codes: the highest is 254 * 256 + 255.
constexpr DWORD kMaxTokens = 255 * 256;
}

HRESULT TextTable::Load(IReader& reader, const WordList* words) {
    try {
        words_ = words;
        HRESULT hr;
        DWORD phraseCount = 0, phraseBytes = 0;
        if (FAILED(hr = ReadU32(reader, &phraseCount))) return hr;
        if (phraseCount > kMaxTokens) return E_FAIL;
        if (FAILED(hr = ReadU32(reader, &phraseBytes))) return hr;
        std::vector<BYTE> text;
        if (FAILED(hr = ReadBlock(reader, phraseBytes, &text))) return hr;
        for (DWORD pos = 0; pos < text.size();) {
            const BYTE* z = static_cast<const BYTE*>(memchr(text.data() + pos, 0, text.size() - pos));
            if (!z) return E_FAIL;  // the last phrase lacks its terminator
            DWORD len = static_cast<DWORD>(z - (text.data() + pos));
            phrases_.emplace_back(reinterpret_cast<const char*>(text.data() + pos), len);
            pos += len + 1;
        }
        if (phrases_.size() != phraseCount) return E_FAIL;
        if (FAILED(hr = ReadBlock(reader, phraseCount, &modes_))) return hr;
        for (BYTE m : modes_)
            if (m > 3) return E_FAIL;

        // The one-byte codes B..254 and their tokens.
        tokenCount_ = static_cast<DWORD>(words->Count()) + phraseCount;
        if (tokenCount_ == 0 || tokenCount_ > kMaxTokens) return E_FAIL;
        firstOneByte_ = static_cast<BYTE>(((tokenCount_ - 1) >> 8) + 1);
        for (int c = 0; c < 256; ++c) kind_[c] = c < firstOneByte_ ? kTwoByte : kOneByte;
        kind_[255] = kLiteral;
        for (int c = firstOneByte_; c < 255; ++c) {
            BYTE b[2];
            if (FAILED(hr = reader.Read(b, 2))) return hr;
            DWORD t = b[0] | static_cast<DWORD>(b[1]) << 8;
            if (t >= tokenCount_) return E_FAIL;
            oneByteToken_[c] = t;
            byToken_.emplace_back(t, static_cast<DWORD>(c - firstOneByte_ + 1));
        }
        std::sort(byToken_.begin(), byToken_.end());
        breaks_.assign(tokenCount_, 0);
        for (size_t i = 0; i < phrases_.size(); ++i) breaks_[i] = phrases_[i].find('.') != std::string::npos;

        // Text lengths, then the token streams.
        DWORD texts = 0, lengthBytes = 0, dataBytes = 0;
        if (FAILED(hr = ReadU32(reader, &texts))) return hr;
        if (FAILED(hr = ReadU32(reader, &lengthBytes))) return hr;
        if (texts > lengthBytes) return E_FAIL;  // every length takes at least one byte
        std::vector<BYTE> packed;
        if (FAILED(hr = ReadBlock(reader, lengthBytes, &packed))) return hr;
        starts_.assign(1, 0);
        starts_.reserve(texts + 1);
        const BYTE* p = packed.data();
        const BYTE* end = p + packed.size();
        unsigned long long total = 0;
        for (DWORD i = 0; i < texts; ++i) {
            unsigned len = 0;
            unsigned used = UnpackInt(p, end, &len);
            if (!used) return E_FAIL;
            p += used;
            total += len;
            if (total > 0xFFFFFFFFull) return E_FAIL;
            starts_.push_back(static_cast<DWORD>(total));
        }
        if (p != end) return E_FAIL;
        if (FAILED(hr = ReadU32(reader, &dataBytes))) return hr;
        if (dataBytes != total) return E_FAIL;
        if (FAILED(hr = ReadBlock(reader, dataBytes, &data_))) return hr;

        // Every stream must consist of whole tokens within the vocabulary.
        std::vector<bool> hasShortCode(tokenCount_);
        for (const auto& bt : byToken_) hasShortCode[bt.first] = true;
        for (DWORD i = 0; i < texts; ++i) {
            const BYTE* q = data_.data() + starts_[i];
            const BYTE* e = data_.data() + starts_[i + 1];
            Token t;
            while (q < e) {
                bool twoByte = kind_[*q] == kTwoByte;
                if (!NextToken(&q, e, &t)) return E_FAIL;
                if (twoByte && hasShortCode[t.kind == Token::Phrase ? t.id : t.id + phraseCount])
                    longFormOfShortToken_ = true;
            }
        }
        for (BYTE b : data_) ++byteCount_[b];
        data_.push_back(0);  // padding: a code is read two bytes at a time
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

bool TextTable::NextToken(const BYTE** pp, const BYTE* end, Token* t) const {
    const BYTE* p = *pp;
    BYTE c = *p++;
    DWORD token;
    switch (kind_[c]) {
    case kOneByte:
        token = oneByteToken_[c];
        break;
    case kTwoByte:
        if (p >= end) return false;
        token = static_cast<DWORD>(c) << 8 | *p++;
        if (token >= tokenCount_) return false;
        break;
    default: {
        unsigned len = 0;
        unsigned used = UnpackInt(p, end, &len);
        if (!used || len > static_cast<unsigned>(end - p - used)) return false;
        t->kind = Token::Literal;
        t->text = p + used;
        t->length = len;
        *pp = p + used + len;
        return true;
    }
    }
    *pp = p;
    DWORD phrases = static_cast<DWORD>(phrases_.size());
    if (token < phrases) {
        t->kind = Token::Phrase;
        t->id = token;
    } else {
        t->kind = Token::Word;
        t->id = token - phrases;
    }
    return true;
}

DWORD TextTable::Rebuild(DWORD i, char* buf, DWORD cb, bool* fits) const {
    const Collation& cc = Collation::Std();
    const BYTE* p = data_.data() + starts_[i];
    const BYTE* end = data_.data() + starts_[i + 1];
    DWORD size = 1;
    BYTE pending = 1;
    bool afterWord = false;
    bool writing = buf != nullptr;
    char* o = buf;
    char* const limit = buf ? buf + cb - 1 : nullptr;  // room for the terminating zero
    char scratch[kWordBufferSize];
    const DWORD phrases = static_cast<DWORD>(phrases_.size());
    Token t;
    while (p < end) {
        // The common one- and two-byte codes inline; literal runs through NextToken.
        if (*p != 255) {
            const DWORD token = TakeCode(p);
            if (p > end || token >= tokenCount_) break;
            if (token < phrases) {
                t.kind = Token::Phrase;
                t.id = token;
            } else {
                t.kind = Token::Word;
                t.id = token - phrases;
            }
        } else if (!NextToken(&p, end, &t)) {
            break;
        }
        const bool wordLike = t.kind != Token::Phrase;
        const DWORD blank = wordLike && afterWord ? 1 : 0;
        afterWord = wordLike;
        BYTE mode = 0;
        DWORD len;
        if (t.kind == Token::Word) {
            mode = pending;
            pending = 0;
            // Decoded in place when the longest word fits, else aside and copied.
            if (writing && limit - o >= static_cast<ptrdiff_t>(blank + kMaxWordBytes)) {
                len = words_->Decode(static_cast<long>(t.id), o + blank);
                size += len + blank;
                if (blank) *o = ' ';
                char* w = o + blank;
                if (len && mode == 1) w[0] = cc.Upper(w[0]);
                else if (mode == 2) for (DWORD k = 0; k < len; ++k) w[k] = cc.Upper(w[k]);
                else if (len && mode == 3) w[0] = cc.Lower(w[0]);
                o = w + len;
                continue;
            }
            if (!writing) {
                size += words_->Length(static_cast<long>(t.id)) + blank;
                continue;
            }
            len = words_->Decode(static_cast<long>(t.id), scratch);
            t.text = reinterpret_cast<const BYTE*>(scratch);
        } else if (t.kind == Token::Literal) {
            len = t.length;
            pending = 0;
        } else {
            const std::string& ph = phrases_[t.id];
            t.text = reinterpret_cast<const BYTE*>(ph.data());
            len = static_cast<DWORD>(ph.size());
            if (p >= end && len > 0 && ph[len - 1] == ' ') --len;  // the text's last token
            mode = pending;
            pending = modes_[t.id];
        }
        size += len + blank;
        if (!writing) continue;
        if (size > cb) {
            writing = false;  // this token and all after it are left out
            continue;
        }
        if (blank) *o++ = ' ';
        for (DWORD k = 0; k < len; ++k) o[k] = static_cast<char>(t.text[k]);
        if (len && mode == 1) o[0] = cc.Upper(o[0]);
        else if (mode == 2) for (DWORD k = 0; k < len; ++k) o[k] = cc.Upper(o[k]);
        else if (len && mode == 3) o[0] = cc.Lower(o[0]);
        o += len;
    }
    if (buf && cb > 0) *o = 0;
    if (fits) *fits = buf != nullptr && writing;
    return size;
}

long TextTable::TokenCost(DWORD t) const {
    auto it = std::lower_bound(byToken_.begin(), byToken_.end(), std::make_pair(t, DWORD(0)));
    return it != byToken_.end() && it->first == t ? static_cast<long>(it->second) : 0;
}

void TextTable::MakeTerm(DWORD lo, DWORD hi, const std::vector<bool>* only, Term* term) const {
    term->lo = lo;
    term->span = hi - lo;
    term->only = only;
    for (int c = 0; c < 256; ++c) {
        if (kind_[c] == kTwoByte) term->action[c] = kLead;
        else if (kind_[c] == kLiteral) term->action[c] = kRun;
        else term->action[c] = term->Holds(oneByteToken_[c]) ? kHit : kMiss;
    }
}

bool TextTable::Contains(const Term& term, const BYTE* p, const BYTE* end) {
    while (p < end) {
        BYTE c = *p;
        BYTE a = term.action[c];
        if (a == kMiss) {
            ++p;
        } else if (a == kLead) {
            if (p + 1 >= end) return false;
            if (term.Holds(static_cast<DWORD>(c) << 8 | p[1])) return true;
            p += 2;
        } else if (a == kHit) {
            return true;
        } else {
            unsigned len = 0;
            unsigned used = UnpackInt(p + 1, end, &len);
            if (!used || len > static_cast<unsigned>(end - p - 1 - used)) return false;
            p += 1 + used + len;
        }
    }
    return false;
}

void TextTable::ScanRange(const Term& term, DWORD begin, DWORD end, std::vector<DWORD>* texts) const {
    // One pass over the contiguous streams of [begin, end); after a hit the scan goes on at
    // the start of the next text.
    const BYTE* base = data_.data();
    const BYTE* p = base + starts_[begin];
    const BYTE* e = base + starts_[end];
    DWORD t = begin;
    while (p < e) {
        BYTE c = *p;
        BYTE a = term.action[c];
        const BYTE* at = p;
        if (a == kMiss) {
            ++p;
            continue;
        }
        if (a == kLead) {
            if (p + 1 >= e) break;
            DWORD token = static_cast<DWORD>(c) << 8 | p[1];
            p += 2;
            if (!term.Holds(token)) continue;
        } else if (a == kRun) {
            unsigned len = 0;
            unsigned used = UnpackInt(p + 1, e, &len);
            if (!used || len > static_cast<unsigned>(e - p - 1 - used)) break;
            p += 1 + used + len;
            continue;
        }
        DWORD pos = static_cast<DWORD>(at - base);
        while (starts_[t + 1] <= pos) ++t;
        texts->push_back(t);
        p = base + starts_[t + 1];
    }
}

bool TextTable::ScanPositions(const Term& term, DWORD text, std::vector<Occurrence>* occs) const {
    const BYTE* p = data_.data() + starts_[text];
    const BYTE* end = data_.data() + starts_[text + 1];
    const DWORD phrases = static_cast<DWORD>(phrases_.size());
    DWORD word = 0, breaks = 0;
    bool found = false;
    while (p < end) {
        BYTE c = *p;
        DWORD token;
        if (kind_[c] == kOneByte) {
            token = oneByteToken_[c];
            ++p;
        } else if (kind_[c] == kTwoByte) {
            if (p + 1 >= end) break;
            token = static_cast<DWORD>(c) << 8 | p[1];
            p += 2;
        } else {
            Token t;
            if (!NextToken(&p, end, &t)) break;
            continue;  // a literal run counts as neither word nor break
        }
        if (token < phrases) {
            breaks += breaks_[token];
            continue;
        }
        if (term.Holds(token)) {
            found = true;
            occs->push_back(Occurrence{text, word, breaks, word, breaks});
        }
        ++word;
    }
    return found;
}

namespace {
// The first b in [p, end), or end; four bytes at a time.
const BYTE* FindByte(const BYTE* p, const BYTE* end, BYTE b) {
    while (p < end && (reinterpret_cast<UINT_PTR>(p) & 3)) {
        if (*p == b) return p;
        ++p;
    }
    const DWORD pattern = 0x01010101u * b;
    while (end - p >= 4) {
        DWORD v;
        memcpy(&v, p, 4);
        v ^= pattern;
        if ((v - 0x01010101u) & ~v & 0x80808080u) break;
        p += 4;
    }
    while (p < end && *p != b) ++p;
    return p;
}
}  // namespace

bool TextTable::KeyByte(DWORD token, BYTE* key) const {
    auto it = std::lower_bound(byToken_.begin(), byToken_.end(), std::make_pair(token, DWORD(0)));
    if (it != byToken_.end() && it->first == token) {
        if (it + 1 != byToken_.end() && (it + 1)->first == token) return false;  // two short codes
        *key = static_cast<BYTE>(firstOneByte_ + it->second - 1);
        return true;
    }
    BYTE lead = static_cast<BYTE>(token >> 8), low = static_cast<BYTE>(token & 0xFF);
    *key = byteCount_[lead] <= byteCount_[low] ? lead : low;
    return true;
}

void TextTable::FindTexts(const Term& term, DWORD begin, DWORD end, std::vector<DWORD>* texts) const {
    // A term of a few tokens is searched for the key bytes of its codes (the one-byte code,
    // or the rarer byte of a two-byte code), and only the texts where one stands are walked.
    // A stream that codes a token with two bytes although it has a one-byte code defeats
    // the keys; then every text is walked.
    constexpr DWORD kMaxSearchedTokens = 64;
    bool member[256] = {};
    int keys = 0;
    BYTE only = 0;
    bool ok = !longFormOfShortToken_ && term.span <= kMaxSearchedTokens;
    for (DWORD k = 0; ok && k < term.span; ++k) {
        if (!term.Holds(term.lo + k)) continue;
        BYTE key = 0;
        ok = KeyByte(term.lo + k, &key);
        if (ok && !member[key]) {
            member[key] = true;
            only = key;
            ++keys;
        }
    }
    if (!ok) {
        ScanRange(term, begin, end, texts);
        return;
    }
    const BYTE* base = data_.data();
    const BYTE* p = base + starts_[begin];
    const BYTE* e = base + starts_[end];
    DWORD t = begin;
    for (;;) {
        if (keys == 1) {
            p = FindByte(p, e, only);
        } else {
            while (p < e && !member[*p]) ++p;
        }
        if (p >= e) break;
        DWORD pos = static_cast<DWORD>(p - base);
        while (starts_[t + 1] <= pos) ++t;
        if (Contains(term, base + starts_[t], base + starts_[t + 1])) texts->push_back(t);
        p = base + starts_[t + 1];  // this text is settled either way
    }
}

void TextTable::ScanPhrase(const std::vector<std::pair<DWORD, DWORD>>& terms, const std::vector<DWORD>& texts,
                           std::vector<Occurrence>* occs) const {
    // Shift-and over the words of each text: bit j of the state says that the last j + 1
    // words matched terms 0..j in order with no sentence break between them.
    const DWORD phrases = static_cast<DWORD>(phrases_.size());
    const size_t k = terms.size();
    if (k == 0 || k > 64) return;
    const unsigned long long done = 1ull << (k - 1);
    std::vector<DWORD> lo(k), span(k);
    for (size_t j = 0; j < k; ++j) {
        lo[j] = terms[j].first + phrases;
        span[j] = terms[j].second - terms[j].first;
    }
    for (DWORD text : texts) {
        const BYTE* p = data_.data() + starts_[text];
        const BYTE* end = data_.data() + starts_[text + 1];
        DWORD word = 0, breaks = 0;
        unsigned long long state = 0;
        while (p < end) {
            if (*p == 255) {
                Token t;
                if (!NextToken(&p, end, &t)) break;
                continue;  // a literal run counts as neither word nor break
            }
            const DWORD token = TakeCode(p);
            if (p > end || token >= tokenCount_) break;
            if (token < phrases) {
                if (breaks_[token]) {
                    ++breaks;
                    state = 0;
                }
                continue;
            }
            unsigned long long match = 0;
            for (size_t j = 0; j < k; ++j) match |= static_cast<unsigned long long>(token - lo[j] < span[j]) << j;
            state = ((state << 1) | 1) & match;
            ++word;
            if (state & done) occs->push_back(Occurrence{text, word - static_cast<DWORD>(k), breaks, word - 1, breaks});
        }
    }
}

void TextTable::Scan(DWORD lo, DWORD hi, const std::vector<bool>* only, const std::vector<DWORD>* candidates,
                     DWORD begin, DWORD end, bool positions, std::vector<DWORD>* texts,
                     std::vector<Occurrence>* occs) const {
    const DWORD phrases = static_cast<DWORD>(phrases_.size());
    Term term;
    MakeTerm(lo + phrases, hi + phrases, only, &term);
    if (positions) {
        // Find the texts first, then walk only those for the positions.
        std::vector<DWORD> found;
        if (candidates) {
            found = *candidates;
        } else {
            FindTexts(term, begin, end, &found);
        }
        for (DWORD t : found)
            if (ScanPositions(term, t, occs)) texts->push_back(t);
        return;
    }
    if (!candidates) {
        FindTexts(term, begin, end, texts);
        return;
    }
    const BYTE* base = data_.data();
    for (DWORD t : *candidates)
        if (Contains(term, base + starts_[t], base + starts_[t + 1])) texts->push_back(t);
}
