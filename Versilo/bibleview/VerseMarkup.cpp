// Taking apart the markup of verse texts and titles.
#include "VerseMarkup.h"
#include <cstring>

char* TrimTitle(char* title) {
    while (*title == '.') ++title;
    size_t n = std::strlen(title);
    while (n > 0 && (title[n - 1] == '+' || (title[n - 1] == '.' && n > 1))) title[--n] = '\0';
    return title;
}

char* SplitInlineHeading(char** text, bool* strong) {
    char* p = *text;
    if (p[0] != '<' || p[1] != '<') return nullptr;
    p += 2;
    *strong = *p == '*';
    if (*strong) ++p;
    char* heading = p;
    int depth = 2;
    while (*p && depth > 0) {
        if (*p == '<') ++depth;
        else if (*p == '>') {
            --depth;
            *p = '\0';
        }
        ++p;
    }
    while (*p == ' ') ++p;
    const size_t n = std::strlen(heading);
    if (n > 0 && heading[n - 1] == '*') heading[n - 1] = '\0';
    *text = p;
    return heading;
}

int HideBrackets(char* text, int* ranges) {
    int pairs = 0;
    bool open = false;
    char* out = text;
    for (char* p = text; *p; ++p) {
        // Once the pairs are used up, brackets stay in the text as they are.
        if ((*p != '[' && *p != ']') || pairs == kMaxBracketPairs) {
            *out++ = *p;
            continue;
        }
        // Every other bracket goes. A '[' opens a stretch unless one is open; the first ']'
        // after it closes that stretch; a ']' with none open only goes.
        const int at = static_cast<int>(out - text);
        if (*p == '[' && !open) {
            ranges[2 * pairs] = at;
            open = true;
        } else if (*p == ']' && open) {
            ranges[2 * pairs + 1] = at;
            ++pairs;
            open = false;
        }
    }
    *out = '\0';
    if (open) ranges[2 * pairs++ + 1] = static_cast<int>(out - text);
    return pairs;
}
