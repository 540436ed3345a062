// The shell's small path, text and number routines.
#include "ShellRoutines.h"
#include "DataDirectories.h"
#include "Handles.h"
#include <cctype>
#include <cstring>
#include <string>

int ScanDirectory(const char* directory, const char* extension, char (*names)[kListedNameSize], int capacity) {
    if (!directory || !extension || !names || capacity <= 0) return 0;
    std::string pattern = directory;
    const char* last = nullptr;
    for (const char* p = directory; *p; p = CharNextA(p)) last = p;
    if (!last || *last != '\\') pattern += '\\';
    pattern += "*.";
    pattern += extension;
    if (pattern.size() >= MAX_PATH) return 0;

    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA(pattern.c_str(), &found));
    if (!find) return 0;
    int count = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        size_t length = std::strlen(found.cFileName);
        if (length >= static_cast<size_t>(kListedNameSize)) continue;
        std::memcpy(names[count], found.cFileName, length + 1);
        ++count;
    } while (count < capacity && FindNextFileA(find.Get(), &found));
    return count;
}

NumberParse ParseUnsignedNumber(const char* text, UINT* value) {
    UINT result = 0;
    bool tooLarge = false;
    const char* p = text;
    for (; *p >= '0' && *p <= '9'; ++p) {
        UINT digit = static_cast<UINT>(*p - '0');
        if (result > (0xFFFFFFFFu - digit) / 10) tooLarge = true;
        else result = result * 10 + digit;
    }
    if (*p) return NumberParse::kNotANumber;
    if (tooLarge) return NumberParse::kTooLarge;
    *value = result;
    return NumberParse::kNumber;
}

bool ParseUnsigned(const char* text, UINT* value) {
    return ParseUnsignedNumber(text, value) == NumberParse::kNumber;
}

char* AppendExtension(char* buffer, int capacity, const char* extension) {
    size_t used = std::strlen(buffer);
    bool dot = extension[0] == '.';
    size_t needed = used + (dot ? 0 : 1) + std::strlen(extension) + 1;
    if (capacity <= 0 || needed > static_cast<size_t>(capacity)) return buffer;
    if (!dot) buffer[used++] = '.';
    std::memcpy(buffer + used, extension, std::strlen(extension) + 1);
    return buffer;
}

const char* FindExtension(const char* path) {
    const char* dot = nullptr;
    const char* p = path;
    for (; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == ':') dot = nullptr;
        else if (*p == '.') dot = p;
    }
    return dot && dot[1] ? dot : p;
}

const char* GetFileNamePart(const char* path) {
    const char* part = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') part = p + 1;
    return part;
}

int CopyWholeCharacters(char* buffer, int size, const char* text, size_t length) {
    if (!buffer || size <= 0) return 0;
    size_t used = 0;
    const size_t room = static_cast<size_t>(size) - 1;
    if (text) {
        for (const char* p = text; *p && static_cast<size_t>(p - text) < length;) {
            const char* next = CharNextA(p);
            const size_t n = static_cast<size_t>(next - p);
            if (n == 0 || used + n > room || static_cast<size_t>(next - text) > length) break;
            std::memcpy(buffer + used, p, n);
            used += n;
            p = next;
        }
    }
    buffer[used] = '\0';
    return static_cast<int>(used);
}

char* TrimBlanks(char* text) {
    // The byte's unsigned value: æ, ø and å are negative as plain chars.
    auto white = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t length = std::strlen(text);
    while (length > 0 && white(text[length - 1])) --length;
    text[length] = '\0';
    size_t start = 0;
    while (start < length && white(text[start])) ++start;
    if (start) std::memmove(text, text + start, length - start + 1);
    return text;
}

char* FormatMenuNumber(char* buffer, int number, bool tenth) {
    if (tenth && number == 9) lstrcpyA(buffer, "10: ");
    else wsprintfA(buffer, number < 9 ? "&%i: " : "%i: ", number);
    return buffer;
}
