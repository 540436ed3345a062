#include "TextQuery.h"
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include "Collation.h"

namespace {

// ---- Lexing -----------------------------------------------------------------------------

struct Lexeme {
    enum Kind { Word, And, Or, Open, Close } kind;
    std::string text;
    bool prefix = false;
};

bool Lex(const char* q, std::vector<Lexeme>* out) {
    const Collation& c = Collation::Std();
    const char* p = q;
    while (*p) {
        char ch = *p;
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') {
            ++p;
        } else if (ch == '&' || ch == '/' || ch == '(' || ch == ')') {
            Lexeme op{ch == '&' ? Lexeme::And : ch == '/' ? Lexeme::Or : ch == '(' ? Lexeme::Open : Lexeme::Close, {}, false};
            out->push_back(op);
            ++p;
        } else if (c.Class(static_cast<BYTE>(ch)) != 0) {
            long b = 0, e = 0;
            c.NextWord(p, &b, &e);
            if (b != 0 || e - b > static_cast<long>(kMaxQueryWordBytes)) return false;
            Lexeme w{Lexeme::Word, std::string(p, static_cast<size_t>(e)), false};
            p += e;
            if (*p == '*') {
                w.prefix = true;
                ++p;
            }
            out->push_back(std::move(w));
        } else {
            return false;  // any other character between words
        }
    }
    return true;
}

// ---- Parsing ----------------------------------------------------------------------------

struct Node {
    enum Kind { Term, Alternatives, Sequence } kind;
    // Term: the word indices [lo, hi); empty when the word is not in the list. A union of
    // words joined by "/" marks which of them belong to it (empty: all do).
    DWORD lo = 0, hi = 0;
    std::vector<bool> only;
    // Alternatives and Sequence: the members; Sequence: phrase[i] links member i to i + 1.
    std::vector<std::unique_ptr<Node>> kids;
    std::vector<bool> phrase;
    bool hasAnd = false;  // somewhere inside, a member joined by "&"
};

class Parser {
public:
    Parser(const std::vector<Lexeme>& lex, const WordList& words) : lex_(lex), words_(words) {}

    // The whole query; null with ok() false when malformed.
    std::unique_ptr<Node> Parse() {
        if (lex_.empty()) return nullptr;
        std::unique_ptr<Node> n = Sequence(0);
        if (n && pos_ != lex_.size()) ok_ = false;  // an unmatched ")"
        return ok_ ? std::move(n) : nullptr;
    }
    bool ok() const { return ok_; }

private:
    bool AtTermStart() const {
        return pos_ < lex_.size() && (lex_[pos_].kind == Lexeme::Word || lex_[pos_].kind == Lexeme::Open);
    }
    std::unique_ptr<Node> Fail() {
        ok_ = false;
        return nullptr;
    }

    std::unique_ptr<Node> Sequence(unsigned depth) {
        auto seq = std::make_unique<Node>();
        seq->kind = Node::Sequence;
        std::unique_ptr<Node> first = Alternatives(depth);
        if (!first) return Fail();
        seq->hasAnd = first->hasAnd;
        seq->kids.push_back(std::move(first));
        for (;;) {
            bool linked = true;
            if (pos_ < lex_.size() && lex_[pos_].kind == Lexeme::And) {
                ++pos_;
                linked = false;
                if (!AtTermStart()) return Fail();  // an operator where a term is expected
            } else if (!AtTermStart()) {
                break;
            }
            std::unique_ptr<Node> next = Alternatives(depth);
            if (!next) return Fail();
            // A member that takes part in a phrase must not hold an "&".
            if (linked && (next->hasAnd || seq->kids.back()->hasAnd)) return Fail();
            if (!linked) seq->hasAnd = true;
            seq->hasAnd = seq->hasAnd || next->hasAnd;
            seq->phrase.push_back(linked);
            seq->kids.push_back(std::move(next));
        }
        if (seq->kids.size() == 1) return std::move(seq->kids[0]);
        return seq;
    }

