// The viewer's file paths: bibles and lists named in its settings, the names it shows for
// them, and the main program's file beside its own.
#pragma once
#include <windows.h>

// directory, name and ".vrsb" into path (MAX_PATH bytes); false when it does not fit.
bool MakeBiblePath(char* path, const char* directory, const char* name);
// A name that contains a backslash is the path itself; any other is directory, name and
// ".vrsm". False when the result does not fit in MAX_PATH bytes.
bool MakeListPath(char* path, const char* directory, const char* name);
// The name of a list: its file name without folder, cut at the first '.'. Returns name.
char* CopyListName(char* name, int size, const char* path);
// A file name without its extension (the last '.' and what follows). Returns stem.
char* CopyFileStem(char* stem, int size, const char* fileName);
// The main program's file: ownPath with every "voviewer" (in any letter case) of its file
// name replaced by "Versilo", into path (MAX_PATH bytes); its folders keep their names.
// Empty, and false, when no file exists there.
bool DeriveMainProgramPath(const char* ownPath, char* path);
