// VoBibleObjects: attaching a bible and splitting its reference values into indices and
// linear verse ranges.
#include "BibleObjects.h"

bool VoBibleObjects::Attach(IBible* bible) {
    if (!bible) return false;
    ComPtr<IBibleLangStat> langStat;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (FAILED(bible->GetLangStat(langStat.Put()))) langStat.Reset();
    if (SUCCEEDED(bible->GetBibleStat(stat.Put())) && stat) {
        if (FAILED(stat.As(IID_IBibleHandles, &handles))) handles.Reset();
    }
    if (!handles || !langStat || !stat) return false;
    bible_ = ComPtr<IBible>(bible);
    langStat_ = std::move(langStat);
    stat_ = std::move(stat);
    handles_ = std::move(handles);
    return true;
}

void VoBibleObjects::Clear() {
    handles_.Reset();
    stat_.Reset();
    langStat_.Reset();
    bible_.Reset();
}

bool VoBibleObjects::SplitIndex(int ref, int* book, int* chapter, int* verse) const {
    if (!handles_) return false;
    return SUCCEEDED(handles_->RefToIndices(ref, book, chapter, verse));
}

int VoBibleObjects::MakeIndex(int book, int chapter, int verse) const {
    if (!handles_) return 0;
    int ref = 0;
    if (FAILED(handles_->MakeRef(&ref, book, chapter, verse))) return 0;
    return ref;
}

bool VoBibleObjects::SplitRangeEnd(int ref, int* book, int* chapter, int* verse) const {
    if (!handles_ || !bible_) return false;
    // IsSingleRef answers 1 for a single position; HasRangeLength 1 for a counted range.
    bool single = handles_->IsSingleRef(ref) == 1;
    bool counted = !single && handles_->HasRangeLength(ref) == 1;
    if (counted) return SUCCEEDED(handles_->RangeEndToIndices(ref, book, chapter, verse));
    HRESULT hr = handles_->RefToIndices(ref, book, chapter, verse);
    if (FAILED(hr) || single) return SUCCEEDED(hr);
    return SUCCEEDED(bible_->GetSectionEnd(book, chapter, verse));
}

bool VoBibleObjects::GetVerseRange(int ref, int* first, int* end) const {
    *first = 0;
    *end = 0;
    if (!stat_) return false;
    int b = -1, c = -1, v = -1;
    int eb = -1, ec = -1, ev = -1;
    // A value that can't be split names no verses: widening its levels would cover the
    // whole bible.
    if (!SplitIndex(ref, &b, &c, &v) || !SplitRangeEnd(ref, &eb, &ec, &ev)) return false;
    if (b < 0) b = 0;
    if (c < 0) c = 0;
    if (v < 0) v = 0;
    if (eb < 0) eb = stat_->GetBookCount() - 1;
    if (ec < 0) ec = stat_->GetChaptersInBook(eb) - 1;
    if (ev < 0) ev = stat_->GetVersesInChapter(eb, ec) - 1;
    int start = stat_->RefToVerseIndex(b, c, v);
    int last = stat_->RefToVerseIndex(eb, ec, ev);
    if (start < 0 || last < start) return false;
    *first = start;
    *end = last + 1;
    return true;
}
