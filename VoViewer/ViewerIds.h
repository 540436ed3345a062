// Resource ids, command ids and the messages of the viewer's instance protocol, shared by
// VoViewer.rc and the code.
#pragma once

// Dialogs.
#define IDD_VIEWER 101   // the verse dialog "Dizarivor"
#define IDD_OPTIONS 107  // "Innstillinger"

// Controls of the verse dialog (besides IDOK).
#define IDC_VERSE_TEXT 1000
#define IDC_NEXT_VERSE 3
#define IDC_OPTIONS 4
#define IDC_QUIT 1010

// Controls of the options dialog.
#define IDC_INTERVAL 1006
#define IDC_FIRST_INTERVAL 1007
#define IDC_HIDDEN_BUTTONS 1008
#define IDC_AUTO_START 1009
#define IDC_BIBLE 1011
#define IDC_REF_LIST 1012

#ifndef RC_INVOKED
#include <windows.h>

// Strings of the viewer's table.
constexpr UINT kIdsViewerUnknownError = 3;
constexpr UINT kIdsVerseCaption = 7;      // "Dizarivor - %s"
constexpr UINT kIdsBrowseList = 8;        // "<Slå opp...>"
constexpr UINT kIdsChangeList = 29;       // "Vil du endre mannakornlisten til %s."
constexpr UINT kIdsMinutes = 34;          // "%i minutter"
constexpr UINT kIdsFileMissing = 35;      // "Filen '%s' eksisterer ikke."
constexpr UINT kIdsNotAList = 36;         // "'%s' er ikke en mannakornfil."
constexpr UINT kIdsButtonsHidden = 37;    // "Du kan trykke Alt+I ..."
constexpr UINT kIdsListFilter = 51;       // "Mannakornfiler (*.vrsm) |*.vrsm|Alle filer (*.*)|*.*"
constexpr UINT kIdsBrowseTitle = 53;      // "Bla opp referanse liste fil"
constexpr UINT kIdsNoBibles = 54;         // "... ingen bibelfiler i bibelkatalogen (%s)."
constexpr UINT kIdsNoLists = 55;          // "... ingen mannakornfiler i bibelkatalogen (%s)."
constexpr UINT kIdsInitFailed = 56;       // "Klarte ikke initialiser mannakorn"
constexpr UINT kIdsBibleOpenFailed = 57;  // "Klarte ikke åpne bibelen '%s'."
constexpr UINT kIdsListOpenFailed = 58;   // "Klarte ikke åpne mannakornfilen '%s'."
constexpr UINT kIdsNoListChosen = 59;     // "Ingen mannakornliste er valgt."
constexpr UINT kIdsNoBibleChosen = 60;    // "Ingen bibel er valgt."
constexpr UINT kIdsIncompatible = 61;     // "Bibelen '%s' kan ikke brukes sammen med ..."

// Commands of the verse text's context menu; each is also the id of its text.
constexpr UINT kCmdCopy = 70;
constexpr UINT kCmdOptions = 71;
constexpr UINT kCmdNextVerse = 72;
constexpr UINT kCmdClose = 73;
constexpr UINT kCmdQuit = 74;
constexpr UINT kCmdLookUp = 75;

// The instance protocol and the owner window.
constexpr ULONG_PTR VOVIEWER_COPYDATA_FILE = 123454321;  // a list path for the running viewer
constexpr ULONG_PTR VOVIEWER_COPYDATA_QUIT = 4321234;    // to the verse dialog: end the program
constexpr UINT VOVIEWER_WM_SHOWNOW = WM_USER;            // to the owner window: show the verse now
constexpr UINT VOVIEWER_WM_TRAY = WM_APP + 101;          // the notification icon's callback
constexpr UINT VOVIEWER_TRAY_ID = 1;
constexpr UINT_PTR VOVIEWER_TIMER_MINUTE = 100;
constexpr UINT kMinuteMilliseconds = 60000;
constexpr UINT_PTR VOVIEWER_TIMER_FILEARG = 1234;  // the verse dialog's one-shot timer
constexpr UINT kFileArgMilliseconds = 50;
constexpr ULONG_PTR VO_COPYDATA_LOOKUP = 1000;     // the look-up request to the main program

// The owner window's class and title, and the main program's window class.
constexpr char kViewerWindowClass[] = "VoViewer";
constexpr char kMainWindowClass[] = "Ordhus VoBible";

// Results of the verse dialog.
constexpr INT_PTR kViewerBackToTray = 1;
constexpr INT_PTR kViewerEndProgram = 2;
#endif
