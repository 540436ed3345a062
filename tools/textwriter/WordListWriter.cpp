#include "WordListWriter.h"
#include <algorithm>
#include <cstring>
#include <map>
#include "Collation.h"
#include "WordListFormat.h"

namespace {

constexpr unsigned kMaxEndingLength = 6;
constexpr unsigned kMinPrefixUse = 4;  // shorter shared beginnings are not worth a code

void PutU32(std::string* s, unsigned v) {
    for (int i = 0; i < 4; ++i) s->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The byte values of the unused indices 0, 1, 2 ...
std::vector<char> CodeBytes() {
    const Collation& c = Collation::Std();
    std::vector<char> bytes(static_cast<size_t>(c.UnusedCount()));
    for (int b = 1; b < 256; ++b)
        if (c.UnusedIndices()[b] >= 0) bytes[static_cast<size_t>(c.UnusedIndices()[b])] = static_cast<char>(b);
    return bytes;
}

// Endings worth a code: suffixes of 2-6 bytes by the bytes they save, at most as many as
// there are code bytes. Answered longest first, as the stream numbers them.
std::vector<std::string> ChooseEndings(const std::vector<std::string>& words, size_t limit) {
    std::map<std::string, size_t> counts;
    for (const std::string& w : words)
        for (unsigned len = 2; len <= kMaxEndingLength && len < w.size(); ++len) ++counts[w.substr(w.size() - len)];
    std::vector<std::pair<size_t, std::string>> scored;
    for (const auto& kv : counts)
        if (kv.second >= 3) scored.emplace_back(kv.second * (kv.first.size() - 1), kv.first);
    std::sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::string> chosen;
    for (size_t i = 0; i < scored.size() && chosen.size() < limit; ++i) chosen.push_back(scored[i].second);
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    return chosen;
}

size_t CommonPrefix(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return n;
}

// Packs record lengths: three of 2-5 in one byte, two of 2-9, else one of 0-127.
std::string PackLengths(const std::vector<unsigned>& lengths) {
    std::string out;
    auto in = [](unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
    for (size_t i = 0; i < lengths.size();) {
        if (i + 2 < lengths.size() && in(lengths[i], 2, 5) && in(lengths[i + 1], 2, 5) && in(lengths[i + 2], 2, 5)) {
            out.push_back(static_cast<char>(0xC0 | (lengths[i] - 2) | (lengths[i + 1] - 2) << 2 | (lengths[i + 2] - 2) << 4));
            i += 3;
        } else if (i + 1 < lengths.size() && in(lengths[i], 2, 9) && in(lengths[i + 1], 2, 9)) {
            out.push_back(static_cast<char>(0x80 | (lengths[i] - 2) | (lengths[i + 1] - 2) << 3));
            i += 2;
        } else {
            out.push_back(static_cast<char>(lengths[i]));
            ++i;
        }
    }
    return out;
}

}  // namespace

void SortWords(std::vector<std::string>* words) {
    const Collation& c = Collation::Std();
    std::stable_sort(words->begin(), words->end(), [&](const std::string& a, const std::string& b) {
        int r = c.Compare(a.c_str(), b.c_str());
        return r != 0 ? r < 0 : a < b;
    });
}

bool WriteWordList(const std::vector<std::string>& words, std::string* stream, std::string* error) {
    const Collation& c = Collation::Std();
    for (const std::string& w : words) {
        if (w.empty() || w.size() > kMaxWordBytes) {
            *error = "a word is empty or longer than 127 bytes";
            return false;
        }
        for (char ch : w)
            if (!c.IsWordByte(static_cast<BYTE>(ch))) {
                *error = "a word holds a byte that is not a letter, digit, apostrophe or hyphen: " + w;
                return false;
            }
    }
    const std::vector<char> codes = CodeBytes();
    const std::vector<std::string> endings = ChooseEndings(words, codes.size());

    std::vector<std::string> records(words.size());
    std::vector<bool> prefixed(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        std::string& rec = records[i];
        size_t used = 0;
        // The best earlier word without a prefix code of its own, within reach of a code.
        size_t bestLen = 0, bestCode = 0;
        for (size_t d = 1; d <= kMaxPrefixDistance && d <= i; ++d) {
            size_t j = i - d;
            if (prefixed[j]) continue;
            size_t n = std::min(CommonPrefix(words[j], w), w.size() - 1);
            size_t removed = words[j].size() - n;
            size_t u = 8 * (d - 1) + removed;
            if (removed > 7 || u >= codes.size()) continue;
            if (n > bestLen) {
                bestLen = n;
                bestCode = u;
            }
        }
        if (bestLen >= kMinPrefixUse) {
            rec.push_back(codes[bestCode]);
            used = bestLen;
            prefixed[i] = true;
        }
        std::string rest = w.substr(used);
        size_t ending = endings.size();
        for (size_t e = 0; e < endings.size(); ++e)
            if (endings[e].size() <= rest.size() &&
                rest.compare(rest.size() - endings[e].size(), endings[e].size(), endings[e]) == 0) {
                ending = e;  // the longest comes first
                break;
            }
        if (ending < endings.size()) {
            rec += rest.substr(0, rest.size() - endings[ending].size());
            rec.push_back(codes[ending]);
        } else {
            rec += rest;
        }
    }

    std::string& s = *stream;
    s.clear();
    s.push_back(static_cast<char>(strlen(Collation::kName)));
    s += Collation::kName;
    unsigned longest = endings.empty() ? 0 : static_cast<unsigned>(endings.front().size());
    s.push_back(static_cast<char>(longest));
    for (unsigned len = longest; len >= 2; --len)
        s.push_back(static_cast<char>(std::count_if(endings.begin(), endings.end(),
                                                    [&](const std::string& e) { return e.size() == len; })));
    for (const std::string& e : endings) s += e;
    PutU32(&s, static_cast<unsigned>(words.size()));
    std::vector<unsigned> lengths;
    for (const std::string& r : records) lengths.push_back(static_cast<unsigned>(r.size()));
    std::string packed = PackLengths(lengths);
    PutU32(&s, static_cast<unsigned>(packed.size()));
    s += packed;
    size_t total = 0;
    for (const std::string& r : records) total += r.size();
    PutU32(&s, static_cast<unsigned>(total));
    for (const std::string& r : records) s += r;
    return true;
}
