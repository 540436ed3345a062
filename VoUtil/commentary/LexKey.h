// The key of a lexicon entry (a text, a bible reference or a date) and the order of keys.
#pragma once
#include <windows.h>
#include <string>
#include "LexSupport.h"

enum LexKeyKind { kTextKey = 1, kReferenceKey = 2, kDateKey = 3 };

struct LexKey {
    int kind = 0;
    DWORD value = 0;   // the reference or the date value
    std::string text;  // a text key, as given (a leading at sign included)

    static LexKey Text(std::string t) { LexKey k; k.kind = kTextKey; k.text = std::move(t); return k; }
    static LexKey Reference(int ref) { LexKey k; k.kind = kReferenceKey; k.value = static_cast<DWORD>(ref); return k; }
    static LexKey Date(DWORD v) { LexKey k; k.kind = kDateKey; k.value = v; return k; }

    // A text key sorts and displays without one leading at sign.
    const char* SortText() const { return text.c_str() + (text[0] == '@' ? 1 : 0); }
};

// Texts by the collation, references by book, chapter and verse of their start (then by
// the handle, so that ranges of one start keep a fixed order), dates by their value.
// A loaded lexicon always has both the collation and the reference system.
class KeyOrder {
public:
    KeyOrder(const LexCollation* collation, LexRefSystem* refs) : collation_(collation), refs_(refs) {}
    int Compare(const LexKey& a, const LexKey& b) const;
    bool Less(const LexKey& a, const LexKey& b) const { return Compare(a, b) < 0; }

private:
    const LexCollation* collation_;
    LexRefSystem* refs_;
};
