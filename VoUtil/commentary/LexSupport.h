// What a lexicon needs from the objects of other subsystems, behind two small adapters:
// LexCollation (the text order of its collation object) and LexRefSystem (parsing,
// display, order and storage of bible references through its language statistics).
// LexBinding says how a lexicon obtains them; the library's own binding ties them to the
// language statistics and collation objects, tests may hand in their own.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <memory>
#include <string>

struct IBibleLangStat;
struct IRyLanguage;
class ByteReader;

class LexCollation {
public:
    virtual ~LexCollation() = default;
    // -1, 0 or 1 as a sorts before, equal to or after b.
    virtual int Compare(const char* a, const char* b) const = 0;
    // The collation object behind it, with one reference for the caller.
    virtual HRESULT GetLanguage(IRyLanguage** out) const = 0;
};

class LexRefSystem {
public:
    virtual ~LexRefSystem() = default;
    // S_OK with *ref when the whole text is one reference; S_FALSE when it is not one.
    virtual HRESULT Parse(const char* text, int* ref) = 0;
    // The display form without context, cut to size − 1 characters.
    virtual HRESULT Format(int ref, char* buf, size_t size) = 0;
    // Book, chapter and verse of the start (−1 for levels not given).
    virtual HRESULT Split(int ref, int* book, int* chapter, int* verse) = 0;
    virtual HRESULT Make(int book, int chapter, int verse, int* ref) = 0;
    // The packed form, appended to out; may throw std::bad_alloc.
    virtual HRESULT Pack(int ref, std::string& out) = 0;
    virtual HRESULT Unpack(ByteReader& in, int* ref) = 0;
    // Writes the language statistics, as the "LangStat" stream holds them.
    virtual HRESULT Save(IStream* stream) = 0;
    // The language statistics object behind it, with one reference for the caller.
    virtual HRESULT GetLangStat(IBibleLangStat** out) const = 0;
};

struct LexBinding {
    // Reads the language statistics that a "LangStat" stream holds.
    HRESULT (*openRefSystem)(IStream* stream, std::unique_ptr<LexRefSystem>* out);
    // Wraps language statistics that a caller hands in.
    HRESULT (*wrapRefSystem)(IBibleLangStat* langStat, std::unique_ptr<LexRefSystem>* out);
    // The collation of a language by its name ("StdLang").
    HRESULT (*createCollation)(const char* languageName, std::unique_ptr<LexCollation>* out);
};

// The library's own binding.
const LexBinding& DefaultLexBinding();
