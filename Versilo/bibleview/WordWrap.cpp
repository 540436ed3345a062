// Line fitting, text blocks and the reference word list of the verse layout.
#include "WordWrap.h"
#include <algorithm>
#include <climits>
#include <cstring>

namespace {

bool IsBreak(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

int ParagraphLength(const char* p) {
    int n = 0;
    while (!IsLineEnd(p[n])) ++n;
    return n;
}

int Sum(const int* values, int count) {
    int total = 0;
    for (int i = 0; i < count; ++i) total += values[i];
    return total;
}

// Copies count characters of text, cut to the destination's size, and terminates them.
void CopyCut(char* out, int size, const char* text, int count) {
    if (!out || size <= 0) return;
    const int n = std::min(count, size - 1);
    if (n > 0) std::memcpy(out, text, static_cast<size_t>(n));
    out[n > 0 ? n : 0] = '\0';
}

// Walks the lines of a block: onLine(lineStart, count, indent, top, advances) per line.
// Returns the block's size.
template <class OnLine>
SIZE WalkBlock(AVoAdvanceSource* source, const VoTextBlock& b, OnLine&& onLine) {
    const int lineHeight = source->GetLineHeight();
    const char* text = b.text ? b.text : "";
    const char* p = text;
    if (*p == '\0') return {0, lineHeight};
    int advances[kMaxLineFit + 1];
    int top = 0;
    int endX = 0;
    for (;;) {
        // A paragraph opens with an optional indent: a tab marks it as tab-indented.
        int firstIndent = 0;
        bool tabbed = false;
        if (*p == '\t') {
            firstIndent = b.tabWidth;
            tabbed = true;
            ++p;
        } else if (*p == ' ') {
            firstIndent = b.tabWidth;
            ++p;
        }
        int left = ParagraphLength(p);
        bool firstLine = true;
        do {
            int indent = firstLine ? firstIndent : (tabbed ? b.tabWidth * 3 / 2 : 0);
            if (top < b.numberHeight) indent = std::max(indent, b.numberIndent);
            const char* lineStart = p;
            int count = 0;
            const SIZE line = FitLine(source, &p, &left, b.width - indent, b.justify && !tabbed, advances, &count);
            endX = line.cx + indent;
            onLine(lineStart, count, indent, top, advances);
            top += lineHeight;
            firstLine = false;
        } while (left > 0);
        // Past the paragraph's line end (CR LF as one).
        if (*p == '\r') {
            ++p;
            if (*p == '\n') ++p;
        } else if (*p == '\n') {
            ++p;
        }
        if (*p == '\0') break;
    }
    if (p > text && (p[-1] == '\r' || p[-1] == '\n')) return {0, top + lineHeight};
    return {endX, top};
}

// Restores a DC's background mode and text colour at the end of a scope.
class TextStateKeeper {
public:
    explicit TextStateKeeper(HDC dc) : dc_(dc), mode_(SetBkMode(dc, TRANSPARENT)), colour_(GetTextColor(dc)) {}
    ~TextStateKeeper() {
        SetTextColor(dc_, colour_);
        SetBkMode(dc_, mode_);
    }
    TextStateKeeper(const TextStateKeeper&) = delete;
    TextStateKeeper& operator=(const TextStateKeeper&) = delete;
    COLORREF Colour() const { return colour_; }

private:
    HDC dc_;
    int mode_;
    COLORREF colour_;
};

}  // namespace

VoDcAdvances::VoDcAdvances(HDC dc) : dc_(dc) {
    TEXTMETRICA tm = {};
    if (GetTextMetricsA(dc, &tm)) lineHeight_ = tm.tmHeight;
}

int VoDcAdvances::GetAdvances(const char* text, int count, int maxWidth, int* advances) {
    if (count <= 0) return 0;
    count = std::min(count, kMaxLineFit);
    std::fill(advances, advances + count, 0);
    GCP_RESULTSA results = {};
    results.lStructSize = sizeof results;
    results.lpDx = advances;
    results.nGlyphs = static_cast<UINT>(count);
    results.nMaxFit = -1;
    int known = count;
    if (GetCharacterPlacementA(dc_, text, count, std::max(maxWidth, 0), &results, GCP_MAXEXTENT)) {
        // Where the system honours the extent, only the advances of what fits are filled.
        if (results.nMaxFit >= 0 && results.nMaxFit < count) known = results.nMaxFit;
    } else {
        // Without character placement: the partial extents give the advances.
        int extents[kMaxLineFit];
        SIZE size = {};
        if (!GetTextExtentExPointA(dc_, text, count, 0, nullptr, extents, &size)) return 0;
        for (int i = 0; i < count; ++i) advances[i] = extents[i] - (i ? extents[i - 1] : 0);
    }
    if (known == 0) {
        SIZE size = {};
        if (GetTextExtentPoint32A(dc_, text, 1, &size)) advances[0] = size.cx;
    }
    int fit = 0;
    int width = 0;
    while (fit < known && width + advances[fit] <= maxWidth) width += advances[fit++];
    return fit;
}

bool JustifyLine(const char* line, int count, int* advances, int missing) {
    int blanks = 0;
    for (int i = 0; i < count; ++i)
        if (line[i] == ' ') ++blanks;
    if (blanks == 0 || missing <= 0) return false;
    const int each = missing / blanks;
    int rest = missing - each * blanks;
    for (int i = 0; i < count; ++i)
        if (line[i] == ' ') advances[i] += each;
    while (rest-- > 0) {
        int narrowest = -1;
        for (int i = 0; i < count; ++i)
            if (line[i] == ' ' && (narrowest < 0 || advances[i] < advances[narrowest])) narrowest = i;
        ++advances[narrowest];
    }
    return true;
}

SIZE FitLine(AVoAdvanceSource* source, const char** cursor, int* charsLeft, int maxWidth, bool justify,
             int* advances, int* count) {
    const char* p = *cursor;
    int left = std::max(*charsLeft, 0);
    int skipped = 0;
    if (left > 0 && IsBreak(*p)) {
        skipped = 1;
        ++p;
        --left;
        if (advances) advances[0] = 0;
    }
    int local[kMaxLineFit + 1];
    int* adv = advances ? advances + skipped : local;
    const int given = std::min(left, kMaxLineFit);
    const int fit = given > 0 ? std::min(source->GetAdvances(p, given, maxWidth, adv), given) : 0;
    int take = left;
    if (fit < left) {
        // Back from the first character that does not fit to the nearest break.
        int i = fit;
        while (i > 0 && !IsBreak(p[i])) --i;
        take = i > 0 ? i : std::max(fit, 1);
    }
    int width = Sum(adv, take);
    if (justify && advances && take < left && width < maxWidth && JustifyLine(p, take, adv, maxWidth - width))
        width = maxWidth;
    p += take;
    left -= take;
    if (left > 0 && IsBreak(*p)) {
        ++p;
        --left;
    }
    *cursor = p;
    *charsLeft = left;
    if (count) *count = take + skipped;
    return {width, source->GetLineHeight()};
}

SIZE FitLine(HDC dc, const char** cursor, int* charsLeft, int maxWidth, bool justify, int* advances, int* count) {
    VoDcAdvances source(dc);
    return FitLine(&source, cursor, charsLeft, maxWidth, justify, advances, count);
}

SIZE MeasureTextBlock(AVoAdvanceSource* source, const VoTextBlock& block) {
    return WalkBlock(source, block, [](const char*, int, int, int, const int*) {});
}

SIZE MeasureTextBlock(HDC dc, const VoTextBlock& block) {
    VoDcAdvances source(dc);
    return MeasureTextBlock(&source, block);
}

SIZE DrawTextBlock(HDC dc, const VoTextBlock& b) {
    VoDcAdvances source(dc);
    TextStateKeeper keeper(dc);
    const int lineHeight = source.GetLineHeight();
    const char* text = b.text ? b.text : "";
    if (b.hitRun) *b.hitRun = -1;
    const bool hitting = b.hitPoint != nullptr;
    const bool hasRuns = b.runLengths && b.runColours && b.runCount > 0;
    int run = 0;
    int runEnd = hasRuns ? b.runLengths[0] : INT_MAX;
    bool hit = false;
    return WalkBlock(&source, b, [&](const char* lineStart, int count, int indent, int top, const int* advances) {
        int x = b.x + indent;
        const int y = b.y + top;
        const int lineOffset = static_cast<int>(lineStart - text);
        int a = lineOffset;
        const int e = lineOffset + count;
        while (a < e) {
            // The run holding a; characters skipped between lines still count in its offsets.
            while (hasRuns && a >= runEnd && run + 1 < b.runCount) runEnd += b.runLengths[++run];
            const int chunkEnd = a < runEnd ? std::min(e, runEnd) : e;
            const int n = chunkEnd - a;
            const char* s = text + a;
            const int* dx = advances + (a - lineOffset);
            const int w = Sum(dx, n);
            if (hitting) {
                if (!hit && b.hitPoint->y >= y && b.hitPoint->y < y + lineHeight && b.hitPoint->x >= x &&
                    b.hitPoint->x < x + w) {
                    hit = true;
                    if (b.hitRun) *b.hitRun = hasRuns ? run : 0;
                    CopyCut(b.hitText, b.hitTextSize, s, n);
                }
            } else {
                SetTextColor(dc, hasRuns ? b.runColours[run] : keeper.Colour());
                if (*s == '\t') {
                    if (n > 1) ExtTextOutA(dc, x + dx[0], y, 0, nullptr, s + 1, static_cast<UINT>(n - 1), dx + 1);
                } else {
                    ExtTextOutA(dc, x, y, 0, nullptr, s, static_cast<UINT>(n), dx);
                }
            }
            x += w;
            a = chunkEnd;
        }
    });
}

SIZE LayoutWordList(HDC dc, const char* strings, int count, const RECT* rect, bool draw, bool rightAligned, int gap,
                    int lineHeight, int startX, const POINT* point, int* hitIndex, char* hitText, int hitTextSize) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    if (hitIndex) *hitIndex = -1;
    if (hitText && hitTextSize > 0) hitText[0] = '\0';
    const int full = rect->right - rect->left;
    const char* s = strings;
    int index = 0;
    int top = rect->top;
    int lines = 0;
    int lastWidth = 0;
    bool found = false;
    while (index < count && !found) {
        const int available = lines == 0 ? full - startX : full;
        // The words that fit on this line.
        int lineWidth = 0;
        int words = 0;
        const char* next = s;
        while (index + words < count) {
            SIZE size = {};
            const int length = static_cast<int>(std::strlen(next));
            GetTextExtentPoint32A(dc, next, length, &size);
            const int need = words ? lineWidth + gap + size.cx : size.cx;
            if (need > available && !(words == 0 && available == full)) break;
            lineWidth = need;
            ++words;
            next += length + 1;
            if (need > available) break;  // a word wider than a whole line stands alone
        }
        const bool inLine = point && point->y >= top && point->y < top + lineHeight;
        if (words > 0 && (draw || inLine)) {
            int x = rightAligned ? rect->right - lineWidth : rect->right - available;
            const char* word = s;
            for (int i = 0; i < words; ++i) {
                const int length = static_cast<int>(std::strlen(word));
                SIZE size = {};
                GetTextExtentPoint32A(dc, word, length, &size);
                if (draw) TextOutA(dc, x, top, word, length);
                if (inLine && point->x >= x && point->x < x + size.cx) {
                    if (hitIndex) *hitIndex = index + i;
                    CopyCut(hitText, hitTextSize, word, length);
                    found = true;
                    break;
                }
                x += size.cx + gap;
                word += length + 1;
            }
        }
        lastWidth = lineWidth;
        s = next;
        index += words;
        top += lineHeight;
        ++lines;
    }
    SetBkMode(dc, oldMode);
    int width = full;
    if (!rightAligned) width = lastWidth + (lines == 1 ? startX : 0);
    return {width, lines * lineHeight};
}
