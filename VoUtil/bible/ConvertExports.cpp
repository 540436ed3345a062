// Exports that convert positions and handles between numberings, through the conversion
// tables and the reference versification in the folder "Bibles" beside this library.
#include "VoUtil.h"
#include "VersificationConverter.h"

extern "C" HRESULT __stdcall CanConvert(IBibleStat* from, IBibleStat* to) {
    return CVersificationConverter::Library().CanConvert(from, to);
}

extern "C" HRESULT __stdcall ConvertBibleIndex(IBibleStat* from, IBibleStat* to, int* book, int* chapter, int* verse,
                                               int* verseEnd) {
    return CVersificationConverter::Library().ConvertBibleIndex(from, to, book, chapter, verse, verseEnd);
}

extern "C" HRESULT __stdcall ConvertBibleIndices(IBibleStat* from, IBibleStat* to, int* book, int* chapter,
                                                 int* verse) {
    return CVersificationConverter::Library().ConvertBibleIndices(from, to, book, chapter, verse);
}

extern "C" HRESULT __stdcall ConvertRef(IUnknown* from, IUnknown* to, int handle, int* outHandle) {
    return CVersificationConverter::Library().ConvertRef(from, to, handle, outHandle);
}