    std::unique_ptr<Node> Alternatives(unsigned depth) {
        std::unique_ptr<Node> first = Primary(depth);
        if (!first) return Fail();
        if (pos_ >= lex_.size() || lex_[pos_].kind != Lexeme::Or) return Bounded(std::move(first));
        auto alt = std::make_unique<Node>();
        alt->kind = Node::Alternatives;
        alt->hasAnd = first->hasAnd;
        alt->kids.push_back(std::move(first));
        while (pos_ < lex_.size() && lex_[pos_].kind == Lexeme::Or) {
            ++pos_;
            std::unique_ptr<Node> next = Primary(depth);
            if (!next) return Fail();
            alt->hasAnd = alt->hasAnd || next->hasAnd;
            alt->kids.push_back(std::move(next));
        }
        MergeTerms(alt.get());
        if (alt->kids.size() == 1) return Bounded(std::move(alt->kids[0]));
        return Bounded(std::move(alt));
    }

    // Terms beyond the limit fail the query; the words of one union count as one term.
    std::unique_ptr<Node> Bounded(std::unique_ptr<Node> n) {
        if (terms_ > kMaxQueryTerms) return Fail();
        return n;
    }

    // The words and prefixes among the alternatives become one term over the union of
    // their words, found in one scan however many words a list of them names.
    void MergeTerms(Node* alt) {
        std::vector<std::unique_ptr<Node>> others;
        std::vector<const Node*> terms;
        DWORD lo = 0, hi = 0;
        for (auto& kid : alt->kids) {
            if (kid->kind != Node::Term) {
                others.push_back(std::move(kid));
                continue;
            }
            terms.push_back(kid.get());
            if (kid->hi <= kid->lo) continue;  // a word not in the list adds nothing
            if (hi <= lo) {
                lo = kid->lo;
                hi = kid->hi;
            } else {
                lo = std::min(lo, kid->lo);
                hi = std::max(hi, kid->hi);
            }
        }
        if (terms.size() < 2) {
            for (auto& kid : alt->kids)
                if (kid) others.push_back(std::move(kid));
            alt->kids.swap(others);
            return;
        }
        auto merged = std::make_unique<Node>();
        merged->kind = Node::Term;
        merged->lo = lo;
        merged->hi = hi;
        if (hi > lo) {
            std::vector<bool> in(hi - lo, false);
            for (const Node* t : terms)
                for (DWORD w = t->lo; w < t->hi; ++w)
                    if (t->only.empty() || t->only[w - t->lo]) in[w - lo] = true;
            if (std::find(in.begin(), in.end(), false) != in.end()) merged->only.swap(in);
        }
        terms_ -= static_cast<unsigned>(terms.size() - 1);
        others.insert(others.begin(), std::move(merged));
        alt->kids.swap(others);
    }

    std::unique_ptr<Node> Primary(unsigned depth) {
        if (pos_ >= lex_.size()) return Fail();
        const Lexeme& l = lex_[pos_];
        if (l.kind == Lexeme::Open) {
            if (depth + 1 > kMaxQueryDepth) return Fail();
            ++pos_;
            std::unique_ptr<Node> inner = Sequence(depth + 1);
            if (!inner || pos_ >= lex_.size() || lex_[pos_].kind != Lexeme::Close) return Fail();
            ++pos_;
            return inner;
        }
        if (l.kind != Lexeme::Word) return Fail();
        ++pos_;
        ++terms_;  // checked where the alternatives it belongs to are complete
        auto term = std::make_unique<Node>();
        term->kind = Node::Term;
        if (l.prefix) {
            long b = 0, e = 0;
            words_.FindPrefix(l.text.c_str(), &b, &e);
            term->lo = static_cast<DWORD>(b);
            term->hi = static_cast<DWORD>(std::max(b, e));
        } else {
            // The word and any that compare equal to it (forms that differ only in case).
            long i = words_.Find(l.text.c_str());
            if (i >= 0) {
                long j = i + 1;
                char w[kWordBufferSize];
                while (j < words_.Count()) {
                    words_.Decode(j, w);
                    if (words_.Compare(w, l.text.c_str()) != 0) break;
                    ++j;
                }
                term->lo = static_cast<DWORD>(i);
                term->hi = static_cast<DWORD>(j);
            }
        }
        return term;
    }

