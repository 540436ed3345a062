// VoWindowMarkCache: construction over a bible record, and the conversion of markings
// between the bible's numbering and the reference one.
#include "WindowMarkCache.h"
#include "BibleInfo.h"
#include "MarkedVerses.h"
#include "VoUtil.h"

ComPtr<VoWindowMarkCache> VoWindowMarkCache::Create(VoBibleInfo* record, VoKv61MarkedVerses* store) {
    if (!record || !store) return nullptr;
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(record->GetBible());
    ComPtr<IBibleStat> stat;
    if (!bible || FAILED(bible->GetBibleStat(stat.Put())) || !stat) return nullptr;
    ComPtr<VoWindowMarkCache> cache = ComPtr<VoWindowMarkCache>::Attach(new VoWindowMarkCache(record, store));
    if (!cache->Attach(stat.Get())) return nullptr;
    record->SetMarkCache(cache.Get());
    return cache;
}

VoWindowMarkCache::~VoWindowMarkCache() {
    if (record_ && record_->GetMarkCache() == this) record_->SetMarkCache(nullptr);
}

ULONG VoWindowMarkCache::Release() {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

bool VoWindowMarkCache::Attach(IBibleStat* stat) {
    stat_ = ComPtr<IBibleStat>(stat);
    if (FAILED(stat_.As(IID_IBibleHandles, &handles_))) return false;
    IBibleStat* reference = store_->GetStat();
    GUID mine = {}, theirs = {};
    if (reference && SUCCEEDED(stat->GetGuid(&mine, FALSE)) && SUCCEEDED(reference->GetGuid(&theirs, FALSE)) &&
        IsEqualGUID(mine, theirs)) {
        bits_.Share(store_->GetBits());
        usable_ = true;
        return true;
    }
    if (!bits_.Init(stat->GetVerseCount())) return false;
    usable_ = reference && store_->GetHandles() && CanConvert(stat, reference) == S_OK;
    if (usable_) Refresh();
    return true;
}

bool VoWindowMarkCache::ConvertVerse(IBibleStat* from, IBibleHandles* fromHandles, IBibleStat* to,
                                     IBibleHandles* toHandles, int verse, int* first, int* last) {
    int book = 0, chapter = 0, number = 0, ref = 0, mapped = 0;
    if (!from->VerseIndexToRef(verse, &book, &chapter, &number)) return false;
    if (fromHandles->MakeRef(&ref, book, chapter, number) != S_OK) return false;
    // S_FALSE: the verse has no counterpart; it is left out rather than guessed.
    if (ConvertRef(from, to, ref, &mapped) != S_OK) return false;
    if (FAILED(toHandles->RefToIndices(mapped, &book, &chapter, &number))) return false;
    *first = to->RefToVerseIndex(book, chapter, number);
    if (*first < 0) return false;
    *last = *first;
    // A verse that is several verses there marks every one of them.
    if (toHandles->IsSingleRef(mapped) == 0 &&
        SUCCEEDED(toHandles->RangeEndToIndices(mapped, &book, &chapter, &number))) {
        int end = to->RefToVerseIndex(book, chapter, number);
        if (end > *first) *last = end;
    }
    return true;
}

void VoWindowMarkCache::SetMark(int verse, bool on) {
    if (!usable_) return;
    if (!bits_.IsOwned()) {
        store_->SetMarked(verse, on);
        return;
    }
    int first = 0, last = 0;
    if (!ConvertVerse(stat_.Get(), handles_.Get(), store_->GetStat(), store_->GetHandles(), verse, &first, &last))
        return;
    for (int k = first; k <= last; ++k) store_->SetMarked(k, on);
}

void VoWindowMarkCache::Refresh() {
    if (!bits_.IsOwned() || !usable_) return;
    bits_.ClearAll();
    const VoVerseBitSet& marked = store_->GetBits();
    IBibleStat* reference = store_->GetStat();
    IBibleHandles* referenceHandles = store_->GetHandles();
    int first = 0, last = 0;
    for (int k = marked.FindNext(-1); k >= 0; k = marked.FindNext(k))
        if (ConvertVerse(reference, referenceHandles, stat_.Get(), handles_.Get(), k, &first, &last))
            bits_.SetRange(first, last);
}
