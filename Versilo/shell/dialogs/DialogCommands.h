// What the main window's commands of the Bible and Help menus open: the search dialog
// (2007), the bible-information dialog (2501) and the about box (2502). The main window
// routes each command here and acts on what comes back.
#pragma once
#include <windows.h>
#include "IBible.h"
#include "SearchDialog.h"

constexpr UINT kCmdSearch = 2007;
constexpr UINT kCmdBibleInfo = 2501;
constexpr UINT kCmdAbout = 2502;

// The search dialog over bible with the view font, modal over owner. On IDOK, outcome
// holds the hits and the chosen one (the owner goes to outcome->chosenRef when it is not 0
// and lists the hits); otherwise it is left empty. Returns the dialog's result.
INT_PTR RunSearchCommand(HWND owner, IBible* bible, HFONT font, VoSearchOutcome* outcome);

// The bible-information dialog for bible, modal over owner; with no bible, nothing (0).
INT_PTR RunBibleInfoCommand(HWND owner, IBible* bible);

// The about box, modal over owner.
INT_PTR RunAboutCommand(HWND owner);