    const std::vector<Lexeme>& lex_;
    const WordList& words_;
    size_t pos_ = 0;
    unsigned terms_ = 0;
    bool ok_ = true;
};

// ---- Evaluation -------------------------------------------------------------------------

struct Hits {
    std::vector<DWORD> texts;
    std::vector<Occurrence> occs;  // only when positions were asked for
};

bool OccLess(const Occurrence& a, const Occurrence& b) {
    if (a.text != b.text) return a.text < b.text;
    if (a.firstWord != b.firstWord) return a.firstWord < b.firstWord;
    return a.lastWord < b.lastWord;
}

class Evaluator {
public:
    Evaluator(const TextTable& table, DWORD begin, DWORD end) : table_(table), begin_(begin), end_(end) {}

    // Evaluates n within the candidates (all of [begin, end) when null).
    Hits Eval(const Node& n, const std::vector<DWORD>* cands, bool positions) {
        switch (n.kind) {
        case Node::Term: return Term(n, cands, positions);
        case Node::Alternatives: return Alternatives(n, cands, positions);
        default: return Sequence(n, cands, positions);
        }
    }

    // A term of one contiguous run of words, which the phrase walk takes as it stands.
    static bool IsPlainTerm(const Node& n) { return n.kind == Node::Term && n.only.empty(); }

    long Cost(const Node& n) const {
        if (n.kind != Node::Term) return LONG_MAX;
        if (n.hi <= n.lo) return -1;
        if (n.hi - n.lo > 1) return LONG_MAX;
        return table_.TokenCost(table_.PhraseCount() + n.lo);
    }

private:
    Hits Term(const Node& n, const std::vector<DWORD>* cands, bool positions) {
        Hits h;
        if (n.hi > n.lo)
            table_.Scan(n.lo, n.hi, n.only.empty() ? nullptr : &n.only, cands, begin_, end_, positions, &h.texts,
                        &h.occs);
        return h;
    }

    Hits Alternatives(const Node& n, const std::vector<DWORD>* cands, bool positions) {
        Hits all;
        for (const auto& kid : n.kids) {
            Hits h = Eval(*kid, cands, positions);
            std::vector<DWORD> merged;
            std::set_union(all.texts.begin(), all.texts.end(), h.texts.begin(), h.texts.end(),
                           std::back_inserter(merged));
            all.texts.swap(merged);
            all.occs.insert(all.occs.end(), h.occs.begin(), h.occs.end());
        }
        std::sort(all.occs.begin(), all.occs.end(), OccLess);
        return all;
    }

