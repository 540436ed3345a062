// VoBibleInfo: loading a record from the registry and the bible file.
#include "BibleInfo.h"
#include "DataDirectories.h"
#include "Registry.h"
#include "VoUtil.h"
#include <cstring>

namespace {

const char kBiblesKey[] = "bibles\\";

// The highest set bit of settings, as a value; 1 for 0 and 1.
DWORD HighestBit(DWORD settings) {
    DWORD bit = 1;
    while (settings >> 1) {
        settings >>= 1;
        bit <<= 1;
    }
    return bit;
}

}  // namespace

bool VoBibleInfo::KeyPath(char* path, int capacity) const {
    int prefix = static_cast<int>(sizeof(kBiblesKey)) - 1;
    int stem = static_cast<int>(FindExtension(fileName_) - fileName_);
    if (prefix + stem + 1 > capacity) return false;
    std::memcpy(path, kBiblesKey, prefix);
    std::memcpy(path + prefix, fileName_, stem);
    path[prefix + stem] = '\0';
    return true;
}

void VoBibleInfo::ReadCachedValues(bool* headersKnown) {
    char path[64];
    RegKey key;
    if (!KeyPath(path, sizeof(path)) || OpenAppKey(key, HKEY_CURRENT_USER, path, kAppKeyRead) != ERROR_SUCCESS)
        return;
    ReadRegDword(key.Get(), "Settings", &settings_);
    ReadRegString(key.Get(), "ShortName", shortName_, sizeof(shortName_));
    ReadRegString(key.Get(), "LongName", longName_, sizeof(longName_));
    DWORD headers = 0;
    if (ReadRegDword(key.Get(), "HasHeaders", &headers)) {
        hasHeaders_ = headers != 0;
        *headersKnown = true;
    }
}

void VoBibleInfo::WriteCachedNames() const {
    char path[64];
    RegKey key;
    if (!KeyPath(path, sizeof(path)) || CreateUserAppKey(key, path, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    WriteRegString(key.Get(), "ShortName", shortName_);
    WriteRegString(key.Get(), "LongName", longName_);
    WriteRegDword(key.Get(), "HasHeaders", hasHeaders_);
}

void VoBibleInfo::Load(const char* fileName) {
    *this = VoBibleInfo();
    lstrcpynA(fileName_, fileName ? fileName : "", sizeof(fileName_));

    bool headersKnown = false;
    ReadCachedValues(&headersKnown);
    DWORD marker = HighestBit(settings_);
    bool namesMissing = !shortName_[0] || !longName_[0] || !headersKnown;
    if (marker != kBibleSettingsMarker || namesMissing) {
        ComPtr<IBible> opened = ComPtr<IBible>::Attach(GetBible());
        if (opened) {
            if (namesMissing) {
                bible_->GetBibleName(FALSE, shortName_, sizeof(shortName_));
                bible_->GetBibleName(TRUE, longName_, sizeof(longName_));
                hasHeaders_ = bible_->HasSectionTitles() == S_OK ? 1 : 0;
                headersKnown = true;
                WriteCachedNames();
            }
            int display = 0;
            if (marker != kBibleSettingsMarker && SUCCEEDED(bible_->GetTrailerValue(&display))) {
                // Keep the stored bits below the stored marker; the rest comes from the bible.
                DWORD low = marker - 1;
                settings_ = (settings_ & low) | (static_cast<DWORD>(display) & ~low);
                SaveSettings();
            }
        }
    }
    if (headersKnown && !hasHeaders_) settings_ &= ~kBibleShowHeadings;
}

IBible* VoBibleInfo::GetBible() {
    if (!bible_ && fileName_[0]) {
        char path[kDirectoryCapacity];
        GetBiblesDirectory(path);
        if (std::strlen(path) + std::strlen(fileName_) < sizeof(path)) {
            lstrcatA(path, fileName_);
            if (FAILED(OpenNewBibleFile(path, bible_.Put()))) bible_.Reset();
        }
    }
    IBible* bible = bible_.Get();
    if (bible) bible->AddRef();
    return bible;
}

bool VoBibleInfo::SaveSettings() const {
    char path[64];
    RegKey key;
    if (!KeyPath(path, sizeof(path)) || CreateUserAppKey(key, path, kAppKeyReadWrite) != ERROR_SUCCESS) return false;
    return WriteRegDword(key.Get(), "Settings", settings_);
}
