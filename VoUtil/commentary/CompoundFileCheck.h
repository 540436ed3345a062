// A check of a compound file's own structure before the platform's structured storage opens
// it: sector chains and the directory tree must stay inside the file and never run in a
// circle, and every stream's size must be what its chain holds. Some damaged files (a
// sibling pointer out of range, a chain that loops) make the storage code loop for ever;
// they are refused here instead. Directory names are checked too: the storage code reads
// a file whose name-length fields disagree with the names, but rewriting it can destroy
// the directory.
#pragma once
#include <windows.h>

// S_OK for a file whose header, sector chains and directory are sound, STG_E_INVALIDNAME
// for one that is sound but for a name-length field (safe to read, not to write),
// STG_E_DOCFILECORRUPT for one that is not, STG_E_FILEALREADYEXISTS for a file that is no
// compound file, or the error of reading it. Reads the file only.
HRESULT CheckCompoundFile(const wchar_t* path);
