#include "BibleLangStat.h"
#include "AnsiText.h"
#include "SizedBlock.h"
#include <cstring>
#include <new>

namespace {
// Library-wide list of the language statistics opened from streams, newest first.
CBibleLangStat* g_loadedLangStats = nullptr;

constexpr int kFixedLangBytes = 22;         // size, GUID, the two counts
constexpr int kMaxLangBlockBytes = 0x100000;  // far above any real block; bounds the allocation
constexpr int kMaxLangCount = 127;
}  // namespace

CBibleLangStat::CBibleLangStat(IUnknown* outer, HRESULT* result, IStream* stream, IBibleStat* stat)
    : CUnknown(outer, result), stat_(stat) {
    if (FAILED(*result)) return;
    if (!stream || !stat) {
        *result = E_INVALIDARG;
        return;
    }
    stat_.As(IID_IBibleHandles, &handles_);
    *result = Read(stream);
}

CBibleLangStat::CBibleLangStat(IUnknown* outer, HRESULT* result, IBibleStat* stat, ILangStatSource* source)
    : CUnknown(outer, result), stat_(stat) {
    if (FAILED(*result)) return;
    if (!stat || !source) {
        *result = E_INVALIDARG;
        return;
    }
    stat_.As(IID_IBibleHandles, &handles_);
    try {
        *result = Build(source);
    } catch (const std::bad_alloc&) {
        *result = E_OUTOFMEMORY;
    }
}

CBibleLangStat::~CBibleLangStat() {
    if (!loaded_) return;
    for (CBibleLangStat** p = &g_loadedLangStats; *p; p = &(*p)->nextLoaded_) {
        if (*p == this) {
            *p = nextLoaded_;
            break;
        }
    }
}

bool CBibleLangStat::SameLanguage(const CBibleLangStat& other) const {
    if (!IsEqualGUID(LanguageGuid(), other.LanguageGuid())) return false;
    GUID mine, theirs;
    stat_->GetGuid(&mine, FALSE);
    other.stat_->GetGuid(&theirs, FALSE);
    return IsEqualGUID(mine, theirs) != 0;
}

