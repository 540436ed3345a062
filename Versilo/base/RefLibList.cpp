// VoRefLibList: scanning the RefLibs directory and naming its libraries.
#include "RefLibList.h"
#include "ComPtr.h"
#include "DataDirectories.h"
#include "VoUtil.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kMaxListedRefLibs = 256;

}  // namespace

HRESULT OpenRefLibFile(const char* fileName, IBibleRefLib** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!fileName) return E_POINTER;
    char path[kDirectoryCapacity];
    GetRefLibsDirectory(path);
    if (std::strlen(path) + std::strlen(fileName) >= sizeof(path)) return E_INVALIDARG;
    lstrcatA(path, fileName);
    HRESULT hr = OpenBibleRefLibFile(path, out);
    if (FAILED(hr) && *out) {
        (*out)->Release();
        *out = nullptr;
    }
    return hr;
}

void VoRefLibEntry::Init(const char* name) {
    fileName[0] = '\0';
    title[0] = '\0';
    lstrcpynA(fileName, name ? name : "", sizeof(fileName));
    ComPtr<IBibleRefLib> library;
    if (SUCCEEDED(OpenRefLibFile(fileName, library.Put())) && library) {
        if (FAILED(library->GetName(title, sizeof(title)))) title[0] = '\0';
    }
}

VoRefLibList::VoRefLibList() {
    std::unique_ptr<char[][kListedNameSize]> names(new (std::nothrow) char[kMaxListedRefLibs][kListedNameSize]);
    if (!names) return;
    char directory[kDirectoryCapacity];
    int count = ScanDirectory(GetRefLibsDirectory(directory), "brf", names.get(), kMaxListedRefLibs);
    entries_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        VoRefLibEntry entry;
        entry.Init(names[i]);
        auto place = std::upper_bound(entries_.begin(), entries_.end(), entry,
                                      [](const VoRefLibEntry& a, const VoRefLibEntry& b) {
                                          return lstrcmpiA(a.fileName, b.fileName) < 0;
                                      });
        entries_.insert(place, entry);
    }
}
