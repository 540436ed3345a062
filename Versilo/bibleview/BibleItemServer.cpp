// CVoBibleItemServer: the items of a bible pane, their texts and references, measuring,
// drawing and hit testing by kind, and the copy and drag data.
#include "BibleItemServer.h"
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include "ReferenceData.h"
#include "TextReceivers.h"
#include "VoUtil.h"

namespace {

// Verse and summary texts are read into buffers as large as the display's, so that a copy
// never cuts what the window shows whole.
constexpr int kItemTextSize = 8192;

// Sets a DC's map mode to MM_TEXT for a scope.
class TextMapMode {
public:
    explicit TextMapMode(HDC dc) : dc_(dc), old_(SetMapMode(dc, MM_TEXT)) {}
    ~TextMapMode() { if (old_) SetMapMode(dc_, old_); }
    TextMapMode(const TextMapMode&) = delete;
    TextMapMode& operator=(const TextMapMode&) = delete;

private:
    HDC dc_;
    int old_;
};

// The bytes written by a counting and then a writing run of a receiver; empty on failure.
template <class Receiver, class Write>
std::unique_ptr<char[]> RunReceiver(Write&& write, int* length) {
    Receiver counting;
    if (!write(&counting)) return nullptr;
    const int n = counting.GetLength();
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(n) + 1]);
    if (!buffer) return nullptr;
    Receiver writing(buffer.get(), n + 1);
    if (!write(&writing) || !writing.IsComplete() || writing.GetLength() != n) return nullptr;
    *length = n;
    return buffer;
}

}  // namespace

int CVoBibleItemServer::GetItemKind() const {
    if (objects_.IsEmpty()) return kItemsNone;
    if (book_ < 0) return kItemsBooks;
    if (chapter_ < 0) return kItemsChapters;
    return kItemsVerses;
}

int CVoBibleItemServer::GetColumnWidth() {
    if (!context_.IsMultiColumn()) return 0;
    return context_.GetColumnWidth() + 2 * context_.GetMargin(1000);
}

int CVoBibleItemServer::GetItemCount() {
    IBibleStat* stat = objects_.GetLangStat();
    switch (GetItemKind()) {
    case kItemsBooks: return stat->GetBookCount();
    case kItemsChapters: return stat->GetChaptersInBook(book_);
    case kItemsVerses: return stat->GetVersesInBook(book_);
    default: return 0;
    }
}

void CVoBibleItemServer::GetItemIndices(int item, int* book, int* chapter, int* verse) const {
    *book = *chapter = *verse = -1;
    switch (GetItemKind()) {
    case kItemsBooks: *book = item; break;
    case kItemsChapters: *book = book_; *chapter = item; break;
    case kItemsVerses:
        if (objects_.GetLangStat()->VerseIndexToRef(firstVerse_ + item, book, chapter, verse) < 0)
            *book = *chapter = *verse = -1;
        break;
    default: break;
    }
}

int CVoBibleItemServer::GetItemText(int item, char* buffer, int size, int* number) {
    if (!buffer) {
        buffer = textBuffer_;
        size = sizeof textBuffer_;
    }
    if (size <= 0) return 0;
    buffer[0] = '\0';
    if (number) *number = 0;
    const int kind = GetItemKind();
    if (kind == kItemsNone) {
        lstrcpynA(buffer, "Error", size);
        return static_cast<int>(std::strlen(buffer));
    }
    if (kind == kItemsBooks) {
        char name[kFormatRefBufferSize] = {};
        objects_.GetLangStat()->GetBookAbbreviation(name, item);
        lstrcpynA(buffer, name, size);
        return static_cast<int>(std::strlen(buffer));
    }
    int book, chapter, verse;
    GetItemIndices(item, &book, &chapter, &verse);
    const int n = (kind == kItemsChapters ? chapter : verse) + 1;
    char* text = buffer;
    int room = size;
    if (number) {
        *number = n;
    } else {
        const int written = std::snprintf(buffer, static_cast<size_t>(size), "%i ", n);
        const int used = written < size ? written : size - 1;
        text += used;
        room -= used;
    }
    if (room > 1) {
        if (kind == kItemsChapters) objects_.GetBible()->GetChapterSummary(book, chapter, text, static_cast<unsigned>(room));
        else objects_.GetBible()->GetVerseText(book, chapter, verse, FALSE, text, room);
    }
    return static_cast<int>(std::strlen(buffer));
}