HRESULT CBibleLangStat::OpenShared(IStream* stream, IBibleStat* stat, IBibleLangStat** out) {
    *out = nullptr;
    HRESULT hr = S_OK;
    CBibleLangStat* fresh = new (std::nothrow) CBibleLangStat(nullptr, &hr, stream, stat);
    if (!fresh) return E_OUTOFMEMORY;
    if (FAILED(hr)) {
        delete fresh;
        return hr;
    }
    for (CBibleLangStat* p = g_loadedLangStats; p; p = p->nextLoaded_) {
        if (p->SameLanguage(*fresh)) {
            delete fresh;
            p->AddRef();
            *out = p;
            return S_OK;
        }
    }
    fresh->nextLoaded_ = g_loadedLangStats;
    g_loadedLangStats = fresh;
    fresh->loaded_ = true;
    return fresh->NonDelegatingQueryInterface(IID_IBibleLangStat, reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IBibleLangStat) || IsEqualIID(iid, IID_IBibleStat))
        return GetInterface(static_cast<IBibleLangStat*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

HRESULT CBibleLangStat::Read(IStream* stream) {
    HRESULT hr = ReadSizedBlock(stream, kFixedLangBytes + 1, kMaxLangBlockBytes, &block_);
    if (FAILED(hr)) return hr;
    try {
        return Parse();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Every string must end inside the block, and the block must end with the last of them.
HRESULT CBibleLangStat::Parse() {
    const int size = static_cast<int>(block_.size());
    const int aliasCount = static_cast<signed char>(block_[20]);
    const int nameCount = static_cast<signed char>(block_[21]);
    if (aliasCount < 0 || nameCount < 0) return E_INVALIDARG;
    int at = kFixedLangBytes + 2 * aliasCount;
    if (at >= size) return E_INVALIDARG;
    aliasTargets_.clear();
    for (int i = 0; i < aliasCount; ++i)
        aliasTargets_.emplace_back(static_cast<signed char>(block_[kFixedLangBytes + 2 * i]),
                                   block_[kFixedLangBytes + 2 * i + 1]);
    const char* text = reinterpret_cast<const char*>(block_.data());
    auto next = [&](const char** s) {
        const void* end = at < size ? memchr(text + at, 0, size - at) : nullptr;
        if (!end) return false;
        *s = text + at;
        at = static_cast<int>(static_cast<const char*>(end) - text) + 1;
        return true;
    };
    aliases_.assign(aliasCount, nullptr);
    names_.assign(nameCount, nullptr);
    secondNames_.assign(nameCount, nullptr);
    if (!next(&languageName_)) return E_INVALIDARG;
    for (int i = 0; i < aliasCount; ++i)
        if (!next(&aliases_[i])) return E_INVALIDARG;
    for (int i = 0; i < nameCount; ++i)
        if (!next(&names_[i]) || !next(&secondNames_[i])) return E_INVALIDARG;
    return at == size ? S_OK : E_INVALIDARG;
}

HRESULT CBibleLangStat::Build(ILangStatSource* source) {
    const int nameCount = source->GetNameCount(), aliasCount = source->GetAliasCount();
    if (nameCount < 0 || nameCount > kMaxLangCount || aliasCount < 0 || aliasCount > kMaxLangCount)
        return E_INVALIDARG;
    GUID language;
    HRESULT hr = source->GetLanguageGuid(&language);
    if (FAILED(hr)) return hr;
    std::vector<BYTE> pairs;
    std::string strings;
    char buf[kLangSourceBufferSize];
    auto take = [&](HRESULT got) {
        buf[kLangSourceBufferSize - 1] = '\0';
        if (SUCCEEDED(got)) strings.append(buf, strlen(buf) + 1);
        return got;
    };
    buf[0] = '\0';
    if (FAILED(hr = take(source->GetName(buf, -1)))) return hr;
    for (int i = 0; i < aliasCount; ++i) {
        int first = 0, second = 0;
        if (FAILED(hr = source->GetAliasValues(i, &first, &second))) return hr;
        if (first < -128 || first > 127 || second < 0 || second > 255) return E_INVALIDARG;
        pairs.push_back(static_cast<BYTE>(first));
        pairs.push_back(static_cast<BYTE>(second));
        buf[0] = '\0';
        if (FAILED(hr = take(source->GetAlias(buf, i)))) return hr;
    }
    for (int i = 0; i < nameCount; ++i) {
        buf[0] = '\0';
        if (FAILED(hr = take(source->GetName(buf, i)))) return hr;
        buf[0] = '\0';
        if (FAILED(hr = take(source->GetSecondName(buf, i)))) return hr;
    }
    INT32 size = static_cast<INT32>(kFixedLangBytes + pairs.size() + strings.size());
    if (size > kMaxLangBlockBytes) return E_INVALIDARG;
    block_.resize(kFixedLangBytes);
    memcpy(&block_[0], &size, 4);
    memcpy(&block_[4], &language, 16);
    block_[20] = static_cast<BYTE>(aliasCount);
    block_[21] = static_cast<BYTE>(nameCount);
    block_.insert(block_.end(), pairs.begin(), pairs.end());
    block_.insert(block_.end(), strings.begin(), strings.end());
    return Parse();
}

HRESULT CBibleLangStat::CopyName(char* buf, const char* name) {
    if (!buf) return E_POINTER;
    lstrcpynA(buf, name, kMaxBookNameLength + 1);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::GetBookName(char* buf, int book) {
    if (book == -1) return CopyName(buf, languageName_);
    if (book < 0 || book >= static_cast<int>(names_.size())) return E_INVALIDARG;
    return CopyName(buf, names_[book]);
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::GetBookAbbreviation(char* buf, int book) {
    if (book < 0 || book >= static_cast<int>(secondNames_.size())) return E_INVALIDARG;
    return CopyName(buf, secondNames_[book]);
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::FindBook(const char* text, int* outBook) {
    if (!outBook) return E_POINTER;
    *outBook = -1;
    if (!text) return E_INVALIDARG;
    for (int b = static_cast<int>(names_.size()) - 1; b >= 0; --b) {
        if (!StartsWithFolded(names_[b], text)) continue;
        *outBook = b;
        if (EqualsFolded(names_[b], text)) return S_OK;
    }
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::GetAlias(char* buf, int index) {
    if (index < 0 || index >= GetAliasCount()) return E_INVALIDARG;
    return CopyName(buf, aliases_[index]);
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::GetAliasTarget(int index, int* first, int* second) {
    if (index < 0 || index >= GetAliasCount()) return E_INVALIDARG;
    if (first) *first = aliasTargets_[index].first;
    if (second) *second = aliasTargets_[index].second;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::GetLanguageGuid(GUID* out) {
    if (!out) return E_POINTER;
    *out = LanguageGuid();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::GetBibleStat(IBibleStat** out) {
    if (!out) return E_POINTER;
    stat_.CopyTo(out);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::SaveWithLanguage(IStream* stream) {
    HRESULT hr = stat_->Save(stream);
    if (FAILED(hr)) return hr;
    return SaveLanguage(stream);
}

HRESULT STDMETHODCALLTYPE CBibleLangStat::SaveLanguage(IStream* stream) { return WriteSizedBlock(stream, block_); }
