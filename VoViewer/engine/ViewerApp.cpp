// The viewer's application object: settings, bible and list with their fallbacks, and the
// walk through the list.
#include "ViewerApp.h"
#include "BibleObjects.h"
#include "DataDirectories.h"
#include "MessageText.h"
#include "Registry.h"
#include "ShellRoutines.h"
#include "ViewSettings.h"
#include "ViewerPaths.h"
#include <string>

namespace {

// Bibles tried when neither the setting's nor the default bible opens.
constexpr int kMaxScannedBibles = 256;
constexpr UINT kIdsUnknownError = 3;

// The verse font: the main program's display font face and size.
FontHandle CreateVerseFont() {
    DWORD tenths = 140;
    char face[VoViewSettings::kFaceCapacity] = "Times New Roman";
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS) {
        ReadRegDword(key.Get(), "FontHeigth", &tenths);
        ReadRegString(key.Get(), "FontFaceName", face, sizeof(face));
    }
    LOGFONTA logFont;
    MakeLogFont(&logFont, face, tenths / 10.0);
    return FontHandle(CreateFontIndirectA(&logFont));
}

}  // namespace

VoViewerApp::VoViewerApp() {
    settings_.Load(true);
    char caption[kTextCapacity];
    lstrcpynA(caption_, LoadResString(caption, kIdsViewerCaption), sizeof(caption_));
    char ownPath[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, ownPath, sizeof(ownPath));
    if (n > 0 && n < sizeof(ownPath)) DeriveMainProgramPath(ownPath, mainProgramPath_);
    ::GetBiblesDirectory(biblesDirectory_);
    font_ = CreateVerseFont();
}

VoViewerApp::~VoViewerApp() {
    SaveOnExit();
}

void VoViewerApp::SaveOnExit() const {
    settings_.Save(true);
}

ComPtr<INewBible> VoViewerApp::OpenBible(const char* name) const {
    ComPtr<INewBible> bible;
    char path[MAX_PATH];
    if (!name || !*name || !MakeBiblePath(path, biblesDirectory_, name)) return bible;
    if (FAILED(OpenNewBibleFile(path, bible.Put()))) bible.Reset();
    return bible;
}

bool VoViewerApp::GetListPath(const char* name, char* path) const {
    return name && *name && MakeListPath(path, biblesDirectory_, name);
}

HRESULT VoViewerApp::OpenRefList(const char* path, IRefList* list) {
    VoViewerRefList opened;
    HRESULT hr = opened.Open(path, list);
    if (FAILED(hr)) return hr;
    refList_ = std::move(opened);
    batch_.Clear();  // its texts belong to the old list
    return S_OK;
}

bool VoViewerApp::OpenFirstBible() {
    bible_ = OpenBible(settings_.bible);
    if (bible_) return true;
    bible_ = OpenBible(kDefaultViewerBible);
    if (bible_) {
        lstrcpynA(settings_.bible, kDefaultViewerBible, sizeof(settings_.bible));
        return true;
    }
    char names[kMaxScannedBibles][kListedNameSize];
    const int count = ScanDirectory(biblesDirectory_, "vrsb", names, kMaxScannedBibles);
    for (int i = 0; i < count; ++i) {
        char stem[VoViewerSettings::kBibleSize];
        CopyFileStem(stem, sizeof(stem), names[i]);
        bible_ = OpenBible(stem);
        if (bible_) {
            lstrcpynA(settings_.bible, stem, sizeof(settings_.bible));
            return true;
        }
    }
    return false;
}

bool VoViewerApp::TryList(const char* name) {
    char path[MAX_PATH];
    return GetListPath(name, path) && SUCCEEDED(OpenRefList(path, nullptr));
}

bool VoViewerApp::OpenFallbackList() {
    if (TryList(kDefaultViewerList)) {
        lstrcpynA(settings_.refList, kDefaultViewerList, sizeof(settings_.refList));
        return true;
    }
    // Only the first list the folder names is tried.
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((std::string(biblesDirectory_) + "*.vrsm").c_str(), &found));
    if (!find || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    char stem[VoViewerSettings::kRefListSize];
    CopyFileStem(stem, sizeof(stem), found.cFileName);
    if (!TryList(stem)) return false;
    lstrcpynA(settings_.refList, stem, sizeof(settings_.refList));
    return true;
}

VoViewerInitResult VoViewerApp::Init() {
    if (!bible_ && !OpenFirstBible()) return kViewerNoBible;
    if (!refList_.IsOpen() && !TryList(settings_.refList) && !OpenFallbackList()) return kViewerNoList;
    Prefetch();
    return batch_.GetCount() == 0 ? kViewerNoVerse : kViewerReady;
}

void VoViewerApp::Prefetch() {
    if (!bible_) bible_ = OpenBible(settings_.bible);
    VoBibleObjects objects;
    if (bible_ && objects.Attach(bible_.Get())) langStat_ = ComPtr<IBibleLangStat>(objects.GetLangStat());
    // Without a bible the batch stays empty.
    batch_.Fill(objects, refList_, refList_.GetIndex());
    objects.Clear();
    bible_.Reset();
    // An entry passed over at the start is not the verse shown next.
    if (batch_.HasCurrent()) refList_.MoveTo(batch_.GetPosition());
}

int VoViewerApp::GetCurrentVerse(char* buffer, int size) {
    verseShown_ = true;
    if (!batch_.HasCurrent()) Prefetch();
    if (!batch_.HasCurrent()) {
        if (buffer && size > 0) {
            char text[kTextCapacity];
            lstrcpynA(buffer, LoadResString(text, kIdsUnknownError), size);
        }
        return 0;
    }
    if (buffer && size > 0) lstrcpynA(buffer, batch_.GetText(), size);
    return batch_.GetRef();
}

void VoViewerApp::NextVerse() {
    if (!refList_.IsOpen()) return;
    // Consuming a verse that was never prepared: prepare it first, so that its position,
    // not the next entry's, is the one stepped past.
    if (!batch_.HasCurrent()) Prefetch();
    int next = batch_.Advance();
    // Nothing read at all (no bible): step on by one entry.
    if (!batch_.HasCurrent() && next == refList_.GetIndex()) next = refList_.Following(next);
    refList_.MoveTo(next, true);
}

HRESULT VoViewerApp::ApplySettings(const VoViewerSettings& settings, INewBible* bible, IRefList* list) {
    char oldRefList[VoViewerSettings::kRefListSize];
    lstrcpynA(oldRefList, settings_.refList, sizeof(oldRefList));
    settings_ = settings;
    if (bible) bible_ = ComPtr<INewBible>(bible);
    HRESULT hr = S_OK;
    bool listTaken = false;
    if (list) {
        char path[MAX_PATH];
        hr = GetListPath(settings_.refList, path) ? OpenRefList(path, list) : E_INVALIDARG;
        if (FAILED(hr)) lstrcpynA(settings_.refList, oldRefList, sizeof(settings_.refList));
        listTaken = SUCCEEDED(hr);
    }
    if (bible || listTaken) Prefetch();
    return hr;
}
