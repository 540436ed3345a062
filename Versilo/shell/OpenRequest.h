// The look-up request: another program asks the main window to show a bible place with the
// text "<bible id> <reference>" (the id is the bible file's name without ".vrsb", the
// reference as that bible writes it). It comes as the program's command line or, to a
// running main window, as WM_COPYDATA with the text and its NUL.
#pragma once
#include <windows.h>
#include "BibleWindow.h"

class VoBibleInfoList;

// The data code a sender puts in COPYDATASTRUCT::dwData (a receiver does not insist on it).
constexpr ULONG_PTR kOpenReferenceDataCode = 1000;
// The request text is looked at up to this many characters.
constexpr int kOpenRequestCapacity = 256;
// The bible id is cut to this many characters before ".vrsb" is added.
constexpr int kOpenRequestIdLength = 31;

// The text of a WM_COPYDATA request, bounded by its data: false for a missing block, no
// data or a size of 0; else at most min(cbData, 255) bytes copied and terminated.
bool CopyOpenRequestText(const COPYDATASTRUCT* data, char (&text)[kOpenRequestCapacity]);

// Turns a request text into the position of the place it names in bibles: the last
// installed bible whose file name is the id with ".vrsb" (case ignored) and that opens,
// and a reference its language statistics parse (S_OK). *out is written only on success.
bool ParseOpenRequest(VoBibleInfoList& bibles, const char* text, VoBiblePosition* out);