int CVoBibleItemServer::MakeItemRef(int item) const {
    if (GetItemKind() == kItemsNone) return 0;
    return MakeRangeRef(item, item + 1);
}

int CVoBibleItemServer::MakeRangeRef(int first, int end) const {
    if (GetItemKind() == kItemsNone) return 0;
    const int count = const_cast<CVoBibleItemServer*>(this)->GetItemCount();
    if (first < 0 || first >= count) return 0;
    if (end > count) end = count;
    IBibleHandles* handles = objects_.GetIndexer();
    int b, c, v;
    GetItemIndices(first, &b, &c, &v);
    int ref = 0;
    if (FAILED(handles->MakeRef(&ref, b, c, v))) return 0;
    if (end > first + 1) {
        GetItemIndices(end - 1, &b, &c, &v);
        if (FAILED(handles->ExtendRef(&ref, b, c, v))) return 0;
    }
    return ref;
}

bool CVoBibleItemServer::IsSelected(int item) const {
    return textWindow_ && SendMessageA(textWindow_, TWM_ISSELECTED, static_cast<WPARAM>(item), 0) == 1;
}

int CVoBibleItemServer::GetSelectionRef() const {
    if (GetItemKind() == kItemsNone || !textWindow_) return 0;
    const int caret = static_cast<int>(SendMessageA(textWindow_, TWM_GETCARET, 0, 0));
    const int count = const_cast<CVoBibleItemServer*>(this)->GetItemCount();
    if (caret < 0 || caret >= count) return 0;
    int first = caret;
    int end = caret + 1;
    if (IsSelected(caret)) {
        while (first > 0 && IsSelected(first - 1)) --first;
        while (end < count && IsSelected(end)) ++end;
    }
    return MakeRangeRef(first, end);
}

int CVoBibleItemServer::GetItemRefIn(int item, IBibleStat* target) const {
    const int count = const_cast<CVoBibleItemServer*>(this)->GetItemCount();
    if (GetItemKind() == kItemsNone || item < 0 || item >= count) return 0;
    int b, c, v;
    GetItemIndices(item, &b, &c, &v);
    const int ref = objects_.MakeIndex(b, c, v);
    if (!ref || !target || target == objects_.GetStat() || target == objects_.GetLangStat()) return ref;
    int converted = 0;
    if (FAILED(ConvertRef(objects_.GetStat(), target, ref, &converted))) return 0;
    return converted;
}

int CVoBibleItemServer::GetLinkRef(int item, int index) {
    IBibleRefLib* refLib = GetRefLib();
    if (GetItemKind() != kItemsVerses || !refLib || index < 0 || index >= 128) return 0;
    int b, c, v;
    GetItemIndices(item, &b, &c, &v);
    if (b < 0) return 0;
    int handles[128];
    unsigned count = 0;
    if (refLib->GetVerseRefs(objects_.GetStat(), b, c, v, handles, 128, &count) != S_OK) return 0;
    return static_cast<unsigned>(index) < count && count <= 128 ? handles[index] : 0;
}

bool CVoBibleItemServer::OpenCaretItem() {
    const int kind = GetItemKind();
    if (!textWindow_ || (kind != kItemsBooks && kind != kItemsChapters)) return false;
    const int caret = static_cast<int>(SendMessageA(textWindow_, TWM_GETCARET, 0, 0));
    if (kind == kItemsBooks) SetBook(caret);
    else SetChapter(caret);
    return true;
}

