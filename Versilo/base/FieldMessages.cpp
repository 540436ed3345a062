// Number fields of the shell's dialogs and their messages.
#include "FieldMessages.h"
#include "MessageText.h"
#include "ShellRoutines.h"
#include <cstring>

namespace {

// wsprintfA writes at most 1024 bytes; the pieces put in are kept below that together.
constexpr int kMessageCapacity = 1024;

// The field's text and its reading as a number; kTooLong when it is longer than a number
// field is read.
enum class FieldRead { kNumber, kNotANumber, kTooLarge, kTooLong };

FieldRead ReadField(HWND edit, UINT* value) {
    if (GetWindowTextLengthA(edit) > kMaxFieldNumberLength) return FieldRead::kTooLong;
    char text[kMaxFieldNumberLength + 1] = {};
    GetWindowTextA(edit, text, sizeof(text));
    switch (ParseUnsignedNumber(text, value)) {
    case NumberParse::kNumber: return FieldRead::kNumber;
    case NumberParse::kTooLarge: return FieldRead::kTooLarge;
    default: return FieldRead::kNotANumber;
    }
}

void ComplainNotANumber(HWND edit, UINT fieldId) {
    if (!fieldId) return;
    SetFocus(edit);
    ShowFieldMessageId(GetParent(edit), fieldId, kIdsIntegerExpected);
}

}  // namespace

int ShowFieldMessage(HWND owner, UINT fieldId, const char* text, UINT flags) {
    char message[kMessageCapacity];
    if (fieldId) {
        char pattern[kTextCapacity], field[kTextCapacity], cutText[kTextCapacity];
        LoadResString(pattern, kIdsFieldError);
        LoadResString(field, fieldId);
        lstrcpynA(cutText, text ? text : "", sizeof(cutText));
        // The pattern closes the text with a full stop; a text that has one already keeps
        // just its own.
        const size_t patternLength = std::strlen(pattern), textLength = std::strlen(cutText);
        if (textLength && cutText[textLength - 1] == '.' && patternLength && pattern[patternLength - 1] == '.')
            pattern[patternLength - 1] = '\0';
        wsprintfA(message, pattern, field, cutText);
    } else {
        lstrcpynA(message, text ? text : "", sizeof(message));
    }
    return VoMessageBox(owner, message, flags);
}

int ShowFieldMessageId(HWND owner, UINT fieldId, UINT messageId) {
    char text[kTextCapacity];
    LoadResString(text, messageId);
    return ShowFieldMessage(owner, fieldId, text, MB_ICONINFORMATION);
}

bool GetFieldUnsigned(HWND edit, UINT fieldId, UINT* value) {
    FieldRead read = ReadField(edit, value);
    if (read == FieldRead::kNumber) return true;
    if (read != FieldRead::kTooLong) ComplainNotANumber(edit, fieldId);
    return false;
}

bool GetFieldUnsignedInRange(HWND edit, UINT fieldId, UINT minimum, UINT maximum, UINT* value) {
    UINT number = 0;
    FieldRead read = ReadField(edit, &number);
    if (read == FieldRead::kTooLong) return false;
    if (read == FieldRead::kNotANumber) {
        ComplainNotANumber(edit, fieldId);
        return false;
    }
    if (read == FieldRead::kNumber && minimum <= number && number <= maximum) {
        *value = number;
        return true;
    }
    if (fieldId) {
        SetFocus(edit);
        char pattern[kTextCapacity], text[kTextCapacity];
        LoadResString(pattern, kIdsNumberRange);
        wsprintfA(text, pattern, static_cast<int>(minimum), static_cast<int>(maximum));
        ShowFieldMessage(GetParent(edit), fieldId, text, MB_ICONINFORMATION);
    }
    return false;
}
