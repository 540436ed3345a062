// VoUserLex: a user's commentary, a compound file edited in place through a transacted
// storage. Entry texts go into the storage at once, the list and the settings at save
// time; nothing reaches the file before a save commits.
#pragma once
#include <unordered_map>
#include "VoLexiconBase.h"

class VoUserLex : public VoLexiconBase {
public:
    VoUserLex(IUnknown* outer, HRESULT* result, const LexBinding& binding = DefaultLexBinding());

    // IVoLexicon
    HRESULT STDMETHODCALLTYPE OpenText() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CloseText() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetLexiconType(int* type) override;
    HRESULT STDMETHODCALLTYPE IsTextOpen(VARIANT_BOOL* open) override;
    HRESULT STDMETHODCALLTYPE GetEntryText(int id, char* buffer, int max) override;
    HRESULT STDMETHODCALLTYPE GetEntryTextLength(int id, int* length) override;
    HRESULT STDMETHODCALLTYPE IsOpenReadOnly(VARIANT_BOOL* readOnly) override;
    HRESULT STDMETHODCALLTYPE GetAccess(int* flags) override;
    HRESULT STDMETHODCALLTYPE GetProtection(int* level) override;
    HRESULT STDMETHODCALLTYPE SetProtection(int level) override;
    HRESULT STDMETHODCALLTYPE Unlock(const char* password) override;
    HRESULT STDMETHODCALLTYPE SetPassword(const char* oldPassword, const char* newPassword) override;
    HRESULT STDMETHODCALLTYPE SetEntryText(int id, const char* text) override;
    HRESULT STDMETHODCALLTYPE AddEntry(const char* title, int* id) override;
    HRESULT STDMETHODCALLTYPE DeleteEntry(int id) override;
    HRESULT STDMETHODCALLTYPE RenameEntry(int* id, const char* newTitle) override;

    // IPersistFile / IPersistStorage
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE InitNew(IStorage*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameStorage) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override;
    using VoLexiconBase::Load;
    using VoLexiconBase::Save;
    using VoLexiconBase::SaveCompleted;

protected:
    const CLSID& ClassId() const override { return CLSID_VoUserLex; }

private:
    // Edits need a writable storage and, under protection, the password.
    HRESULT CheckEditable();
    HRESULT CachedText(int id, const std::string** text);
    void DropCache() { cacheId_ = 0; cache_.clear(); }
    HRESULT StreamNameOf(int number, std::wstring* name);
    // True when another article than skip has this stream name.
    HRESULT StreamNameTaken(const std::wstring& name, int skip, bool* taken);
    // The stream names of all articles by their keys, made when first needed and kept up
    // to date by the edits, so that adding an entry does not name every other one.
    HRESULT BuildNameIndex();
    void CountName(const std::wstring& name, int delta);
    HRESULT WriteEntryStream(const std::wstring& name, const std::string& bytes);
    HRESULT MoveStream(const std::wstring& from, const std::wstring& to);
    HRESULT ReadSettings(IStream* stream);
    HRESULT WriteFixedStream(IStorage* storage, const wchar_t* name, const std::string& bytes);
    bool PasswordMatches(const char* password) const;

    int protection_ = 0;
    std::string passwordRecord_;
    bool settingsUnreadable_ = false;
    bool unlocked_ = false;
    std::unordered_map<std::wstring, int> nameIndex_;
    bool nameIndexBuilt_ = false;
    int cacheId_ = 0;
    std::string cache_;
    bool changed_ = false;
    bool listChanged_ = false;
    bool settingsChanged_ = false;
};
