// RyVirtualListViewCtrl: copying the selection to the clipboard and dragging the
// selection or one part. The item server fills a fresh data source each time.
#include "VirtualListViewCtrl.h"
#include <ole2.h>
#include "DataSource.h"
#include "DropSource.h"

ComPtr<IDataObject> RyVirtualListViewCtrl::SelectionData() {
    ComPtr<ISimpleDataSource> source;
    ComPtr<IDataObject> data;
    if (FAILED(XDataSource::Create(&source, &data))) return nullptr;
    if (!server_->FillSelectionData(source.Get())) return nullptr;
    return data;
}

ComPtr<IDataObject> RyVirtualListViewCtrl::PartData(int item, int part) {
    ComPtr<ISimpleDataSource> source;
    ComPtr<IDataObject> data;
    if (FAILED(XDataSource::Create(&source, &data))) return nullptr;
    if (!server_->FillPartData(source.Get(), item, part)) return nullptr;
    return data;
}

void RyVirtualListViewCtrl::Drag(const ComPtr<IDataObject>& data) {
    if (!data) return;
    ComPtr<IDropSource> dropSource;
    if (FAILED(XDropSource::Create(dropSource.Put()))) return;
    const bool wasDragging = dragging_;
    dragging_ = true;
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data.Get(), dropSource.Get(), DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    dragging_ = wasDragging;
}

LRESULT RyVirtualListViewCtrl::OnCopy(WPARAM, LPARAM) {
    int first = 0, end = 0;
    selection_.Bounds(&first, &end);
    if (first == end) return 0;
    // A server that offers nothing still empties the clipboard.
    const ComPtr<IDataObject> data = SelectionData();
    ::OleSetClipboard(data.Get());
    return 0;
}
