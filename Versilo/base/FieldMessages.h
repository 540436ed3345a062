// Reading numbers from the edit fields of the shell's dialogs, and the messages that name
// the field a wrong entry was made in.
#pragma once
#include <windows.h>

// String resources of the field messages.
constexpr UINT kIdsIntegerExpected = 500;  // "Heltall forventet."
constexpr UINT kIdsFieldError = 501;       // "Feil i feltet %s\n%s."
constexpr UINT kIdsNumberRange = 502;      // "Kun tall mellom %i og %i er lovlige."

// Longest text a number field is read with.
constexpr int kMaxFieldNumberLength = 15;

// A message box under the program title: with a field id, string 501 filled with the
// field's name and text, its closing full stop left out when the text ends with one;
// without one, text itself. Returns MessageBoxA's result.
int ShowFieldMessage(HWND owner, UINT fieldId, const char* text, UINT flags);
// ShowFieldMessage of string messageId, as information.
int ShowFieldMessageId(HWND owner, UINT fieldId, UINT messageId);

// The number in an edit control. False at once for a text longer than
// kMaxFieldNumberLength; false for a text that is no number, after focusing the control
// and saying so when fieldId is not 0 (0: silent).
bool GetFieldUnsigned(HWND edit, UINT fieldId, UINT* value);
// GetFieldUnsigned that also wants minimum <= value <= maximum; a number outside them
// (a number too large for 32 bits among them) gets string 502.
bool GetFieldUnsignedInRange(HWND edit, UINT fieldId, UINT minimum, UINT maximum, UINT* value);
