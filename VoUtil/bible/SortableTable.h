// ISortableTable and BinarySearchTable: the one binary search that the statistics, the
// conversion tables and the sparse container share.
#pragma once
#include <windows.h>

// A table that can compare a key with its element at a position: -1, 0 or 1.
struct ISortableTable {
    virtual int Compare(int key, int position) = 0;
protected:
    ~ISortableTable() = default;
};

// Searches positions first..first+count-1 of an ascending table. *position receives the
// first position whose element is not less than key (first + count when every element is
// less); the answer is TRUE when that element equals key.
BOOL BinarySearchTable(int* position, int key, ISortableTable* table, int first, int count);
