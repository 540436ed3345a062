// The reader the commentary pane's drop targets use for dragged or pasted "VersiloReference"
// data: the bible view's record reader behind the pane's interface.
#pragma once
#include <windows.h>
#include "ReferenceData.h"
#include "ReferenceReader.h"

class VoDroppedReferenceReader : public AReferenceReader {
public:
    // S_OK with the reference in target's numbering; S_FALSE when the data holds none that
    // target's numbering has.
    HRESULT ReadReferenceFromDataObject(IDataObject* data, UINT format, IBibleStat* target, int* reference) override {
        if (!reference) return E_POINTER;
        *reference = 0;
        if (!data || !target) return E_INVALIDARG;
        *reference = ::ReadReferenceFromDataObject(data, format, target);
        return *reference ? S_OK : S_FALSE;
    }
};
