// VoSimpleBibleWindow: the pane's commands and what its text window tells it (opening items,
// typed letters, cross-reference clicks, hover hints and popups).
#include <cstdio>
#include <cstring>
#include <vector>
#include "GotoDialog.h"
#include "Handles.h"
#include "MessageText.h"
#include "PopupText.h"
#include "SimpleBibleWindow.h"

namespace {

// Status texts of links ("%s": the reference or the word).
constexpr UINT kIdsOpenArticleAbout = 1000;
constexpr UINT kIdsGoToReference = 1001;
constexpr UINT kIdsNoteNotFound = 1002;

// A cross-reference click that was held this long is a drag, not a click.
constexpr int kClickTime = 500;
constexpr int kDragHoldTime = 200;

// The part without the flag of a link that can't be reached while the index is locked.
int PlainPart(int part) { return part >= kPartUnreachable ? part - kPartUnreachable : part; }

// The segment of a note that stands after a row of exactly stars '*' (the start of the
// note when stars is 0 or there is no such row), up to the next '*'; empty when none.
void NoteSegment(const char* note, int stars, char* out, int size) {
    const char* start = note;
    if (stars > 0) {
        for (const char* p = note; *p; ++p) {
            if (*p != '*' || (p > note && p[-1] == '*')) continue;
            int n = 0;
            while (p[n] == '*') ++n;
            if (n == stars) {
                start = p + n;
                break;
            }
        }
    }
    while (*start == ' ') ++start;
    const char* end = std::strchr(start, '*');
    if (!end) end = start + std::strlen(start);
    while (end > start && end[-1] == ' ') --end;
    int length = static_cast<int>(end - start);
    if (length >= size) length = size - 1;
    std::memcpy(out, start, static_cast<size_t>(length));
    out[length] = '\0';
}

}  // namespace

bool VoSimpleBibleWindow::HandleCommand(UINT command) {
    switch (command) {
    case kCmdOpenItem:
        OpenCaretItem();
        return true;
    case kCmdGoTo:
        RunGoToDialog(0);
        return true;
    default:
        return false;
    }
}

void VoSimpleBibleWindow::RunGoToDialog(char character) {
    if (objects_.IsEmpty() || !textWindow_) return;
    const int caret = static_cast<int>(Send(TWM_GETCARET));
    VoGotoDlg dialog(objects_.GetLangStat(), character, MakeItemRef(caret));
    if (dialog.DoModal(textWindow_) == IDOK && dialog.GetVerse()) GoToVerse(dialog.GetVerse());
}

void VoSimpleBibleWindow::OnItemDoubleClick(int item) {
    switch (GetItemKind()) {
    case kItemsBooks: SetBook(item); break;
    case kItemsChapters: SetChapter(item); break;
    default: break;
    }
}

BOOL VoSimpleBibleWindow::OnChar(UINT character, UINT, UINT) {
    if (character == '\r') {
        OpenCaretItem();
        return TRUE;
    }
    if (character == '\b') {
        GoUpOneLevel();
        return TRUE;
    }
    const char c = static_cast<char>(character);
    if (character <= 0xFF && ((c >= '0' && c <= '5') || IsCharAlphaA(c))) {
        RunGoToDialog(c);
        return TRUE;
    }
    return FALSE;
}

void VoSimpleBibleWindow::OnLinkPress(int phase, LinkPressInfo* info) {
    DestroyPopup();
    if (!info || GetItemKind() != kItemsVerses) return;
    const int part = PlainPart(info->part);
    if (part < kPartFirstReference) {
        // Words and commentary markers open articles of the commentary pane; a word that
        // can't be reached while the index is locked becomes an ordinary click.
        if (phase == 0 && info->leftButton && info->part >= kPartUnreachable) info->part = 9000;
        return;
    }
    if (phase == 0) {
        info->holdTime = kDragHoldTime;
    } else if (phase == 2 && info->elapsed < kClickTime) {
        if (const int ref = GetLinkRef(info->item, part - kPartFirstReference)) GoToVerse(ref);
    }
}

void VoSimpleBibleWindow::OnHoverLeave(int, int) {
    SetStatusText("");
    DestroyPopup();
}

void VoSimpleBibleWindow::DestroyPopup() {
    if (popup_ && IsWindow(popup_)) DestroyWindow(popup_);
    popup_ = nullptr;
}

void VoSimpleBibleWindow::OnHoverEnter(int item, int part) {
    if (GetItemKind() != kItemsVerses || !textWindow_) return;
    DestroyPopup();
    const int p = PlainPart(part);
    UINT status = 0;
    char reference[kFormatRefBufferSize] = {};
    char title[kFormatRefBufferSize] = {};
    constexpr int kBodySize = 4096;
    std::vector<char> bodyBuffer(kBodySize, '\0');
    char* body = bodyBuffer.data();
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(textWindow_, &cursor);
    RECT itemRect = {};
    Send(TWM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemRect));

    if (p == kPartCommentaryMarker || p >= kPartFirstReference) {
        const int ref = p == kPartCommentaryMarker ? MakeItemRef(item) : GetLinkRef(item, p - kPartFirstReference);
        if (ref && SUCCEEDED(objects_.GetLangStat()->FormatRef(reference, ref, 0, 0, 0, FALSE))) {
            status = p == kPartCommentaryMarker ? kIdsOpenArticleAbout : kIdsGoToReference;
            if (p >= kPartFirstReference) {
                lstrcpynA(title, reference, sizeof title);
                objects_.GetRangeText(ref, body, kBodySize, false);
            }
        }
    } else {
        // The run under the pointer: a row of '*' marks a note of the verse.
        char run[kHitTextSize] = {};
        int hitPart = -1;
        {
            WindowDc dc(textWindow_);
            SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(Send(WM_GETFONT)));
            POINT inItem = {cursor.x - itemRect.left, cursor.y - itemRect.top};
            const RECT layout = {0, 0, itemRect.right - itemRect.left, 100000};
            if (dc.Get()) LayoutVerseItem(dc.Get(), item, layout, nullptr, &inItem, &hitPart, run);
        }
        if (run[0] == '*') {
            int stars = 0;
            while (run[stars] == '*') ++stars;
            int b, c, v;
            GetItemIndices(item, &b, &c, &v);
            char note[2048] = {};
            IBible* bible = objects_.GetBible();
            if (b >= 0 && bible->HasVerseNote(b, c, v) == S_OK &&
                SUCCEEDED(bible->GetVerseNote(b, c, v, note, sizeof note))) {
                NoteSegment(note, stars, body, 1024);
                if (body[0] && SUCCEEDED(objects_.GetLangStat()->FormatRef(title, MakeItemRef(item), 0, 0, 0, FALSE)))
                    title[128] = '\0';
            }
            if (!title[0]) {
                status = kIdsNoteNotFound;
                body[0] = '\0';
            }
        } else if (run[0]) {
            status = kIdsOpenArticleAbout;
            lstrcpynA(reference, run, sizeof reference);
        }
    }
    if (status) {
        char format[kTextCapacity];
        char text[kTextCapacity + kFormatRefBufferSize];
        LoadResString(format, status);
        std::snprintf(text, sizeof text, format, reference);
        SetStatusText(text);
    }
    if (title[0]) {
        const int pointerHeight = GetSystemMetrics(SM_CYCURSOR);
        if (itemRect.bottom < cursor.y + pointerHeight) itemRect.bottom = cursor.y + pointerHeight;
        popup_ = ShowPopupText(textWindow_, &itemRect, cursor, title, body);
    }
}
