// The layout of a bible pane's items in their three modes (measuring, drawing, hit
// testing): the chapter row, and the verse item with its section title, inline heading,
// number, coloured text, cross-references and the spacing after it.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include "BibleItemServer.h"
#include "Handles.h"
#include "LexProxy.h"
#include "TextPainter.h"
#include "VerseMarkup.h"
#include "WordWrap.h"

namespace {

constexpr COLORREF kMarkedGreen = 0x00AAFFBE;
constexpr COLORREF kSelectedLink = 0x00C0C0C0;
constexpr int kMaxRuns = 1024;
constexpr int kMaxReferences = 128;
constexpr int kReferenceAreaSize = 1024;
constexpr int kReferenceAreaReserve = 32;
constexpr int kTitleSize = 512;
constexpr int kSummarySize = 8192;
constexpr int kVerseTextSize = 4096;
// Titles and headings are laid out in a rectangle this tall.
constexpr int kHeadingDepth = 1000;

COLORREF Average(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

// Restores a DC's text and background colours at the end of a scope.
class ColourKeeper {
public:
    explicit ColourKeeper(HDC dc) : dc_(dc), text_(GetTextColor(dc)), back_(GetBkColor(dc)) {}
    ~ColourKeeper() {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, back_);
    }
    ColourKeeper(const ColourKeeper&) = delete;
    ColourKeeper& operator=(const ColourKeeper&) = delete;

private:
    HDC dc_;
    COLORREF text_, back_;
};

// Writes a title or heading in font within (left, top, right): DrawText's height.
int WriteHeading(HDC dc, HFONT font, const char* text, int left, int top, int right, bool draw, bool selected) {
    SelectedObject selectedFont(dc, font);
    ColourKeeper colours(dc);
    if (selected) SetTextColor(dc, Average(GetTextColor(dc), GetBkColor(dc)));
    RECT rect = {left, top, right, top + kHeadingDepth};
    return DrawTextA(dc, text, -1, &rect, DT_WORDBREAK | DT_NOPREFIX | (draw ? 0 : DT_CALCRECT));
}

// The chapter number as a drop cap at (left, top): its size; drawn when draw.
SIZE DropCap(HDC dc, AVoTextPainter* painter, int number, const RECT& clip, bool draw) {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%u ", static_cast<unsigned>(number));
    const int baseline = 2 * painter->GetLineHeight() - painter->GetDescent();
    SavedDcState saved(dc);
    SelectObject(dc, painter->GetLargeFont());
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, n, &extent);
    if (draw) {
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        SetTextJustification(dc, 0, 0);
        SetTextCharacterExtra(dc, 0);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        TextOutA(dc, clip.left, clip.top + baseline - painter->GetLargeAscent(), text, n);
    }
    return {extent.cx, baseline};
}

// The verse number in the small font, its baseline on the text's: its size.
SIZE VerseNumber(HDC dc, AVoTextPainter* painter, int number, bool bold, const RECT& rect, bool draw) {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%u  ", static_cast<unsigned>(number));
    SelectedObject font(dc, painter->GetSmallFont(bold));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, n, &extent);
    if (draw) {
        RECT clip = {rect.left, rect.top, rect.left + painter->GetVerseNumberWidth(), rect.bottom};
        const int y = rect.top + painter->GetLineHeight() - painter->GetDescent() - painter->GetSmallAscent();
        ExtTextOutA(dc, rect.left, y, ETO_CLIPPED, &clip, text, static_cast<UINT>(n), nullptr);
    }
    return extent;
}

// The rectangle narrowed by the margin on the left, then by the margin of what is left on
// the right.
void NarrowByMargins(const VoPaneContext& context, RECT* rect) {
    rect->left += context.GetMargin(rect->right - rect->left);
    rect->right -= context.GetMargin(rect->right - rect->left);
}

}  // namespace

bool CVoBibleItemServer::HasSectionTitles() const {
    ComPtr<INewBible> bible;
    if (!objects_.GetBible() || FAILED(objects_.GetBible()->QueryInterface(IID_INewBible, bible.PutVoid())))
        return false;
    return bible->HasSectionTitles() == S_OK;
}

bool CVoBibleItemServer::ClosesSection(int book, int chapter, int verse, bool hasTitles) const {
    IBible* bible = objects_.GetBible();
    IBibleStat* stat = objects_.GetLangStat();
    if (verse + 1 < stat->GetVersesInChapter(book, chapter)) return bible->HasSectionTitle(book, chapter, verse + 1) == S_OK;
    if (chapter + 1 < stat->GetChaptersInBook(book))
        return !hasTitles || bible->HasSectionTitle(book, chapter + 1, 0) == S_OK;
    return true;
}

