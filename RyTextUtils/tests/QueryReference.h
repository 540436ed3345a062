// A plain scan that answers queries over decoded texts, for comparison with
// IRyTextTab::Find: the texts are broken into words as IRyLanguage does, words compare by
// the collation, and a phrase's words must follow each other with no "." between them.
#pragma once
#include <string>
#include <utility>
#include <vector>
#include "Collation.h"

struct RefQuery {
    enum Kind { Word, Prefix, And, Or, Phrase } kind;
    std::string word;
    std::vector<RefQuery> kids;
};
inline RefQuery RW(const std::string& w) { return {RefQuery::Word, w, {}}; }
inline RefQuery RP(const std::string& w) { return {RefQuery::Prefix, w, {}}; }
inline RefQuery RAnd(std::vector<RefQuery> k) { return {RefQuery::And, "", std::move(k)}; }
inline RefQuery ROr(std::vector<RefQuery> k) { return {RefQuery::Or, "", std::move(k)}; }
inline RefQuery RPhrase(std::vector<RefQuery> k) { return {RefQuery::Phrase, "", std::move(k)}; }

class PlainScan {
public:
    explicit PlainScan(const std::string& text) {
        const Collation& c = Collation::Std();
        const char* p = text.c_str();
        int breaks = 0;
        size_t gapStart = 0;
        for (size_t at = 0;;) {
            long b = 0, e = 0;
            if (!c.NextWord(p + at, &b, &e)) break;
            if (text.substr(gapStart, at + static_cast<size_t>(b) - gapStart).find('.') != std::string::npos &&
                !words_.empty())
                ++breaks;
            words_.push_back(text.substr(at + static_cast<size_t>(b), static_cast<size_t>(e - b)));
            breaks_.push_back(breaks);
            at += static_cast<size_t>(e);
            gapStart = at;
        }
    }

    bool Matches(const RefQuery& q) const { return !Spans(q).empty(); }

private:
    using Span = std::pair<int, int>;
    std::vector<Span> Spans(const RefQuery& q) const {
        const Collation& c = Collation::Std();
        std::vector<Span> out;
        switch (q.kind) {
        case RefQuery::Word:
        case RefQuery::Prefix:
            for (size_t i = 0; i < words_.size(); ++i) {
                bool hit = q.kind == RefQuery::Word ? c.Compare(words_[i].c_str(), q.word.c_str()) == 0
                                                    : c.IsPrefixedBy(words_[i].c_str(), q.word.c_str());
                if (hit) out.push_back({static_cast<int>(i), static_cast<int>(i)});
            }
            break;
        case RefQuery::Or:
            for (const RefQuery& k : q.kids) {
                std::vector<Span> s = Spans(k);
                out.insert(out.end(), s.begin(), s.end());
            }
            break;
        case RefQuery::And:
            for (const RefQuery& k : q.kids)
                if (Spans(k).empty()) return out;
            out.push_back({-1, -1});
            break;
        case RefQuery::Phrase: {
            out = Spans(q.kids[0]);
            for (size_t j = 1; j < q.kids.size(); ++j) {
                std::vector<Span> next = Spans(q.kids[j]), joined;
                for (const Span& a : out)
                    for (const Span& b : next)
                        if (b.first == a.second + 1 && breaks_[static_cast<size_t>(b.first)] ==
                                                           breaks_[static_cast<size_t>(a.second)])
                            joined.push_back({a.first, b.second});
                out.swap(joined);
            }
            break;
        }
        }
        return out;
    }

    std::vector<std::string> words_;
    std::vector<int> breaks_;  // sentence breaks before each word
};
