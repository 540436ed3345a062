// VoViewerApp: the viewer's one application object. It keeps the settings, chooses and
// opens a bible and a mannakorn list, walks the list one entry per shown verse (the
// position survives restarts as "index") and prepares the next texts in a batch, so that
// the bible file is open only while texts are read. It also holds what the dialogs share:
// the verse font, the caption and the main program's path.
#pragma once
#include <windows.h>
#include "VoUtil.h"
#include "ComPtr.h"
#include "Handles.h"
#include "ViewerSettings.h"
#include "ViewerRefList.h"
#include "VerseBatch.h"

// Results of VoViewerApp::Init.
enum VoViewerInitResult {
    kViewerReady = 0,
    kViewerNoBible = 1,
    kViewerNoList = 2,
    kViewerNoVerse = 3,
};

class VoViewerApp {
public:
    static constexpr int kCaptionSize = 64;

    // Loads the settings from the registry, the caption, the main program's path and the
    // verse font; the bibles directory is read from "Versilo.ini" once per process.
    VoViewerApp();
    // Saves what the program's end saves (SaveOnExit).
    ~VoViewerApp();
    VoViewerApp(const VoViewerApp&) = delete;
    VoViewerApp& operator=(const VoViewerApp&) = delete;

    // Opens a bible and a list, with their fallbacks, and prepares the first texts.
    VoViewerInitResult Init();

    // Copies the text of the verse to show (cut to size) and returns its reference in the
    // bible's numbering; 0, with the text "En ukjent feil oppsto.", when none could be
    // prepared.
    int GetCurrentVerse(char* buffer, int size);
    // Consumes the current verse: the next one becomes current and its position is stored.
    void NextVerse();
    // Writes what the program's end writes: the position part of the settings (the list
    // position is written as it moves).
    void SaveOnExit() const;

    // Takes the whole settings record; a new bible replaces the held one; a new list is
    // taken under the record's RefList. When the list cannot be taken, the old list, its
    // position and the old RefList stay, and its error is returned; otherwise S_OK.
    HRESULT ApplySettings(const VoViewerSettings& settings, INewBible* bible, IRefList* list);

    // The bible of the bibles directory with this name (without ".vrsb"); null when it
    // does not open.
    ComPtr<INewBible> OpenBible(const char* name) const;
    // Takes list (or the file at path) in place of the open list; a failure keeps the
    // open list and its position.
    HRESULT OpenRefList(const char* path, IRefList* list);
    // The path of a list setting: a full path as it stands, else a list of the bibles
    // directory. False when it does not fit.
    bool GetListPath(const char* name, char* path) const;

    const VoViewerSettings& GetSettings() const { return settings_; }
    VoViewerSettings& GetSettings() { return settings_; }
    const char* GetBiblesDirectory() const { return biblesDirectory_; }
    const char* GetCaption() const { return caption_; }
    // Empty when the main program was not found beside the viewer.
    const char* GetMainProgramPath() const { return mainProgramPath_; }
    HFONT GetVerseFont() const { return font_.Get(); }
    // The open bible's language statistics, for formatting references; null before Init.
    IBibleLangStat* GetLangStat() const { return langStat_.Get(); }
    const VoViewerRefList& GetRefList() const { return refList_; }
    bool WasVerseShown() const { return verseShown_; }

private:
    bool OpenFirstBible();
    bool OpenFallbackList();
    bool TryList(const char* name);
    void Prefetch();

    VoViewerRefList refList_;
    ComPtr<INewBible> bible_;  // only while texts are read
    ComPtr<IBibleLangStat> langStat_;
    char caption_[kCaptionSize] = {};
    char mainProgramPath_[MAX_PATH] = {};
    char biblesDirectory_[MAX_PATH] = {};
    VoViewerSettings settings_;
    VoVerseBatch batch_;
    FontHandle font_;
    bool verseShown_ = false;
};
