// Holders: a saved DC state comes back whole, locked global memory is unlocked, a holder
// on no window takes no DC (not the screen's), and the OLE value holders free what they own.
#include <gtest/gtest.h>
#include <cstring>
#include <new>
#include "Handles.h"
#include "OleHandles.h"
#include "UserHandles.h"

namespace {

TEST(Holders, SavedDcStateRestoresObjectsAndColours) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ font = GetCurrentObject(dc.Get(), OBJ_FONT);
    SetTextColor(dc.Get(), RGB(1, 2, 3));
    {
        SavedDcState saved(dc.Get());
        SelectObject(dc.Get(), GetStockObject(ANSI_FIXED_FONT));
        SetTextColor(dc.Get(), RGB(9, 9, 9));
        SetBkMode(dc.Get(), TRANSPARENT);
    }
    EXPECT_EQ(font, GetCurrentObject(dc.Get(), OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc.Get()));
    EXPECT_EQ(OPAQUE, GetBkMode(dc.Get()));
    SavedDcState none(nullptr);  // nothing to save, nothing restored
}

TEST(Holders, GlobalMemoryIsUnlockedAfterItsScope) {
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(memory);
    {
        GlobalLocked<char> bytes(memory.Get());
        ASSERT_NE(nullptr, bytes.Get());
        EXPECT_GE(bytes.Size(), 16u);
        bytes.Get()[0] = 'x';
        EXPECT_EQ(1u, GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT);
    }
    EXPECT_EQ(0u, GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT);
    GlobalLocked<char> none(nullptr);
    EXPECT_EQ(nullptr, none.Get());
}

TEST(Holders, NoWindowGivesNoDeviceContext) {
    WindowDc dc(nullptr);
    EXPECT_EQ(nullptr, dc.Get());
    PaintDc paint(nullptr);
    EXPECT_EQ(nullptr, paint.Get());
}

TEST(Holders, UserInterfaceHandlesAreDestroyed) {
    MenuHandle menu(CreatePopupMenu());
    ASSERT_TRUE(menu);
    const HMENU raw = menu.Get();
    menu.Reset();
    EXPECT_FALSE(IsMenu(raw));

    ACCEL keys[] = {{FVIRTKEY, VK_F5, 100}};
    AcceleratorTable table(CreateAcceleratorTableA(keys, 1));
    ASSERT_TRUE(table);
    EXPECT_EQ(1, CopyAcceleratorTableA(table.Get(), nullptr, 0));

    ImageListHandle images(ImageList_Create(16, 16, ILC_COLOR32, 1, 1));
    ASSERT_TRUE(images);
    IconHandle icon(CreateIcon(nullptr, 16, 16, 1, 32, nullptr, nullptr));
    if (icon) {
        EXPECT_EQ(0, ImageList_AddIcon(images.Get(), icon.Get()));
    }
}

TEST(Holders, BstrAndVariantOwnTheirStrings) {
    Bstr text(L"Bibelsted");
    EXPECT_EQ(9u, text.Length());
    Bstr moved(std::move(text));
    EXPECT_EQ(nullptr, text.Get());
    EXPECT_STREQ(L"Bibelsted", moved.Get());
    *moved.Put() = SysAllocString(L"Gå til");
    EXPECT_EQ(6u, moved.Length());

    Variant value;
    VARIANT* v = value.Put();
    V_VT(v) = VT_BSTR;
    V_BSTR(v) = moved.Detach();
    VARIANT out;
    value.Detach(&out);
    EXPECT_EQ(VT_EMPTY, V_VT(&value.Get()));
    EXPECT_EQ(VT_BSTR, V_VT(&out));
    VariantClear(&out);
}

TEST(Holders, AVariantTakesAStringWholeAndNeverFreesAStrayPointer) {
    // A string goes in with its type, owned by the holder; a new one replaces it.
    Variant value;
    ASSERT_EQ(S_OK, value.SetString(L"16px"));
    EXPECT_EQ(VT_BSTR, V_VT(&value.Get()));
    EXPECT_STREQ(L"16px", V_BSTR(&value.Get()));
    value.SetBstr(Bstr(L"20px"));
    EXPECT_STREQ(L"20px", V_BSTR(&value.Get()));
    ASSERT_EQ(S_OK, value.SetString(nullptr));
    EXPECT_EQ(VT_BSTR, V_VT(&value.Get()));
    EXPECT_EQ(0u, SysStringLen(V_BSTR(&value.Get())));
    VARIANT out;
    value.Detach(&out);
    EXPECT_EQ(VT_EMPTY, V_VT(&value.Get()));
    EXPECT_EQ(VT_BSTR, V_VT(&out));
    VariantClear(&out);

    // A holder made in memory that held something else (a stack's leftovers) and cleared by
    // Put() holds nothing at all: a type written into it by hand without its string makes
    // the next clear free no leftover pointer.
    alignas(Variant) unsigned char room[sizeof(Variant)];
    memset(room, 0xFE, sizeof room);
    Variant* stray = new (room) Variant;
    VARIANT* raw = stray->Put();
    EXPECT_EQ(VT_EMPTY, V_VT(raw));
    EXPECT_EQ(nullptr, V_BSTR(raw));
    V_VT(raw) = VT_BSTR;
    raw = stray->Put();
    EXPECT_EQ(VT_EMPTY, V_VT(raw));
    EXPECT_EQ(nullptr, V_BSTR(raw));
    stray->~Variant();
}

TEST(Holders, OleInitializationPairsItsCalls) {
    {
        OleInitialization ole;
        ASSERT_TRUE(ole.Ok());
        OleInitialization again;  // S_FALSE: also counted, also undone
        EXPECT_EQ(S_FALSE, again.Result());
    }
    // Undone twice: OLE on this thread starts anew.
    OleInitialization fresh;
    EXPECT_EQ(S_OK, fresh.Result());
}

}  // namespace
