// The open mannakorn list and its stored position.
#include "ViewerRefList.h"
#include "ViewerPaths.h"
#include "ViewerSettings.h"

HRESULT VoViewerRefList::Open(const char* path, IRefList* list) {
    ComPtr<IRefList> opened;
    if (list) {
        opened = ComPtr<IRefList>(list);
    } else {
        if (!path) return E_POINTER;
        HRESULT hr = OpenRefListFile(path, opened.Put());
        if (FAILED(hr)) return hr;
        if (!opened) return E_FAIL;
    }
    ComPtr<IBibleStat> stat;
    HRESULT hr = opened->GetBibleStat(stat.Put());
    if (SUCCEEDED(hr) && !stat) hr = E_FAIL;
    if (FAILED(hr)) return hr;
    int count = 0;
    hr = opened->GetCount(&count);
    if (FAILED(hr)) return hr;

    list_ = std::move(opened);
    stat_ = std::move(stat);
    count_ = count < 0 ? 0 : count;
    CopyListName(name_, sizeof(name_), path);
    DWORD stored = 0;
    if (!ReadListIndex(&stored)) stored = 0;
    if (stored > kMaxStoredIndex) stored = kMaxStoredIndex;
    index_ = static_cast<int>(stored) < count_ ? static_cast<int>(stored) : 0;
    return S_OK;
}

HRESULT VoViewerRefList::GetRef(int position, int* ref) const {
    *ref = 0;
    if (!list_) return E_UNEXPECTED;
    return list_->GetRef(position, ref);
}

void VoViewerRefList::MoveTo(int position, bool force) {
    if (position == index_ && !force) return;
    index_ = position;
    WriteListIndex(position);
}
