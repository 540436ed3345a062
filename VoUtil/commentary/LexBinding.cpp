// The library's own binding of lexicons to language statistics and collation objects.
// The language statistics (bible data) and the collation (text utilities) come from other
// parts of the library that are not in this build yet: until they are, the binding
// answers E_NOTIMPL and lexicons cannot be opened through the exports.
#include "LexSupport.h"

namespace {

HRESULT OpenRefSystem(IStream*, std::unique_ptr<LexRefSystem>*) { return E_NOTIMPL; }
HRESULT WrapRefSystem(IBibleLangStat*, std::unique_ptr<LexRefSystem>*) { return E_NOTIMPL; }
HRESULT CreateCollation(const char*, std::unique_ptr<LexCollation>*) { return E_NOTIMPL; }

const LexBinding kBinding = {OpenRefSystem, WrapRefSystem, CreateCollation};

}  // namespace

const LexBinding& DefaultLexBinding() { return kBinding; }
