// The bible panes' tests run in a folder laid out as a program folder: copies of VoUtil.dll,
// RyTxtUtl.dll and VoView.dll beside the test, the sample numbering tables in its "Bibles"
// folder (VoUtil converts through them), and "Versilo.ini" naming scratch\Bibles, which
// holds the KJV sample bible, "VAR" (a bible of the sample variant numbering written once
// per run), a damaged "zzz.vrsb" and "kv61.vos". Each test gets a scratch HKEY_CURRENT_USER,
// a fake client that records what the panes tell it, and a visible top-level window to put
// the panes in.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BibleInfoList.h"
#include "BibleItemServer.h"
#include "BibleWindow.h"
#include "BibleWriter.h"
#include "DataDirectories.h"
#include "Handles.h"
#include "NorwegianNames.h"
#include "ScratchRegistry.h"
#include "SampleProgramFolder.h"
#include "SampleVersifications.h"
#include "TestWindows.h"
#include "TestFiles.h"
#include "ViewSettings.h"
#include "VoUtil.h"
#include "WindowCapture.h"

// Records every call of a pane or host.
class FakeClient : public ABibleWindowClient {
public:
    FakeClient() = default;
    void OnActiveWindowChanged(unsigned f) override { flags.push_back(f); }
    IBibleRefLib* GetRefLib() override { return refLib; }
    VoViewSettings* GetViewSettings() override { return &settings; }
    void SetStatusText(const char* text) override { status.push_back(text ? text : ""); }
    VoBibleInfoList* GetBibleList() override { return &list; }
    VoKv61MarkedVerses* GetMarkedVerses() override { return nullptr; }
    AVoLexicon* GetLexiconWindow() override { return nullptr; }
    UINT GetReferenceFormat() override { return RegisterClipboardFormatA("VersiloReference"); }
    void EnableCommand(UINT id, unsigned where, bool enable) override {
        enables.push_back({id, where, enable});
    }
    void CheckCommand(UINT, unsigned, bool) override {}

    // The last flags, and forgets them all.
    unsigned TakeFlags() {
        const unsigned f = flags.empty() ? 0xFFFFFFFFu : flags.back();
        flags.clear();
        return f;
    }
    int Index(const char* shortName) const { return list.FindByShortName(shortName); }

    struct Enable {
        UINT id;
        unsigned where;
        bool enable;
    };
    VoBibleInfoList list;
    VoViewSettings settings;
    IBibleRefLib* refLib = nullptr;
    std::vector<unsigned> flags;
    std::vector<std::string> status;
    std::vector<Enable> enables;
};

// A visible top-level window that panes and hosts are children of.
class TestFrame {
public:
    TestFrame(int width, int height) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VersiloPaneTestFrame";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "Versilo", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width,
                               height, nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(hwnd);
    }
    ~TestFrame() { DestroyWindow(hwnd); }
    TestFrame(const TestFrame&) = delete;
    TestFrame& operator=(const TestFrame&) = delete;
    RECT Client() const {
        RECT rc;
        GetClientRect(hwnd, &rc);
        return rc;
    }
    HWND hwnd;
};

// Saves a window's client area as a screenshot artefact.
inline void SaveArtifact(HWND hwnd, const char* name, bool wholeWindow = false) {
    Pump(50);
    UpdateWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(Capture::Of(hwnd, wholeWindow).SaveArtifact(name));
}

// What the screen shows in a rectangle (screen coordinates), popups over their owners as a
// reader sees them, cut to the screen.
inline Capture ScreenArea(RECT area) {
    const Capture screen = Capture::Of(GetDesktopWindow());
    if (area.left < 0) area.left = 0;
    if (area.top < 0) area.top = 0;
    if (area.right > screen.width) area.right = screen.width;
    if (area.bottom > screen.height) area.bottom = screen.height;
    Capture c;
    c.width = area.right > area.left ? area.right - area.left : 0;
    c.height = area.bottom > area.top ? area.bottom - area.top : 0;
    for (int y = 0; y < c.height; ++y) {
        const auto row = screen.pixels.begin() + static_cast<ptrdiff_t>(area.top + y) * screen.width + area.left;
        c.pixels.insert(c.pixels.end(), row, row + c.width);
    }
    return c;
}

// What a window paints of its client area when asked to print it (WM_PRINTCLIENT) into a
// bitmap, top row first.
inline std::vector<COLORREF> PrintedClient(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    WindowDc screen(hwnd);
    MemoryDc memory(CreateCompatibleDC(screen.Get()));
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectedObject selected(memory.Get(), bitmap.Get());
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(memory.Get(), x, y) & 0xFFFFFF);
    return pixels;
}

// Pumps the thread's messages until done answers true or milliseconds have passed; what
// done answers last.
template <typename Done>
bool PumpUntil(Done done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

// A point of item in a pane's text window (client coordinates) where the pane's hit test
// answers part (-1: on no part): the middle of the first run of such points on the first
// row that has one, as the text window itself would hit it.
inline bool FindItemPoint(CVoBibleItemServer* server, HWND text, int item, int part, POINT* found) {
    RECT rc = {};
    if (!SendMessageA(text, TWM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc))) return false;
    RECT client;
    GetClientRect(text, &client);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0)));
    auto partAt = [&](int x, int y) {
        POINT in = {x - rc.left, y - rc.top};
        int hit = -1;
        HCURSOR cursor = nullptr;
        return server->HitTest(dc.Get(), item, &in, rc.right - rc.left, &hit, &cursor) ? hit : -1;
    };
    const int right = rc.right < client.right ? rc.right : client.right;
    for (int y = rc.top + 1; y < rc.bottom && y < client.bottom; y += 2) {
        int x = rc.left + 1;
        while (x < right && partAt(x, y) != part) ++x;
        if (x == right) continue;
        int end = x;
        while (end < right && partAt(end, y) == part) ++end;
        *found = {(x + end - 1) / 2, y};
        return true;
    }
    return false;
}

class PanesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(PrepareSampleProgramFolder());
        const std::string data = SampleBiblesFolder();
        const std::string bibles = Bibles();
        ASSERT_TRUE(CopyFileA((data + "kv61.vos").c_str(), (bibles + "kv61.vos").c_str(), FALSE));
        const std::string kjv = WinePath(VERSILO_KJV_BIBLE);
        ASSERT_TRUE(CopyFileA(kjv.c_str(), (bibles + "KJV.vrsb").c_str(), FALSE));
        // A damaged bible file: not listed unless its names are cached in the registry.
        const std::string damaged = bibles + "zzz.vrsb";
        DeleteFileA(damaged.c_str());
        ASSERT_TRUE(WriteWholeFile(damaged, std::string(4096, 'x')));
        ComPtr<IBibleStat> variant;
        ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
        ComPtr<IBibleLangStat> lang;
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(variant.Get(), lang.Put()));
        BibleWriter w(lang.Get());
        for (int v = 0; v < w.VerseCount(); ++v) {
            int b, c, vv;
            variant->VerseIndexToRef(v, &b, &c, &vv);
            w.SetVerse(v, "Variant " + std::to_string(b + 1) + "." + std::to_string(c + 1) + ":" + std::to_string(vv + 1));
        }
        w.SetNames("Testbibel i variantnummerering", "VAR");
        std::string error;
        ASSERT_TRUE(w.WriteFile(BibleFormat::kNew, bibles + "variant.vrsb", &error)) << error;
    }

    static std::string Bibles() {
        char dir[kDirectoryCapacity];
        return GetBiblesDirectory(dir);
    }

    void SetUp() override { ASSERT_TRUE(registry.Ready()); }

    ScratchRegistry registry;
};
