// VoLexItemProvider: the rows of the commentary pane's title box, answered from the current
// commentary: each entry's title, with the image of its kind (kind - 1).
#pragma once
#include <windows.h>
#include "ComObject.h"
#include "ComPtr.h"
#include "VirtualListItemProvider.h"
#include "VoUtil.h"

class VoLexItemProvider : public ComObjectRoot, public IVirtualListItemProvider {
public:
    // A provider over lexicon (one reference kept), handed out with one reference.
    static HRESULT Create(IVoLexicon* lexicon, IVirtualListItemProvider** out);

    void* QueryPart(REFIID iid);
    HRESULT STDMETHODCALLTYPE GetItem(int index, RyVirtualListItem* item) override;
    HRESULT STDMETHODCALLTYPE FindItem(const char* text, int* index, BYTE* exact) override;

protected:
    VoLexItemProvider() = default;
    ~VoLexItemProvider() = default;

private:
    ComPtr<IVoLexicon> lexicon_;
};
