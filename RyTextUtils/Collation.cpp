#include "Collation.h"
#include <cstring>

namespace {

// Letter groups in order; the first character of each is its base letter.
const char* const kGroups[] = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "a\xE1\xE0\xE2\xE3", "b", "c", "d", "e\xE9\xE8\xEA\xEB", "f", "g", "h", "i\xED\xEC\xEE\xEF",
    "j", "k", "l", "m", "n\xF1", "o\xF3\xF2\xF4\xF5", "p", "q", "r", "s\xDF", "t", "u\xFA\xF9\xFB",
    "v", "w", "x", "y\xFD\xFF", "z", "\xE6", "\xF8", "\xE5", "\xFC", "\xE4", "\xF6",
};

BYTE MapCase(BYTE c, bool upper) {
    char buf[1] = {static_cast<char>(c)};
    if (upper) CharUpperBuffA(buf, 1);
    else CharLowerBuffA(buf, 1);
    return static_cast<BYTE>(buf[0]);
}

// Consumes the marker after a character: 1 for one apostrophe, 2 for one hyphen.
inline int TakeMarker(const BYTE*& p) {
    if (*p == '\'') { ++p; return 1; }
    if (*p == '-') { ++p; return 2; }
    return 0;
}

inline int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

const Collation& Collation::Std() {
    static const Collation instance;
    return instance;
}

Collation::Collation() {
    for (int c = 0; c < 256; ++c) {
        upper_[c] = MapCase(static_cast<BYTE>(c), true);
        lower_[c] = MapCase(static_cast<BYTE>(c), false);
    }
    BYTE group = 1;
    for (const char* g : kGroups) {
        for (BYTE j = 0; g[j]; ++j) {
            BYTE c = static_cast<BYTE>(g[j]);
            class_[c] = group;
            accent_[c] = j;
            BYTE u = upper_[c];
            class_[u] = group;
            accent_[u] = j;
        }
        ++group;
    }
    unusedCount_ = 0;
    unused_[0] = -1;
    for (int c = 1; c < 256; ++c) {
        bool reserved = c == '\'' || c == '-' || c == ' ' || c == ',' || c == '.';
        unused_[c] = (class_[c] == 0 && !reserved) ? unusedCount_++ : -1;
    }
}

int Collation::Compare(const char* a, const char* b) const {
    const BYTE* p1 = reinterpret_cast<const BYTE*>(a);
    const BYTE* p2 = reinterpret_cast<const BYTE*>(b);
    // Accent and marker differences are kept apart, so that a marker difference seen first
    // does not hide a later accent difference (which would make the order intransitive).
    int accentDiff = 0, markerDiff = 0, m1 = 0, m2 = 0;
    while (*p1 && *p2) {
        BYTE c1 = *p1++, c2 = *p2++;
        int r = class_[c1] - class_[c2];
        if (r) return Sign(r);
        if (!accentDiff) accentDiff = accent_[c1] - accent_[c2];
        m1 = TakeMarker(p1);
        m2 = TakeMarker(p2);
        if (!markerDiff) markerDiff = m1 - m2;
    }
    if (*p1) return 1;
    if (*p2) return -1;
    if (accentDiff) return Sign(accentDiff);
    if (m1 != m2) return Sign(m1 - m2);
    return Sign(markerDiff);
}

bool Collation::IsPrefixedBy(const char* super, const char* prefix) const {
    const BYTE* s = reinterpret_cast<const BYTE*>(super);
    const BYTE* p = reinterpret_cast<const BYTE*>(prefix);
    while (*s && *p) {
        if (class_[*s++] != class_[*p++]) return false;
        TakeMarker(s);
        TakeMarker(p);
    }
    return *p == 0;
}

int Collation::ComparePrefixGroups(const char* word, const char* prefix) const {
    const BYTE* w = reinterpret_cast<const BYTE*>(word);
    const BYTE* p = reinterpret_cast<const BYTE*>(prefix);
    while (*p) {
        if (!*w) return -1;
        int r = class_[*w++] - class_[*p++];
        if (r) return Sign(r);
        TakeMarker(w);
        TakeMarker(p);
    }
    return 0;
}

bool Collation::NextWord(const char* pos, long* begin, long* end) const {
    const BYTE* start = reinterpret_cast<const BYTE*>(pos);
    const BYTE* p = start;
    while (*p && class_[*p] == 0) ++p;
    if (!*p) {
        *begin = *end = static_cast<long>(p - start);
        return false;
    }
    const BYTE* w = p;
    while (*p && IsWordByte(*p)) ++p;
    while (p - w > 1 && (p[-1] == '\'' || p[-1] == '-')) --p;
    *begin = static_cast<long>(w - start);
    *end = static_cast<long>(p - start);
    return true;
}
