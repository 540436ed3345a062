// VoDropTarget: reading dropped data into text and answering OLE for the target.
#include "DropTarget.h"
#include <cstring>
#include <new>
#include "Handles.h"
#include "ReferenceReader.h"
#include "ShellRoutines.h"

HRESULT VoDropTarget::Create(ADropTargetOwner* owner, ATextDropTarget* target, bool linkForm,
                             AReferenceReader* reader, IDropTarget** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* object = new (std::nothrow) ComObject<VoDropTarget>(nullptr, reader);
    if (!object) return E_OUTOFMEMORY;
    object->Init(owner, target, linkForm);
    return object->InnerQueryInterface(IID_IDropTarget, reinterpret_cast<void**>(out));
}

void VoDropTarget::Init(ADropTargetOwner* owner, ATextDropTarget* target, bool linkForm) {
    owner_ = owner;
    target_ = target;
    linkForm_ = linkForm;
}

void* VoDropTarget::QueryPart(REFIID iid) {
    return IsEqualIID(iid, IID_IDropTarget) ? static_cast<IDropTarget*>(this) : nullptr;
}

HRESULT VoDropTarget::SetText(const char* text, size_t length) {
    char* copy = new (std::nothrow) char[length + 1];
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    text_.reset(copy);
    return S_OK;
}

HRESULT VoDropTarget::ReadReference(IDataObject* data, IBibleStat* stat, IBibleLangStat* langStat) {
    int reference = 0;
    if (!reader_ || reader_->ReadReferenceFromDataObject(data, owner_->GetReferenceFormat(), stat, &reference) != S_OK ||
        reference == 0)
        return S_FALSE;
    // FormatRef fills up to kFormatRefBufferSize bytes; what a drop gives is cut after that.
    char formatted[kFormatRefBufferSize] = {};
    if (FAILED(langStat->FormatRef(formatted, reference, 0, 0, 0, 0))) return S_FALSE;
    formatted[sizeof formatted - 1] = '\0';
    char text[kMaxDroppedReference + 3] = {};
    size_t length = 0;
    if (linkForm_) text[length++] = '<';
    length += static_cast<size_t>(
        CopyWholeCharacters(text + length, kMaxDroppedReference + 1, formatted, std::strlen(formatted)));
    if (linkForm_) text[length++] = '>';
    return SetText(text, length);
}

HRESULT VoDropTarget::ReadText(IDataObject* data) {
    FORMATETC format = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (data->QueryGetData(&format) != S_OK || data->GetData(&format, &medium) != S_OK) return S_FALSE;
    HRESULT hr = S_FALSE;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        GlobalLocked<const char> bytes(medium.hGlobal);
        if (bytes.Get()) {
            // The block need not hold a NUL: the text ends at its first NUL or the block's end.
            const SIZE_T size = bytes.Size();
            const void* nul = std::memchr(bytes.Get(), '\0', size);
            const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes.Get()) : size;
            hr = SetText(bytes.Get(), length);
        }
    }
    ReleaseStgMedium(&medium);
    return hr;
}

HRESULT VoDropTarget::ReadData(IDataObject* data) {
    text_.reset();
    if (!data) return S_FALSE;
    const UINT referenceFormat = owner_->GetReferenceFormat();
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> langStat;
    owner_->GetLexiconBibleStat(&stat);
    owner_->GetLexiconLangStat(&langStat);
    FORMATETC format = {static_cast<CLIPFORMAT>(referenceFormat), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (referenceFormat && stat && langStat && data->QueryGetData(&format) == S_OK)
        return ReadReference(data, stat.Get(), langStat.Get());
    return ReadText(data);
}

DWORD VoDropTarget::EffectFor(bool accepted) const {
    if (!accepted || !text_) return DROPEFFECT_NONE;
    return text_[0] == '<' ? DROPEFFECT_LINK : DROPEFFECT_COPY;
}

HRESULT STDMETHODCALLTYPE VoDropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    if (!owner_ || !target_) return E_UNEXPECTED;
    if (!effect) return E_POINTER;
    const HRESULT hr = ReadData(data);
    if (hr == S_OK && text_) *effect = EffectFor(target_->DragEnter(text_.get(), *effect, point.x, point.y));
    else *effect = DROPEFFECT_NONE;
    return FAILED(hr) ? hr : S_OK;
}

HRESULT STDMETHODCALLTYPE VoDropTarget::DragOver(DWORD, POINTL point, DWORD* effect) {
    if (!owner_ || !target_) return E_UNEXPECTED;
    if (!effect) return E_POINTER;
    *effect = text_ ? EffectFor(target_->DragOver(text_.get(), *effect, point.x, point.y)) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoDropTarget::DragLeave() {
    if (!owner_ || !target_) return E_UNEXPECTED;
    if (text_) {
        target_->DragLeave();
        text_.reset();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoDropTarget::Drop(IDataObject*, DWORD, POINTL point, DWORD* effect) {
    if (!owner_ || !target_) return E_UNEXPECTED;
    if (!effect) return E_POINTER;
    *effect = text_ ? EffectFor(target_->Drop(text_.get(), *effect, point.x, point.y)) : DROPEFFECT_NONE;
    text_.reset();  // the drag is over: no later operation may use its text
    return S_OK;
}
