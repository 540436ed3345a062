// LoadResString, VoTextArg and FormatResString.
//
// Texts are ANSI in the system code page; the formatter walks whole characters (CharNext)
// so that a double-byte character is never split, neither where the template is cut nor
// where an argument is cut to the room left.
#include "MessageText.h"
#include <cstring>

namespace {

HINSTANCE g_resourceModule = nullptr;

// Copies as many whole characters of text as fit before limit; returns the new end.
char* CopyWholeCharacters(char* out, char* limit, const char* text) {
    const char* p = text;
    while (*p) {
        const char* next = CharNextA(p);
        size_t n = static_cast<size_t>(next - p);
        if (n == 0 || out + n > limit) break;
        std::memcpy(out, p, n);
        out += n;
        p = next;
    }
    return out;
}

}  // namespace

void SetResourceModule(HINSTANCE module) {
    g_resourceModule = module;
}

HINSTANCE GetResourceModule() {
    return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr);
}

char* VoTextArg::GetText(char* buffer, int capacity) const {
    if (!buffer || capacity <= 0) return buffer;
    buffer[0] = '\0';
    switch (kind_) {
    case kText:
        // Cut by whole characters: a byte count could leave a lead byte without its trail.
        if (value_) *CopyWholeCharacters(buffer, buffer + capacity - 1, reinterpret_cast<const char*>(value_)) = '\0';
        break;
    case kResource:
        if (LoadStringA(GetResourceModule(), static_cast<UINT>(value_), buffer, capacity) <= 0) buffer[0] = '\0';
        break;
    case kEmpty:
        break;
    }
    return buffer;
}

char* LoadResString(char* buffer, UINT id) {
    return VoTextArg::Resource(id).GetText(buffer, kTextCapacity);
}

char* LoadFilterString(char* buffer, UINT id) {
    LoadResString(buffer, id);
    char* p = buffer;
    for (; *p; p = CharNextA(p))
        if (*p == '|') *p = '\0';
    p[1] = '\0';  // a text without a final "|" still ends in two NULs
    return buffer;
}

char* FormatResString(char* buffer, UINT id, VoTextArg arg1, VoTextArg arg2, VoTextArg arg3, VoTextArg arg4) {
    const VoTextArg* args[4] = {&arg1, &arg2, &arg3, &arg4};
    char pattern[kTextCapacity];
    LoadResString(pattern, id);

    char* out = buffer;
    char* const limit = buffer + kTextCapacity - 1;
    const char* p = pattern;
    while (*p && out < limit) {
        if (*p == '%') {
            ++p;
            if (*p == '%') {
                *out++ = '%';
                ++p;
                continue;
            }
            bool upper = false;
            if (*p == 'U') {
                upper = true;
                ++p;
            }
            if (*p >= '1' && *p <= '4') {
                char text[kTextCapacity];
                args[*p - '1']->GetText(text, sizeof(text));
                if (upper && text[0]) CharUpperBuffA(text, static_cast<DWORD>(CharNextA(text) - text));
                out = CopyWholeCharacters(out, limit, text);
                ++p;
                continue;
            }
            // Nothing is written for the "%" (and "U"); what follows is ordinary text,
            // even when it is a "%" itself.
            if (!*p) break;
        }
        const char* next = CharNextA(p);
        size_t n = static_cast<size_t>(next - p);
        if (out + n > limit) break;
        std::memcpy(out, p, n);
        out += n;
        p = next;
    }
    *out = '\0';
    return buffer;
}

int VoMessageBox(HWND owner, const char* text, UINT type, UINT captionId) {
    char caption[kTextCapacity];
    LoadResString(caption, captionId);
    return MessageBoxA(owner, text, caption, type);
}
