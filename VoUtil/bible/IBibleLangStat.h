// IBibleLangStat: a bible's statistics together with its language block (book names,
// second names, aliases and the language's own name), and the formatter and parser of
// the references a user reads and types. It is at the same time the bible's IBibleStat.
#pragma once
#include "IBibleStat.h"

// {EC5FF701-194E-11D0-9680-444553540000}
inline const IID IID_IBibleLangStat = {0xEC5FF701, 0x194E, 0x11D0, {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Longest name, second name or alias handed out, without its terminating zero.
constexpr int kMaxBookNameLength = 63;
// Room FormatRef may fill: two positions with names of kMaxBookNameLength and numbers.
constexpr int kFormatRefBufferSize = 256;

struct IBibleLangStat : public IBibleStat {
    // The book's name; book -1: the language's own name. Cut to kMaxBookNameLength.
    virtual HRESULT STDMETHODCALLTYPE GetBookName(char* buf, int book) = 0;
    // The book's second name.
    virtual HRESULT STDMETHODCALLTYPE GetBookAbbreviation(char* buf, int book) = 0;
    // S_OK with the book whose name equals text (case ignored); else S_FALSE with the
    // lowest-numbered book whose name begins with text, or -1.
    virtual HRESULT STDMETHODCALLTYPE FindBook(const char* text, int* outBook) = 0;
    virtual int STDMETHODCALLTYPE GetAliasCount() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAlias(char* buf, int index) = 0;
    // The alias's two values: first signed 8-bit, second 0-255 (a first and a last book).
    virtual HRESULT STDMETHODCALLTYPE GetAliasTarget(int index, int* first, int* second) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) = 0;
    // The text of one reference into buf (kFormatRefBufferSize bytes), leaving out what the
    // previous reference or range already says; with terminate, a "," or "." follows.
    virtual HRESULT STDMETHODCALLTYPE FormatRef(char* buf, int handle, int previousRef, int previousRangeRef,
                                                int nextHandle, BOOL terminate) = 0;
    // Parses one reference at *cursor; S_FALSE at the end of the text. On success the
    // cursor stands after the reference and its separator; on failure it is unchanged.
    virtual HRESULT STDMETHODCALLTYPE ParseRef(char** cursor, int* outHandle, int* contextHandle) = 0;
    // The statistics block, then the language block. (The Save slot inherited from
    // IBibleStat writes the statistics block alone; C++ can't give both slots one name.)
    virtual HRESULT STDMETHODCALLTYPE SaveWithLanguage(IStream* stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveLanguage(IStream* stream) = 0;
};

// What CreateLangStat builds a language block from. Name buffers have room for
// kLangSourceBufferSize bytes; longer texts are cut.
constexpr int kLangSourceBufferSize = 256;
struct ILangStatSource {
    virtual int STDMETHODCALLTYPE GetNameCount() = 0;
    // index -1: the language's own name.
    virtual HRESULT STDMETHODCALLTYPE GetName(char* buf, int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSecondName(char* buf, int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused() = 0;
    virtual int STDMETHODCALLTYPE GetAliasCount() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAlias(char* buf, int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAliasValues(int index, int* first, int* second) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) = 0;

protected:
    ~ILangStatSource() = default;
};
