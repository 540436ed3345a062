// The viewer's settings record and its list position in the registry.
#include "ViewerSettings.h"
#include "Registry.h"

const char kViewerSubKey[] = "VoViewer";
const char kDefaultViewerBible[] = "KV6104bm";
const char kDefaultViewerList[] = "Dizarivor";

namespace {

const char kIndexValue[] = "index";

void ReadInt(HKEY key, const char* name, int* value) {
    LONG read = 0;
    if (ReadRegInt(key, name, &read)) *value = static_cast<int>(read);
}

}  // namespace

void VoViewerSettings::Load(bool readRegistry) {
    lstrcpynA(bible, kDefaultViewerBible, sizeof(bible));
    lstrcpynA(refList, kDefaultViewerList, sizeof(refList));
    interval = 240;
    firstInterval = 30;
    hiddenButtons = true;
    autoStart = true;
    centered = true;
    if (!readRegistry) return;

    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, kViewerSubKey, kAppKeyRead) != ERROR_SUCCESS) return;
    HKEY k = key.Get();
    ReadRegString(k, "Bible", bible, sizeof(bible));
    ReadRegString(k, "RefList", refList, sizeof(refList));
    ReadInt(k, "Interval", &interval);
    ReadInt(k, "FirstInterval", &firstInterval);
    ReadRegBool(k, "HiddenButtons", &hiddenButtons);
    ReadRegBool(k, "AutoStart", &autoStart);
    ReadRegBool(k, "Centered", &centered);
    ReadInt(k, "x", &x);
    ReadInt(k, "y", &y);
}

void VoViewerSettings::Save(bool positionOnly) const {
    RegKey key;
    if (CreateUserAppKey(key, kViewerSubKey, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    HKEY k = key.Get();
    if (!positionOnly) {
        WriteRegBool(k, "AutoStart", autoStart);
        WriteRegBool(k, "HiddenButtons", hiddenButtons);
        WriteRegInt(k, "Interval", interval);
        WriteRegInt(k, "FirstInterval", firstInterval);
        WriteRegString(k, "Bible", bible);
        WriteRegString(k, "RefList", refList);
    }
    WriteRegBool(k, "Centered", centered);
    WriteRegInt(k, "x", x);
    WriteRegInt(k, "y", y);
}

bool ReadListIndex(DWORD* index) {
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, kViewerSubKey, kAppKeyRead) != ERROR_SUCCESS) return false;
    return ReadRegDword(key.Get(), kIndexValue, index);
}

void WriteListIndex(int index) {
    RegKey key;
    if (CreateUserAppKey(key, kViewerSubKey, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    WriteRegDword(key.Get(), kIndexValue, static_cast<DWORD>(index));
}
