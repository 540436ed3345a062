// CBibleLangStat::FormatRef: the text of a reference in the bible's language, leaving out
// what the previous reference already says ("Joh 3:16", "v. 16", "16", "Joh 3:16-4:2",
// "Jud 5", "1 Mos 1-3", "Joh 3:16f", "Joh 3:16ff").
#include "BibleLangStat.h"

namespace {
int SingleHandle(int handle) { return static_cast<int>(0xFFFF0000u | (static_cast<unsigned>(handle) & 0x7FFF)); }
}

CBibleLangStat::Place CBibleLangStat::Split(int handle) const {
    Place p;
    if (FAILED(handles_->RefToIndices(SingleHandle(handle), &p.book, &p.chapter, &p.verse))) return Place();
    return p;
}

// A single reference is its own context; a counted range gives what its ends share (the
// chapter, with the verse when both ends are one verse; else the book; else nothing); an
// open range gives its chapter.
CBibleLangStat::Place CBibleLangStat::Context(int handle) const {
    if (!handle || FAILED(handles_->GetRefKind(handle))) return Place();
    Place start = Split(handle);
    if (handles_->IsSingleRef(handle) == 1) return start;
    if (handles_->HasRangeLength(handle) != 1) {
        start.verse = -1;
        return start;
    }
    Place end;
    if (FAILED(handles_->RangeEndToIndices(handle, &end.book, &end.chapter, &end.verse))) return Place();
    if (start.book != end.book) return Place();
    if (start.chapter != end.chapter) {
        start.chapter = start.verse = -1;
        return start;
    }
    if (start.verse != end.verse) start.verse = -1;
    return start;
}

// One position relative to a context: the book's name, the chapter and the verse, each
// only where the context does not already give it.
void CBibleLangStat::WritePlace(std::string& out, const Place& place, const Place& context, bool mayUseV) const {
    auto name = [&](int book) { return book == -1 ? languageName_ : names_[book]; };
    std::string t;
    if (place.chapter == -1) {
        t.assign(name(place.book), 0, kMaxBookNameLength);
        out += t;
        return;
    }
    const int d = stat_->GetChaptersInBook(place.book);
    const bool samePlace = place.book == context.book && place.chapter == context.chapter && place.verse != -1;
    if (place.book != context.book || (d == 1 && !samePlace)) t.assign(name(place.book), 0, kMaxBookNameLength);
    if (d != 1 && (place.chapter != context.chapter || !samePlace)) {
        if (!t.empty() && t.back() != '.') t += ' ';
        t += std::to_string(place.chapter + 1);
    }
    if (place.verse != -1) {
        if (!t.empty()) t += d != 1 ? ":" : " ";
        else if (mayUseV) t += "v. ";
        t += std::to_string(place.verse + 1);
    }
    out += t;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::FormatRef(char* buf, int handle, int previousRef, int previousRangeRef,
                                                     int nextHandle, BOOL terminate) {
    if (!buf) return E_POINTER;
    *buf = '\0';
    if (!handles_ || FAILED(handles_->GetRefKind(handle))) return E_INVALIDARG;
    Place context;
    if (previousRef) {
        context = Context(previousRef);
    } else if (previousRangeRef && SUCCEEDED(handles_->GetRefKind(previousRangeRef))) {
        context = Split(previousRangeRef);
        if (handles_->HasRangeLength(previousRangeRef) == 1)
            handles_->RangeEndToIndices(previousRangeRef, &context.book, &context.chapter, &context.verse);
    }
    const Place start = Split(handle);
    // Every book written must have a name in this block.
    auto named = [&](const Place& p) { return p.book < static_cast<int>(names_.size()); };
    if (!named(start)) return E_INVALIDARG;
    std::string text;
    try {
        WritePlace(text, start, context, previousRangeRef == 0);
        Place last = start;
        if (handles_->IsSingleRef(handle) == 0) {
            if (handles_->HasRangeLength(handle) == 1) {
                Place end;
                if (FAILED(handles_->RangeEndToIndices(handle, &end.book, &end.chapter, &end.verse)) || !named(end))
                    return E_INVALIDARG;
                if (start.verse != -1 && end.book == start.book && end.chapter == start.chapter &&
                    end.verse == start.verse + 1) {
                    text += 'f';
                } else {
                    text += '-';
                    WritePlace(text, end, start, false);
                }
                last = end;
            } else {
                text += "ff";
            }
        }
        if (terminate) {
            Place next;
            bool sameChapter = false;
            if (nextHandle && SUCCEEDED(handles_->GetRefKind(nextHandle)) && last.verse != -1) {
                next = Split(nextHandle);
                sameChapter = next.verse != -1 && next.book == last.book && next.chapter == last.chapter &&
                              next.verse > last.verse;
            }
            text += sameChapter ? ',' : '.';
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (text.empty()) return E_INVALIDARG;
    lstrcpynA(buf, text.c_str(), kFormatRefBufferSize);
    return S_OK;
}
