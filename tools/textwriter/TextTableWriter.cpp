#include "TextTableWriter.h"
#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include "Collation.h"
#include "PackedIO.h"
#include "WordListFormat.h"
#include "WordListWriter.h"

namespace {

// Token numbers must fit the two-byte codes (the highest lead byte is 254).
constexpr size_t kMaxTokens = 255 * 256;
constexpr size_t kMaxPhraseBytes = 64;

// One text cut into gaps and items: gap 0, item 0, gap 1, ..., item n-1, gap n.
struct Item {
    std::string raw;
    std::string stored;  // the form in the word list; empty for a literal item
    unsigned modes = 0;  // bit m: case mode m (0-3) rebuilds raw from stored
};
struct Segments {
    std::vector<std::string> gaps;
    std::vector<Item> items;
};

std::string ApplyMode(unsigned mode, const std::string& s) {
    const Collation& c = Collation::Std();
    std::string r = s;
    if (r.empty()) return r;
    if (mode == 1) r[0] = c.Upper(r[0]);
    else if (mode == 2) for (char& ch : r) ch = c.Upper(ch);
    else if (mode == 3) r[0] = c.Lower(r[0]);
    return r;
}

std::string Lowered(const std::string& s) {
    const Collation& c = Collation::Std();
    std::string r = s;
    for (char& ch : r) ch = c.Lower(ch);
    return r;
}

// The case modes 0-3 that rebuild raw from stored, as bits.
unsigned ModesFor(const std::string& stored, const std::string& raw) {
    unsigned modes = 0;
    for (unsigned m = 0; m < 4; ++m)
        if (ApplyMode(m, stored) == raw) modes |= 1u << m;
    return modes;
}

// Cuts a text into gaps and word-sized pieces; calls word(piece, gap before it, first).
template <class F>
void CutWords(const std::string& text, std::vector<std::string>* gaps, F word) {
    const Collation& c = Collation::Std();
    std::string gap;
    size_t i = 0;
    bool first = true;
    while (i < text.size()) {
        if (c.Class(static_cast<BYTE>(text[i])) == 0) {
            gap.push_back(text[i++]);
            continue;
        }
        size_t j = i;
        while (j < text.size() && c.IsWordByte(static_cast<BYTE>(text[j]))) ++j;
        while (j - i > 1 && (text[j - 1] == '\'' || text[j - 1] == '-')) --j;
        if (gaps) gaps->push_back(gap);
        word(text.substr(i, j - i), gap, first);
        first = false;
        gap.clear();
        i = j;
    }
    if (gaps) gaps->push_back(gap);
}

// The form each word is listed in: of its spellings that differ only in case, the one
// from which the case modes rebuild the most occurrences without a phrase of their own
// (so "LORD" and "God" are listed as such, "and" in lower case).
class ListedForms {
public:
    // Where a spelling stands decides what a case mode costs there: after a plain blank
    // any mode but 0 needs a phrase of its own; at a text's start mode 1 is free; after
    // other spacing or punctuation the phrase is written anyway and carries any mode.
    enum Place { AfterBlank, AtStart, AfterPhrase };
    void Count(const std::string& raw, const std::string& gap, bool first) {
        if (raw.size() > kMaxWordBytes) return;
        Place place = first && gap.empty() ? AtStart : !first && gap == " " ? AfterBlank : AfterPhrase;
        ++spellings_[Lowered(raw)][raw][place];
    }
    void Choose() {
        for (auto& kv : spellings_) {
            const std::string& lower = kv.first;
            size_t best = SIZE_MAX;
            for (const auto& candidate : kv.second) {
                size_t cost = 0;
                for (const auto& other : kv.second) {
                    unsigned modes = ModesFor(candidate.first, other.first);
                    const size_t* n = other.second;
                    if (!modes) {
                        cost += 3 * (n[AfterBlank] + n[AtStart] + n[AfterPhrase]);  // a second listing
                        continue;
                    }
                    if (!(modes & 1)) cost += n[AfterBlank];
                    if (!(modes & 2)) cost += n[AtStart];
                }
                if (cost < best) {
                    best = cost;
                    chosen_[lower] = candidate.first;
                }
            }
        }
    }
    // The listed form of raw and the modes that rebuild raw from it.
    void Listed(const std::string& raw, std::string* stored, unsigned* modes) const {
        std::string lower = Lowered(raw);
        auto it = chosen_.find(lower);
        if (it != chosen_.end() && (*modes = ModesFor(it->second, raw)) != 0) {
            *stored = it->second;
            return;
        }
        if ((*modes = ModesFor(lower, raw)) != 0) {
            *stored = lower;
            return;
        }
        *stored = raw;  // listed as it stands, read with mode 0
        *modes = 1;
    }

private:
    struct Counts {
        size_t n[3] = {};
        size_t& operator[](Place p) { return n[p]; }
        operator const size_t*() const { return n; }
    };
    std::map<std::string, std::map<std::string, Counts>> spellings_;
    std::map<std::string, std::string> chosen_;
};

Segments Cut(const std::string& text, const ListedForms& forms) {
    Segments seg;
    CutWords(text, &seg.gaps, [&](const std::string& raw, const std::string&, bool) {
        Item item;
        item.raw = raw;
        if (raw.size() <= kMaxWordBytes) forms.Listed(raw, &item.stored, &item.modes);
        seg.items.push_back(std::move(item));
    });
    return seg;
}

struct Sym {
    enum Kind { Word, Phrase, Literal } kind;
    std::string text;
    unsigned mode = 0;
};

// Which words and phrases the tables hold; everything else is written literally.
struct Admission {
    const std::set<std::string>* excludedWords = nullptr;
    const std::set<std::pair<std::string, unsigned>>* excludedPhrases = nullptr;
    bool Word(const std::string& w) const { return !excludedWords || !excludedWords->count(w); }
    bool Phrase(const std::string& g, unsigned mode) const {
        if (g.empty()) return true;  // the empty phrases are the escapes that always exist
        if (g.size() > kMaxPhraseBytes || g.find('\0') != std::string::npos) return false;
        return !excludedPhrases || !excludedPhrases->count({g, mode});
    }
};

// Turns one text into tokens so that the reader's rules rebuild it exactly: a blank goes
// between two word-like tokens by itself, phrases carry their own spacing and set the
// case mode of the next token, the first token of a text is capitalised unless a phrase
// says otherwise, and a phrase that ends a text loses a trailing blank.
class Encoder {
public:
    Encoder(const Admission& admit, std::vector<Sym>* out) : admit_(admit), out_(out) {}

