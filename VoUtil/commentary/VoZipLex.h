// VoZipLex: a packaged lexicon (".vrsl"), read-only. The entry list is read at load; the
// article texts are a text table that stays open while OpenText calls outnumber
// CloseText calls. Everything that would change the lexicon is refused.
#pragma once
#include "RyTextUtilsIdl.h"
#include "VoLexiconBase.h"

class VoZipLex : public VoLexiconBase {
public:
    VoZipLex(IUnknown* outer, HRESULT* result, const LexBinding& binding = DefaultLexBinding());

    // IVoLexicon
    HRESULT STDMETHODCALLTYPE OpenText() override;
    HRESULT STDMETHODCALLTYPE CloseText() override;
    HRESULT STDMETHODCALLTYPE GetLexiconType(int* type) override;
    HRESULT STDMETHODCALLTYPE IsTextOpen(VARIANT_BOOL* open) override;
    HRESULT STDMETHODCALLTYPE GetEntryText(int id, char* buffer, int max) override;
    HRESULT STDMETHODCALLTYPE GetEntryTextLength(int id, int* length) override;
    HRESULT STDMETHODCALLTYPE IsOpenReadOnly(VARIANT_BOOL* readOnly) override;
    HRESULT STDMETHODCALLTYPE GetAccess(int* flags) override;
    HRESULT STDMETHODCALLTYPE GetProtection(int* level) override;
    HRESULT STDMETHODCALLTYPE SetProtection(int) override { return E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE Unlock(const char*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetPassword(const char*, const char*) override { return E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE SetEntryText(int, const char*) override { return E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE AddEntry(const char*, int* id) override;
    HRESULT STDMETHODCALLTYPE DeleteEntry(int) override { return E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE RenameEntry(int*, const char*) override { return E_ACCESSDENIED; }

    // IPersistFile / IPersistStorage
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE InitNew(IStorage*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return E_NOTIMPL; }
    using VoLexiconBase::Load;
    using VoLexiconBase::Save;
    using VoLexiconBase::SaveCompleted;

protected:
    const CLSID& ClassId() const override { return CLSID_VoZipLex; }

private:
    HRESULT LoadText(IRyTextTab** out);
    // The text-table row of an article id; E_INVALIDARG for an alias or an id outside.
    HRESULT RowOf(int id, long* row) const;

    ComPtr<IRyTextTab> text_;
    int textOpenCount_ = 0;
    DWORD rows_ = 0;  // the rows of the text table, as the entry list counts them
};
