// Note markers and the segments of verse notes they stand for.
#include "VerseNotes.h"
#include <cstring>

bool IsKeyedMarker(const char* wordBefore) {
    if (!wordBefore || !*wordBefore) return false;
    const unsigned char last = static_cast<unsigned char>(wordBefore[std::strlen(wordBefore) - 1]);
    return std::strchr(".\xBB\xAB\"? *;:,", last) == nullptr;
}

bool FindNoteSegment(const char* note, int stars, char* out, int size) {
    if (!note || !out || size <= 0) return false;
    out[0] = '\0';
    const char* start = note;
    if (stars > 0) {
        start = nullptr;
        for (const char* p = note; *p && !start; ++p) {
            if (*p != '*' || (p > note && p[-1] == '*')) continue;
            int n = 0;
            while (p[n] == '*') ++n;
            if (n == stars) start = p + n;
            p += n - 1;
        }
        if (!start) return false;
    }
    while (*start == ' ') ++start;
    const char* end = start;
    while (*end && *end != '*') ++end;
    while (end > start && end[-1] == ' ') --end;
    if (end == start) return false;
    int length = static_cast<int>(end - start);
    if (length > size - 1) length = size - 1;
    std::memcpy(out, start, static_cast<size_t>(length));
    out[length] = '\0';
    return true;
}
