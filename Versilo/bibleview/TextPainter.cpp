// VoTextPainter: the six fonts made from the display font, their metrics, and the runs of
// a verse text.
#include "TextPainter.h"
#include "LexProxy.h"
#include <cstring>
#include <memory>

namespace {

// The finder gets a NUL-terminated copy of a run; longer words than this are not keys.
constexpr int kRunCopySize = 264;

// The display font's height scaled by n / 14, truncated toward zero.
LONG ScaledHeight(LONG height, int n) { return height * n / 14; }

HFONT MakeFont(const LOGFONTA& base, void (*change)(LOGFONTA*)) {
    LOGFONTA lf = base;
    change(&lf);
    return CreateFontIndirectA(&lf);
}

int TextWidth(HDC dc, const char* text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size.cx;
}

}  // namespace

VoTextPainter::VoTextPainter(HFONT displayFont) : display_(displayFont) {
    BuildClasses();
    if (!display_ || GetObjectA(display_, sizeof logFont_, &logFont_) != sizeof logFont_)
        std::memset(&logFont_, 0, sizeof logFont_);
    MakeFonts();
    Measure();
}

bool VoTextPainter::IsFor(HFONT displayFont, const LOGFONTA& logFont) const {
    return displayFont == display_ && std::memcmp(&logFont, &logFont_, sizeof logFont) == 0;
}

void VoTextPainter::BuildClasses() {
    for (int c = 0; c < 256; ++c) {
        int bits = 0;
        if (c != 0 && IsCharAlphaNumericA(static_cast<CHAR>(c))) bits |= kAlphaNumeric;
        if (c == '\'' || c == '-') bits |= kWordInner;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0) bits |= kBlank;
        if (c == '\r' || c == '\n' || c == 0) bits |= kLineEnd;
        classes_[c] = bits;
    }
}

void VoTextPainter::MakeFonts() {
    italic_.Reset(MakeFont(logFont_, [](LOGFONTA* lf) { lf->lfItalic = 1; lf->lfQuality = CLEARTYPE_QUALITY; }));
    strong_.Reset(MakeFont(logFont_, [](LOGFONTA* lf) { lf->lfWeight = 600; lf->lfQuality = CLEARTYPE_QUALITY; }));
    link_.Reset(MakeFont(logFont_, [](LOGFONTA* lf) { lf->lfUnderline = 1; lf->lfHeight = ScaledHeight(lf->lfHeight, 11); }));
    small_.Reset(MakeFont(logFont_, [](LOGFONTA* lf) { lf->lfHeight = ScaledHeight(lf->lfHeight, 11); }));
    smallBold_.Reset(MakeFont(logFont_, [](LOGFONTA* lf) {
        lf->lfHeight = ScaledHeight(lf->lfHeight, 11);
        lf->lfWeight = FW_BOLD;
    }));
    large_.Reset(MakeFont(logFont_, [](LOGFONTA* lf) { lf->lfHeight = ScaledHeight(lf->lfHeight, 32); }));
}

void VoTextPainter::Measure() {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    HGDIOBJ first = GetCurrentObject(dc.Get(), OBJ_FONT);
    TEXTMETRICA tm = {};
    SelectObject(dc.Get(), small_.Get());
    verseNumberWidth_ = TextWidth(dc.Get(), "234") + 2;
    if (GetTextMetricsA(dc.Get(), &tm)) smallAscent_ = tm.tmAscent;
    SelectObject(dc.Get(), large_.Get());
    if (GetTextMetricsA(dc.Get(), &tm)) largeAscent_ = tm.tmAscent;
    SelectObject(dc.Get(), display_ ? static_cast<HGDIOBJ>(display_) : first);
    if (GetTextMetricsA(dc.Get(), &tm)) {
        lineHeight_ = tm.tmHeight;
        descent_ = tm.tmDescent;
    }
    SelectObject(dc.Get(), link_.Get());
    linkBlankWidth_ = TextWidth(dc.Get(), " ");
    if (GetTextMetricsA(dc.Get(), &tm)) linkLineHeight_ = tm.tmHeight;
    SelectObject(dc.Get(), first);
}

const char* VoTextPainter::WordEnd(const char* text) const {
    while (*text && IsWordChar(*text)) ++text;
    return text;
}

int VoTextPainter::SplitIntoRuns(const char* text, AVoLexiconBase* finder, COLORREF plain, COLORREF keyWord,
                                 COLORREF star, COLORREF bracketed, const int* ranges, int rangeCount,
                                 int* lengths, COLORREF* colours, int maxRuns) {
    if (!text || !lengths || !colours || maxRuns <= 0) return 0;
    if (!ranges) rangeCount = 0;
    const char* p = text;
    int runs = 0;
    int range = 0;
    while (*p && runs < maxRuns - 1) {
        const char* start = p;
        COLORREF colour = plain;
        if (IsWordStart(*p)) {
            p = WordEnd(p);
            if (finder) {
                char word[kRunCopySize];
                const int n = static_cast<int>(p - start) < kRunCopySize - 1 ? static_cast<int>(p - start)
                                                                              : kRunCopySize - 1;
                std::memcpy(word, start, static_cast<size_t>(n));
                word[n] = '\0';
                if (finder->FindArticleForKey(word) != kNoArticle) colour = keyWord;
            }
        } else if (*p == '*') {
            while (*p == '*') ++p;
            colour = star;
        } else {
            while (*p && !IsWordStart(*p) && *p != '*') ++p;
        }
        // A range covers the run when the run starts inside it; ranges that ended are done.
        const int offset = static_cast<int>(start - text);
        while (range < rangeCount && ranges[2 * range + 1] <= offset) ++range;
        if (range < rangeCount && ranges[2 * range] <= offset) colour = bracketed;
        while (*p == ' ') ++p;
        lengths[runs] = static_cast<int>(p - start);
        colours[runs] = colour;
        ++runs;
    }
    if (*p) {
        lengths[runs] = static_cast<int>(std::strlen(p));
        colours[runs] = plain;
        ++runs;
    }
    return runs;
}

char* VoTextPainter::TruncateToFirstWord(char* text) {
    if (!text) return nullptr;
    char* end = text;
    if (*end == '*') {
        while (*end == '*') ++end;
    } else if (IsWordStart(*end)) {
        end = const_cast<char*>(WordEnd(end));
    }
    *end = '\0';
    return end;
}

AVoTextPainter* GetTextPainter(HFONT displayFont) {
    // The one painter of the process; its fonts go with it at exit.
    static std::unique_ptr<VoTextPainter> painter;
    LOGFONTA lf = {};
    if (!displayFont || GetObjectA(displayFont, sizeof lf, &lf) != sizeof lf) std::memset(&lf, 0, sizeof lf);
    if (painter && !painter->IsFor(displayFont, lf)) painter.reset();
    if (!painter) painter.reset(new (std::nothrow) VoTextPainter(displayFont));
    return painter.get();
}
