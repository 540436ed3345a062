// The colour-marking cache of an installed-bible record: made on first use, and rebuilt
// when the markings change. It lives with the markings; the record only keeps a borrowed
// pointer to it, so the bible list needs nothing of the bible view.
#include "BibleInfo.h"
#include "WindowMarkCache.h"

ComPtr<VoWindowMarkCache> MakeMarkCache(VoBibleInfo& record, VoKv61MarkedVerses* store) {
    if (VoWindowMarkCache* cache = record.GetMarkCache()) return ComPtr<VoWindowMarkCache>(cache);
    return VoWindowMarkCache::Create(&record, store);
}

void RefreshMarkCache(VoBibleInfo& record) {
    VoWindowMarkCache* cache = record.GetMarkCache();
    if (cache && cache->OwnsBits()) cache->Refresh();
}
