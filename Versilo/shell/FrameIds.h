// Resource and command identifiers of the main window: its menu, accelerators, images,
// child windows and the commands it handles itself.
#pragma once
#include <windows.h>

namespace frame_id {

// Resources.
constexpr UINT kLargeIcon = 107;
constexpr UINT kSmallIcon = 108;
constexpr UINT kMenu = 109;
constexpr UINT kAccelerators = 110;
constexpr UINT kBackCheckBitmap = 142;
constexpr UINT kForwardCheckBitmap = 155;
constexpr UINT kToolbarBitmap = 160;
constexpr UINT kToolbarHotBitmap = 161;
constexpr UINT kToolbarDisabledBitmap = 162;

// Child windows.
constexpr UINT kToolbar = 1000;
constexpr UINT kTranslationCombo = 1001;
constexpr UINT kBookCombo = 1002;
constexpr UINT kChapterCombo = 1003;
constexpr UINT kBookSpin = 1004;
constexpr UINT kChapterSpin = 1005;
constexpr UINT kHitsCombo = 1007;
constexpr UINT kStatusBar = 2000;
constexpr UINT kHostWindow = 3000;
constexpr UINT kMultiPane = 4000;
constexpr UINT kLexiconPane = 5000;

// Commands.
constexpr UINT kOpenItem = 2002;
constexpr UINT kCloseLevel = 2003;
constexpr UINT kBack = 2004;
constexpr UINT kForward = 2005;
constexpr UINT kGoTo = 2006;
constexpr UINT kSearch = 2007;
constexpr UINT kExit = 2008;
constexpr UINT kShowReferences = 2101;
constexpr UINT kFirstReference = 2110;
constexpr UINT kLastReference = 2199;
constexpr UINT kLexiconTitles = 2201;
constexpr UINT kShowMarks = 2301;
constexpr UINT kMarkSelection = 2302;
constexpr UINT kNextMarked = 2303;
constexpr UINT kPreviousMarked = 2304;
constexpr UINT kImportMarks = 2305;
constexpr UINT kExportMarks = 2306;
constexpr UINT kClearMarks = 2309;
constexpr UINT kNewPane = 2401;
constexpr UINT kMultiPaneToggle = 2402;
constexpr UINT kLexiconPaneToggle = 2403;
constexpr UINT kOptions = 2404;
constexpr UINT kBibleInfo = 2501;
constexpr UINT kAbout = 2502;
constexpr UINT kManual = 2503;
constexpr UINT kFirstTranslation = 3001;
constexpr UINT kLastTranslation = 3090;
constexpr UINT kNoLibrary = 3101;
constexpr UINT kFirstLibrary = 3102;
constexpr UINT kLastLibrary = 3190;
constexpr UINT kCopy = 5000;
constexpr UINT kNextFocus = 32773;
constexpr UINT kPreviousFocus = 32774;
constexpr UINT kNextPane = 32793;
constexpr UINT kPreviousPane = 32794;
constexpr UINT kClosePane = 32797;
constexpr UINT kBeep = 32841;

// Most items each numbered menu holds: its command range.
constexpr int kMaxTranslationItems = static_cast<int>(kLastTranslation - kFirstTranslation + 1);  // 90
constexpr int kMaxLibraryItems = static_cast<int>(kLastLibrary - kFirstLibrary + 1);              // 89
constexpr int kMaxReferenceItems = static_cast<int>(kLastReference - kFirstReference + 1);        // 90

// The menu-help timer.
constexpr UINT_PTR kMenuHelpTimer = 100;
constexpr UINT kMenuHelpInterval = 50;

// Strings.
constexpr UINT kIdsNoBibles = 516;
constexpr UINT kIdsBackNone = 113;
constexpr UINT kIdsForwardNone = 114;
constexpr UINT kIdsCloseChapter = 115;
constexpr UINT kIdsCloseBook = 118;
constexpr UINT kIdsNoBook = 119;
constexpr UINT kIdsBackTo = 122;
constexpr UINT kIdsForwardTo = 123;
constexpr UINT kIdsNoLibrary = 1019;
constexpr UINT kIdsNoVerse = 1020;
constexpr UINT kIdsNoReferences = 1021;
constexpr UINT kIdsNoLibraryHelp = 1022;   // 1022 to 1024: help of the placeholder by reason
constexpr UINT kIdsGoToReference = 1025;
constexpr UINT kIdsShowInTranslation = 1026;
constexpr UINT kIdsSwitchTranslation = 1027;
constexpr UINT kIdsLibraryHelp = 3102;

}  // namespace frame_id
