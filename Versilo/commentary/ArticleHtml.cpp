// The two stages of an article's HTML, and reading its title back.
//
// Texts are ANSI in the system code page; every scan walks whole characters (CharNext), so
// a trail byte with the value of a mark is never taken for one.
#include "ArticleHtml.h"
#include "IBibleLangStat.h"
#include "ShellRoutines.h"
#include <climits>
#include <cstring>
#include <new>

namespace {

const char kTitleStart[] = "<title>";
const char kTitleEnd[] = "</title>\r\n";
const char kLexiconLinkStart[] = "<a href=\"lexicon:";
const char kBibleLinkStart[] = "<a href=\"bible:";
const char kAnchorName[] = "\" NAME=\"anchor1";  // every reference of a heading: anchor1
const char kTargetEnd[] = "\">";
const char kLinkEnd[] = "</a>";
const char kBlankInLink[] = "&nbsp;";

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t'; }

// The title's characters with '<', '>' and '&' as entities.
void AppendEscapedTitle(std::string* out, const char* text) {
    for (const char* p = text; *p;) {
        const char* next = CharNextA(p);
        switch (*p) {
        case '<': out->append("&lt;"); break;
        case '>': out->append("&gt;"); break;
        case '&': out->append("&amp;"); break;
        default: out->append(p, static_cast<size_t>(next - p)); break;
        }
        p = next;
    }
}

// One body line: typed brackets as entities, then '<' and '>' as the reference marks.
void AppendBodyLine(std::string* out, const char* line) {
    for (const char* p = line; *p;) {
        const char* next = CharNextA(p);
        switch (*p) {
        case '[': out->append("&#91;"); break;
        case ']': out->append("&#93;"); break;
        case '<': out->push_back('['); break;
        case '>': out->push_back(']'); break;
        default: out->append(p, static_cast<size_t>(next - p)); break;
        }
        p = next;
    }
}

// The next line of text, cut off in place at its CR, LF or CR LF; null at the end.
char* NextLine(char** cursor) {
    char* line = *cursor;
    if (!*line) return nullptr;
    char* p = line;
    while (*p && *p != '\r' && *p != '\n') p = CharNextA(p);
    if (*p == '\r') {
        *p++ = '\0';
        if (*p == '\n') *p++ = '\0';
    } else if (*p == '\n') {
        *p++ = '\0';
    }
    *cursor = p;
    return line;
}

// The output of the second stage: every piece is counted, and written while it fits.
class LinkOutput {
public:
    LinkOutput(char* buffer, int capacity)
        : buffer_(capacity > 0 ? buffer : nullptr), room_(capacity > 0 ? static_cast<size_t>(capacity) - 1 : 0) {
        if (buffer_) buffer_[0] = '\0';
    }
    void Put(const char* text, size_t length) {
        if (buffer_ && written_ < room_) {
            const size_t n = length < room_ - written_ ? length : room_ - written_;
            std::memcpy(buffer_ + written_, text, n);
            written_ += n;
            buffer_[written_] = '\0';
        }
        count_ += length;
    }
    void Put(const char* text) { Put(text, std::strlen(text)); }
    void Put(char c) { Put(&c, 1); }
    // A link target: '"' would end the attribute.
    void PutTarget(const char* text, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            if (text[i] == '"') Put("&quot;");
            else Put(text[i]);
        }
    }
    int Result() const { return count_ > static_cast<size_t>(INT_MAX - 1) ? -1 : static_cast<int>(count_); }

private:
    char* buffer_;
    size_t room_;
    size_t written_ = 0;
    size_t count_ = 0;
};

// The link text of source[0, length): blanks as "&nbsp;", cut at whole pieces to fit.
size_t MakeLinkText(char (&out)[kLinkTextCapacity], const char* source, size_t length) {
    size_t used = 0;
    for (const char* p = source; p < source + length && *p;) {
        const char* next = CharNextA(p);
        const char* piece = *p == ' ' ? kBlankInLink : p;
        const size_t n = *p == ' ' ? sizeof kBlankInLink - 1 : static_cast<size_t>(next - p);
        if (n == 0 || used + n > sizeof out - 1) break;
        std::memcpy(out + used, piece, n);
        used += n;
        p = next;
    }
    out[used] = '\0';
    return used;
}

// Scans plain text from p up to the next '{', '[' or NUL, noting where headings start and
// end; answers the stop.
const char* ScanPlain(const char* p, bool* inHeading) {
    while (*p && *p != '{' && *p != '[') {
        if (*p == '<') {
            if ((p[1] == 'H' || p[1] == 'h') && p[2] == '1') *inHeading = true;
            else if (p[1] == '/' && (p[2] == 'H' || p[2] == 'h') && p[3] == '1') *inHeading = false;
        }
        p = CharNextA(p);
    }
    return p;
}

