// The colour-marking members of VoBibleInfo: the record's cache, made on first use, and
// its rebuild when the markings change. They live with the markings so that the bible
// list itself needs nothing of them.
#include "BibleInfo.h"
#include "WindowMarkCache.h"

ComPtr<VoWindowMarkCache> VoBibleInfo::GetMarkCache(VoKv61MarkedVerses* store) {
    if (VoWindowMarkCache* cache = GetMarkCache()) return ComPtr<VoWindowMarkCache>(cache);
    return VoWindowMarkCache::Create(this, store);
}

void VoBibleInfo::RefreshMarkCache() {
    VoWindowMarkCache* cache = GetMarkCache();
    if (cache && cache->OwnsBits()) cache->Refresh();
}
