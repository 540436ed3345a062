// CRyDictionary: the compressed sorted word list as IRyDictionary, loaded from a stream
// or a file through the persistence bases. Aggregatable.
#pragma once
#include "RyTextUtilsIdl.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchImpl.h"
#include "PersistReader.h"
#include "WordList.h"
#include <memory>

class CRyDictionary : public ComObjectRoot,
                      public DispatchImpl<IRyDictionary>,
                      public IPersistStreamReaderImpl,
                      public IPersistFileReaderImpl {
public:
    static constexpr bool kAggregatable = true;

    CRyDictionary();
    ~CRyDictionary();
    void* QueryPart(REFIID iid);

    HRESULT STDMETHODCALLTYPE get_WordCount(long* pVal) override;
    HRESULT STDMETHODCALLTYPE get_Word(long Index, LPSTR pszBuf) override;
    HRESULT STDMETHODCALLTYPE get_Language(IRyLanguage** pVal) override;
    HRESULT STDMETHODCALLTYPE Find(LPSTR pszSearchKey, long* pIdx) override;
    HRESULT STDMETHODCALLTYPE FindPrefix(LPSTR pszPrefix, long* piBegin, long* piEnd) override;

    HRESULT STDMETHODCALLTYPE Load(IReader* reader, BOOL fromFile) override;

    // The loaded list, null before a Load succeeded. Immutable once there.
    const WordList* List() const { return list_; }

private:
    std::unique_ptr<WordList> owned_;
    WordList* volatile list_ = nullptr;
};