// The references of one pair of square brackets, s being their text (NUL-terminated copy).
void PutReferences(LinkOutput& out, char* s, IBibleLangStat* langStat, int context, bool inHeading) {
    char* cursor = s;
    while (IsWhiteSpace(*cursor)) out.Put(*cursor++);
    int carried = context;
    bool failed = false;
    while (*cursor) {
        char* start = cursor;
        int reference = 0;
        if (!langStat || langStat->ParseRef(&cursor, &reference, &carried) != S_OK || cursor <= start ||
            cursor > start + std::strlen(start)) {
            cursor = start;
            failed = true;
            break;
        }
        char formatted[kLinkTargetCapacity] = {};
        if (FAILED(langStat->FormatRef(formatted, reference, 0, 0, 0, 0))) {
            cursor = start;  // the reference stays as text
            failed = true;
            break;
        }
        formatted[sizeof formatted - 1] = '\0';
        char* end = cursor;
        char held = '\0';
        if (end[-1] == '.' || end[-1] == ',') held = *--end;
        char text[kLinkTextCapacity];
        const size_t textLength = MakeLinkText(text, start, static_cast<size_t>(end - start));
        out.Put(kBibleLinkStart);
        out.PutTarget(formatted, std::strlen(formatted));
        if (inHeading) out.Put(kAnchorName);
        out.Put(kTargetEnd);
        out.Put(text, textLength);
        out.Put(kLinkEnd);
        if (held) out.Put(held);
        while (IsWhiteSpace(*cursor)) out.Put(*cursor++);
    }
    if (failed) out.Put(cursor);
}

}  // namespace

bool SplitArticleText(char* text, std::string* head, std::string* body) {
    head->clear();
    body->clear();
    if (!text) return true;
    try {
        char* cursor = text;
        for (bool first = true;; first = false) {
            char* line = NextLine(&cursor);
            if (!line) break;
            if (first && line[0] == '>' && line[1] == '>') {
                head->append(kTitleStart);
                AppendEscapedTitle(head, line + 2);
                head->append(kTitleEnd);
                continue;
            }
            const bool heading = line[0] == '>';
            while (*line == '>') ++line;
            body->append(heading ? "<h1>" : "<p>");
            AppendBodyLine(body, line);
            body->append(heading ? "</h1>\r\n" : "</p>\r\n");
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

int BuildArticleLinks(char* output, int capacity, const char* input, IBibleLangStat* langStat, int context) {
    LinkOutput out(output, capacity);
    if (!input) return 0;
    std::string references;  // the text of one pair of brackets, NUL-terminated for the parser
    bool inHeading = false;
    for (const char* p = input; *p;) {
        const char* stop = ScanPlain(p, &inHeading);
        out.Put(p, static_cast<size_t>(stop - p));
        p = stop;
        if (!*p) break;
        const char close = *p == '{' ? '}' : ']';
        const char* q = p + 1;
        while (*q && *q != '\r' && *q != '\n' && *q != close) q = CharNextA(q);
        if (*q != close) {  // no close mark: the open mark and the rest as they are
            out.Put(p, static_cast<size_t>(q - p));
            p = q;
            continue;
        }
        const char* inner = p + 1;
        const size_t length = static_cast<size_t>(q - inner);
        if (close == '}') {
            out.Put(kLexiconLinkStart);
            out.PutTarget(inner, length);
            out.Put(kTargetEnd);
            out.Put(inner, length);
            out.Put(kLinkEnd);
        } else {
            bool copied = false;
            try {
                references.assign(inner, length);
                copied = true;
            } catch (const std::bad_alloc&) {
            }
            if (copied) PutReferences(out, &references[0], langStat, context, inHeading);
            else out.Put(inner, length);  // the text without its marks, as a failed parse leaves it
        }
        p = q + 1;
    }
    return out.Result();
}

bool RenderArticle(const char* text, IBibleLangStat* langStat, int context, std::string* head, std::string* body) {
    head->clear();
    body->clear();
    try {
        std::string lines = text ? text : "";
        std::string split;
        if (!SplitArticleText(&lines[0], head, &split)) return false;
        const int length = BuildArticleLinks(nullptr, 0, split.c_str(), langStat, context);
        if (length < 0) return false;
        body->resize(static_cast<size_t>(length));
        BuildArticleLinks(&(*body)[0], length + 1, split.c_str(), langStat, context);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void ReadArticleTitle(const char* head, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    buffer[0] = '\0';
    if (!head) return;
    const size_t startLength = sizeof kTitleStart - 1;
    if (std::strncmp(head, kTitleStart, startLength) != 0) return;
    const char* p = head + startLength;
    const char* end = std::strstr(p, "</title>");
    if (!end) end = p + std::strlen(p);
    static const struct {
        const char* entity;
        char c;
    } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    int used = 0;
    while (p < end && used < size - 1) {
        char decoded = '\0';
        size_t n = 0;
        for (const auto& e : kEntities) {
            const size_t length = std::strlen(e.entity);
            if (static_cast<size_t>(end - p) >= length && std::strncmp(p, e.entity, length) == 0) {
                decoded = e.c;
                n = length;
                break;
            }
        }
        if (n) {
            buffer[used++] = decoded;
            p += n;
            continue;
        }
        const int copied = CopyWholeCharacters(buffer + used, size - used, p,
                                               static_cast<size_t>(CharNextA(p) - p));
        if (copied == 0) break;
        used += copied;
        p += copied;
    }
    buffer[used] = '\0';
}
