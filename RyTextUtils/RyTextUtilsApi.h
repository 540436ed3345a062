// The plain exports of RyTxtUtl.dll beside the standard COM server exports. Callers bind
// them by name at run time ("CreateLanguage", "CreateRyTextTab"); both are standard-call.
#pragma once
#include "RyTextUtilsIdl.h"

// "StdLang" (exactly, with case) makes a new built-in language object; any other name is
// created through COM as the class of ProgID "RyTextUtils." + name + ".1". E_POINTER for a
// null out, E_INVALIDARG for a null or empty name or one too long for the ProgID.
extern "C" HRESULT __stdcall CreateLanguage(const char* name, IRyLanguage** out);
// A new, empty text table.
extern "C" HRESULT __stdcall CreateRyTextTab(IRyTextTab** out);

typedef HRESULT(__stdcall* CreateLanguageFn)(const char* name, IRyLanguage** out);
typedef HRESULT(__stdcall* CreateRyTextTabFn)(IRyTextTab** out);

// Longest language name that the ProgID buffer of CreateLanguage holds.
constexpr unsigned kMaxLanguageName = 49;
