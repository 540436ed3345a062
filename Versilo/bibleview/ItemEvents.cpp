// CVoBibleItemServer: what the text window tells its sink. Opening items, typed letters,
// link presses on words, notes, verse numbers and cross-references, right clicks with the
// article menu, and the status text and popup of the link under the pointer.
#include <cstdio>
#include <cstring>
#include "BibleItemServer.h"
#include "MessageText.h"
#include "TextPainter.h"
#include "VerseMarkup.h"
#include "VerseNotes.h"

namespace {

// Status texts of links ("%s": the reference, word or article title).
constexpr UINT kIdsOpenArticleAbout = 1000;
constexpr UINT kIdsGoToReference = 1001;
constexpr UINT kIdsNoteNotFound = 1002;
constexpr UINT kIdsRightClickForArticle = 1003;
constexpr UINT kIdsOpenArticle = 1004;

// A cross-reference press held this long reports the hold, so that it can be dragged out;
// one released later than the click time does not follow the link.
constexpr int kDragHoldTime = 200;
constexpr int kClickTime = 500;
// A left press on a word that can't be reached becomes an ordinary click on the item.
constexpr int kOrdinaryClickPart = 9000;
constexpr int kRunTextSize = 64;
constexpr int kArticleTitleSize = 256;
constexpr int kPopupTextSize = 4096;
constexpr int kVerseMarkupSize = 4096;
constexpr int kMaxRuns = 1024;

int PlainPart(int part) { return part >= kPartUnreachable ? part - kPartUnreachable : part; }

bool OnlyStars(const char* text) { return *text && std::strspn(text, "*") == std::strlen(text); }

// Cuts white space at both ends of text, in place.
char* Trim(char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n') ++text;
    size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t' || text[n - 1] == '\r' || text[n - 1] == '\n')) --n;
    text[n] = '\0';
    return text;
}

}  // namespace

AVoTextPainter* CVoBibleItemServer::GetWindowPainter() const {
    const HFONT font = textWindow_ ? reinterpret_cast<HFONT>(SendMessageA(textWindow_, WM_GETFONT, 0, 0)) : nullptr;
    return GetTextPainter(font);
}

void CVoBibleItemServer::SetStatusString(UINT id, const char* text) {
    char format[kTextCapacity];
    char status[kTextCapacity];
    LoadResString(format, id);
    std::snprintf(status, sizeof status, format, text ? text : "");
    SetStatusText(status);
}

void CVoBibleItemServer::DestroyPopup() {
    if (popup_ && IsWindow(popup_)) DestroyWindow(popup_);
    popup_ = nullptr;
}

void CVoBibleItemServer::OnItemDoubleClick(int item) {
    const int kind = GetItemKind();
    if (kind == kItemsBooks) SetBook(item);
    else if (kind == kItemsChapters) SetChapter(item);
}

BOOL CVoBibleItemServer::OnChar(UINT character, UINT, UINT) {
    if (character == VK_RETURN) {
        OpenCaretItem();
        return TRUE;
    }
    if (character == VK_BACK) {
        GoUpOneLevel();
        return TRUE;
    }
    // Digits up to 5 begin the numbered books ("1 Mos" to "5 Mos"), letters any book name.
    const char typed = static_cast<char>(character);
    if (character > 0xFF || !((typed >= '0' && typed <= '5') || IsCharAlphaA(typed))) return FALSE;
    RunGoToDialog(typed);
    return TRUE;
}

bool CVoBibleItemServer::GetRunText(int item, int run, char* buffer, int size) {
    if (!buffer || size <= 0) return false;
    buffer[0] = '\0';
    if (GetItemKind() != kItemsVerses || run < 0 || run >= kMaxRuns) return false;
    int book, chapter, verse;
    GetItemIndices(item, &book, &chapter, &verse);
    if (book < 0) return false;
    AVoTextPainter* painter = GetWindowPainter();
    if (!painter) return false;
    // The text as the layout splits it, so that a run's number names the run it drew.
    char markup[kVerseMarkupSize] = {};
    objects_.GetBible()->GetVerseText(book, chapter, verse, TRUE, markup, kVerseMarkupSize);
    markup[kVerseMarkupSize - 1] = '\0';
    char* text = markup;
    bool strong = false;
    SplitInlineHeading(&text, &strong);
    int ranges[2 * kMaxBracketPairs];
    const int pairs = context_.HideBrackets() ? HideBrackets(text, ranges) : 0;
    int lengths[kMaxRuns];
    COLORREF colours[kMaxRuns];
    const int runs = painter->SplitIntoRuns(text, nullptr, 0, 0, 0, 0, ranges, pairs, lengths, colours, kMaxRuns);
    if (run >= runs) return false;
    const char* start = text;
    for (int i = 0; i < run; ++i) start += lengths[i];
    const int length = lengths[run] < size - 1 ? lengths[run] : size - 1;
    std::memcpy(buffer, start, static_cast<size_t>(length));
    buffer[length] = '\0';
    return true;
}

