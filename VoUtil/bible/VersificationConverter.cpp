#include "VersificationConverter.h"
#include "VoUtil.h"
#include "SortableTable.h"
#include "Handles.h"
#include "TextUtilsBinding.h"
#include <algorithm>
#include <new>

namespace {

GUID Versification(IBibleStat* stat) {
    GUID g = {};
    stat->GetGuid(&g, TRUE);
    return g;
}

GUID Identity(IBibleStat* stat) {
    GUID g = {};
    stat->GetGuid(&g, FALSE);
    return g;
}

// The books of a numbering in the order of their identifiers.
struct BooksById : ISortableTable {
    IBibleStat* stat;
    explicit BooksById(IBibleStat* s) : stat(s) {}
    int Compare(int key, int position) override {
        const int id = stat->GetBookId(position);
        return key < id ? -1 : key > id ? 1 : 0;
    }
};

// The target's book with the source book's identifier; S_FALSE when the target lacks it.
HRESULT FindBook(IBibleStat* from, IBibleStat* to, int book, int* outBook) {
    *outBook = book;
    if (book == -1) return S_OK;
    if (book < 0 || book >= from->GetBookCount()) return E_INVALIDARG;
    BooksById books(to);
    int position = 0;
    if (!BinarySearchTable(&position, from->GetBookId(book), &books, 0, to->GetBookCount())) return S_FALSE;
    *outBook = position;
    return S_OK;
}

bool ExtensionIs(const char* name, const char* ext) {
    const char* dot = strrchr(name, '.');
    return dot && lstrcmpiA(dot, ext) == 0;
}

}  // namespace

CVersificationConverter& CVersificationConverter::Library() {
    static CVersificationConverter converter([] {
        char folder[MAX_PATH];
        // Without the module's own path there is no folder to read (never the current one).
        return GetOwnModuleFolder(folder, MAX_PATH) ? std::string(folder) + "Bibles\\" : std::string();
    }());
    return converter;
}

void CVersificationConverter::EnsureLoaded() {
    if (loaded_ || folder_.empty()) return;
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((folder_ + "*.brt").c_str(), &found));
    if (find) {
        do {
            // The pattern also matches longer extensions through short names.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ExtensionIs(found.cFileName, ".brt"))
                names.push_back(found.cFileName);
        } while (FindNextFileA(find.Get(), &found));
    }
    // A fixed order, so that of two tables for one pair the same one is kept on every run.
    std::sort(names.begin(), names.end(),
              [](const std::string& x, const std::string& y) { return lstrcmpiA(x.c_str(), y.c_str()) < 0; });
    for (const std::string& name : names) {
        std::unique_ptr<CConversionTable> table(new (std::nothrow) CConversionTable);
        if (!table || FAILED(table->Load((folder_ + name).c_str()))) continue;
        if (FindTable(table->SideA(), table->SideB())) continue;
        tables_.insert(tables_.begin(), std::move(table));
    }
    if (SUCCEEDED(OpenBibleStatFile((folder_ + "kv61.vos").c_str(), reference_.Put())))
        referenceVersification_ = Versification(reference_.Get());
    else
        reference_.Reset();
    // With nothing found, the next conversion looks again.
    loaded_ = !tables_.empty() || reference_;
}

const CConversionTable* CVersificationConverter::FindTable(const GUID& x, const GUID& y) const {
    for (const auto& table : tables_)
        if (table->Serves(x, y)) return table.get();
    return nullptr;
}

bool CVersificationConverter::ReferenceRoute(const GUID& x, const GUID& y) const {
    return reference_ && !IsEqualGUID(x, referenceVersification_) && !IsEqualGUID(y, referenceVersification_);
}

HRESULT CVersificationConverter::CanConvert(IBibleStat* from, IBibleStat* to) {
    if (!from || !to) return E_POINTER;
    const GUID vf = Versification(from), vt = Versification(to);
    if (IsEqualGUID(vf, vt)) return S_OK;
    EnsureLoaded();
    if (FindTable(vf, vt)) return S_OK;
    if (!ReferenceRoute(vf, vt)) return S_FALSE;
    HRESULT hr = CanConvert(from, reference_.Get());
    return hr == S_OK ? CanConvert(reference_.Get(), to) : hr;
}

HRESULT CVersificationConverter::ConvertBibleIndex(IBibleStat* from, IBibleStat* to, int* book, int* chapter,
                                                   int* verse, int* verseEnd) {
    if (!from || !to || !book || !chapter || !verse || !verseEnd) return E_POINTER;
    *verseEnd = *verse;
    const GUID vf = Versification(from), vt = Versification(to);
    if (IsEqualGUID(vf, vt)) {
        if (IsEqualGUID(Identity(from), Identity(to))) return S_OK;
        return FindBook(from, to, *book, book);
    }
    EnsureLoaded();
    if (const CConversionTable* table = FindTable(vf, vt))
        return ConvertByTable(*table, from, to, book, chapter, verse, verseEnd);
    if (ReferenceRoute(vf, vt)) return ConvertThroughReference(from, to, book, chapter, verse, verseEnd);
    return E_INVALIDARG;
}

