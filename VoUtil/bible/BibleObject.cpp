// The IBible operations that the old and the new bible file share, and their opening
// steps after the verse texts.
#include "BibleObject.h"
#include "PosStreamOnFile.h"
#include "PackedIO.h"
#include "VoUtil.h"
#include <cstring>
#include <vector>

void CopyCut(char* buf, int len, const char* text, size_t size) {
    if (len <= 0) return;
    size_t n = size < static_cast<size_t>(len - 1) ? size : static_cast<size_t>(len - 1);
    memcpy(buf, text, n);
    buf[n] = '\0';
}

void RemoveLeadingMarkup(std::string& text) {
    if (text.empty() || text[0] != '<') return;
    int depth = 0;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        if (text[i] == '<') ++depth;
        else if (text[i] == '>' && --depth == 0) break;
    }
    if (i == text.size()) return;
    ++i;
    while (i < text.size() && text[i] == ' ') ++i;
    text.erase(0, i);
}

namespace {

// A counted string of the trailer into a field; one too long for it is malformed data.
HRESULT ReadField(IStream* stream, char* buf, unsigned size) {
    HRESULT hr = ReadCountedString(stream, buf, size);
    return hr == E_OUTOFMEMORY ? E_INVALIDARG : hr;
}

}  // namespace

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IBible)) return GetInterface(static_cast<IBible*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

// ---- Opening ---------------------------------------------------------------------------

template <class Iface>
HRESULT CBibleObject<Iface>::ResolvePath(const char* path) {
    if (!path || !*path) return E_INVALIDARG;
    DWORD n = GetFullPathNameA(path, MAX_PATH, path_, nullptr);
    if (n == 0 || n >= MAX_PATH) {
        path_[0] = '\0';
        return E_INVALIDARG;
    }
    return S_OK;
}

template <class Iface>
HRESULT CBibleObject<Iface>::OpenFile(IStream** out) {
    return CPosStreamOnFile::OpenRead(path_, out);
}

template <class Iface>
HRESULT CBibleObject<Iface>::OpenTablesAndTrailer(IStream* stream, IStream** rest) {
    *rest = nullptr;
    HRESULT hr = OpenIndexedDataOnStream(stream, titles_.Put());
    ComPtr<IStream> next;
    if (SUCCEEDED(hr)) hr = titles_->GetTrailingStream(next.Put());
    if (SUCCEEDED(hr)) hr = OpenIndexedDataOnStream(next.Get(), notes_.Put());
    if (SUCCEEDED(hr)) hr = notes_->GetTrailingStream(next.Put());
    if (SUCCEEDED(hr)) hr = OpenIndexedDataOnStream(next.Get(), chapters_.Put());
    if (SUCCEEDED(hr)) hr = chapters_->GetTrailingStream(next.Put());
    if (FAILED(hr)) return hr;

    if (FAILED(hr = ReadField(next.Get(), longName_, sizeof longName_))) return hr;
    if (FAILED(hr = ReadField(next.Get(), shortName_, sizeof shortName_))) return hr;
    if (FAILED(hr = OpenLangStat(next.Get(), lang_.Put()))) return hr;
    if (FAILED(hr = lang_->GetBibleStat(stat_.Put()))) return hr;
    std::vector<char> description(kBibleDescriptionSize);
    if (FAILED(hr = ReadField(next.Get(), description.data(), kBibleDescriptionSize))) return hr;
    description_ = description.data();
    bookCount_ = stat_->GetBookCount();

    int titles = 0, notes = 0, chapters = 0;
    titles_->GetCount(&titles);
    notes_->GetCount(&notes);
    chapters_->GetCount(&chapters);
    if (FAILED(hr = CheckVerseEntries(titles)) || FAILED(hr = CheckVerseEntries(notes))) return hr;
    if (chapters < 0 || chapters > stat_->GetChapterCount()) return E_UNEXPECTED;
    *rest = next.Detach();
    return S_OK;
}

template <class Iface>
HRESULT CBibleObject<Iface>::CheckVerseEntries(int count) const {
    return count >= 0 && count <= stat_->GetVerseCount() ? S_OK : E_UNEXPECTED;
}

template <class Iface>
HRESULT CBibleObject<Iface>::CheckVerseTexts(int count) const {
    return count == stat_->GetVerseCount() ? S_OK : E_UNEXPECTED;
}

// ---- Positions -------------------------------------------------------------------------

template <class Iface>
bool CBibleObject<Iface>::ValidChapter(int book, int chapter) const {
    return book >= 0 && book < bookCount_ && chapter >= 0 && chapter < stat_->GetChaptersInBook(book);
}

template <class Iface>
int CBibleObject<Iface>::VerseIndex(int book, int chapter, int verse) const {
    if (!ValidChapter(book, chapter) || verse < 0 || verse >= stat_->GetVersesInChapter(book, chapter)) return -1;
    return stat_->RefToVerseIndex(book, chapter, verse);
}

// ---- Texts -----------------------------------------------------------------------------

template <class Iface>
HRESULT CBibleObject<Iface>::EntryText(IIndexedData* data, int index, int max, std::string* out) {
    out->clear();
    int size = 0;
    HRESULT hr = data->GetEntrySize(index, &size);
    if (FAILED(hr)) return hr;
    if (size <= 0) return S_OK;
    if (size > max) size = max;
    out->resize(static_cast<size_t>(size));
    hr = data->ReadEntry(index, 0, &(*out)[0], size);
    if (FAILED(hr)) out->clear();
    return hr;
}

template <class Iface>
HRESULT CBibleObject<Iface>::VerseText(int index, BOOL keepMarkup, char* buf, int len) {
    HRESULT hr = ReadVerse(index, buf, len);
    if (FAILED(hr) || keepMarkup || buf[0] != '<') return hr;
    // The group may reach past what the buffer holds: strip it from the whole text.
    int size = 0;
    if (FAILED(hr = VerseSize(index, &size))) return hr;
    std::string text(static_cast<size_t>(size) + 1, '\0');
    if (FAILED(hr = ReadVerse(index, &text[0], size + 1))) return hr;
    text.resize(strlen(text.c_str()));
    RemoveLeadingMarkup(text);
    CopyCut(buf, len, text.data(), text.size());
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetVerseText(int book, int chapter, int verse, BOOL keepMarkup,
                                                           char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len <= 0) return E_INVALIDARG;
    buf[0] = '\0';
    int index = VerseIndex(book, chapter, verse);
    if (index < 0) return E_INVALIDARG;
    HRESULT hr = VerseText(index, keepMarkup, buf, len);
    if (FAILED(hr)) buf[0] = '\0';
    return FAILED(hr) ? hr : S_OK;
}

template <class Iface>
HRESULT CBibleObject<Iface>::HasEntry(IIndexedData* data, int book, int chapter, int verse) const {
    int index = VerseIndex(book, chapter, verse);
    if (index < 0) return E_INVALIDARG;
    int size = 0;
    HRESULT hr = data->GetEntrySize(index, &size);
    if (FAILED(hr)) return hr;
    return size > 0 ? S_OK : S_FALSE;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::HasVerseNote(int book, int chapter, int verse) {
    return HasEntry(notes_.Get(), book, chapter, verse);
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::HasSectionTitle(int book, int chapter, int verse) {
    return HasEntry(titles_.Get(), book, chapter, verse);
}

template <class Iface>
HRESULT CBibleObject<Iface>::VerseEntry(IIndexedData* data, int book, int chapter, int verse, char* buf, int len,
                                        std::string* text) const {
    if (!buf) return E_POINTER;
    if (len <= 0) return E_INVALIDARG;
    buf[0] = '\0';
    int index = VerseIndex(book, chapter, verse);
    if (index < 0) return E_INVALIDARG;
    return EntryText(data, index, len - 1, text);
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetVerseNote(int book, int chapter, int verse, char* buf, int len) {
    std::string text;
    HRESULT hr = VerseEntry(notes_.Get(), book, chapter, verse, buf, len, &text);
    if (FAILED(hr)) return hr;
    CopyCut(buf, len, text.data(), text.size());
    return text.empty() ? S_FALSE : S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetSectionTitle(int book, int chapter, int verse, char* buf,
                                                              int len) {
    std::string text;
    HRESULT hr = VerseEntry(titles_.Get(), book, chapter, verse, buf, len, &text);
    if (FAILED(hr)) return hr;
    if (text.empty()) return S_FALSE;
    // Every trailing marker, then a final "," or the character after a "?".
    while (!text.empty() && text.back() == marker_) text.pop_back();
    size_t n = text.size();
    if (n > 0 && (text[n - 1] == ',' || (n > 1 && text[n - 2] == '?'))) text.pop_back();
    CopyCut(buf, len, text.data(), text.size());
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetSectionEnd(int* book, int* chapter, int* verse) {
    if (!book || !chapter || !verse) return E_POINTER;
    int index = VerseIndex(*book, *chapter, *verse);
    if (index < 0) return E_INVALIDARG;
    int next = -1;
    HRESULT hr = titles_->FindNonEmpty(index + 1, &next);
    if (FAILED(hr)) return hr;
    int end = (hr == S_OK && next > index) ? next - 1 : stat_->GetVerseCount() - 1;
    if (!stat_->VerseIndexToRef(end, book, chapter, verse)) return E_UNEXPECTED;
    return S_OK;
}

// ---- Pinning ---------------------------------------------------------------------------

template <class Iface>
HRESULT CBibleObject<Iface>::PinChapterVerses(int first, int count) {
    HRESULT hr = PinVerses(first, count);
    if (FAILED(hr)) return hr;
    hr = notes_->LoadEntries(first, count);
    if (FAILED(hr)) {
        UnpinVerses(first, count);
        return hr;
    }
    hr = titles_->LoadEntries(first, count);
    if (FAILED(hr)) {
        notes_->UnloadEntries(first, count);
        UnpinVerses(first, count);
        return hr;
    }
    return S_OK;
}

template <class Iface>
void CBibleObject<Iface>::UnpinChapterVerses(int first, int count) {
    UnpinVerses(first, count);
    notes_->UnloadEntries(first, count);
    titles_->UnloadEntries(first, count);
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::LoadChapter(int book, int chapter) {
    if (!ValidChapter(book, chapter)) return E_INVALIDARG;
    return PinChapterVerses(stat_->RefToVerseIndex(book, chapter, 0), stat_->GetVersesInChapter(book, chapter));
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::UnloadChapter(int book, int chapter) {
    if (ValidChapter(book, chapter))
        UnpinChapterVerses(stat_->RefToVerseIndex(book, chapter, 0), stat_->GetVersesInChapter(book, chapter));
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::LoadBook(int book) {
    if (!ValidChapter(book, 0)) return E_INVALIDARG;
    const int firstChapter = stat_->RefToChapterIndex(book, 0), chapters = stat_->GetChaptersInBook(book);
    HRESULT hr = chapters_->LoadEntries(firstChapter, chapters);
    if (FAILED(hr)) return hr;
    hr = PinChapterVerses(stat_->RefToVerseIndex(book, 0, 0), stat_->GetVersesInBook(book));
    if (FAILED(hr)) chapters_->UnloadEntries(firstChapter, chapters);
    return hr;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::UnloadBook(int book) {
    if (!ValidChapter(book, 0)) return S_OK;
    chapters_->UnloadEntries(stat_->RefToChapterIndex(book, 0), stat_->GetChaptersInBook(book));
    UnpinChapterVerses(stat_->RefToVerseIndex(book, 0, 0), stat_->GetVersesInBook(book));
    return S_OK;
}

// ---- Names and statistics --------------------------------------------------------------

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetLangStat(IBibleLangStat** out) {
    if (!out) return E_POINTER;
    lang_.CopyTo(out);
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetBibleStat(IBibleStat** out) {
    if (!out) return E_POINTER;
    stat_.CopyTo(out);
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetFilePath(char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len <= 0) return E_INVALIDARG;
    CopyCut(buf, len, path_, strlen(path_));
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetBibleName(BOOL longName, char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len <= 0) return E_INVALIDARG;
    const char* name = longName ? longName_ : shortName_;
    CopyCut(buf, len, name, strlen(name));
    return S_OK;
}

template <class Iface>
HRESULT STDMETHODCALLTYPE CBibleObject<Iface>::GetDescription(char* buf, int len) {
    if (!buf) return E_POINTER;
    if (len <= 0) return E_INVALIDARG;
    CopyCut(buf, len, description_.data(), description_.size());
    return S_OK;
}

template class CBibleObject<IBible>;
template class CBibleObject<INewBible>;
