#include "MultiWnd.h"
#include "BibleObjects.h"
#include "VoUtil.h"

namespace {

constexpr char kNoVerseText[] = "Det er ikke valgt et vers i bibelvinduet.";
constexpr int kVerseTextSize = 2048;
constexpr int kTextBoxId = 1;

// One translation's block, or false when the bible can't give the verse.
bool AppendTranslation(VoBibleInfo& info, IBibleStat* sourceStat, int sourceRef, int chapter, int verse,
                       std::string* text) {
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(info.GetBible());
    VoBibleObjects objects;
    if (!bible || !objects.Attach(bible.Get())) return false;
    int ref = 0;
    if (ConvertRef(sourceStat, objects.GetStat(), sourceRef, &ref) != S_OK) return false;
    int b = -1, c = -1, v = -1;
    if (!objects.SplitIndex(ref, &b, &c, &v)) return false;
    std::string label = info.GetShortName();
    if (c != chapter || v != verse) {
        char formatted[kFormatRefBufferSize] = {};
        if (SUCCEEDED(objects.GetLangStat()->FormatRef(formatted, ref, 0, 0, 0, FALSE)))
            label.append(" ").append(formatted);
    }
    char verseText[kVerseTextSize] = {};
    if (objects.GetRangeText(ref, verseText, kVerseTextSize, true) <= 0) return false;
    if (!text->empty()) text->append("\r\n");
    text->append(label).append(":  ").append(verseText).append("\r\n");
    return true;
}

}  // namespace

bool BuildMultiTranslationText(VoBibleInfoList& list, bool showSource, int source, int book, int chapter, int verse,
                               std::string* text) {
    if (source < 0 || source >= list.GetCount()) return false;
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(list.GetAt(source).GetBible());
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (!bible || FAILED(bible->GetBibleStat(stat.Put())) || !stat || FAILED(stat.As(IID_IBibleHandles, &handles)))
        return false;
    int ref = 0;
    if (FAILED(handles->MakeRef(&ref, book, chapter, verse)) || !ref) return false;
    // No fixed buffer: the text grows with the translations, each verse at most
    // kVerseTextSize characters.
    std::string built;
    for (int i = 0; i < list.GetCount(); ++i) {
        const int index = list.GetOrderAt(i);
        if (index == source && !showSource) continue;
        AppendTranslation(list.GetAt(index), stat.Get(), ref, chapter, verse, &built);
    }
    text->swap(built);
    return true;
}

void VoMultiWnd::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = "VoMultiWnd";
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

bool VoMultiWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<VoMultiWnd> map[] = {
        {WM_CREATE, RyOnCreate<&VoMultiWnd::OnCreate>},
        {WM_SIZE, RyOnSize<&VoMultiWnd::OnSize>},
        {WM_SETFONT, RyOnSetFont<&VoMultiWnd::OnSetFont>},
        {WM_CTLCOLORSTATIC, RyOnCtlColor<&VoMultiWnd::OnCtlColorStatic>},
        RyChain<VoMultiWnd>(RyChainBase<VoDockedWnd<VoMultiWnd>, VoMultiWnd>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int VoMultiWnd::OnCreate(const ry::CreateStruct&) {
    const RECT rc = GetInnerRect();
    text_ = ry::MakeWindow(0, "EDIT", kNoVerseText,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                           rc.left, rc.top + 2, rc.right - rc.left - 2, rc.bottom - rc.top - 4, Handle(),
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTextBoxId)), GetModuleHandleA(nullptr),
                           nullptr);
    if (!text_ || !wrap_.Attach(text_)) return -1;
    wrap_.SetText(kNoVerseText);
    return 0;
}

void VoMultiWnd::OnSize(UINT, int cx, int cy) {
    if (text_) MoveWindow(text_, kDockedEdgeWidth, 2, cx - kDockedEdgeWidth - 2, cy - 4, TRUE);
}

void VoMultiWnd::OnSetFont(HFONT font, bool redraw) {
    if (text_) ry::Send(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

HBRUSH VoMultiWnd::OnCtlColorStatic(HDC dc, HWND control) {
    if (control != text_) return nullptr;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

void VoMultiWnd::SetVerse(int bible, int book, int chapter, int verse) {
    if (bible < 0 || book < 0 || chapter < 0 || verse < 0) return;
    bible_ = bible;
    book_ = book;
    chapter_ = chapter;
    verse_ = verse;
    Rebuild();
}

void VoMultiWnd::Rebuild() {
    std::string text;
    if (!bibles_ || !BuildMultiTranslationText(*bibles_, showActive_, bible_, book_, chapter_, verse_, &text)) return;
    if (text_) wrap_.SetText(text);
}
