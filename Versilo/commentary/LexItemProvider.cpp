// VoLexItemProvider: entry titles and kinds of one commentary for the title box.
#include "LexItemProvider.h"

HRESULT VoLexItemProvider::Create(IVoLexicon* lexicon, IVirtualListItemProvider** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!lexicon) return E_INVALIDARG;
    ComPtr<IVirtualListItemProvider> provider;
    HRESULT hr = CreateComInstanceAs<VoLexItemProvider>(IID_IVirtualListItemProvider, provider.Put());
    if (FAILED(hr)) return hr;
    static_cast<VoLexItemProvider*>(provider.Get())->lexicon_ = ComPtr<IVoLexicon>(lexicon);
    *out = provider.Detach();
    return S_OK;
}

void* VoLexItemProvider::QueryPart(REFIID iid) {
    if (IsEqualIID(iid, IID_IVirtualListItemProvider)) return static_cast<IVirtualListItemProvider*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE VoLexItemProvider::GetItem(int index, RyVirtualListItem* item) {
    if (!item) return E_POINTER;
    if (item->mask & kRyItemImage) {
        int kind = 0;
        item->image = SUCCEEDED(lexicon_->GetEntryKind(index, &kind)) ? kind - 1 : -1;
    }
    if ((item->mask & kRyItemText) && item->text && item->textMax > 0) {
        item->text[0] = '\0';
        if (FAILED(lexicon_->GetEntryTitle(index, item->text, static_cast<unsigned>(item->textMax))))
            item->text[0] = '\0';
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexItemProvider::FindItem(const char* text, int* index, BYTE* exact) {
    if (!index || !exact) return E_POINTER;
    *index = 0;
    *exact = 0;
    int position = 0;
    VARIANT_BOOL found = VARIANT_FALSE;
    HRESULT hr = lexicon_->FindEntry(text ? text : "", &position, &found);
    if (SUCCEEDED(hr)) *index = position;
    *exact = hr == S_OK;
    return S_OK;
}
