// Helpers for tests of texts: expected texts written as wide literals, turned into the
// ANSI code page of the test run, and a check of string resources against such texts.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

inline std::string Ansi(const wchar_t* text, UINT codePage = CP_ACP) {
    int n = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(codePage, 0, text, -1, &out[0], n, nullptr, nullptr);
    return out;
}

// True when the run's ANSI code page has double-byte characters.
inline bool DoubleByteCodePage() {
    CPINFO info = {};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2;
}

// One string resource and its expected text.
struct ExpectedText {
    UINT id;
    const wchar_t* text;
};

// Checks string resources of the running executable against their texts in Windows-1252.
template <size_t N>
void ExpectStringResources(const ExpectedText (&expected)[N]) {
    for (const ExpectedText& e : expected) {
        char buffer[256] = {};
        LoadStringA(GetModuleHandleA(nullptr), e.id, buffer, sizeof(buffer));
        EXPECT_EQ(Ansi(e.text, 1252), buffer) << "string " << e.id;
    }
}
