// How the library reaches the text utilities: "RyTxtUtl.dll" from the library's own folder
// and its plain exports, or, when the library or an export is missing, the same classes
// through COM by their ProgID ("RyTextUtils." + name + ".1").
#pragma once
#include <windows.h>
#include "RyTextUtilsApi.h"

// The collation object of a language by its name ("StdLang"), with one reference.
HRESULT CreateRyLanguage(const char* name, IRyLanguage** out);
