// VoViewerRefList: the open mannakorn list with its statistics, its name, its entry count
// and the position of the verse to show next, which the registry keeps as "index".
#pragma once
#include <windows.h>
#include "VoUtil.h"
#include "ComPtr.h"

class VoViewerRefList {
public:
    // The highest position the registry's "index" may restore.
    static constexpr DWORD kMaxStoredIndex = 10000;
    static constexpr int kNameSize = 260;

    VoViewerRefList() = default;
    VoViewerRefList(VoViewerRefList&&) = default;
    VoViewerRefList& operator=(VoViewerRefList&&) = default;

    // Takes list, or opens the file at path when list is null; then its statistics and
    // count. The name comes from path (empty without one). On success the position is
    // restored from "index": none gives 0, above kMaxStoredIndex gives kMaxStoredIndex, and
    // one at or past the count gives 0, so that it names an entry. On failure the holder
    // is left empty and the error returned.
    HRESULT Open(const char* path, IRefList* list);
    bool IsOpen() const { return static_cast<bool>(list_); }

    IRefList* GetList() const { return list_.Get(); }
    IBibleStat* GetStat() const { return stat_.Get(); }
    const char* GetName() const { return name_; }
    int GetCount() const { return count_; }
    int GetIndex() const { return index_; }

    // The reference at position, in the list's numbering.
    HRESULT GetRef(int position, int* ref) const;
    // The position after position: 0 after the last entry.
    int Following(int position) const { return position + 1 < count_ ? position + 1 : 0; }
    // Makes position the one shown next and stores it as "index" (when it changed, or
    // always with force).
    void MoveTo(int position, bool force = false);

private:
    ComPtr<IRefList> list_;
    ComPtr<IBibleStat> stat_;
    char name_[kNameSize] = {};
    int index_ = 0;
    int count_ = 0;
};