HRESULT CVersificationConverter::ConvertByTable(const CConversionTable& table, IBibleStat* from, IBibleStat* to,
                                                int* book, int* chapter, int* verse, int* verseEnd) {
    int targetBook = -1;
    HRESULT hr = FindBook(from, to, *book, &targetBook);
    if (hr != S_OK || *book == -1) return hr;
    ChapterVerse p;
    p.chapter = *chapter;
    p.verse = *verse;
    if (p.chapter >= 0) {
        hr = table.Map(Versification(from), from->GetBookId(*book), &p);
        if (hr != S_OK) return hr;
        // Whatever a table says, a position the target numbering lacks is no conversion.
        if (p.verse >= 0) {
            if (to->RefToVerseIndex(targetBook, p.chapter, p.verse) < 0) return S_FALSE;
            const int last = to->GetVersesInChapter(targetBook, p.chapter) - 1;
            if (p.verseEnd > last) p.verseEnd = last;
        } else if (to->RefToChapterIndex(targetBook, p.chapter) < 0) {
            return S_FALSE;
        }
    }
    *book = targetBook;
    *chapter = p.chapter;
    *verse = p.verse;
    *verseEnd = p.verseEnd;
    return S_OK;
}

// Two steps, through the reference numbering. When the first step makes the verse a range,
// its end is carried through the second step too.
HRESULT CVersificationConverter::ConvertThroughReference(IBibleStat* from, IBibleStat* to, int* book,
                                                         int* chapter, int* verse, int* verseEnd) {
    IBibleStat* ref = reference_.Get();
    int b = *book, c = *chapter, v = *verse, e = v;
    HRESULT hr = ConvertBibleIndex(from, ref, &b, &c, &v, &e);
    if (hr != S_OK) return hr;
    int eb = b, ec = c, ev = e, ee = e;
    const bool range = e != v;
    int end = v;
    hr = ConvertBibleIndex(ref, to, &b, &c, &v, &end);
    if (hr != S_OK) return hr;
    if (range && ConvertBibleIndex(ref, to, &eb, &ec, &ev, &ee) == S_OK && eb == b && ec == c && ee > end)
        end = ee;
    *book = b;
    *chapter = c;
    *verse = v;
    *verseEnd = end;
    return S_OK;
}

HRESULT CVersificationConverter::ConvertBibleIndices(IBibleStat* from, IBibleStat* to, int* book, int* chapter,
                                                     int* verse) {
    if (!from || !to || !book || !chapter || !verse) return E_POINTER;
    int end = 0;
    if (IsEqualGUID(Versification(from), Versification(to)))
        return ConvertBibleIndex(from, to, book, chapter, verse, &end);
    if (CanConvert(from, to) != S_OK) return E_INVALIDARG;
    HRESULT hr = ConvertBibleIndex(from, to, book, chapter, verse, &end);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CVersificationConverter::ConvertRef(IUnknown* from, IUnknown* to, int handle, int* outHandle) {
    if (!from || !to || !outHandle) return E_POINTER;
    *outHandle = 0;
    ComPtr<IBibleHandles> fromHandles, toHandles;
    HRESULT hr = from->QueryInterface(IID_IBibleHandles, fromHandles.PutVoid());
    if (FAILED(hr)) return hr;
    hr = to->QueryInterface(IID_IBibleHandles, toHandles.PutVoid());
    if (FAILED(hr)) return hr;
    int b = -1, c = -1, v = -1;
    hr = fromHandles->RefToIndices(handle, &b, &c, &v);
    if (FAILED(hr)) return hr;
    if (b == -1) {
        *outHandle = handle;
        return S_OK;
    }
    ComPtr<IBibleStat> fromStat, toStat;
    hr = from->QueryInterface(IID_IBibleStat, fromStat.PutVoid());
    if (FAILED(hr)) return hr;
    hr = to->QueryInterface(IID_IBibleStat, toStat.PutVoid());
    if (FAILED(hr)) return hr;
    if (CanConvert(fromStat.Get(), toStat.Get()) != S_OK) return E_INVALIDARG;

    int end = v;
    hr = ConvertBibleIndex(fromStat.Get(), toStat.Get(), &b, &c, &v, &end);
    if (hr != S_OK) return hr;
    int result = 0;
    hr = toHandles->MakeRef(&result, b, c, v);
    if (FAILED(hr)) return hr;
    *outHandle = result;

    const bool single = fromHandles->IsSingleRef(handle) == 1;
    if (single) {
        if (end == v) return S_OK;
        return SUCCEEDED(toHandles->ExtendRef(outHandle, b, c, end)) ? S_OK : S_FALSE;
    }
    if (fromHandles->HasRangeLength(handle) == 0) {
        return SUCCEEDED(toHandles->MakeFollowingRef(outHandle)) ? S_OK : S_FALSE;
    }
    // A counted range: its end converts the same way, and the range runs to the last verse
    // that corresponds to it.
    int eb = -1, ec = -1, ev = -1;
    if (FAILED(fromHandles->RangeEndToIndices(handle, &eb, &ec, &ev))) return S_FALSE;
    int eEnd = ev;
    if (ConvertBibleIndex(fromStat.Get(), toStat.Get(), &eb, &ec, &ev, &eEnd) != S_OK) return S_FALSE;
    if (eb == b && ec == c && eEnd == v) return S_OK;
    return SUCCEEDED(toHandles->ExtendRef(outHandle, eb, ec, eEnd)) ? S_OK : S_FALSE;
}