    Hits Sequence(const Node& n, const std::vector<DWORD>* cands, bool positions) {
        const size_t k = n.kids.size();
        std::vector<size_t> order(k);
        for (size_t i = 0; i < k; ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return Cost(*n.kids[a]) < Cost(*n.kids[b]); });
        // First the texts that hold every member, rarest member first, each within the
        // texts found so far; positions only where a phrase needs them, within those texts.
        // A phrase of plain words only needs its rarest word's texts: the walk for the
        // phrase settles the rest in one pass.
        bool wordPhrase = true;
        for (size_t i = 0; i < k && wordPhrase; ++i)
            wordPhrase = IsPlainTerm(*n.kids[i]) && (i + 1 == k || n.phrase[i]);
        std::vector<DWORD> current;
        const std::vector<DWORD>* within = cands;
        for (size_t idx : order) {
            if (wordPhrase && within != cands) break;
            Hits h = Eval(*n.kids[idx], within, false);
            if (h.texts.empty()) return Hits();
            current.swap(h.texts);
            within = &current;
        }
        Hits out;
        out.texts = current;
        for (size_t s = 0; s < k;) {
            size_t t = s;
            while (t + 1 < k && n.phrase[t]) ++t;
            if (t > s || positions) {
                // Each run of members joined as a phrase must occur in order, directly. A run
                // of plain words is found in one walk over each text.
                std::vector<Occurrence> chain;
                std::vector<std::pair<DWORD, DWORD>> terms;
                for (size_t j = s; j <= t && IsPlainTerm(*n.kids[j]); ++j)
                    terms.emplace_back(n.kids[j]->lo, n.kids[j]->hi);
                if (terms.size() == t - s + 1 && t > s) {
                    table_.ScanPhrase(terms, out.texts, &chain);
                } else {
                    chain = Eval(*n.kids[s], &out.texts, true).occs;
                    for (size_t j = s + 1; j <= t && !chain.empty(); ++j)
                        chain = Join(chain, Eval(*n.kids[j], &out.texts, true).occs);
                }
                std::vector<DWORD> texts;
                for (const Occurrence& o : chain)
                    if (texts.empty() || texts.back() != o.text) texts.push_back(o.text);
                std::vector<DWORD> kept;
                std::set_intersection(out.texts.begin(), out.texts.end(), texts.begin(), texts.end(),
                                      std::back_inserter(kept));
                out.texts.swap(kept);
                if (positions && s == 0 && t + 1 == k) out.occs = Restrict(chain, out.texts);
                if (out.texts.empty()) return Hits();
            }
            s = t + 1;
        }
        return out;
    }

    // The occurrences (sorted by text) that stand in the given texts (sorted).
    static std::vector<Occurrence> Restrict(const std::vector<Occurrence>& occs, const std::vector<DWORD>& texts) {
        std::vector<Occurrence> out;
        size_t j = 0;
        for (const Occurrence& o : occs) {
            while (j < texts.size() && texts[j] < o.text) ++j;
            if (j < texts.size() && texts[j] == o.text) out.push_back(o);
        }
        return out;
    }

    // Occurrences of a followed directly by one of b, as spans from a's start to b's end.
    // Both lists are sorted by text and first word.
    static std::vector<Occurrence> Join(const std::vector<Occurrence>& a, const std::vector<Occurrence>& b) {
        std::vector<Occurrence> out;
        size_t j = 0;
        for (const Occurrence& x : a) {
            const DWORD want = x.lastWord + 1;
            while (j < b.size() && (b[j].text < x.text || (b[j].text == x.text && b[j].firstWord < want))) ++j;
            for (size_t m = j; m < b.size() && b[m].text == x.text && b[m].firstWord == want; ++m)
                if (b[m].firstBreaks == x.lastBreaks)
                    out.push_back(Occurrence{x.text, x.firstWord, x.firstBreaks, b[m].lastWord, b[m].lastBreaks});
        }
        std::sort(out.begin(), out.end(), OccLess);
        out.erase(std::unique(out.begin(), out.end(),
                              [](const Occurrence& l, const Occurrence& r) {
                                  return l.text == r.text && l.firstWord == r.firstWord && l.lastWord == r.lastWord;
                              }),
                  out.end());
        return out;
    }

    const TextTable& table_;
    DWORD begin_, end_;
};

}  // namespace

HRESULT RunTextQuery(const TextTable& table, const WordList& words, const char* query, DWORD begin, DWORD end,
                     std::vector<DWORD>* found) {
    found->clear();
    try {
        std::vector<Lexeme> lex;
        if (!Lex(query, &lex)) return E_FAIL;
        Parser parser(lex, words);
        std::unique_ptr<Node> root = parser.Parse();
        if (!parser.ok()) return E_FAIL;
        if (!root) return S_OK;  // no words at all
        Evaluator ev(table, begin, end);
        Hits h = ev.Eval(*root, nullptr, false);
        found->swap(h.texts);
        return found->empty() ? S_FALSE : S_OK;
    } catch (const std::bad_alloc&) {
        found->clear();
        return E_OUTOFMEMORY;
    }
}