bool CVoBibleItemServer::GoUpOneLevel() {
    const int kind = GetItemKind();
    if (kind == kItemsChapters) SetBook(-1);
    else if (kind == kItemsVerses) SetChapter(-1);
    else return false;
    return true;
}

void CVoBibleItemServer::MeasureItem(HDC dc, int item, int width, int* units, int* height) {
    TextMapMode mode(dc);
    *units = 1;
    RECT rect = {0, 0, width, 100000};
    switch (GetItemKind()) {
    case kItemsChapters: *height = LayoutChapterRow(dc, item, rect, nullptr); break;
    case kItemsVerses: *height = LayoutVerseItem(dc, item, rect, nullptr, nullptr, nullptr, nullptr); break;
    default: {
        const int margin = context_.GetMargin(width);
        rect.left += margin;
        rect.right -= margin;
        *height = DrawTextA(dc, textBuffer_, GetItemText(item, nullptr, 0, nullptr), &rect,
                            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        break;
    }
    }
}

void CVoBibleItemServer::GetUnitOffsets(HDC, int, int, int unitCount, int* offsets) {
    if (offsets && unitCount > 0) offsets[0] = 0;
}

void CVoBibleItemServer::DrawItem(HDC dc, int item, int x, int y, int width, int height, const int* state) {
    TextMapMode mode(dc);
    RECT rect = {x, y, x + width, y + height};
    switch (GetItemKind()) {
    case kItemsChapters: LayoutChapterRow(dc, item, rect, state); break;
    case kItemsVerses: LayoutVerseItem(dc, item, rect, state, nullptr, nullptr, nullptr); break;
    case kItemsBooks: {
        const int margin = context_.GetMargin(width);
        rect.left += margin;
        rect.right -= margin;
        const COLORREF old = GetTextColor(dc);
        if (state && state[0] >= 0) SetTextColor(dc, 0x00FF0000);
        DrawTextA(dc, textBuffer_, GetItemText(item, nullptr, 0, nullptr), &rect, DT_WORDBREAK | DT_NOPREFIX);
        SetTextColor(dc, old);
        break;
    }
    default: break;
    }
}

BOOL CVoBibleItemServer::HitTest(HDC dc, int item, POINT* pointInItem, int width, int* part, HCURSOR* cursor) {
    if (GetItemKind() != kItemsVerses || !pointInItem) return FALSE;
    TextMapMode mode(dc);
    RECT rect = {0, 0, width, 100000};
    int found = -1;
    char text[kHitTextSize] = {};
    LayoutVerseItem(dc, item, rect, nullptr, pointInItem, &found, text);
    if (found < 0) return FALSE;
    AVoLexicon* lexicon = GetLexiconWindow();
    bool usable = false;
    if (found == kPartCommentaryMarker) {
        const int ref = GetItemRefIn(item, nullptr);
        usable = lexicon && ref &&
                 lexicon->FindArticleForVerse(false, objects_.GetStat(), ref, false, kNoArticle) != kNoArticle;
    } else if (found >= kPartFirstReference || text[0] == '*') {
        usable = true;
    } else {
        // A word is a part only when some commentary has an article for it.
        if (!lexicon || lexicon->FindArticleForKey(true, text, kNoArticle) == kNoArticle) return FALSE;
        usable = lexicon->FindArticleForKey(false, text, kNoArticle) != kNoArticle;
    }
    if (!usable && lexicon && lexicon->IsIndexLocked()) {
        *part = found + kPartUnreachable;
        *cursor = LoadCursor(nullptr, IDC_ARROW);
    } else {
        *part = found;
        *cursor = LoadCursor(nullptr, IDC_HAND);
    }
    return TRUE;
}

int CVoBibleItemServer::CanDragPart(int, int part) {
    if (part >= kPartUnreachable) part -= kPartUnreachable;
    return GetItemKind() == kItemsVerses && part >= kPartFirstReference ? 1 : 0;
}

void CVoBibleItemServer::WriteItemsText(int first, int end, AVoTextReceiver* receiver) {
    const int kind = GetItemKind();
    const bool withNumbers = context_.CopyVerseNumbers();
    const bool before = context_.VerseNumberBeforeText();
    char reference[kFormatRefBufferSize] = {};
    const bool referenced = kind == kItemsChapters || kind == kItemsVerses;
    if (referenced) {
        const int ref = MakeRangeRef(first, end);
        if (ref) objects_.GetLangStat()->FormatRef(reference, ref, 0, 0, 0, FALSE);
        reference[kFormatRefBufferSize - 1] = '\0';
    }
    if (referenced && withNumbers && before) receiver->AddHeading(reference);
    std::unique_ptr<char[]> text(new (std::nothrow) char[kItemTextSize]);
    if (!text) return;
    for (int item = first; item < end; ++item) {
        int number = 0;
        GetItemText(item, text.get(), kItemTextSize, &number);
        if (!(withNumbers && end - first == 1)) receiver->AddVerseNumber(static_cast<unsigned>(number));
        receiver->AddText(text.get());
        receiver->AddNewLine();
    }
    if (referenced && withNumbers && !before) receiver->AddHeading(reference);
}

void CVoBibleItemServer::WriteSelectedText(int first, int end, AVoTextReceiver* receiver) {
    int item = first;
    while (item < end) {
        if (!IsSelected(item)) {
            ++item;
            continue;
        }
        int runEnd = item + 1;
        while (runEnd < end && IsSelected(runEnd)) ++runEnd;
        WriteItemsText(item, runEnd, receiver);
        receiver->AddLineBreak();
        item = runEnd;
    }
}

void CVoBibleItemServer::SetReferenceData(ISimpleDataSource* source, int ref) {
    GUID identity = {};
    objects_.GetStat()->GetGuid(&identity, FALSE);
    BYTE record[kReferenceRecordSize];
    MakeReferenceRecord(ref, identity, record);
    source->SetData(GetReferenceFormat(), record, sizeof record, nullptr);
}

BOOL CVoBibleItemServer::FillSelectionData(ISimpleDataSource* source) {
    if (!source || !textWindow_) return FALSE;
    int bounds[2] = {0, 0};
    SendMessageA(textWindow_, TWM_GETSELECTIONBOUNDS, 0, reinterpret_cast<LPARAM>(bounds));
    const int first = bounds[0] < 0 ? 0 : bounds[0];
    const int end = bounds[1];

    int length = 0;
    std::unique_ptr<char[]> text = RunReceiver<VoPlainTextReceiver>(
        [&](VoPlainTextReceiver* r) {
            WriteSelectedText(first, end, r);
            return true;
        },
        &length);
    if (text) source->SetData(CF_TEXT, text.get(), length + 1, nullptr);

    const int ref = GetSelectionRef();
    if (ref) SetReferenceData(source, ref);

    // "HTML Format" only when the document is whole and its offsets say where it lies.
    static const UINT htmlFormat = RegisterClipboardFormatA("HTML Format");
    if (htmlFormat) {
        int htmlLength = 0;
        std::unique_ptr<char[]> html = RunReceiver<VoHtmlTextReceiver>(
            [&](VoHtmlTextReceiver* r) {
                WriteSelectedText(first, end, r);
                return r->Finish();
            },
            &htmlLength);
        if (html) source->SetData(htmlFormat, html.get(), htmlLength + 1, nullptr);
    }
    return text || ref ? TRUE : FALSE;
}

BOOL CVoBibleItemServer::FillPartData(ISimpleDataSource* source, int item, int part) {
    if (part >= kPartUnreachable) part -= kPartUnreachable;
    if (!source || part < kPartFirstReference) return FALSE;
    const int ref = GetLinkRef(item, part - kPartFirstReference);
    if (!ref) return FALSE;
    SetReferenceData(source, ref);
    return TRUE;
}
