// The exported functions of VoUtil.dll, standard-call, as the importing programs declare
// them; the interfaces they hand out are declared in the headers included here.
#pragma once
#include <windows.h>
#include <objidl.h>
#include "IIndexedData.h"
#include "IBibleStat.h"
#include "IBibleLangStat.h"
#include "IBible.h"
#include "IBibleRefLib.h"
#include "commentary/IVoLexicon.h"

extern "C" {

// Indexed-data containers.
HRESULT __stdcall OpenIndexedDataOnStream(IStream* stream, IIndexedData** out);
HRESULT __stdcall OpenIndexedDataFile(const char* path, IIndexedData** out);
HRESULT __stdcall CreateIndexedDataOnStream(IStream* stream, BOOL sparse, int entryCount, ICreateIndexedData** out);
HRESULT __stdcall CreateIndexedDataFile(const char* path, BOOL sparse, int entryCount, ICreateIndexedData** out);

// Statistics: shared by identity when read from a stream or file.
HRESULT __stdcall OpenBibleStat(IStream* stream, IBibleStat** out);
HRESULT __stdcall OpenBibleStatStream(IStream* stream, IBibleStat** out);
HRESULT __stdcall OpenBibleStatFile(const char* path, IBibleStat** out);
HRESULT __stdcall CreateBibleStat(const GUID* identity, const GUID* versification, int bookCount,
                                  IBibleStatBuilder** out);
HRESULT __stdcall FindBibleStat(const GUID* identity, IBibleStat** out);

// Language statistics: shared by language over the same numbering when read from a stream.
HRESULT __stdcall OpenLangStatOnBibleStat(IStream* stream, IBibleStat* stat, IBibleLangStat** out);
HRESULT __stdcall OpenLangStat(IStream* stream, IBibleLangStat** out);
HRESULT __stdcall CreateLangStat(IBibleStat* stat, ILangStatSource* source, IBibleLangStat** out);

// Bible files: the old format and the new one (".vrsb").
HRESULT __stdcall OpenBibleFile(const char* path, IBible** out);
HRESULT __stdcall OpenNewBibleFile(const char* path, INewBible** out);

// Strings and paths. GetDirFromFullPath cuts the path after its last backslash (a path
// without one becomes empty); RemoveVerseTextFormatting turns each run of tabs and line
// ends into one blank (a run at the start is dropped); both work in place. The collation
// and prefix test are those of the built-in language "StdLang".
char* __stdcall GetDirFromFullPath(char* path);
char* __stdcall RemoveVerseTextFormatting(char* text);
int __stdcall StringCompare(const char* a, const char* b);
BOOL __stdcall StringIsPrefixedBy(const char* text, const char* prefix);

// Conversion between numberings: directly when they share a versification, through a
// conversion table, or in two steps through the reference versification.
HRESULT __stdcall CanConvert(IBibleStat* from, IBibleStat* to);
HRESULT __stdcall ConvertBibleIndex(IBibleStat* from, IBibleStat* to, int* book, int* chapter, int* verse,
                                    int* verseEnd);
HRESULT __stdcall ConvertBibleIndices(IBibleStat* from, IBibleStat* to, int* book, int* chapter, int* verse);
HRESULT __stdcall ConvertRef(IUnknown* from, IUnknown* to, int handle, int* outHandle);

// Reference libraries and reference lists.
HRESULT __stdcall OpenBibleRefLibFile(const char* path, IBibleRefLib** out);
HRESULT __stdcall OpenRefListFile(const char* path, IRefList** out);

// Commentaries and lexicons: ".vol" and ".vrsn" open as user commentaries, any other
// extension as a packaged lexicon.
HRESULT __stdcall OpenVoLexFile(const char* path, IVoLexicon** out);
// A new, empty user commentary (an existing file is replaced); opened into *out when given.
HRESULT __stdcall CreateOldVoLexFile(const char* path, IBibleLangStat* referenceSystem, const char* name,
                                     IVoLexicon** out);

}  // extern "C"
