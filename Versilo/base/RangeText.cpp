// The plain text of a reference's verses, and the two string helpers it is built with.
#include "BibleObjects.h"
#include <cctype>
#include <cstring>
#include <vector>

namespace {

// Room for one verse read for a cut text or a measuring call.
constexpr int kVerseBufferSize = 2048;
// " ..." ends a cut text.
const char kCutMarker[] = " ...";
constexpr int kCutMarkerLength = 4;

// The C library's white space, asked with the byte's unsigned value: letters such as
// æ, ø and å are negative as plain chars.
bool IsWhite(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Reads one verse into buffer (size >= 1), white space collapsed; an unreadable verse is
// empty. Returns its length.
int ReadVerse(IBible* bible, int book, int chapter, int verse, char* buffer, int size) {
    buffer[0] = '\0';
    if (FAILED(bible->GetVerseText(book, chapter, verse, FALSE, buffer, size))) buffer[0] = '\0';
    buffer[size - 1] = '\0';
    return static_cast<int>(std::strlen(CollapseSpaces(buffer)));
}

}  // namespace

char* CollapseSpaces(char* text) {
    const char* in = text;
    char* out = text;
    while (*in && IsWhite(*in)) ++in;
    bool pendingBlank = false;
    for (; *in; ++in) {
        if (IsWhite(*in)) {
            pendingBlank = true;
            continue;
        }
        if (pendingBlank) *out++ = ' ';
        pendingBlank = false;
        *out++ = *in;
    }
    *out = '\0';
    return text;
}

void AppendBounded(char** out, const char* text, int* total, int* remaining) {
    int n = static_cast<int>(std::strlen(text));
    if (*out) {
        int room = *remaining - 1;
        if (room < 0) room = 0;
        if (n > room) n = room;
        std::memcpy(*out, text, n);
        *out += n;
        *remaining -= n;
        **out = '\0';
    }
    *total += n;
}

int VoBibleObjects::GetRangeText(int ref, char* buffer, int size, bool cut) const {
    if (buffer) {
        if (size <= 0) return 0;  // not even the terminator fits
        buffer[0] = '\0';
    }
    int first = 0, end = 0;
    if (!GetVerseRange(ref, &first, &end)) return 0;

    char* out = buffer;
    int remaining = size;
    int total = 0;
    std::vector<int> pieces;  // lengths appended in cut mode, to take back
    char local[kVerseBufferSize];
    for (int index = first; index < end; ++index) {
        int book = 0, chapter = 0, verse = 0;
        if (!stat_->VerseIndexToRef(index, &book, &chapter, &verse)) break;
        if (!cut && out && remaining > kVerseBufferSize) {
            // Room for more than the local buffer holds: the bible bounds the verse itself.
            int n = ReadVerse(bible_.Get(), book, chapter, verse, out, remaining);
            out += n;
            remaining -= n;
            total += n;
            if (index + 1 < end) AppendBounded(&out, " ", &total, &remaining);
            continue;
        }
        int n = ReadVerse(bible_.Get(), book, chapter, verse, local, kVerseBufferSize);
        if (!cut) {
            // Whatever of the verse fits (all of it when measuring), then the blank.
            AppendBounded(&out, local, &total, &remaining);
            if (index + 1 < end) AppendBounded(&out, " ", &total, &remaining);
            continue;
        }
        int need = total == 0 ? n : n + 1;
        if (remaining <= need) {
            // Room for the marker and its NUL: take back whole pieces while it is short.
            while (remaining < kCutMarkerLength + 1 && !pieces.empty()) {
                int back = pieces.back();
                pieces.pop_back();
                total -= back;
                remaining += back;
                if (out) out -= back;
            }
            int marker = remaining - 1 < kCutMarkerLength ? remaining - 1 : kCutMarkerLength;
            if (marker < 0) marker = 0;
            if (out) {
                std::memcpy(out, kCutMarker, marker);
                out[marker] = '\0';
            }
            total += marker;
            break;
        }
        if (out) {
            if (total != 0) *out++ = ' ';
            std::memcpy(out, local, n);
            out += n;
            *out = '\0';
        }
        remaining -= need;
        total += need;
        pieces.push_back(need);
    }
    return total;
}
