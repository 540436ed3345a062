// FindEditLink: the marks around the caret, on its own line.
#include "EditLinks.h"
#include <windows.h>
#include <cstring>
#include <new>

namespace {
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
}

EditLinkKind FindEditLink(const char* text, int caret, std::string* link) {
    link->clear();
    if (!text || caret < 0 || static_cast<size_t>(caret) > std::strlen(text)) return EditLinkKind::kNone;
    const char* at = text + caret;
    // Backwards from the caret to the mark, within the line.
    const char* mark = nullptr;
    for (const char* p = at; p > text;) {
        p = CharPrevA(text, p);
        if (IsLineEnd(*p)) break;
        if (*p == '<' || *p == '{') {
            mark = p;
            break;
        }
        if (*p == '>') {
            // Only a heading's first '>' is a mark; one that closes a reference ends the search.
            if (p == text || IsLineEnd(p[-1])) mark = p;
            break;
        }
    }
    if (!mark) return EditLinkKind::kNone;
    const bool heading = *mark == '>';
    const char endMark = *mark == '<' ? '>' : (*mark == '{' ? '}' : '.');
    const char* stop = at;
    while (*stop && !IsLineEnd(*stop) && *stop != endMark) stop = CharNextA(stop);
    if (!(*stop == endMark || (heading && *stop == '\r'))) return EditLinkKind::kNone;
    const char* end = stop;
    if (*mark != '{') {
        // A reference ends at its first full stop or comma at or after the caret.
        for (const char* p = at; p < stop; p = CharNextA(p)) {
            if (*p == '.' || *p == ',') {
                end = p;
                break;
            }
        }
    }
    try {
        link->assign(mark + 1, end);
    } catch (const std::bad_alloc&) {
        return EditLinkKind::kNone;
    }
    return *mark == '{' ? EditLinkKind::kArticleTitle : EditLinkKind::kBibleReference;
}