int CVoBibleItemServer::LayoutChapterRow(HDC dc, int chapter, RECT rect, const int* state) {
    AVoTextPainter* painter = GetTextPainter(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
    if (!painter || GetItemKind() < kItemsChapters) return 0;
    const bool draw = state != nullptr;
    const bool verseMode = GetItemKind() == kItemsVerses;
    NarrowByMargins(context_, &rect);
    ColourKeeper colours(dc);
    if (draw && state[1] && verseMode) SetTextColor(dc, Average(GetTextColor(dc), GetBkColor(dc)));
    const SIZE cap = DropCap(dc, painter, chapter + 1, rect, draw);

    char* summary = textBuffer_;
    summary[0] = '\0';
    objects_.GetBible()->GetChapterSummary(book_, chapter, summary, kSummarySize);
    SelectedObject font(dc, verseMode ? painter->GetItalicFont() : nullptr);
    VoTextBlock block;
    block.text = summary;
    block.x = rect.left;
    block.y = rect.top;
    block.numberIndent = cap.cx;
    block.numberHeight = cap.cy;
    block.width = rect.right - rect.left;
    block.justify = context_.IsJustified();
    const SIZE size = draw ? DrawTextBlock(dc, block) : MeasureTextBlock(dc, block);
    return std::max(static_cast<int>(size.cy), static_cast<int>(cap.cy) + painter->GetDescent());
}

int CVoBibleItemServer::LayoutVerseItem(HDC dc, int item, RECT rect, const int* state, const POINT* point, int* part,
                                        char* hitText) {
    if (part) *part = -1;
    if (hitText) hitText[0] = '\0';
    if (GetItemKind() != kItemsVerses) return 0;
    int book, chapter, verse;
    GetItemIndices(item, &book, &chapter, &verse);
    if (book < 0) return 0;
    const bool draw = state != nullptr;
    const bool hitting = point != nullptr;
    const bool headings = context_.ShowSectionTitles();
    const bool hasTitles = HasSectionTitles();

    // A chapter without headings of its own opens with its row.
    int header = 0;
    if (verse == 0 && !headings && hasTitles) {
        const int plain[2] = {-1, draw ? state[1] : 0};
        header = LayoutChapterRow(dc, chapter, rect, draw ? plain : nullptr);
        rect.top += header;
    }
    AVoTextPainter* painter = GetTextPainter(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
    if (!painter) return header;
    const int lineHeight = painter->GetLineHeight();

    ColourKeeper colours(dc);
    if (draw && IsVerseMarked(firstVerse_ + item)) {
        if (!state[1]) {
            BrushHandle green(CreateSolidBrush(kMarkedGreen));
            FillRect(dc, &rect, green.Get());
            SetBkColor(dc, kMarkedGreen);
        } else {
            SetTextColor(dc, kMarkedGreen);
        }
    }
    AVoLexicon* lexicon = draw || hitting ? GetLexiconWindow() : nullptr;
    VoLexProxy proxy(lexicon, hitting ? 1 : 0);

    int found = -1;
    int endX = 0;
    RECT textRect = rect;
    int h = LayoutVerseText(dc, painter, book, chapter, verse, &textRect, state, point,
                            lexicon ? &proxy : nullptr, &found, hitText, &endX);
    NarrowByMargins(context_, &rect);
    if (found < 0) h += LayoutReferences(dc, painter, book, chapter, verse, rect, h, endX, draw, point, &found, hitText);
    if (part) *part = found;
    if (ClosesSection(book, chapter, verse, hasTitles)) h += headings ? 2 * lineHeight : lineHeight / 2;
    return header + h;
}

int CVoBibleItemServer::LayoutVerseText(HDC dc, AVoTextPainter* painter, int book, int chapter, int verse,
                                        RECT* rect, const int* state, const POINT* point, AVoLexiconBase2* finder,
                                        int* part, char* hitText, int* endX) {
    const bool draw = state != nullptr;
    const bool hitting = point != nullptr;
    const bool selected = draw && state[1] != 0;
    const int hot = draw && state[0] >= kPartUnreachable ? state[0] - kPartUnreachable : (draw ? state[0] : -1);
    const int lineHeight = painter->GetLineHeight();
    IBible* bible = objects_.GetBible();
    NarrowByMargins(context_, rect);
    int y = 0;

    // The section title above the verse.
    const bool headings = context_.ShowSectionTitles();
    const bool beginsSection = headings && HasSectionTitles() && bible->HasSectionTitle(book, chapter, verse) == S_OK;
    if (beginsSection) {
        char title[kTitleSize] = {};
        bible->GetSectionTitle(book, chapter, verse, title, kTitleSize);
        const char* text = TrimTitle(title);
        const int height = WriteHeading(dc, painter->GetItalicFont(), text, rect->left, rect->top, rect->right, draw,
                                        selected) + lineHeight / 2;
        rect->top += height;
        y += height;
    }

    char buffer[kVerseTextSize] = {};
    bible->GetVerseText(book, chapter, verse, TRUE, buffer, kVerseTextSize);
    char* text = buffer;
    bool strong = false;
    if (const char* heading = SplitInlineHeading(&text, &strong)) {
        const int pad = strong ? lineHeight / 2 : 0;
        const int indent = strong ? painter->GetVerseNumberWidth() * 5 / 2 : 0;
        const int height = WriteHeading(dc, painter->GetEmphasisFont(strong), heading, rect->left + indent,
                                        rect->top + pad, rect->right, draw, selected) + 2 * pad;
        rect->top += height;
        y += height;
    }

    // The number, in the commentary colour when an article belongs to the verse.
    bool marker = hot == kPartCommentaryMarker;
    if (!marker && finder) {
        const int ref = objects_.MakeIndex(book, chapter, verse);
        marker = ref && finder->FindArticleForVerse(objects_.GetStat(), ref, false) != kNoArticle;
    }
    const COLORREF keyColour = selected ? kSelectedLink : context_.GetLexRefColor();
    const COLORREF plain = GetTextColor(dc);
    if (marker && draw) SetTextColor(dc, keyColour);
    SIZE number;
    if (verse == 0 && (headings || !HasSectionTitles())) number = DropCap(dc, painter, chapter + 1, *rect, draw);
    else number = VerseNumber(dc, painter, verse + 1, beginsSection, *rect, draw);
    SetTextColor(dc, plain);
    if (hitting && marker && point->x >= rect->left && point->x < rect->left + number.cx && point->y >= rect->top &&
        point->y < rect->top + number.cy) {
        *part = kPartCommentaryMarker;
        *endX = number.cx;
        return y + number.cy;
    }

    int ranges[2 * kMaxBracketPairs];
    const int pairs = context_.HideBrackets() ? HideBrackets(text, ranges) : 0;
    VoTextBlock block;
    block.text = text;
    block.x = rect->left;
    block.y = rect->top;
    block.numberIndent = number.cx;
    block.numberHeight = number.cy;
    block.width = rect->right - rect->left;
    block.tabWidth = painter->GetVerseNumberWidth() * 5 / 4;
    block.justify = context_.IsJustified();
    SIZE size;
    if (draw || hitting) {
        int lengths[kMaxRuns];
        COLORREF runColours[kMaxRuns];
        const COLORREF bracketed = Average(plain, GetBkColor(dc));
        const int runs = painter->SplitIntoRuns(text, finder, plain, keyColour, context_.GetBibRefColor(), bracketed,
                                                ranges, selected ? 0 : pairs, lengths, runColours, kMaxRuns);
        if (hot >= 0 && hot <= kPartMaxRun && hot < runs) runColours[hot] = keyColour;
        block.runLengths = lengths;
        block.runColours = runColours;
        block.runCount = runs;
        block.hitPoint = point;
        block.hitRun = part;
        block.hitText = hitText;
        block.hitTextSize = kHitTextSize;
        size = DrawTextBlock(dc, block);
    } else {
        size = MeasureTextBlock(dc, block);
    }
    y += std::max(number.cy, size.cy);
    *endX = number.cy > size.cy * 3 / 2 ? number.cx : size.cx;
    if (hitting && *part >= 0 && hitText) painter->TruncateToFirstWord(hitText);
    return y;
}

int CVoBibleItemServer::LayoutReferences(HDC dc, AVoTextPainter* painter, int book, int chapter, int verse,
                                         const RECT& rect, int textHeight, int endX, bool draw, const POINT* point,
                                         int* part, char* hitText) {
    IBibleRefLib* refLib = context_.ShowReferences() ? GetRefLib() : nullptr;
    if (!refLib) return 0;
    int handles[kMaxReferences];
    unsigned count = 0;
    if (refLib->GetVerseRefs(objects_.GetStat(), book, chapter, verse, handles, kMaxReferences, &count) != S_OK ||
        count == 0)
        return 0;
    if (count > kMaxReferences) count = kMaxReferences;

    // The references as consecutive strings; each is formatted apart and kept only when it
    // fits in what is left, and none starts with 32 bytes or fewer left.
    char area[kReferenceAreaSize];
    int used = 0;
    int shown = 0;
    const int own = objects_.MakeIndex(book, chapter, verse);
    IBibleLangStat* lang = objects_.GetLangStat();
    for (unsigned i = 0; i < count; ++i) {
        if (kReferenceAreaSize - used <= kReferenceAreaReserve) break;
        char scratch[kFormatRefBufferSize] = {};
        lang->FormatRef(scratch, handles[i], i == 0 ? own : 0, i > 0 ? handles[i - 1] : 0,
                        i + 1 < count ? handles[i + 1] : 0, TRUE);
        scratch[kFormatRefBufferSize - 1] = '\0';
        const int length = static_cast<int>(std::strlen(scratch)) + 1;
        if (length > kReferenceAreaSize - used) break;
        std::memcpy(area + used, scratch, static_cast<size_t>(length));
        used += length;
        ++shown;
    }
    if (shown == 0) return 0;

    SelectedObject font(dc, painter->GetLinkFont());
    ColourKeeper colours(dc);
    SetTextColor(dc, context_.GetBibRefColor());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    const RECT list = {rect.left, rect.top + textHeight - tm.tmHeight - 1, rect.right, rect.bottom};
    int hit = -1;
    const SIZE size = LayoutWordList(dc, area, shown, &list, draw, true, painter->GetLinkBlankWidth(),
                                     painter->GetLinkLineHeight(), endX, point, &hit, hitText, kHitTextSize);
    if (hit >= 0) *part = kPartFirstReference + hit;
    return size.cy - tm.tmHeight + 1;
}
