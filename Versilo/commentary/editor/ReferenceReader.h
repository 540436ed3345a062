// AReferenceReader: reads the bible reference of dragged or copied data in the format
// "VersiloReference" (the reference and the statistics identity of its bible) and converts
// it into a given numbering. The copy-and-drag code of the bible view implements it; the
// commentary pane's drop targets only call it.
#pragma once
#include <windows.h>
#include <objidl.h>

struct IBibleStat;

class AReferenceReader {
public:
    // S_OK with the reference in target's numbering; S_FALSE when the data holds none or it
    // has no counterpart there; an error when the data cannot be read.
    virtual HRESULT ReadReferenceFromDataObject(IDataObject* data, UINT format, IBibleStat* target,
                                                int* reference) = 0;

protected:
    ~AReferenceReader() = default;
};
