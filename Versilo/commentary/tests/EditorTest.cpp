// The pane's edit box, drop target and bitmap button on real windows: drops through a fake
// data object (a reference, a text starting '<', plain text without its NUL, an empty text,
// nothing), into an enabled and a disabled box; a drag that leaves; a double-click on a
// link; the button's icon. Screenshots of the box and the button.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BmpBtn.h"
#include "CommentaryDialogIds.h"
#include "DropTarget.h"
#include "LexEditWnd.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "ReferenceReader.h"
#include "UserHandles.h"
#include "WindowCapture.h"

namespace {

// Data offered in one format, handed out as a fresh global block each time; the medium's
// release comes back here, so the test sees every block released.
class FakeDataObject : public IDataObject {
public:
    void Offer(CLIPFORMAT format, const std::string& bytes) { offers_.push_back({format, bytes}); }
    int handedOut = 0, released = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const Offer_* offer = Find(format);
        if (!offer) return DV_E_FORMATETC;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, offer->bytes.size() ? offer->bytes.size() : 1);
        void* p = GlobalLock(block);
        memcpy(p, offer->bytes.data(), offer->bytes.size());
        GlobalUnlock(block);
        blocks_.push_back(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = &releaser_;
        ++handedOut;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override { return Find(format) ? S_OK : DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    ~FakeDataObject() {
        for (HGLOBAL b : blocks_) GlobalFree(b);
    }

private:
    struct Offer_ {
        CLIPFORMAT format;
        std::string bytes;
    };
    const Offer_* Find(const FORMATETC* f) const {
        if (!f || !(f->tymed & TYMED_HGLOBAL)) return nullptr;
        for (const Offer_& o : offers_)
            if (o.format == f->cfFormat) return &o;
        return nullptr;
    }
    struct Releaser : IUnknown {
        explicit Releaser(FakeDataObject* o) : owner(o) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
            *out = this;
            return S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override {
            ++owner->released;
            return 1;
        }
        FakeDataObject* owner;
    };
    std::vector<Offer_> offers_;
    std::vector<HGLOBAL> blocks_;
    Releaser releaser_{this};
};

// The pane as the drop targets see it: the reference format and a commentary in the
// common numbering with Norwegian names.
struct FakeOwner : ADropTargetOwner {
    FakeOwner() {
        BuildProtestantStat(stat.Put());
        BuildNorwegianLangStat(stat.Get(), langStat.Put());
    }
    UINT GetReferenceFormat() override { return RegisterClipboardFormatA("VersiloReference"); }
    void GetLexiconBibleStat(ComPtr<IBibleStat>* out) override { *out = stat; }
    void GetLexiconLangStat(ComPtr<IBibleLangStat>* out) override { *out = langStat; }
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> langStat;
};

// Reads every reference as Joh 3:16 (the copy-and-drag code's reader stands behind this).
struct FakeReader : AReferenceReader {
    HRESULT ReadReferenceFromDataObject(IDataObject*, UINT, IBibleStat* target, int* reference) override {
        ComPtr<IBibleHandles> handles;
        if (FAILED(target->QueryInterface(IID_IBibleHandles, handles.PutVoid()))) return E_FAIL;
        return handles->MakeRef(reference, 42, 2, 15);
    }
};

// A top-level window holding the edit box, which records the links it is asked to follow.
struct Host {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == VoLexEditWnd::kFollowLinkMessage) {
            followed.push_back({static_cast<int>(wParam), reinterpret_cast<const char*>(lParam)});
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    Host() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ArticleEditorHost";
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 220,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        editHandle = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                                     8, 8, 300, 160, window, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
        SendMessageA(editHandle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        edit.Attach(editHandle);
        followed.clear();
    }
    ~Host() {
        edit.Detach();
        DestroyWindow(window);
    }
    std::string Text() const {
        char text[256] = {};
        GetWindowTextA(editHandle, text, sizeof text);
        return text;
    }
    POINTL AtStart() const {
        POINT p = {3, 3};
        ClientToScreen(editHandle, &p);
        return {p.x, p.y};
    }
    HWND window = nullptr, editHandle = nullptr;
    VoLexEditWnd edit;
    static inline std::vector<std::pair<int, std::string>> followed;
};

TEST(ArticleEditor, DropsThroughTheDropTarget) {
    FakeOwner owner;
    FakeReader reader;
    const CLIPFORMAT referenceFormat = static_cast<CLIPFORMAT>(owner.GetReferenceFormat());
    struct Row {
        const char* what;
        CLIPFORMAT format;  // 0: nothing offered
        std::string bytes;
        bool linkForm;
        bool enabled;
        DWORD effect;
        std::string text;  // the box's text after the drop ("abc" before)
    } rows[] = {
        {"a reference in link form", referenceFormat, std::string(20, '\1'), true, true, DROPEFFECT_LINK, "<Joh 3:16>abc"},
        {"a reference as plain text", referenceFormat, std::string(20, '\1'), false, true, DROPEFFECT_COPY, "Joh 3:16abc"},
        {"a text starting '<'", CF_TEXT, std::string("<Sal 23>\0", 9), true, true, DROPEFFECT_LINK, "<Sal 23>abc"},
        {"plain text without its NUL", CF_TEXT, "hei", true, true, DROPEFFECT_COPY, "heiabc"},
        {"an empty text", CF_TEXT, std::string("\0", 1), true, true, DROPEFFECT_NONE, "abc"},
        {"nothing the target reads", CF_BITMAP, "x", true, true, DROPEFFECT_NONE, "abc"},
        {"a disabled box", CF_TEXT, "hei", true, false, DROPEFFECT_NONE, "abc"},
    };
    Host host;  // one window for every row: making a top-level window takes long under Wine
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetWindowTextA(host.editHandle, "abc");
        EnableWindow(host.editHandle, row.enabled);
        ComPtr<IDropTarget> target;
        ASSERT_EQ(S_OK, VoDropTarget::Create(&owner, &host.edit, row.linkForm, &reader, target.Put()));
        FakeDataObject data;
        if (row.format) data.Offer(row.format, row.bytes);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        EXPECT_EQ(S_OK, target->DragEnter(&data, 0, host.AtStart(), &effect));
        EXPECT_EQ(row.effect, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        EXPECT_EQ(S_OK, target->DragOver(0, host.AtStart(), &effect));
        EXPECT_EQ(row.effect, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        EXPECT_EQ(S_OK, target->Drop(&data, 0, host.AtStart(), &effect));
        EXPECT_EQ(row.effect, effect);
        EXPECT_EQ(row.text, host.Text());
        EXPECT_EQ(data.handedOut, data.released) << "every medium released";
    }
}

TEST(ArticleEditor, ADragThatLeavesRestoresTheSelection) {
    FakeOwner owner;
    FakeReader reader;
    Host host;
    SetWindowTextA(host.editHandle, "abcdef");
    SendMessageA(host.editHandle, EM_SETSEL, 2, 4);
    ComPtr<IDropTarget> target;
    ASSERT_EQ(S_OK, VoDropTarget::Create(&owner, &host.edit, true, &reader, target.Put()));
    FakeDataObject data;
    data.Offer(CF_TEXT, std::string("hei\0", 4));
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, target->DragEnter(&data, 0, host.AtStart(), &effect));
    DWORD start = 9, end = 9;
    SendMessageA(host.editHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start) << "the caret follows the mouse";
    EXPECT_EQ(S_OK, target->DragLeave());
    SendMessageA(host.editHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(2u, start);
    EXPECT_EQ(4u, end);
    EXPECT_EQ("abcdef", host.Text());
    // Without owner or target every operation is refused.
    ComPtr<IDropTarget> orphan;
    ASSERT_EQ(S_OK, VoDropTarget::Create(nullptr, &host.edit, true, &reader, orphan.Put()));
    EXPECT_EQ(E_UNEXPECTED, orphan->DragEnter(&data, 0, host.AtStart(), &effect));
    EXPECT_EQ(E_UNEXPECTED, orphan->DragOver(0, host.AtStart(), &effect));
    EXPECT_EQ(E_UNEXPECTED, orphan->Drop(&data, 0, host.AtStart(), &effect));
    EXPECT_EQ(E_UNEXPECTED, orphan->DragLeave());
}

TEST(ArticleEditor, ADoubleClickFollowsTheLinkAndSelectsNothing) {
    Host host;
    SetWindowTextA(host.editHandle, ">Joh 3:1. Nikodemus\r\nSe <Joh 3:16, 18> og {Sara}.");
    struct Row {
        int caret;
        int wParam;  // -1: nothing followed
        const char* link;
    } rows[] = {{7, 1, "Joh 3:1"}, {28, 1, "Joh 3:16"}, {44, 0, "Sara"}, {24, -1, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caret);
        Host::followed.clear();
        SendMessageA(host.editHandle, EM_SETSEL, row.caret, row.caret);
        SendMessageA(host.editHandle, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        if (row.wParam < 0) {
            EXPECT_TRUE(Host::followed.empty());
        } else {
            ASSERT_EQ(1u, Host::followed.size());
            EXPECT_EQ(row.wParam, Host::followed[0].first);
            EXPECT_EQ(row.link, Host::followed[0].second);
        }
        DWORD start = 0, end = 0;
        SendMessageA(host.editHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end) << "no word selected";
    }
    UpdateWindow(host.window);
    EXPECT_TRUE(Capture::Of(host.window, true).SaveArtifact("commentary-editor.bmp"));
}

TEST(ArticleEditor, TheBitmapButtonDrawsItsIconOverTheFace) {
    Host host;
    ImageListHandle images(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 3));
    BitmapHandle strip(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIdbLexiconImages),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(strip);
    ASSERT_EQ(0, ImageList_AddMasked(images.Get(), strip.Get(), RGB(255, 0, 255)));
    ASSERT_EQ(3, ImageList_GetImageCount(images.Get()));
    VoBmpBtn button;
    ASSERT_TRUE(button.Create(host.window, RECT{320, 8, 352, 40}, 2));
    char className[32];
    GetClassNameA(button.Handle(), className, sizeof className);
    EXPECT_STREQ("VoBmpButton", className);
    button.SetImage(images.Get(), 0);
    button.Invalidate(true);
    UpdateWindow(button.Handle());
    const Capture enabled = Capture::Of(button.Handle());
    // The face's colour at the corner, the icon's blue book cover in the middle.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), enabled.At(enabled.width - 4, 4));
    const COLORREF cover = enabled.At(enabled.width / 2 + 2, enabled.height / 2 - 3);
    EXPECT_GT(GetBValue(cover), 150) << std::hex << cover;
    EnableWindow(button.Handle(), FALSE);
    UpdateWindow(button.Handle());
    const Capture disabled = Capture::Of(button.Handle());
    const COLORREF grey = disabled.At(disabled.width / 2 + 2, disabled.height / 2 - 3);
    EXPECT_EQ(GetRValue(grey), GetBValue(grey)) << "the next image, greyed: " << std::hex << grey;
    EnableWindow(button.Handle(), TRUE);
    SetFocus(button.Handle());
    UpdateWindow(host.window);
    const Capture focused = Capture::Of(button.Handle());
    EXPECT_EQ(cover, focused.At(focused.width / 2 + 2, focused.height / 2 - 3)) << "the icon stays with the focus";
    EXPECT_TRUE(Capture::Of(button.Handle(), true).SaveArtifact("commentary-bitmap-button.bmp"));
    DestroyWindow(button.Handle());
}

}  // namespace