    void Text(const Segments& seg) {
        pending_ = 1;
        afterWord_ = false;
        for (size_t k = 0; k < seg.items.size(); ++k) {
            const Item& item = seg.items[k];
            bool listed = !item.stored.empty() && admit_.Word(item.stored);
            if (listed) {
                GapBeforeWord(seg.gaps[k], item.modes);
                out_->push_back({Sym::Word, item.stored, 0});
                pending_ = 0;
                afterWord_ = true;
            } else {
                GapBeforeLiteral(seg.gaps[k]);
                Literal(item.raw);
            }
        }
        GapAtEnd(seg.gaps.back());
    }

private:
    void Phrase(const std::string& g, unsigned mode) {
        // The pending case mode applies to the phrase too; clear it first where it would
        // change the phrase's bytes.
        if (pending_ != 0 && ApplyMode(pending_, g) != g) out_->push_back({Sym::Phrase, std::string(), 0});
        out_->push_back({Sym::Phrase, g, mode});
        pending_ = mode;
        afterWord_ = false;
    }
    void Literal(const std::string& s) {
        out_->push_back({Sym::Literal, s, 0});
        pending_ = 0;
        afterWord_ = true;
    }
    // A gap that no phrase can carry, written literally without the automatic blank.
    void RawGap(const std::string& g) {
        if (afterWord_) Phrase(std::string(), 0);
        Literal(g);
    }

