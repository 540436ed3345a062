// VoLexiconBase: what user commentaries and packaged lexicons share — the entry list and its
// order, titles and keys, the searches of IVoLexicon, and IPersistFile over a compound file.
// A derived class supplies its kind's IPersistStorage, entry texts and editing.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <memory>
#include <string>
#include "ComPtr.h"
#include "FileBackup.h"
#include "IVoLexicon.h"
#include "LexEntryList.h"
#include "LexSupport.h"
#include "Unknown.h"

class VoLexiconBase : public CUnknown, public IVoLexicon, public IPersistFile, public IPersistStorage {
public:
    VoLexiconBase(IUnknown* outer, HRESULT* result, const LexBinding& binding);
    ~VoLexiconBase() override;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // IVoLexicon, the parts both kinds share.
    HRESULT STDMETHODCALLTYPE GetName(char* buffer) override;
    HRESULT STDMETHODCALLTYPE GetEntryCount(int* count) override;
    HRESULT STDMETHODCALLTYPE GetEntryTitle(int position, char* buffer, unsigned max) override;
    HRESULT STDMETHODCALLTYPE GetEntryKind(int position, int* kind) override;
    HRESULT STDMETHODCALLTYPE GetEntryCountOfKind(int kind, int* count) override;
    HRESULT STDMETHODCALLTYPE FindEntry(const char* title, int* position, VARIANT_BOOL* exact) override;
    HRESULT STDMETHODCALLTYPE GetEntryId(int position, int* id) override;
    HRESULT STDMETHODCALLTYPE GetEntryReference(int position, int* reference) override;
    HRESULT STDMETHODCALLTYPE FindEntryByKey(const char* text, int* id) override;
    HRESULT STDMETHODCALLTYPE FindEntryForReference(int reference, BOOL exactOnly, int* id) override;
    HRESULT STDMETHODCALLTYPE GetEntryPosition(int id, int* position) override;
    HRESULT STDMETHODCALLTYPE GetLanguage(IRyLanguage** language) override;
    HRESULT STDMETHODCALLTYPE GetLangStat(IBibleLangStat** langStat) override;
    HRESULT STDMETHODCALLTYPE GetReserved(int* value) override;

    // IPersistFile (IPersist and IsDirty serve IPersistStorage too).
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR path, DWORD mode) override;
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR path, BOOL remember) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR path) override;
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* path) override;
    using IPersistStorage::Load;
    using IPersistStorage::Save;
    using IPersistStorage::SaveCompleted;

protected:
    virtual const CLSID& ClassId() const = 0;

    // The title's key: a date, else a reference that the whole title parses as, else the
    // text. E_INVALIDARG when it gives none.
    HRESULT TitleToKey(const char* title, LexKey* key) const;
    // The key as the title list shows it.
    HRESULT FormatKey(const LexKey& key, char* buffer, size_t size) const;
    KeyOrder Order() const { return KeyOrder(collation_.get(), refs_.get()); }
    bool IsLoaded() const { return collation_ && refs_; }
    HRESULT CheckPosition(int position) const;
    // The entry number of an id that names an article; E_INVALIDARG for anything else.
    HRESULT ArticleNumber(int id, int* number) const;

    // Takes a loaded storage as the object's own, with the access it was opened with.
    void KeepStorage(IStorage* storage);
    bool StorageWritable() const;
    void SetName(const char* name);

    const LexBinding& binding_;
    LexEntryList list_;
    std::unique_ptr<LexCollation> collation_;
    std::unique_ptr<LexRefSystem> refs_;
    ComPtr<IStorage> storage_;
    DWORD storageMode_ = 0;

private:
    HRESULT OpenStorage(DWORD* mode, IStorage** out);
    HRESULT OpenTemporaryCopy(IStorage** out);
    HRESULT CheckSavedFile() const;
    HRESULT UndoSave(HRESULT failure);
    void Unload();

    char name_[64] = "";
    std::wstring path_;
    DWORD openMode_ = 0;      // the mode Load opened the file with, for reopening after a save
    std::wstring tempCopy_;   // the copy in the temporary folder this object works on, if any
    FileBackup backup_;       // the file as last saved, while it is open for writing
    HRESULT backupResult_ = S_OK;
};
