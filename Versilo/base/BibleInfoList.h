// VoBibleInfoList: the installed bibles, one record per ".vrsb" file of the Bibles
// directory that has a short name, sorted by short name (case ignored, equal names in the
// order the directory lists them), and the user's order of them ("Order" under the
// application key + "\bibles\Settings", the short names joined by ",").
//
// Records are named by their storage index (GetAt); the user's order is a second array of
// storage indices (GetOrderAt). End() is the index past the last record, the answer of a
// look-up that finds nothing.
#pragma once
#include <windows.h>
#include <vector>
#include "BibleInfo.h"

// Most bible files listed, and the room of the "Order" value with its NUL.
constexpr int kMaxListedBibles = 256;
constexpr int kOrderCapacity = 8192;

// String resources of the list.
constexpr UINT kIdsDefaultBible = 105;    // short name of the default translation
constexpr UINT kIdsBookOverview = 120;    // "bokoversikt for %1"
constexpr UINT kIdsChapterOverview = 121; // "kapitteloversikt for %1"

class VoBibleInfoList {
public:
    // Scans the Bibles directory and reads the user's order.
    VoBibleInfoList();
    // An independent copy (the bible objects shared with one more reference each).
    VoBibleInfoList(const VoBibleInfoList&) = default;
    VoBibleInfoList& operator=(const VoBibleInfoList&) = delete;

    int GetCount() const { return static_cast<int>(records_.size()); }
    int End() const { return GetCount(); }
    VoBibleInfo& GetAt(int index) { return records_[static_cast<size_t>(index)]; }
    const VoBibleInfo& GetAt(int index) const { return records_[static_cast<size_t>(index)]; }
    // The storage index of the i-th translation in the user's order.
    int GetOrderAt(int i) const { return order_[static_cast<size_t>(i)]; }
    // Replaces the user's order; false (and nothing changed) unless it names every record once.
    bool SetOrder(const std::vector<int>& order);

    // The first record whose short name equals name, case ignored; End() when none does.
    int FindByShortName(const char* name) const;
    // The default translation (string 105) when its bible opens, else the first record
    // whose bible opens; End() when none opens.
    int FindDefaultBible();
    // Writes the short names in the user's order as "Order"; names that would not fit in
    // kOrderCapacity are left out.
    void SaveOrder() const;

    // A caption of a position of bible `index`: "bokoversikt for NAME" (book and chapter
    // -1), "kapitteloversikt for BOOK" (chapter -1) or the chapter's reference, after the
    // short name and a blank when withName is set and a book is given. At most size - 1
    // characters are written. False (and an empty text) when the bible can't be used.
    bool FormatPosition(int index, int book, int chapter, bool withName, char* buffer, int size);

private:
    void ReadOrder();

    std::vector<VoBibleInfo> records_;
    std::vector<int> order_;
};
