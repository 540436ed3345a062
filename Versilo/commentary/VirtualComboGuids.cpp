// The interface identifier of the virtual list's item provider.
#include "VirtualListItemProvider.h"

extern "C" const IID IID_IVirtualListItemProvider = {
    0x01cddf78, 0xc23c, 0x439d, {0xa9, 0xff, 0x4a, 0xa9, 0x75, 0xf9, 0x28, 0x81}};
