// GetChapterSummary: a chapter's section titles with the verses each covers ("Title, 5-9."),
// then its chapter text; a chapter without either shows the start of its first verse.
//
// Titles carry a little notation of their own: leading "." characters say the section
// starts in the k-th part of its verse ("a" + k), a trailing marker ("+" old, a tab new)
// that it starts one verse later, and a final "." or "," is the terminator to print after
// the range; a title whose last character follows a "?" gets neither range nor terminator.
#include "BibleObject.h"
#include "VoUtil.h"
#include <cstdio>
#include <cstring>

namespace {

// Longest title read ahead for the next section.
constexpr int kMaxTitle = 255;

size_t CountLeadingDots(const std::string& s) {
    size_t k = 0;
    while (k < s.size() && s[k] == '.') ++k;
    return k;
}

// Appends text cut to the room that remains.
void AppendCut(std::string& out, unsigned room, const char* text, size_t size) {
    if (out.size() >= room) return;
    size_t n = room - out.size();
    out.append(text, size < n ? size : n);
}

void AppendCut(std::string& out, unsigned room, const std::string& text) {
    AppendCut(out, room, text.data(), text.size());
}

// The letter of the n-th part of a verse: "a", "b" ...
std::string Letter(size_t n) {
    return std::string(1, static_cast<char>('a' + (n > 25 ? 25 : n)));
}

}  // namespace

template <class Iface>
void CBibleObject<Iface>::AppendSummarySections(int book, int chapter, std::string& out, unsigned room) {
    const int first = stat_->RefToVerseIndex(book, chapter, 0);
    const int last = first + stat_->GetVersesInChapter(book, chapter) - 1;
    int at = -1;
    if (titles_->FindNonEmpty(first, &at) != S_OK) return;
    std::string ahead;
    bool haveAhead = false;
    while (at >= first && at <= last && room - out.size() > 32 && out.size() < room) {
        std::string title;
        if (haveAhead) title.swap(ahead);
        else if (FAILED(EntryText(titles_.Get(), at, kMaxTitle, &title))) return;
        haveAhead = false;

        const size_t k = CountLeadingDots(title);
        title.erase(0, k);
        int shift = 0;
        if (!title.empty() && title.back() == marker_) {
            title.pop_back();
            shift = 1;
        }
        const char q = title.size() > 1 ? title[title.size() - 2] : '\0';
        char terminator = '.';
        if (!title.empty() && (title.back() == '.' || title.back() == ',')) {
            terminator = title.back();
            title.pop_back();
        }
        AppendCut(out, room, title);

        int next = -1;
        if (titles_->FindNonEmpty(at + 1, &next) != S_OK || next <= at) next = -1;
        const int end = next >= 0 ? next - 1 : last;
        size_t j = 0;
        if (next >= 0 && SUCCEEDED(EntryText(titles_.Get(), next, kMaxTitle, &ahead))) {
            haveAhead = true;
            j = CountLeadingDots(ahead);
        }

        if (room - out.size() > 5 && out.size() < room) {
            char range[48] = "";
            const std::string endLetter = j > 0 ? Letter(j - 1) : std::string();
            if (end > last) {
                int b = 0, c = 0, v = 0;
                stat_->VerseIndexToRef(end, &b, &c, &v);
                snprintf(range, sizeof range, "-%i:%i%s", c + 1, v + 1, endLetter.c_str());
            } else if (end > at) {
                snprintf(range, sizeof range, "-%i%s", end - first + 1, endLetter.c_str());
            }
            const bool wholeChapter = at == first && shift == 0 && end == last;
            char piece[96] = "";
            if (q == '?') {
                piece[0] = '\0';
            } else if (!wholeChapter) {
                snprintf(piece, sizeof piece, ", %i%s%s%c", at - first + 1 + shift, k > 0 ? Letter(k).c_str() : "", range,
                         terminator);
            } else {
                piece[0] = terminator;
                piece[1] = '\0';
            }
            AppendCut(out, room, piece, strlen(piece));
            if (next >= 0 && next <= last) AppendCut(out, room, " ", 1);
        }
        at = next;
    }
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetChapterSummary(int book, int chapter, char* buf, unsigned len) {
    if (!buf) return E_POINTER;
    if (len == 0) return E_INVALIDARG;
    buf[0] = '\0';
    if (!ValidChapter(book, chapter)) return E_INVALIDARG;
    const unsigned room = len - 1;  // bytes of text, without the terminator
    std::string out;
    AppendSummarySections(book, chapter, out, room);

    std::string text;
    const int linearChapter = stat_->RefToChapterIndex(book, chapter);
    if (room - out.size() > 64 && out.size() < room &&
        SUCCEEDED(EntryText(chapters_.Get(), linearChapter, static_cast<int>(room), &text)) && !text.empty()) {
        AppendCut(out, room, " ", 1);
        AppendCut(out, room, text);
    }

    if (out.empty()) {
        const int first = stat_->RefToVerseIndex(book, chapter, 0);
        int size = 0;
        HRESULT hr = VerseSize(first, &size);
        if (FAILED(hr)) return hr;
        std::string verse(static_cast<size_t>(size) + 1, '\0');
        if (FAILED(hr = ReadVerse(first, &verse[0], size + 1))) return hr;
        verse.resize(strlen(verse.c_str()));
        if (verse.compare(0, 2, "<<") == 0) {
            size_t close = verse.find('>', 2);
            verse = verse.substr(2, close == std::string::npos ? std::string::npos : close - 2);
        } else {
            RemoveVerseTextFormatting(&verse[0]);
            verse.resize(strlen(verse.c_str()));
        }
        if (len > 4) {
            AppendCut(out, len - 4, verse);
            out += "...";
        } else {
            AppendCut(out, room, verse);
        }
    }
    CopyCut(buf, static_cast<int>(len > 0x7FFFFFFF ? 0x7FFFFFFF : len), out.data(), out.size());
    return S_OK;
}

template HRESULT STDMETHODCALLTYPE CBibleObject<IBible>::GetChapterSummary(int, int, char*, unsigned);
template HRESULT STDMETHODCALLTYPE CBibleObject<INewBible>::GetChapterSummary(int, int, char*, unsigned);
