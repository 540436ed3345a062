// CRyLanguage: the built-in language "StdLang" as IRyLanguage (collation, prefix test,
// word breaking). It holds no state of its own; every instance answers alike.
#pragma once
#include "RyTextUtilsIdl.h"
#include "ComObject.h"
#include "DispatchImpl.h"

class CRyLanguage : public ComObjectRoot, public DispatchImpl<IRyLanguage> {
public:
    void* QueryPart(REFIID iid);

    HRESULT STDMETHODCALLTYPE StringCompare(LPSTR psz1, LPSTR psz2, long* pResult) override;
    HRESULT STDMETHODCALLTYPE GetUnusedCharIndices(long** ppResult, long* pcUnused) override;
    HRESULT STDMETHODCALLTYPE get_LanguageName(BSTR* pVal) override;
    HRESULT STDMETHODCALLTYPE StringIsPrefixedBy(LPSTR lpszSuper, LPSTR lpszPrefix, long* pResult) override;
    HRESULT STDMETHODCALLTYPE GetNextWord(LPSTR pszPos, long* pOfsBegin, long* pOfsEnd) override;
};

// Makes a language by name: "StdLang" (exactly) is a new CRyLanguage; any other name is
// created through COM as the class of ProgID "RyTextUtils." + name + ".1".
HRESULT CreateLanguageObject(const char* name, IRyLanguage** out);