bool CVoBibleItemServer::GetNotePopup(int item, int run, char* title, char* text) {
    int book, chapter, verse;
    GetItemIndices(item, &book, &chapter, &verse);
    IBible* bible = objects_.GetBible();
    if (GetItemKind() != kItemsVerses || book < 0 || bible->HasVerseNote(book, chapter, verse) != S_OK) return false;
    char note[2048] = {};
    if (FAILED(bible->GetVerseNote(book, chapter, verse, note, sizeof note))) return false;
    note[sizeof note - 1] = '\0';
    char marker[kRunTextSize];
    if (!GetRunText(item, run, marker, sizeof marker)) return false;
    int stars = static_cast<int>(std::strspn(marker, "*"));
    char word[kRunTextSize] = {};
    // A marker at the start of the verse has no word before it: it stands for the verse.
    if (run == 0 || !GetRunText(item, run - 1, word, sizeof word) || !IsKeyedMarker(word)) {
        stars = 0;
        char reference[kFormatRefBufferSize] = {};
        const int ref = objects_.MakeIndex(book, chapter, verse);
        if (!ref || FAILED(objects_.GetLangStat()->FormatRef(reference, ref, 0, 0, 0, FALSE))) return false;
        reference[kFormatRefBufferSize - 1] = '\0';
        lstrcpynA(title, reference, kNoteTitleSize);
    } else {
        std::snprintf(title, kNoteTitleSize, "%s%.*s", word, stars, "****************************************");
    }
    return FindNoteSegment(note, stars, text, kNoteTextSize);
}

