// The viewer's settings record and its list position in the registry.
#include "ViewerSettings.h"
#include "Registry.h"

const char kViewerSubKey[] = "VoViewer";
const char kDefaultViewerBible[] = "KV6104bm";
const char kDefaultViewerList[] = "Dizarivor";

namespace {

const char kIndexValue[] = "index";

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

    const AppSettingsKey key(kViewerSubKey, AppSettingsKey::kRead);
    key.Read("Bible", bible, sizeof(bible));
    key.Read("RefList", refList, sizeof(refList));
    key.Read("Interval", &interval);
    key.Read("FirstInterval", &firstInterval);
    key.Read("HiddenButtons", &hiddenButtons);
    key.Read("AutoStart", &autoStart);
    key.Read("Centered", &centered);
    key.Read("x", &x);
    key.Read("y", &y);
}

void VoViewerSettings::Save(bool positionOnly) const {
    const AppSettingsKey key(kViewerSubKey, AppSettingsKey::kWrite);
    if (!positionOnly) {
        key.Write("AutoStart", autoStart);
        key.Write("HiddenButtons", hiddenButtons);
        key.Write("Interval", interval);
        key.Write("FirstInterval", firstInterval);
        key.Write("Bible", bible);
        key.Write("RefList", refList);
    }
    key.Write("Centered", centered);
    key.Write("x", x);
    key.Write("y", y);
}

bool VoViewerSettings::SameChoices(const VoViewerSettings& other) const {
    return lstrcmpA(bible, other.bible) == 0 && lstrcmpA(refList, other.refList) == 0 && interval == other.interval &&
           firstInterval == other.firstInterval && hiddenButtons == other.hiddenButtons && autoStart == other.autoStart;
}

bool VoViewerSettings::DiffersFromStored() const {
    VoViewerSettings stored;
    stored.Load(true);
    return !SameChoices(stored);
}

bool ReadListIndex(DWORD* index) {
    return AppSettingsKey(kViewerSubKey, AppSettingsKey::kRead).Read(kIndexValue, index);
}

void WriteListIndex(int index) {
    AppSettingsKey(kViewerSubKey, AppSettingsKey::kWrite).Write(kIndexValue, static_cast<DWORD>(index));
}
