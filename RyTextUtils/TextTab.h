// CRyTextTab: the compressed table of texts with full-text search as IRyTextTab, loaded
// from a stream or (after a leading record) from a file through the persistence bases.
#pragma once
#include "RyTextUtilsIdl.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchImpl.h"
#include "PersistReader.h"
#include "TextTable.h"
#include <memory>

class CRyTextTab : public ComObjectRoot,
                   public DispatchImpl<IRyTextTab>,
                   public IPersistStreamReaderImpl,
                   public IPersistFileReaderImpl {
public:
    CRyTextTab();
    ~CRyTextTab();
    void* QueryPart(REFIID iid);

    HRESULT STDMETHODCALLTYPE get_TextCount(long* pVal) override;
    HRESULT STDMETHODCALLTYPE get_TextLength(long Idx, long* pVal) override;
    HRESULT STDMETHODCALLTYPE get_Text(long Idx, long cbBuf, LPSTR pVal) override;
    HRESULT STDMETHODCALLTYPE Find(long iBegin, long iEnd, LPSTR pszSearchText, long* pcArticles,
                                   long** pprgArticleIdx) override;
    HRESULT STDMETHODCALLTYPE get_Dictionary(IRyDictionary** pVal) override;

    HRESULT STDMETHODCALLTYPE Load(IReader* reader, BOOL fromFile) override;

private:
    // Everything a successful Load made; published whole, never changed afterwards.
    struct Loaded {
        ComPtr<IRyDictionary> dictionary;
        ComPtr<IRyLanguage> language;
        const WordList* words = nullptr;
        TextTable table;
    };
    const Loaded* State() const { return state_; }

    std::unique_ptr<Loaded> owned_;
    Loaded* volatile state_ = nullptr;
};
