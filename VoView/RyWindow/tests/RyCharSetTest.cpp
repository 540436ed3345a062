// The program's windows are ANSI: a character sent through the W functions arrives in the
// code page of the run (Windows-1252, or 1251 when the run is Russian), and common controls
// under such a window send their A notifications. The test program runs once per code page.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "RyMessageMap.h"
#include "RySubclassedWindow.h"
#include "RyWindowImpl.h"
#include "TestText.h"

namespace {

constexpr UINT kList = 5;

class HostWindow : public RyWindowImpl<HostWindow, RyWindowTraits<WS_OVERLAPPEDWINDOW>> {
public:
    static void GetWindowClass(ry::WindowClass& wc) {
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "RyCharSetTest";
    }
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = HostWindow;
        static const RyMessageEntry<Self> map[] = {
            {WM_CHAR, RyOnKey<&Self::OnChar>},
            RyNotify<Self>(kList, LVN_GETDISPINFOA, RyOnNotify<&Self::OnDispInfo>),
            RyNotify<Self>(kList, LVN_GETDISPINFOW, RyOnNotify<&Self::OnWideDispInfo>),
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    UINT character = 0;
    int ansiRequests = 0;
    int wideRequests = 0;
    std::string itemText;

private:
    void OnChar(UINT ch, UINT, UINT) { character = ch; }
    LRESULT OnDispInfo(NMHDR& hdr) {
        ++ansiRequests;
        auto& info = reinterpret_cast<NMLVDISPINFOA&>(hdr);
        if (info.item.mask & LVIF_TEXT) lstrcpynA(info.item.pszText, itemText.c_str(), info.item.cchTextMax);
        return 0;
    }
    LRESULT OnWideDispInfo(NMHDR&) {
        ++wideRequests;
        return 0;
    }
};

// A letter outside ASCII that the run's code page has: Cyrillic under 1251, else 'Š'.
const wchar_t* Letter() { return GetACP() == 1251 ? L"\u0416" : L"\u0160"; }

class CharSetTest : public testing::Test {
protected:
    void SetUp() override {
        if (const char* want = std::getenv("VERSILO_EXPECT_CP")) {
            ASSERT_EQ(static_cast<UINT>(std::atoi(want)), GetACP());
        }
        RyCreateParams p;
        ASSERT_NE(nullptr, host_.Create(p));
        letter_ = Ansi(Letter());
        ASSERT_EQ(1u, letter_.size()) << "code page " << GetACP();
    }
    void TearDown() override { DestroyWindow(host_.Handle()); }
    HostWindow host_;
    std::string letter_;
};

TEST_F(CharSetTest, ACharacterSentAsUtf16ArrivesInTheCodePage) {
    EXPECT_FALSE(IsWindowUnicode(host_.Handle()));
    SendMessageW(host_.Handle(), WM_CHAR, Letter()[0], 1);
    EXPECT_EQ(static_cast<unsigned char>(letter_[0]), host_.character);
    EXPECT_NE(static_cast<UINT>(Letter()[0] & 0xFF), host_.character);  // not the UTF-16 unit cut to a byte

    // The same through a subclassed edit: the text is the letter in the code page.
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, host_.Handle(), nullptr, nullptr, nullptr);
    struct PassThrough : RySubclassedWindow {
        bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
            if (message == WM_CHAR) seen = static_cast<UINT>(wParam);
            return false;
        }
        UINT seen = 0;
    } sub;
    ASSERT_TRUE(sub.Attach(edit));
    SendMessageW(edit, WM_CHAR, Letter()[0], 1);
    EXPECT_EQ(static_cast<unsigned char>(letter_[0]), sub.seen);
    char text[8] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_EQ(letter_, text);
}

TEST_F(CharSetTest, CommonControlsUnderTheWindowSendAnsiNotifications) {
    EXPECT_EQ(NFR_ANSI, SendMessageA(host_.Handle(), WM_NOTIFYFORMAT, 0, NF_QUERY));
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 200, 100, host_.Handle(),
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kList)), nullptr, nullptr);
    ASSERT_NE(nullptr, list);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = LPSTR_TEXTCALLBACKA;
    ASSERT_EQ(0, SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));

    host_.itemText = "Bibel " + letter_;
    char text[32] = {};
    LVITEMA get = {};
    get.pszText = text;
    get.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&get));
    EXPECT_GE(host_.ansiRequests, 1);
    EXPECT_EQ(0, host_.wideRequests);
    EXPECT_EQ(host_.itemText, text);
}

}  // namespace
