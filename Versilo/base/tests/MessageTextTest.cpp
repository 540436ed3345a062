// LoadResString, VoTextArg and FormatResString on the program's real string table (linked
// into this test) and on the test's own templates.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "MessageText.h"
#include "TestText.h"

namespace {

std::string Format(UINT id, VoTextArg a1 = VoTextArg(), VoTextArg a2 = VoTextArg(), VoTextArg a3 = VoTextArg(),
                   VoTextArg a4 = VoTextArg()) {
    char buffer[kTextCapacity + 1];
    buffer[kTextCapacity] = 'Z';  // one past the caller's buffer: never written
    std::memset(buffer, '#', kTextCapacity);
    char* result = FormatResString(buffer, id, a1, a2, a3, a4);
    EXPECT_EQ(buffer, result);
    EXPECT_EQ('Z', buffer[kTextCapacity]);
    return buffer;
}

const std::wstring kPasswordTail =
    L" er passordbeskyttet. Du m\u00e5 oppgi passordet for \u00e5 kunne gj\u00f8re endringer.";

TEST(FormatResStringTest, UpperCasesTheFirstLetterOfAnUArgument) {
    EXPECT_EQ(Ansi((L"Mine notater" + kPasswordTail).c_str()), Format(134, "mine notater"));
    // A letter of the code page's upper half, and an argument that is already upper case.
    EXPECT_EQ(Ansi((L"\u00c5rbok for \u00e5r" + kPasswordTail).c_str()),
              Format(134, Ansi(L"\u00e5rbok for \u00e5r").c_str()));
    EXPECT_EQ(Ansi((L"KV61" + kPasswordTail).c_str()), Format(134, "KV61"));
}

TEST(FormatResStringTest, PercentSequences) {
    struct Case {
        UINT id;
        const char* expected;
    };
    const Case cases[] = {
        {60000, "100% sikkert"},           // "%%" is one "%"
        {60001, "x%1"},                    // "%x" keeps the x; "%U%" keeps the second "%", then "1" is text
        {60002, "versjon 5"},              // "%5" is no argument: just the digit
        {60003, "slutt "},                 // a final "%" writes nothing
        {60006, "slutt "},                 // nor a final "%U"
        {60007, "arg ARG2"},               // "%U" before a letter is dropped
        {60005, "Arg og Arg"},             // an argument used twice
        {60008, ""},                       // an empty template
        {59999, ""},                       // a missing template
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, Format(c.id, "Arg", "aRG2")) << c.id;
}

TEST(FormatResStringTest, ArgumentKinds) {
    // Kind 1 (text), kind 2 (string resource), kind 0 (nothing), and a null text.
    EXPECT_EQ(Ansi(L"[tekst|Skrift||]"), Format(60004, "tekst", VoTextArg::Resource(130), VoTextArg(),
                                                 static_cast<const char*>(nullptr)));
    EXPECT_EQ("[|||]", Format(60004));
    EXPECT_EQ(Ansi(L"[Oversettelser|Bibel|Skrift|]"),
              Format(60004, VoTextArg::Resource(137), VoTextArg::Resource(129), VoTextArg::Resource(130),
                     VoTextArg::Resource(59999)));
}

TEST(FormatResStringTest, ResultIsCutAt255Characters) {
    std::string longArg(300, 'x');
    std::string result = Format(134, longArg.c_str());
    EXPECT_EQ(255u, result.size());
    EXPECT_EQ("X" + std::string(254, 'x'), result);

    // The argument is cut where the template's own text has left off.
    result = Format(60005, longArg.c_str());
    EXPECT_EQ(255u, result.size());
    EXPECT_EQ(std::string(255, 'x'), result);

    // The second use of an argument gets what room is left.
    std::string y(200, 'y');
    EXPECT_EQ(y + " og " + std::string(51, 'y'), Format(60005, y.c_str()));
}

TEST(VoTextArgTest, GetTextHonoursTheCapacity) {
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    VoTextArg text("abcdefghij");
    EXPECT_EQ(buffer, text.GetText(buffer, 4));
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ('#', buffer[4]);

    EXPECT_STREQ("Skr", VoTextArg::Resource(130).GetText(buffer, 4));
    EXPECT_EQ(VoTextArg::kResource, VoTextArg::Resource(130).GetKind());
    EXPECT_STREQ("", VoTextArg().GetText(buffer, sizeof(buffer)));
    EXPECT_EQ(VoTextArg::kEmpty, VoTextArg().GetKind());
    buffer[0] = '#';
    VoTextArg("x").GetText(buffer, 0);  // no room at all: nothing written
    EXPECT_EQ('#', buffer[0]);
}

TEST(LoadResStringTest, LoadsTextsAndGivesEmptyForMissingOnes) {
    char buffer[kTextCapacity];
    EXPECT_EQ(buffer, LoadResString(buffer, 130));
    EXPECT_STREQ("Skrift", buffer);
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_STREQ("", LoadResString(buffer, 59999));
}

// Closes the next message box of this thread once it is up (a thread timer runs in its
// modal loop) and keeps its caption and text.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &MessageBoxCatcher::OnTimer);
    }
    ~MessageBoxCatcher() {
        if (timer_) KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::string caption, text;

private:
    static BOOL CALLBACK TakeBox(HWND window, LPARAM) {
        char name[32];
        if (!GetClassNameA(window, name, sizeof(name)) || lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window))
            return TRUE;
        char buffer[512];
        GetWindowTextA(window, buffer, sizeof(buffer));
        current_->caption = buffer;
        GetDlgItemTextA(window, 0xFFFF, buffer, sizeof(buffer));
        current_->text = buffer;
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_) EnumThreadWindows(GetCurrentThreadId(), &MessageBoxCatcher::TakeBox, 0);
    }
    static MessageBoxCatcher* current_;
    UINT_PTR timer_ = 0;
};
MessageBoxCatcher* MessageBoxCatcher::current_ = nullptr;

TEST(VoMessageBoxTest, CaptionIsTheProgramTitleUnlessTold) {
    char text[kTextCapacity];
    {
        MessageBoxCatcher catcher;
        EXPECT_EQ(IDOK, VoMessageBox(nullptr, FormatResString(text, 211, "KJV"), MB_OK | MB_ICONHAND));
        EXPECT_EQ("Versilo", catcher.caption);
        EXPECT_EQ(Ansi(L"Klarte ikke \u00e5pne KJV."), catcher.text);
    }
    {
        MessageBoxCatcher catcher;
        EXPECT_EQ(IDOK, VoMessageBox(nullptr, "x", MB_OK, 130));
        EXPECT_EQ("Skrift", catcher.caption);
    }
}

TEST(ResourceModuleTest, DefaultsToTheExecutableAndCanBeSet) {
    EXPECT_EQ(GetModuleHandleA(nullptr), GetResourceModule());
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetResourceModule(kernel);
    EXPECT_EQ(kernel, GetResourceModule());
    char buffer[kTextCapacity];
    EXPECT_STRNE("Skrift", LoadResString(buffer, 130));
    SetResourceModule(nullptr);
    EXPECT_STREQ("Skrift", LoadResString(buffer, 130));
}

}  // namespace
