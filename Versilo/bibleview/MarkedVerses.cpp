// VoKv61MarkedVerses: loading and saving through the registry, the bit operations with
// their notifications, and the ".vrsv" export and import.
#include "MarkedVerses.h"
#include <cstring>
#include <vector>
#include "DataDirectories.h"
#include "MarkFile.h"
#include "Registry.h"
#include "VoUtil.h"

const char kReferenceStatFile[] = "kv61.vos";

namespace {

const char kGreenValue[] = "Green";
const char kGreenVisibleValue[] = "GreenIsVisible";

// "Green" as stored now into bits (zeroed by the caller). A shorter value leaves the
// remaining words 0; a longer one or one of another type is not read. Bits above the last
// verse are no verse and are dropped.
void ReadGreen(HKEY key, VoVerseBitSet& bits) {
    DWORD size = 0;
    ReadRegBinary(key, kGreenValue, bits.GetWords(), bits.GetWordCount() * 4, &size);
    bits.MaskPadding();
}

// Puts into stored the verses that changed from saved to current as current holds them;
// stored keeps its own value everywhere else. True when any verse changed.
bool TakeChanges(const std::vector<UINT32>& saved, const VoVerseBitSet& current, VoVerseBitSet& stored) {
    const UINT32* now = current.GetWords();
    UINT32* words = stored.GetWords();
    UINT32 any = 0;
    for (UINT i = 0; i < current.GetWordCount(); ++i) {
        const UINT32 changed = saved[i] ^ now[i];
        words[i] = (words[i] & ~changed) | (now[i] & changed);
        any |= changed;
    }
    return any != 0;
}

}  // namespace

VoKv61MarkedVerses::~VoKv61MarkedVerses() {
    // The last chance to keep the reader's changes; a failure here can only be lost, so
    // the owner saves first when it wants to report one.
    Save();
}

HRESULT VoKv61MarkedVerses::Load(AVoKv61MarkedVersesSink* sink) {
    sink_ = sink;
    visible_ = true;
    dirty_ = false;
    stat_.Reset();
    handles_.Reset();
    bits_.Init(0);
    saved_.clear();

    char path[kDirectoryCapacity];
    GetBiblesDirectory(path);
    if (std::strlen(path) + sizeof(kReferenceStatFile) > sizeof(path)) return E_INVALIDARG;
    lstrcatA(path, kReferenceStatFile);
    ComPtr<IBibleStat> stat;
    HRESULT hr = OpenBibleStatFile(path, stat.Put());
    if (FAILED(hr)) return hr;
    ComPtr<IBibleHandles> handles;
    hr = stat.As(IID_IBibleHandles, &handles);
    if (FAILED(hr)) return hr;
    const int verses = stat->GetVerseCount();
    if (verses < 0) return E_UNEXPECTED;
    if (!bits_.Init(verses)) return E_OUTOFMEMORY;
    stat_ = stat;
    handles_ = handles;

    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS) {
        ReadGreen(key.Get(), bits_);
        ReadRegBool(key.Get(), kGreenVisibleValue, &visible_);
    }
    saved_.assign(bits_.GetWords(), bits_.GetWords() + bits_.GetWordCount());
    return S_OK;
}

HRESULT VoKv61MarkedVerses::Save() {
    if (!dirty_) return S_FALSE;
    RegKey key;
    LONG rc = CreateUserAppKey(key, nullptr, kAppKeyReadWrite);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    // Without the numbering there are no markings to write: the saved ones stay. With it,
    // what another window saved since this store last read or wrote "Green" stays too,
    // except where this store changed a verse.
    if (HasNumbering()) {
        VoVerseBitSet stored;
        if (!stored.Init(bits_.GetBitCount())) return E_OUTOFMEMORY;
        ReadGreen(key.Get(), stored);
        if (TakeChanges(saved_, bits_, stored) &&
            !WriteRegBinary(key.Get(), kGreenValue, stored.GetWords(), stored.GetWordCount() * 4))
            return E_FAIL;
    }
    if (!WriteRegBool(key.Get(), kGreenVisibleValue, visible_)) return E_FAIL;
    saved_.assign(bits_.GetWords(), bits_.GetWords() + bits_.GetWordCount());
    dirty_ = false;
    return S_OK;
}

void VoKv61MarkedVerses::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    dirty_ = true;
    if (sink_) sink_->OnMarksVisibilityChanged();
}

void VoKv61MarkedVerses::SetMarked(int verse, bool on) {
    if (bits_.Set(verse, on)) Notify();
}

void VoKv61MarkedVerses::ClearAll() {
    bits_.ClearAll();
    Notify();
}

void VoKv61MarkedVerses::Notify() {
    dirty_ = true;
    if (sink_) sink_->OnMarksChanged();
}

bool VoKv61MarkedVerses::Export(const char* path) const {
    return WriteMarkFile(path, bits_.GetWords(), bits_.GetWordCount());
}

bool VoKv61MarkedVerses::Import(const char* path, bool merge) {
    std::vector<BYTE> bytes;
    if (!ReadMarkFile(path, bits_.GetWordCount() * 4, &bytes)) return false;
    // Everything is read and valid: only now do the words change.
    UINT32* words = bits_.GetWords();
    if (!merge) bits_.ClearAll();
    for (size_t at = 0; at < bytes.size(); at += 4) {
        UINT32 word = 0;
        for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i) word |= UINT32(bytes[at + i]) << (8 * i);
        words[at / 4] |= word;
    }
    bits_.MaskPadding();
    Notify();
    return true;
}