    // Leaves the pending case mode at one that rebuilds the word.
    void GapBeforeWord(const std::string& g, unsigned modes) {
        if (afterWord_ && g == " " && (modes & 1)) return;  // the automatic blank
        if (!afterWord_ && g.empty() && (modes & (1u << pending_))) return;
        unsigned mode = (modes & 1) ? 0 : (modes & 2) ? 1 : (modes & 4) ? 2 : 3;
        if (admit_.Phrase(g, mode)) {
            Phrase(g, mode);
        } else {
            RawGap(g);
            Phrase(std::string(), mode);
        }
    }
    void GapBeforeLiteral(const std::string& g) {
        if (afterWord_ && g == " ") return;
        if (!afterWord_ && g.empty()) return;
        if (admit_.Phrase(g, 0)) {
            Phrase(g, 0);
        } else {
            RawGap(g);
            Phrase(std::string(), 0);
        }
    }
    void GapAtEnd(const std::string& g) {
        if (g.empty()) return;
        if (g.back() == ' ' || !admit_.Phrase(g, 0)) RawGap(g);
        else Phrase(g, 0);
    }

    const Admission& admit_;
    std::vector<Sym>* out_;
    unsigned pending_ = 1;
    bool afterWord_ = false;
};

void PutU32(std::string* s, size_t v) {
    for (int i = 0; i < 4; ++i) s->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutPacked(std::string* s, size_t v) {
    BYTE buf[kMaxPackedIntBytes];
    unsigned n = PackInt(static_cast<unsigned>(v), buf);
    s->append(reinterpret_cast<const char*>(buf), n);
}

using PhraseKey = std::pair<std::string, unsigned>;

}  // namespace

bool TextTableWriter::Build(std::string* textTable, std::string* wordList, std::string* error) const {
    ListedForms forms;
    for (const std::string& t : texts_)
        CutWords(t, nullptr, [&](const std::string& raw, const std::string& gap, bool first) { forms.Count(raw, gap, first); });
    forms.Choose();
    std::vector<Segments> segments;
    segments.reserve(texts_.size());
    for (const std::string& t : texts_) segments.push_back(Cut(t, forms));

    // Encode; when the vocabulary and phrases exceed the token numbers, keep the most
    // frequent and encode again with the rest written literally.
    std::set<std::string> excludedWords;
    std::set<PhraseKey> excludedPhrases;
    std::vector<std::vector<Sym>> syms;
    std::map<std::string, size_t> wordFreq;
    std::map<PhraseKey, size_t> phraseFreq;
    for (int round = 0; round < 2; ++round) {
        Admission admit{&excludedWords, &excludedPhrases};
        syms.assign(segments.size(), {});
        wordFreq.clear();
        phraseFreq.clear();
        for (size_t i = 0; i < segments.size(); ++i) {
            Encoder(admit, &syms[i]).Text(segments[i]);
            for (const Sym& s : syms[i]) {
                if (s.kind == Sym::Word) ++wordFreq[s.text];
                else if (s.kind == Sym::Phrase) ++phraseFreq[{s.text, s.mode}];
            }
        }
        if (wordFreq.size() + phraseFreq.size() <= kMaxTokens) break;
        std::vector<std::pair<size_t, int>> ranked;  // (frequency, index into the lists below)
        std::vector<std::string> words;
        std::vector<PhraseKey> phrases;
        for (const auto& kv : wordFreq) {
            ranked.emplace_back(kv.second, static_cast<int>(words.size()));
            words.push_back(kv.first);
        }
        for (const auto& kv : phraseFreq) {
            if (kv.first.first.empty()) continue;  // the escapes stay
            ranked.emplace_back(kv.second, -1 - static_cast<int>(phrases.size()));
            phrases.push_back(kv.first);
        }
        std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        const size_t keep = kMaxTokens - 3;  // room for the three escape phrases
        for (size_t r = keep; r < ranked.size(); ++r) {
            int idx = ranked[r].second;
            if (idx >= 0) excludedWords.insert(words[static_cast<size_t>(idx)]);
            else excludedPhrases.insert(phrases[static_cast<size_t>(-1 - idx)]);
        }
    }

    // The word list, and the token numbers: phrases by frequency, then the words in order.
    std::vector<std::string> words;
    for (const auto& kv : wordFreq) words.push_back(kv.first);
    SortWords(&words);
    if (!WriteWordList(words, wordList, error)) return false;
    std::vector<std::pair<size_t, PhraseKey>> byFreq;
    for (const auto& kv : phraseFreq) byFreq.emplace_back(kv.second, kv.first);
    std::stable_sort(byFreq.begin(), byFreq.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    if (byFreq.empty()) byFreq.emplace_back(0, PhraseKey(" ", 0));  // a table holds at least one token
    std::map<PhraseKey, unsigned> phraseToken;
    for (size_t i = 0; i < byFreq.size(); ++i) phraseToken[byFreq[i].second] = static_cast<unsigned>(i);
    const size_t P = byFreq.size();
    std::unordered_map<std::string, unsigned> wordToken;
    for (size_t i = 0; i < words.size(); ++i) wordToken[words[i]] = static_cast<unsigned>(P + i);
    const size_t tokenCount = P + words.size();

    // One-byte codes for the most frequent tokens, rarest of them first: a query's cost
    // order takes the code's position as its rank.
    std::vector<std::pair<size_t, unsigned>> tokenFreq(tokenCount);
    for (size_t t = 0; t < tokenCount; ++t) tokenFreq[t] = {0, static_cast<unsigned>(t)};
    for (const auto& kv : phraseFreq) tokenFreq[phraseToken[kv.first]].first = kv.second;
    for (const auto& kv : wordFreq) tokenFreq[wordToken[kv.first]].first = kv.second;
    const unsigned B = static_cast<unsigned>(((tokenCount - 1) >> 8) + 1);
    std::vector<std::pair<size_t, unsigned>> top = tokenFreq;
    std::stable_sort(top.begin(), top.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    top.resize(std::min<size_t>(top.size(), 255 - B));
    std::reverse(top.begin(), top.end());
    // Every slot needs a token; a small vocabulary repeats its last one.
    std::vector<unsigned> slots(255 - B, top.empty() ? 0 : top.back().second);
    std::vector<int> codeOf(tokenCount, -1);
    for (size_t k = 0; k < top.size(); ++k) {
        slots[k] = top[k].second;
        codeOf[top[k].second] = static_cast<int>(B + k);
    }

    // Token streams.
    std::string data, lengths;
    for (const std::vector<Sym>& text : syms) {
        size_t start = data.size();
        for (const Sym& s : text) {
            if (s.kind == Sym::Literal) {
                data.push_back(static_cast<char>(255));
                PutPacked(&data, s.text.size());
                data += s.text;
                continue;
            }
            unsigned t = s.kind == Sym::Word ? wordToken[s.text] : phraseToken[{s.text, s.mode}];
            if (codeOf[t] >= 0) {
                data.push_back(static_cast<char>(codeOf[t]));
            } else {
                data.push_back(static_cast<char>(t >> 8));
                data.push_back(static_cast<char>(t & 0xFF));
            }
        }
        PutPacked(&lengths, data.size() - start);
        if (data.size() > 0xFFFFFFF0u) {
            *error = "the texts are too large for one table";
            return false;
        }
    }

    std::string& s = *textTable;
    s = *wordList;
    PutU32(&s, P);
    std::string phraseBytes;
    for (const auto& f : byFreq) {
        phraseBytes += f.second.first;
        phraseBytes.push_back('\0');
    }
    PutU32(&s, phraseBytes.size());
    s += phraseBytes;
    for (const auto& f : byFreq) s.push_back(static_cast<char>(f.second.second));
    for (unsigned t : slots) {
        s.push_back(static_cast<char>(t & 0xFF));
        s.push_back(static_cast<char>(t >> 8));
    }
    PutU32(&s, syms.size());
    PutU32(&s, lengths.size());
    s += lengths;
    PutU32(&s, data.size());
    s += data;
    return true;
}
