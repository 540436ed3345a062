#include "SortableTable.h"

BOOL BinarySearchTable(int* position, int key, ISortableTable* table, int first, int count) {
    int lo = first, hi = first + (count > 0 ? count : 0);
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (table->Compare(key, mid) > 0) lo = mid + 1;
        else hi = mid;
    }
    *position = lo;
    return lo < first + count && table->Compare(key, lo) == 0;
}
