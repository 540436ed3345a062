// The commentary exports with the binding to use, for the exports themselves and the tests.
#pragma once
#include "IVoLexicon.h"
#include "LexSupport.h"

HRESULT OpenLexFile(const char* path, IVoLexicon** out, const LexBinding& binding);
HRESULT CreateLexFile(const char* path, IBibleLangStat* referenceSystem, const char* name, IVoLexicon** out,
                      const LexBinding& binding);
