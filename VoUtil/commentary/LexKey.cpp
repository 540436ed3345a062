#include "LexKey.h"

namespace {
int Sign(long long d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }
}

int KeyOrder::Compare(const LexKey& a, const LexKey& b) const {
    if (a.kind != b.kind) return Sign(a.kind - b.kind);
    switch (a.kind) {
    case kTextKey:
        return collation_->Compare(a.SortText(), b.SortText());
    case kReferenceKey: {
        int ia[3] = {-1, -1, -1}, ib[3] = {-1, -1, -1};
        refs_->Split(static_cast<int>(a.value), &ia[0], &ia[1], &ia[2]);
        refs_->Split(static_cast<int>(b.value), &ib[0], &ib[1], &ib[2]);
        for (int i = 0; i < 3; ++i)
            if (ia[i] != ib[i]) return Sign(static_cast<long long>(ia[i]) - ib[i]);
        // One start: the single reference first, then ranges by their handle.
        int ra = (a.value & 0x8000) ? 1 : 0, rb = (b.value & 0x8000) ? 1 : 0;
        if (ra != rb) return Sign(ra - rb);
        return Sign(static_cast<long long>(a.value) - static_cast<long long>(b.value));
    }
    default:
        return Sign(static_cast<long long>(a.value) - static_cast<long long>(b.value));
    }
}
