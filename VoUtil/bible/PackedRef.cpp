#include "PackedRef.h"
#include "IBibleStat.h"

unsigned PackRef(int handle, BYTE* buf) {
    const unsigned h = static_cast<unsigned>(handle);
    buf[0] = static_cast<BYTE>(h >> 8);
    buf[1] = static_cast<BYTE>(h);
    if (!(h & kRefRangeFlag)) return 2;
    unsigned high = h >> 16, n = 2;
    do {
        BYTE group = static_cast<BYTE>(high & 0x7F);
        high >>= 7;
        buf[n++] = static_cast<BYTE>(group | (high ? 0x80 : 0));
    } while (high);
    return n;
}

unsigned UnpackRef(const BYTE* p, unsigned available, int* handle) {
    if (available < 2) return 0;
    unsigned low = (static_cast<unsigned>(p[0]) << 8) | p[1];
    if (!(low & kRefRangeFlag)) {
        *handle = static_cast<int>(0xFFFF0000u | low);
        return 2;
    }
    unsigned high = 0;
    for (unsigned i = 0; i < 3; ++i) {
        if (2 + i >= available) return 0;
        high |= static_cast<unsigned>(p[2 + i] & 0x7F) << (7 * i);
        if (!(p[2 + i] & 0x80)) {
            if (high > 0xFFFF) return 0;
            *handle = static_cast<int>((high << 16) | low);
            return 3 + i;
        }
    }
    return 0;
}
