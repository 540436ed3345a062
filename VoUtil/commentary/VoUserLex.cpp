#include "VoUserLex.h"
#include <cstring>
#include "Scramble.h"
#include "UserLexFormat.h"
#include "VarInt.h"

namespace {

constexpr DWORD kReadStream = STGM_READ | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kCreateStream = STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE;
// Longest settings text: both letters, "|" and the record of a 31-character password.
constexpr size_t kSettingsTextSize = 64;
constexpr size_t kPasswordSize = 32;

HRESULT ReadStream(IStorage* storage, const wchar_t* name, std::string* bytes) {
    ComPtr<IStream> stream;
    HRESULT hr = storage->OpenStream(name, nullptr, kReadStream, 0, stream.Put());
    if (FAILED(hr)) return hr;
    return ReadWholeStream(stream.Get(), kMaxStreamBytes, bytes);
}

bool NotThere(HRESULT hr) { return hr == STG_E_FILENOTFOUND; }

}  // namespace

VoUserLex::VoUserLex(IUnknown* outer, HRESULT* result, const LexBinding& binding)
    : VoLexiconBase(outer, result, binding) {}

HRESULT STDMETHODCALLTYPE VoUserLex::GetLexiconType(int* type) {
    if (!type) return E_POINTER;
    *type = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::IsTextOpen(VARIANT_BOOL* open) {
    if (!open) return E_POINTER;
    *open = VARIANT_TRUE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::IsOpenReadOnly(VARIANT_BOOL* readOnly) {
    if (!readOnly) return E_POINTER;
    *readOnly = storage_ && !StorageWritable() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::IsDirty() { return changed_ ? S_OK : S_FALSE; }

// ---- Access and protection ----

bool VoUserLex::PasswordMatches(const char* password) const {
    if (settingsUnreadable_) return false;
    char stored[kPasswordSize];
    ReadScrambledRecord(passwordRecord_.c_str(), stored, sizeof stored);
    return lstrcmpA(stored, password) == 0;
}

HRESULT STDMETHODCALLTYPE VoUserLex::GetAccess(int* flags) {
    if (!flags) return E_POINTER;
    *flags = unlocked_ ? 0 : protection_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::GetProtection(int* level) {
    if (!level) return E_POINTER;
    *level = protection_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::SetProtection(int level) {
    if (!unlocked_ && (protection_ & kLexNoChanges)) return E_ACCESSDENIED;
    if (level < 0 || level > 3) return E_INVALIDARG;
    if (level != protection_) {
        protection_ = level;
        changed_ = settingsChanged_ = true;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::Unlock(const char* password) {
    if (!password) return E_POINTER;
    if (PasswordMatches(password)) unlocked_ = true;
    return unlocked_ ? S_OK : E_ACCESSDENIED;
}

HRESULT STDMETHODCALLTYPE VoUserLex::SetPassword(const char* oldPassword, const char* newPassword) {
    if (!oldPassword || !newPassword) return E_POINTER;
    if (!PasswordMatches(oldPassword)) return E_ACCESSDENIED;
    if (strlen(newPassword) >= kPasswordSize) return E_INVALIDARG;
    unlocked_ = true;
    if (strcmp(oldPassword, newPassword) == 0) return S_OK;
    return NoThrow([&] {
        passwordRecord_ = *newPassword ? MakeScrambledRecord(newPassword, NewScrambleSeed()) : std::string();
        changed_ = settingsChanged_ = true;
        return S_OK;
    });
}

HRESULT VoUserLex::ReadSettings(IStream* stream) {
    std::string bytes, record;
    HRESULT hr = ReadWholeStream(stream, kMaxStreamBytes, &bytes);
    if (SUCCEEDED(hr)) hr = DecodeSettingsStream(bytes, &record);
    if (FAILED(hr)) return hr;
    char text[kSettingsTextSize];
    if (!ReadScrambledRecord(record.c_str(), text, sizeof text)) {
        // Protection and password unknown: the commentary reads, but nothing changes it.
        settingsUnreadable_ = true;
        protection_ = kLexNoChanges;
        unlocked_ = false;
        return S_OK;
    }
    const char* bar = strchr(text, '|');
    size_t letters = bar ? static_cast<size_t>(bar - text) : strlen(text);
    protection_ = 0;
    for (size_t i = 0; i < letters; ++i) {
        if (text[i] == 'W') protection_ |= kLexNoChanges;
        if (text[i] == 'E') protection_ |= kLexTextsScrambled;
    }
    passwordRecord_ = bar ? bar + 1 : "";
    settingsUnreadable_ = false;
    unlocked_ = PasswordMatches("");
    return S_OK;
}

HRESULT VoUserLex::CheckEditable() {
    if (!StorageWritable()) return E_ACCESSDENIED;
    int access = 0;
    GetAccess(&access);
    return (access & kLexNoChanges) ? E_ACCESSDENIED : S_OK;
}

// ---- Loading and saving ----

HRESULT STDMETHODCALLTYPE VoUserLex::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    if (storage_ || IsLoaded()) return E_UNEXPECTED;
    return NoThrow([&] {
        ComPtr<IStream> name, langStat, settings, list;
        HRESULT hr = storage->OpenStream(kNameStream, nullptr, kReadStream, 0, name.Put());
        if (SUCCEEDED(hr)) hr = storage->OpenStream(kLangStatStream, nullptr, kReadStream, 0, langStat.Put());
        if (SUCCEEDED(hr)) hr = storage->OpenStream(kSettingsStream, nullptr, kReadStream, 0, settings.Put());
        if (SUCCEEDED(hr)) hr = storage->OpenStream(kListStream, nullptr, kReadStream, 0, list.Put());
        if (FAILED(hr)) return hr;

        std::unique_ptr<LexRefSystem> refs;
        hr = binding_.openRefSystem(langStat.Get(), &refs);
        if (FAILED(hr)) return hr;
        std::string bytes;
        char lexName[64];
        hr = ReadWholeStream(name.Get(), kMaxStreamBytes, &bytes);
        if (SUCCEEDED(hr)) hr = DecodeNameStream(bytes, lexName);
        if (FAILED(hr)) return hr;
        std::unique_ptr<LexCollation> collation;
        hr = binding_.createCollation("StdLang", &collation);
        if (FAILED(hr)) return hr;
        hr = ReadSettings(settings.Get());
        if (FAILED(hr)) return hr;

        std::vector<LexKey> keys;
        std::vector<DWORD> words;
        hr = ReadWholeStream(list.Get(), kMaxStreamBytes, &bytes);
        if (SUCCEEDED(hr)) hr = DecodeListStream(bytes, KeyOrder(collation.get(), refs.get()), *refs, &keys, &words);
        if (SUCCEEDED(hr)) hr = list_.Assign(std::move(keys), std::move(words));
        if (FAILED(hr)) return hr;

        refs_ = std::move(refs);
        collation_ = std::move(collation);
        SetName(lexName);
        KeepStorage(storage);
        changed_ = listChanged_ = settingsChanged_ = false;
        nameIndex_.clear();
        nameIndexBuilt_ = false;
        DropCache();
        return S_OK;
    });
}

HRESULT VoUserLex::WriteFixedStream(IStorage* storage, const wchar_t* name, const std::string& bytes) {
    ComPtr<IStream> stream;
    HRESULT hr = storage->CreateStream(name, kCreateStream, 0, 0, stream.Put());
    if (FAILED(hr)) return hr;
    return ReplaceStreamContent(stream.Get(), bytes);
}

HRESULT STDMETHODCALLTYPE VoUserLex::Save(IStorage* storage, BOOL sameStorage) {
    if (!storage) return E_POINTER;
    if (!IsLoaded() || !storage_) return E_UNEXPECTED;
    return NoThrow([&] {
        // Into another storage everything is copied and both records written in full.
        bool other = storage != storage_.Get() && !sameStorage;
        HRESULT hr = S_OK;
        if (other) {
            hr = storage_->CopyTo(0, nullptr, nullptr, storage);
            if (FAILED(hr)) return hr;
        }
        if (settingsChanged_ || other) {
            std::string text = (protection_ & kLexNoChanges) ? "W" : "";
            if (protection_ & kLexTextsScrambled) text += "E";
            text += "|" + passwordRecord_;
            hr = WriteFixedStream(storage, kSettingsStream,
                                  EncodeSettingsStream(MakeScrambledRecord(text.c_str(), NewScrambleSeed())));
            if (FAILED(hr)) return hr;
        }
        if (listChanged_ || other) {
            std::string bytes;
            hr = EncodeListStream(list_, *refs_, &bytes);
            if (SUCCEEDED(hr)) hr = WriteFixedStream(storage, kListStream, bytes);
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE VoUserLex::SaveCompleted(IStorage* storage) {
    if (!storage) return E_POINTER;
    KeepStorage(storage);
    changed_ = listChanged_ = settingsChanged_ = false;
    DropCache();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::HandsOffStorage() {
    storage_.Reset();
    DropCache();
    return S_OK;
}

// ---- Entry texts ----

HRESULT VoUserLex::StreamNameOf(int number, std::wstring* name) {
    return EntryStreamName(list_.Key(number), *refs_, name);
}

HRESULT VoUserLex::BuildNameIndex() {
    if (nameIndexBuilt_) return S_OK;
    nameIndex_.clear();
    for (int i = 0; i < list_.Count(); ++i) {
        if (!list_.IsArticle(i)) continue;
        std::wstring name;
        HRESULT hr = StreamNameOf(i, &name);
        if (FAILED(hr)) {
            nameIndex_.clear();
            return hr;
        }
        ++nameIndex_[StreamNameKey(name)];
    }
    nameIndexBuilt_ = true;
    return S_OK;
}

void VoUserLex::CountName(const std::wstring& name, int delta) {
    if (!nameIndexBuilt_) return;
    try {
        auto it = nameIndex_.emplace(StreamNameKey(name), 0).first;
        it->second += delta;
        if (it->second <= 0) nameIndex_.erase(it);
    } catch (...) {
        // Without memory for the index it is made again when next needed.
        nameIndex_.clear();
        nameIndexBuilt_ = false;
    }
}

HRESULT VoUserLex::StreamNameTaken(const std::wstring& name, int skip, bool* taken) {
    *taken = false;
    HRESULT hr = BuildNameIndex();
    if (FAILED(hr)) return hr;
    auto it = nameIndex_.find(StreamNameKey(name));
    int users = it == nameIndex_.end() ? 0 : it->second;
    if (skip >= 0 && users > 0) {
        std::wstring own;
        hr = StreamNameOf(skip, &own);
        if (FAILED(hr)) return hr;
        if (SameStreamName(own, name)) --users;
    }
    *taken = users > 0;
    return S_OK;
}

HRESULT VoUserLex::CachedText(int id, const std::string** text) {
    int number = 0;
    HRESULT hr = ArticleNumber(id, &number);
    if (FAILED(hr)) return hr;
    if (cacheId_ != id) {
        if (!storage_) return E_UNEXPECTED;
        DropCache();
        std::wstring name;
        std::string bytes, value;
        hr = StreamNameOf(number, &name);
        if (FAILED(hr)) return hr;
        hr = ReadStream(storage_.Get(), name.c_str(), &bytes);
        if (NotThere(hr)) hr = S_OK;  // an entry without a stream has an empty text
        else if (SUCCEEDED(hr)) hr = DecodeEntryText(bytes, &value);
        if (FAILED(hr)) return hr;
        cache_.swap(value);
        cacheId_ = id;
    }
    *text = &cache_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VoUserLex::GetEntryText(int id, char* buffer, int max) {
    if (!buffer) return E_POINTER;
    if (max <= 0) return E_INVALIDARG;
    buffer[0] = '\0';
    return NoThrow([&] {
        const std::string* text = nullptr;
        HRESULT hr = CachedText(id, &text);
        if (FAILED(hr)) return hr;
        lstrcpynA(buffer, text->c_str(), max);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE VoUserLex::GetEntryTextLength(int id, int* length) {
    if (!length) return E_POINTER;
    return NoThrow([&] {
        const std::string* text = nullptr;
        HRESULT hr = CachedText(id, &text);
        if (FAILED(hr)) return hr;
        *length = static_cast<int>(text->size() + 1);
        return S_OK;
    });
}

// The text is written under the entry's own name: the storage code's rename keeps the
// length field of the old name, which other systems read the name by. The old text is kept
// in memory and put back when the write fails, so that a failed write changes nothing.
HRESULT VoUserLex::WriteEntryStream(const std::wstring& name, const std::string& bytes) {
    std::string old;
    const bool hadOld = SUCCEEDED(ReadStream(storage_.Get(), name.c_str(), &old));
    HRESULT hr = WriteFixedStream(storage_.Get(), name.c_str(), bytes);
    if (FAILED(hr)) {
        if (hadOld) WriteFixedStream(storage_.Get(), name.c_str(), old);
        else storage_->DestroyElement(name.c_str());
    }
    return hr;
}

// A stream takes another name by being copied under it and destroyed, for the same reason.
HRESULT VoUserLex::MoveStream(const std::wstring& from, const std::wstring& to) {
    ComPtr<IStream> source, target;
    HRESULT hr = storage_->OpenStream(from.c_str(), nullptr, kReadStream, 0, source.Put());
    if (FAILED(hr)) return hr;
    hr = storage_->CreateStream(to.c_str(), kCreateStream, 0, 0, target.Put());
    if (SUCCEEDED(hr)) {
        ULARGE_INTEGER all;
        all.QuadPart = ~0ull;
        hr = source->CopyTo(target.Get(), all, nullptr, nullptr);
    }
    source.Reset();
    target.Reset();
    if (SUCCEEDED(hr)) hr = storage_->DestroyElement(from.c_str());
    if (FAILED(hr)) storage_->DestroyElement(to.c_str());
    return hr;
}

HRESULT STDMETHODCALLTYPE VoUserLex::SetEntryText(int id, const char* text) {
    if (!text) return E_POINTER;
    int number = 0;
    HRESULT hr = ArticleNumber(id, &number);
    if (FAILED(hr)) return hr;
    hr = CheckEditable();
    if (FAILED(hr)) return hr;
    return NoThrow([&] {
        std::wstring name;
        HRESULT whr = StreamNameOf(number, &name);
        if (FAILED(whr)) return whr;
        if (cacheId_ == id) DropCache();
        if (*text) {
            whr = WriteEntryStream(name, EncodeEntryText(text, (protection_ & kLexTextsScrambled) != 0,
                                                         NewScrambleSeed()));
        } else {
            whr = storage_->DestroyElement(name.c_str());
            if (NotThere(whr)) whr = S_OK;
        }
        if (FAILED(whr)) return whr;
        changed_ = true;
        return S_OK;
    });
}

// ---- Editing the list ----

HRESULT STDMETHODCALLTYPE VoUserLex::AddEntry(const char* title, int* id) {
    if (!id) return E_POINTER;
    *id = 0;
    return NoThrow([&] {
        LexKey key;
        HRESULT hr = TitleToKey(title, &key);
        if (FAILED(hr)) return hr;
        hr = CheckEditable();
        if (FAILED(hr)) return hr;
        KeyOrder order = Order();
        if (list_.Find(key, order) >= 0) return E_INVALIDARG;
        std::wstring name;
        bool taken = false;
        hr = EntryStreamName(key, *refs_, &name);
        if (SUCCEEDED(hr)) hr = StreamNameTaken(name, -1, &taken);
        if (FAILED(hr)) return hr;
        if (taken) return E_INVALIDARG;
        int number = list_.LowerBound(key, order);
        hr = list_.InsertArticle(number, std::move(key));
        if (FAILED(hr)) return hr;
        CountName(name, +1);
        // A stream left under this name by no entry must not give the new one a text.
        storage_->DestroyElement(name.c_str());
        *id = number + 1;
        if (cacheId_ >= *id) ++cacheId_;
        changed_ = listChanged_ = true;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE VoUserLex::DeleteEntry(int id) {
    HRESULT hr = CheckEditable();
    if (FAILED(hr)) return hr;
    int position = 0;
    hr = GetEntryPosition(id, &position);
    if (FAILED(hr)) return hr;
    return NoThrow([&] {
        std::wstring name;
        HRESULT dhr = StreamNameOf(id - 1, &name);
        if (SUCCEEDED(dhr)) dhr = list_.Remove(id - 1);
        if (FAILED(dhr)) return dhr;
        CountName(name, -1);
        DropCache();
        changed_ = listChanged_ = true;
        dhr = storage_->DestroyElement(name.c_str());
        return NotThere(dhr) ? S_FALSE : dhr;
    });
}

HRESULT STDMETHODCALLTYPE VoUserLex::RenameEntry(int* id, const char* newTitle) {
    if (!id) return E_POINTER;
    return NoThrow([&] {
        LexKey key;
        HRESULT hr = TitleToKey(newTitle, &key);
        if (FAILED(hr)) return hr;
        hr = CheckEditable();
        if (FAILED(hr)) return hr;
        int position = 0;
        hr = GetEntryPosition(*id, &position);
        if (FAILED(hr)) return hr;
        int number = *id - 1;
        KeyOrder order = Order();
        int existing = list_.Find(key, order);
        if (existing >= 0 && existing != number) return E_INVALIDARG;
        std::wstring oldName, newName;
        bool taken = false;
        hr = StreamNameOf(number, &oldName);
        if (SUCCEEDED(hr)) hr = EntryStreamName(key, *refs_, &newName);
        if (SUCCEEDED(hr)) hr = StreamNameTaken(newName, number, &taken);
        if (FAILED(hr)) return hr;
        if (taken) return E_INVALIDARG;

        // The stream first: when it cannot be renamed nothing has changed.
        bool renamed = false;
        if (!SameStreamName(oldName, newName)) {
            storage_->DestroyElement(newName.c_str());
            hr = MoveStream(oldName, newName);
            if (FAILED(hr) && !NotThere(hr)) return hr;
            renamed = SUCCEEDED(hr);
        }
        hr = list_.Remove(number);
        if (SUCCEEDED(hr)) {
            int at = list_.LowerBound(key, order);
            hr = list_.InsertArticle(at, std::move(key));
            if (SUCCEEDED(hr)) *id = at + 1;
        }
        if (FAILED(hr)) {
            if (renamed) MoveStream(newName, oldName);
            return hr;
        }
        CountName(oldName, -1);
        CountName(newName, +1);
        DropCache();
        changed_ = listChanged_ = true;
        return S_OK;
    });
}