void CVoBibleItemServer::ShowPopup(int item, const char* title, const char* text) {
    RECT rect = {};
    if (!textWindow_ || !SendMessageA(textWindow_, TWM_GETITEMRECT, static_cast<WPARAM>(item),
                                      reinterpret_cast<LPARAM>(&rect)))
        return;
    int book, chapter, verse;
    GetItemIndices(item, &book, &chapter, &verse);
    // The spacing after a verse that closes a section is no part of the link's neighbourhood.
    AVoTextPainter* painter = GetWindowPainter();
    if (painter && book >= 0 && ClosesSection(book, chapter, verse, HasSectionTitles())) {
        const int lineHeight = painter->GetLineHeight();
        rect.bottom -= context_.ShowSectionTitles() ? 2 * lineHeight : lineHeight / 2;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(textWindow_, &cursor);
    if (rect.bottom < cursor.y + GetSystemMetrics(SM_CYCURSOR)) rect.bottom = cursor.y + GetSystemMetrics(SM_CYCURSOR);
    popup_ = ShowLinkPopup(rect, cursor, title, text);
}

void CVoBibleItemServer::OnHoverEnter(int item, int part) {
    if (GetItemKind() != kItemsVerses) return;
    const int p = PlainPart(part);
    UINT status = 0;
    char reference[kArticleTitleSize] = {};
    char title[kArticleTitleSize] = {};
    char popupText[kPopupTextSize] = {};
    ArticleHandle article = kNoArticle;
    AVoLexicon* lexicon = GetLexiconWindow();
    if (p == kPartCommentaryMarker || p >= kPartFirstReference) {
        const int ref = p == kPartCommentaryMarker ? GetItemRefIn(item, nullptr) : GetLinkRef(item, p - kPartFirstReference);
        char formatted[kFormatRefBufferSize] = {};
        if (ref && SUCCEEDED(objects_.GetLangStat()->FormatRef(formatted, ref, 0, 0, 0, FALSE))) {
            formatted[kFormatRefBufferSize - 1] = '\0';
            lstrcpynA(reference, formatted, sizeof reference);
            if (p == kPartCommentaryMarker) {
                status = kIdsOpenArticleAbout;
                if (part < kPartUnreachable && lexicon)
                    article = lexicon->FindArticleForVerse(true, objects_.GetStat(), ref, false, kNoArticle);
            } else {
                status = kIdsGoToReference;
                lstrcpynA(title, reference, sizeof title);
                objects_.GetRangeText(ref, popupText, sizeof popupText, false);
            }
        }
    } else {
        char run[kRunTextSize] = {};
        GetRunText(item, p, run, sizeof run);
        if (run[0] == '*') {
            if (!GetNotePopup(item, p, title, popupText)) {
                title[0] = '\0';
                status = kIdsNoteNotFound;
            }
        } else {
            status = kIdsOpenArticleAbout;
            lstrcpynA(reference, Trim(run), sizeof reference);
            if (part < kPartUnreachable && lexicon) article = lexicon->FindArticleForKey(true, reference, kNoArticle);
        }
    }
    if (status == kIdsOpenArticleAbout && part >= kPartUnreachable) {
        status = kIdsRightClickForArticle;
    } else if (article != kNoArticle && lexicon) {
        lexicon->GetArticleTitle(article, false, reference, sizeof reference);
        reference[sizeof reference - 1] = '\0';
        status = kIdsOpenArticle;
    }
    if (status) SetStatusString(status, reference);
    if (title[0]) ShowPopup(item, title, popupText);
}

void CVoBibleItemServer::OnHoverLeave(int, int) {
    SetStatusText("");
    DestroyPopup();
}

int CVoBibleItemServer::CollectVerseArticles(int reference, ArticleHandle* list, int max, ArticleHandle* last) {
    AVoLexicon* lexicon = GetLexiconWindow();
    if (last) *last = kNoArticle;
    if (!lexicon) return 0;
    int count = 0;
    ArticleHandle article = lexicon->FindArticleForVerse(true, objects_.GetStat(), reference, false, kNoArticle);
    while (article != kNoArticle && count < max) {
        list[count++] = article;
        article = lexicon->FindArticleForVerse(true, objects_.GetStat(), reference, false, article);
    }
    if (last) *last = article;
    return count;
}

void CVoBibleItemServer::OnArticleLinkClick(int item, int part, bool left) {
    AVoLexicon* lexicon = GetLexiconWindow();
    if (!lexicon) return;
    ArticleHandle list[kMaxMenuArticles];
    int keys = 0;
    ArticleHandle article = kNoArticle;
    if (part != kPartCommentaryMarker) {
        char word[kRunTextSize] = {};
        GetRunText(item, part, word, sizeof word);
        if (AVoTextPainter* painter = GetWindowPainter()) painter->TruncateToFirstWord(word);
        if (!OnlyStars(word)) {
            article = lexicon->FindArticleForKey(true, word, kNoArticle);
            for (ArticleHandle a = article; !left && a != kNoArticle && keys < kMaxMenuArticles;
                 a = lexicon->FindArticleForKey(true, word, a))
                list[keys++] = a;
        }
    }
    int ref = 0;
    int verses = 0;
    if (part == kPartCommentaryMarker || !left) {
        ref = GetItemRefIn(item, nullptr);
        verses = CollectVerseArticles(ref, list + keys, left ? 0 : kMaxMenuArticles - keys, &article);
    }
    if (!left && keys + verses > 0) article = ShowArticleMenu(list, keys, verses, nullptr);
    if (article != kNoArticle) lexicon->ShowArticle(article, ref, objects_.GetStat());
}

void CVoBibleItemServer::OnLinkPress(int phase, LinkPressInfo* info) {
    DestroyPopup();
    if (!info || GetItemKind() != kItemsVerses) return;
    const int p = PlainPart(info->part);
    if (p < kPartFirstReference) {
        const bool unreachable = info->part >= kPartUnreachable;
        if (phase == 0 && info->leftButton && unreachable) info->part = kOrdinaryClickPart;
        else if (phase == 2 && !(info->leftButton && unreachable)) OnArticleLinkClick(info->item, p, info->leftButton);
        return;
    }
    if (phase == 0) {
        info->holdTime = kDragHoldTime;
    } else if (phase == 2 && info->elapsed < kClickTime) {
        const int ref = GetLinkRef(info->item, p - kPartFirstReference);
        if (ref) GoToVerse(ref);
    }
}

void CVoBibleItemServer::OnRightClick(int item) {
    if (!GetLexiconWindow()) return;
    const int ref = GetItemRefIn(item, nullptr);
    ArticleHandle list[kMaxMenuArticles];
    const int count = CollectVerseArticles(ref, list, kMaxMenuArticles, nullptr);
    if (count == 0) return;
    bool copy = false;
    const ArticleHandle article = ShowArticleMenu(list, 0, count, &copy);
    if (article != kNoArticle) {
        if (AVoLexicon* lexicon = GetLexiconWindow()) lexicon->ShowArticle(article, ref, objects_.GetStat());
    } else if (copy && textWindow_) {
        SendMessageA(textWindow_, WM_COPY, 0, 0);
    }
}
