// CVoBibleItemServer: the text window's drop target. A dropped "VersiloReference" that
// converts into this bible moves the pane there; anything else is refused with a status
// text that says why.
#include "BibleItemServer.h"
#include "MessageText.h"
#include "ReferenceData.h"

namespace {

constexpr UINT kIdsOwnDrag = 124;
constexpr UINT kIdsOnlyReferences = 125;
constexpr UINT kIdsDropToOpen = 126;
constexpr UINT kIdsCannotConvert = 127;

}  // namespace

int CVoBibleItemServer::ReadDroppedReference(IDataObject* data) {
    if (objects_.IsEmpty()) return 0;
    return ReadReferenceFromDataObject(data, GetReferenceFormat(), objects_.GetStat());
}

HRESULT CVoBibleItemServer::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_POINTER;
    *effect = DROPEFFECT_NONE;
    char status[kTextCapacity];
    if (textWindow_ && SendMessageA(textWindow_, TWM_ISDRAGGING, 0, 0)) {
        SetStatusText(LoadResString(status, kIdsOwnDrag));
    } else if (!DataObjectHasFormat(data, GetReferenceFormat())) {
        SetStatusText(LoadResString(status, kIdsOnlyReferences));
    } else if (const int ref = ReadDroppedReference(data)) {
        char reference[kFormatRefBufferSize] = {};
        objects_.GetLangStat()->FormatRef(reference, ref, 0, 0, 0, FALSE);
        reference[kFormatRefBufferSize - 1] = '\0';
        SetStatusText(FormatResString(status, kIdsDropToOpen, reference));
        *effect = DROPEFFECT_COPY;
    } else {
        char name[256] = {};
        if (!objects_.IsEmpty()) objects_.GetBible()->GetBibleName(TRUE, name, sizeof name);
        name[sizeof name - 1] = '\0';
        SetStatusText(FormatResString(status, kIdsCannotConvert, name));
    }
    dropEffect_ = *effect;
    return S_OK;
}

HRESULT CVoBibleItemServer::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_POINTER;
    *effect = dropEffect_;
    return S_OK;
}

HRESULT CVoBibleItemServer::DragLeave() {
    dropEffect_ = DROPEFFECT_NONE;
    SetStatusText("");
    return S_OK;
}

HRESULT CVoBibleItemServer::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_POINTER;
    dropEffect_ = DROPEFFECT_NONE;
    SetStatusText("");
    *effect = DROPEFFECT_NONE;
    if (textWindow_ && SendMessageA(textWindow_, TWM_ISDRAGGING, 0, 0)) return S_OK;
    if (const int ref = ReadDroppedReference(data)) {
        GoToVerse(ref);
        *effect = DROPEFFECT_COPY;
    }
    return S_OK;
}
