#include "VoLexiconBase.h"
#include <cstring>
#include "CompoundFileCheck.h"
#include "ComPtr.h"
#include "LexDates.h"
#include "VarInt.h"

namespace {

constexpr DWORD kReadWriteMode = STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kReadOnlyMode = STGM_TRANSACTED | STGM_READ | STGM_SHARE_DENY_WRITE;
constexpr size_t kMaxPath = 260;

void CopyCut(const char* text, char* buffer, size_t size) {
    if (size) lstrcpynA(buffer, text, static_cast<int>(size < 0x7FFFFFFF ? size : 0x7FFFFFFF));
}

bool FolderExists(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash == 0) return false;
    std::wstring folder = path.substr(0, slash + 1);
    DWORD attr = GetFileAttributesW(folder.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The file name without folder and extension, in the ANSI code page, at most 63 characters.
void NameFromPath(const std::wstring& path, char name[64]) {
    size_t slash = path.find_last_of(L"\\/");
    std::wstring file = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    size_t dot = file.rfind(L'.');
    if (dot != std::wstring::npos) file.resize(dot);
    int n = WideCharToMultiByte(CP_ACP, 0, file.c_str(), static_cast<int>(file.size()), name, 63, nullptr, nullptr);
    name[n > 0 ? n : 0] = '\0';
}

}  // namespace

VoLexiconBase::VoLexiconBase(IUnknown* outer, HRESULT* result, const LexBinding& binding)
    : CUnknown(outer, result), binding_(binding) {}

VoLexiconBase::~VoLexiconBase() { Unload(); }

HRESULT STDMETHODCALLTYPE VoLexiconBase::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IVoLexicon)) return GetInterface(static_cast<IVoLexicon*>(this), out);
    if (IsEqualIID(iid, IID_IPersistFile)) return GetInterface(static_cast<IPersistFile*>(this), out);
    if (IsEqualIID(iid, IID_IPersistStorage) || IsEqualIID(iid, IID_IPersist))
        return GetInterface(static_cast<IPersistStorage*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

void VoLexiconBase::Unload() {
    storage_.Reset();
    list_.Clear();
    collation_.reset();
    refs_.reset();
    path_.clear();
    name_[0] = '\0';
    backup_.Discard();
    if (!tempCopy_.empty()) {
        DeleteFileW(tempCopy_.c_str());
        tempCopy_.clear();
    }
}

void VoLexiconBase::SetName(const char* name) { lstrcpynA(name_, name, sizeof name_); }

void VoLexiconBase::KeepStorage(IStorage* storage) {
    storage_ = ComPtr<IStorage>(storage);
    STATSTG st = {};
    storageMode_ = openMode_;
    if (SUCCEEDED(storage->Stat(&st, STATFLAG_NONAME))) storageMode_ = st.grfMode;
}

bool VoLexiconBase::StorageWritable() const {
    return storage_ && (storageMode_ & (STGM_WRITE | STGM_READWRITE)) != 0;
}

HRESULT VoLexiconBase::CheckPosition(int position) const {
    return position >= 0 && position < list_.VisibleCount() ? S_OK : E_INVALIDARG;
}

HRESULT VoLexiconBase::ArticleNumber(int id, int* number) const {
    if (id < 1 || id > list_.Count() || !list_.IsArticle(id - 1)) return E_INVALIDARG;
    *number = id - 1;
    return S_OK;
}

HRESULT VoLexiconBase::TitleToKey(const char* title, LexKey* key) const {
    if (!title || !*title || !IsLoaded()) return E_INVALIDARG;
    DWORD date = 0;
    if (ParseDateTitle(title, &date)) {
        *key = LexKey::Date(date);
        return S_OK;
    }
    int ref = 0;
    if (refs_->Parse(title, &ref) == S_OK) {
        *key = LexKey::Reference(ref);
        return S_OK;
    }
    // Files hold a text key with a one-byte length.
    size_t n = strlen(title);
    if (n > 255 || (n == 1 && title[0] == '@')) return E_INVALIDARG;
    return NoThrow([&] {
        *key = LexKey::Text(title);
        return S_OK;
    });
}

HRESULT VoLexiconBase::FormatKey(const LexKey& key, char* buffer, size_t size) const {
    switch (key.kind) {
    case kTextKey:
        CopyCut(key.SortText(), buffer, size);
        return S_OK;
    case kReferenceKey:
        return refs_->Format(static_cast<int>(key.value), buffer, size);
    default:
        FormatDateTitle(key.value, buffer, size);
        return S_OK;
    }
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetName(char* buffer) {
    if (!buffer) return E_POINTER;
    lstrcpynA(buffer, name_, 64);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryCount(int* count) {
    if (!count) return E_POINTER;
    *count = list_.VisibleCount();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryTitle(int position, char* buffer, unsigned max) {
    if (!buffer) return E_POINTER;
    if (!max) return E_INVALIDARG;
    buffer[0] = '\0';
    HRESULT hr = CheckPosition(position);
    if (FAILED(hr)) return hr;
    return FormatKey(list_.Key(list_.VisibleEntry(position)), buffer, max);
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryKind(int position, int* kind) {
    if (!kind) return E_POINTER;
    HRESULT hr = CheckPosition(position);
    if (FAILED(hr)) return hr;
    *kind = list_.Key(list_.VisibleEntry(position)).kind;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryCountOfKind(int kind, int* count) {
    if (!count) return E_POINTER;
    if (kind < kTextKey || kind > kDateKey) return E_INVALIDARG;
    *count = list_.CountOfKind(kind);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::FindEntry(const char* title, int* position, VARIANT_BOOL* exact) {
    if (!position) return E_POINTER;
    return NoThrow([&] {
        LexKey key;
        HRESULT hr = TitleToKey(title, &key);
        if (FAILED(hr)) return hr;
        KeyOrder order = Order();
        const int count = list_.Count();
        int found = list_.LowerBound(key, order);
        bool isExact = found < count && order.Compare(list_.Key(found), key) == 0;

        if (!isExact && key.kind == kDateKey) {
            // A dated title also finds the same day of every year, a yearless one the day
            // in this year: either when it lies at most six days later.
            DWORD other = key.value & 0xFFFF;
            if (!DateYear(key.value)) {
                DWORD today = TodayDateValue();
                int day = DateDay(key.value) ? DateDay(key.value) : DateDay(today);
                int month = DateMonth(key.value) ? DateMonth(key.value) : DateMonth(today);
                other = MakeDateValue(day, month, DateYear(today));
            }
            int second = list_.LowerBound(LexKey::Date(other), order);
            if (second < count) {
                const LexKey& k = list_.Key(second);
                bool soonAfter = k.kind == kDateKey && k.value >= other && k.value - other <= 6;
                if (found == count || soonAfter) found = second;
            }
        } else if (!isExact && key.kind == kReferenceKey) {
            int text = list_.Find(LexKey::Text(title), order);
            if (text >= 0) {
                found = text;
                isExact = true;
            }
        }
        *position = list_.VisiblePositionFrom(found);
        if (exact) *exact = isExact ? 1 : 0;
        return isExact ? S_OK : S_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryId(int position, int* id) {
    if (!id) return E_POINTER;
    HRESULT hr = CheckPosition(position);
    if (FAILED(hr)) return hr;
    int number = list_.Resolve(list_.VisibleEntry(position));
    if (number < 0) return E_UNEXPECTED;
    *id = number + 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryReference(int position, int* reference) {
    if (!reference) return E_POINTER;
    HRESULT hr = CheckPosition(position);
    if (FAILED(hr)) return hr;
    const LexKey& key = list_.Key(list_.VisibleEntry(position));
    if (key.kind != kReferenceKey) return E_INVALIDARG;
    *reference = static_cast<int>(key.value);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::FindEntryByKey(const char* text, int* id) {
    if (!id) return E_POINTER;
    *id = 0;
    if (!text) return E_INVALIDARG;
    if (!IsLoaded()) return S_OK;
    return NoThrow([&] {
        int n = list_.Find(LexKey::Text(text), Order());
        int target = n >= 0 ? list_.Resolve(n) : -1;
        *id = target + 1;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::FindEntryForReference(int reference, BOOL exactOnly, int* id) {
    if (!id) return E_POINTER;
    *id = 0;
    if (!reference) return E_INVALIDARG;
    if (!IsLoaded()) return E_UNEXPECTED;
    int book = -1, chapter = -1, verse = -1;
    HRESULT hr = refs_->Split(reference, &book, &chapter, &verse);
    if (FAILED(hr)) return hr;
    KeyOrder order = Order();
    for (;;) {
        int single = 0;
        hr = refs_->Make(book, chapter, verse, &single);
        if (FAILED(hr)) return hr;
        // Keys of one start sort together, the single one first: an entry for a range that
        // starts here answers as well when there is no single one.
        int n = list_.LowerBound(LexKey::Reference(single), order);
        if (n < list_.Count() && list_.Key(n).kind == kReferenceKey) {
            int b = -1, c = -1, v = -1;
            refs_->Split(static_cast<int>(list_.Key(n).value), &b, &c, &v);
            if (b == book && c == chapter && v == verse) {
                int target = list_.Resolve(n);
                *id = target + 1;
                return S_OK;
            }
        }
        if (exactOnly || chapter < 0) return S_OK;
        if (verse >= 0) verse = -1;
        else chapter = -1;
    }
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetEntryPosition(int id, int* position) {
    if (!position) return E_POINTER;
    int number = 0;
    HRESULT hr = ArticleNumber(id, &number);
    if (FAILED(hr)) return hr;
    *position = list_.VisiblePositionFrom(number);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetLanguage(IRyLanguage** language) {
    if (!language) return E_POINTER;
    *language = nullptr;
    return collation_ ? collation_->GetLanguage(language) : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetLangStat(IBibleLangStat** langStat) {
    if (!langStat) return E_POINTER;
    *langStat = nullptr;
    return refs_ ? refs_->GetLangStat(langStat) : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetReserved(int* value) {
    if (!value) return E_POINTER;
    *value = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetClassID(CLSID* id) {
    if (!id) return E_POINTER;
    *id = ClassId();
    return S_OK;
}

HRESULT VoLexiconBase::OpenStorage(DWORD* mode, IStorage** out) {
    HRESULT hr = StgOpenStorage(path_.c_str(), nullptr, *mode, nullptr, 0, out);
    if (SUCCEEDED(hr) || *mode == kReadOnlyMode) return hr;
    *mode = kReadOnlyMode;
    return StgOpenStorage(path_.c_str(), nullptr, *mode, nullptr, 0, out);
}

// A file that cannot be opened even for reading (another program holds it) is read from a
// fresh copy in the temporary folder. The copy is made anew every time: one left there by
// an earlier run may be older than the file.
HRESULT VoLexiconBase::OpenTemporaryCopy(IStorage** out) {
    wchar_t folder[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, folder);
    if (!n || n >= MAX_PATH) return HRESULT_FROM_WIN32(GetLastError());
    size_t slash = path_.find_last_of(L"\\/");
    std::wstring copy = std::wstring(folder) + path_.substr(slash + 1);
    if (copy.size() >= kMaxPath) return E_INVALIDARG;
    if (!CopyFileW(path_.c_str(), copy.c_str(), FALSE)) {
        DWORD err = GetLastError();
        return HRESULT_FROM_WIN32(err ? err : ERROR_ACCESS_DENIED);
    }
    // The copy is ours to open; it must not inherit the original's read-only attribute.
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    HRESULT hr = CheckCompoundFile(copy.c_str());
    if (hr == STG_E_INVALIDNAME) hr = S_OK;  // read, never rewritten
    if (SUCCEEDED(hr)) hr = StgOpenStorage(copy.c_str(), nullptr, kReadOnlyMode, nullptr, 0, out);
    if (FAILED(hr)) {
        DeleteFileW(copy.c_str());
        return hr;
    }
    tempCopy_ = copy;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::Load(LPCOLESTR path, DWORD mode) {
    if (mode != 0) return E_NOTIMPL;
    if (!path) return E_POINTER;
    if (wcslen(path) >= kMaxPath) return E_INVALIDARG;
    if (storage_ || IsLoaded()) return E_UNEXPECTED;
    HRESULT hr = NoThrow([&] {
        path_ = path;
        return FolderExists(path_) ? S_OK : E_INVALIDARG;
    });
    if (FAILED(hr)) {
        path_.clear();
        return hr;
    }
    NameFromPath(path_, name_);

    VARIANT_BOOL readOnly = VARIANT_FALSE;
    IsOpenReadOnly(&readOnly);
    ComPtr<IStorage> storage;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        if (readOnly) {
            hr = STG_E_FILENOTFOUND;
        } else {
            openMode_ = kReadWriteMode;
            hr = StgCreateDocfile(path, openMode_ | STGM_FAILIFTHERE, 0, storage.Put());
            if (SUCCEEDED(hr)) {
                hr = InitNew(storage.Get());
                if (FAILED(hr)) {
                    // Nothing was made of the new file: leave no empty file behind.
                    storage.Reset();
                    DeleteFileW(path);
                }
            }
        }
    } else {
        // A file whose structure is damaged is refused before the storage code sees it. One
        // that cannot be read now (another program holds it) is checked as its copy.
        hr = CheckCompoundFile(path);
        if (hr == STG_E_DOCFILECORRUPT || hr == STG_E_FILEALREADYEXISTS) {
            Unload();
            return hr;
        }
        // One that reads well but whose directory the storage code could not rewrite
        // without damage is opened for reading only, and the caller is told why.
        const bool unsafeNames = hr == STG_E_INVALIDNAME;
        openMode_ = readOnly || unsafeNames ? kReadOnlyMode : kReadWriteMode;
        // The copy a save that goes wrong is undone from; without it the file is opened,
        // but not saved (Save answers why).
        if (openMode_ == kReadWriteMode) backupResult_ = backup_.Make(path_);
        hr = OpenStorage(&openMode_, storage.Put());
        if (FAILED(hr)) {
            // When the copy cannot be read either, the reason the file itself could not be
            // opened is the one the caller needs.
            openMode_ = kReadOnlyMode;
            if (SUCCEEDED(OpenTemporaryCopy(storage.Put()))) hr = S_OK;
        }
        if (openMode_ != kReadWriteMode) backup_.Discard();
        if (SUCCEEDED(hr)) hr = static_cast<IPersistStorage*>(this)->Load(storage.Get());
        if (SUCCEEDED(hr) && unsafeNames && !readOnly) hr = VO_S_READONLYDAMAGED;
    }
    if (FAILED(hr)) Unload();
    return hr;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::Save(LPCOLESTR path, BOOL) {
    if (path || !storage_) return E_NOTIMPL;
    if (!StorageWritable()) return E_ACCESSDENIED;
    if (!backup_.IsMade()) return FAILED(backupResult_) ? backupResult_ : E_UNEXPECTED;
    HRESULT hr = static_cast<IPersistStorage*>(this)->Save(storage_.Get(), TRUE);
    if (FAILED(hr)) return hr;
    // Until the commit succeeds the file holds the last saved state; a failed commit keeps
    // the storage and everything changed in it, so the save can be tried again.
    hr = storage_->Commit(STGC_DEFAULT | STGC_CONSOLIDATE);
    if (FAILED(hr)) return hr;
    hr = HandsOffStorage();
    if (SUCCEEDED(hr)) hr = CheckSavedFile();
    if (FAILED(hr)) return UndoSave(hr);
    // The file as saved is the one a later save goes back to.
    backupResult_ = backup_.Make(path_);
    return S_OK;
}

// The saved file must pass the whole structure check, its names included, and open again
// as SaveCompleted will open it. A file the check refuses was damaged by the save.
HRESULT VoLexiconBase::CheckSavedFile() const {
    HRESULT hr = CheckCompoundFile(path_.c_str());
    if (hr == STG_E_INVALIDNAME || hr == STG_E_FILEALREADYEXISTS) return STG_E_DOCFILECORRUPT;
    if (FAILED(hr)) return hr;
    ComPtr<IStorage> reopened;
    return StgOpenStorage(path_.c_str(), nullptr, openMode_, nullptr, 0, reopened.Put());
}

// A save that left a file the check refuses: the file as it was before the save is put
// back and shown again; the changes since the last save are lost, the file is not. The
// answer is the check's. When the copy cannot be put back it stays where it is, for the
// user to recover the notes from.
HRESULT VoLexiconBase::UndoSave(HRESULT failure) {
    if (FAILED(backup_.Restore())) {
        backup_.Abandon();
        return failure;
    }
    std::wstring path;
    HRESULT hr = NoThrow([&] { path = path_; return S_OK; });
    if (FAILED(hr)) return hr;
    Unload();
    Load(path.c_str(), 0);
    return failure;
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::SaveCompleted(LPCOLESTR path) {
    if (path && wcslen(path) >= kMaxPath) return E_INVALIDARG;
    if (storage_ || path_.empty()) return E_UNEXPECTED;
    return NoThrow([&] {
        std::wstring file = path ? std::wstring(path) : path_;
        // Another file is saved into from now on: a copy of it is what a save goes back to.
        if (file != path_ && openMode_ == kReadWriteMode) backupResult_ = backup_.Make(file);
        ComPtr<IStorage> storage;
        HRESULT hr = StgOpenStorage(file.c_str(), nullptr, openMode_, nullptr, 0, storage.Put());
        if (FAILED(hr)) return hr;
        hr = static_cast<IPersistStorage*>(this)->SaveCompleted(storage.Get());
        if (SUCCEEDED(hr)) path_ = file;
        return hr;
    });
}

HRESULT STDMETHODCALLTYPE VoLexiconBase::GetCurFile(LPOLESTR* path) {
    if (!path) return E_POINTER;
    *path = nullptr;
    if (path_.empty()) return E_UNEXPECTED;
    size_t bytes = (path_.size() + 1) * sizeof(wchar_t);
    *path = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*path) return E_OUTOFMEMORY;
    memcpy(*path, path_.c_str(), bytes);
    return S_OK;
}
