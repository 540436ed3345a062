// Filling the batch of prepared verse texts.
#include "VerseBatch.h"
#include "ViewerRefList.h"
#include "VoUtil.h"

namespace {

// The list's reference in the bible's numbering; 0 when it has none there.
int ConvertToBible(const VoViewerRefList& list, const VoBibleObjects& bible, int listRef) {
    int ref = 0;
    if (FAILED(ConvertRef(list.GetStat(), bible.GetStat(), listRef, &ref))) return 0;
    return ref;
}

}  // namespace

void VoVerseBatch::Clear() {
    count_ = 0;
    cursor_ = 0;
}

void VoVerseBatch::Fill(const VoBibleObjects& bible, const VoViewerRefList& list, int start) {
    Clear();
    nextPosition_ = start;
    if (bible.IsEmpty() || !list.IsOpen()) return;
    char* out = pool_;
    int remaining = kPoolSize;
    int position = start;
    for (int read = 0; read < kMaxTexts; ++read) {
        const int here = position;
        position = list.Following(here);
        nextPosition_ = position;
        int listRef = 0;
        if (FAILED(list.GetRef(here, &listRef))) continue;
        const int ref = ConvertToBible(list, bible, listRef);
        if (!ref) continue;
        const int length = bible.GetRangeText(ref, nullptr, kTextRoom, true);
        if (length <= 0) continue;  // nothing to show for it
        if (length >= remaining) {
            nextPosition_ = here;
            break;
        }
        const int written = bible.GetRangeText(ref, out, remaining < kTextRoom ? remaining : kTextRoom, true);
        if (written <= 0) continue;
        texts_[count_] = out;
        refs_[count_] = ref;
        positions_[count_] = here;
        ++count_;
        out += written + 1;
        remaining -= written + 1;
        if (remaining <= kLowWater) break;
    }
}

int VoVerseBatch::Advance() {
    if (cursor_ < count_) ++cursor_;
    return cursor_ < count_ ? positions_[cursor_] : nextPosition_;
}
