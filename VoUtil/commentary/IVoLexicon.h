// IVoLexicon: one commentary or packaged lexicon as its callers see it (entries, titles,
// keys, article texts, access and protection), and the identifiers of the lexicon classes.
#pragma once
#include <windows.h>
#include <oaidl.h>

struct IBibleLangStat;
struct IRyLanguage;

// {BE8D63F6-C3E3-429C-92E8-FAD60BF26102}
extern "C" const IID IID_IVoLexicon;
// {AFF0CDAF-359B-42CD-8633-3593D031C23F}
extern "C" const CLSID CLSID_VoUserLex;
// {914018AF-C282-439F-B43A-66247BF500B4}
extern "C" const CLSID CLSID_VoZipLex;

// Positions index the visible title list (0-based); ids are entry numbers + 1.
struct IVoLexicon : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OpenText() = 0;
    virtual HRESULT STDMETHODCALLTYPE CloseText() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLexiconType(int* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsTextOpen(VARIANT_BOOL* open) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName(char* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryCount(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryTitle(int position, char* buffer, unsigned max) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryKind(int position, int* kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryCountOfKind(int kind, int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindEntry(const char* title, int* position, VARIANT_BOOL* exact) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryId(int position, int* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryReference(int position, int* reference) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindEntryByKey(const char* text, int* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindEntryForReference(int reference, BOOL exactOnly, int* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryPosition(int id, int* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryText(int id, char* buffer, int max) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEntryTextLength(int id, int* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLanguage(IRyLanguage** language) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLangStat(IBibleLangStat** langStat) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsOpenReadOnly(VARIANT_BOOL* readOnly) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAccess(int* flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProtection(int* level) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetProtection(int level) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unlock(const char* password) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPassword(const char* oldPassword, const char* newPassword) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEntryText(int id, const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddEntry(const char* title, int* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteEntry(int id) = 0;
    virtual HRESULT STDMETHODCALLTYPE RenameEntry(int* id, const char* newTitle) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReserved(int* value) = 0;
};

// Access flags of GetAccess.
enum VoLexAccess { kLexNoChanges = 1, kLexTextsScrambled = 2 };

// What IPersistFile::Load and OpenVoLexFile answer for a notes file that reads correctly
// but whose compound-file directory could not be rewritten without damage (a name-length
// field that disagrees with its name): the commentary is open read-only.
constexpr HRESULT VO_S_READONLYDAMAGED = MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x0201);
