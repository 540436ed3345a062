// IVirtualListItemProvider: what a virtual list asks of whoever holds its items: the text
// and image of one row, and the place of a typed text in the provider's order.
#pragma once
#include <windows.h>
#include <unknwn.h>

// Bits of RyVirtualListItem::mask.
constexpr UINT kRyItemImage = 1;  // image wanted
constexpr UINT kRyItemText = 2;   // text wanted, into text (textMax bytes with the NUL)

struct RyVirtualListItem {
    UINT mask;
    int image;
    char* text;
    int textMax;
};

// {01CDDF78-C23C-439D-A9FF-4AA975F92881}
extern "C" const IID IID_IVirtualListItemProvider;

struct IVirtualListItemProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetItem(int index, RyVirtualListItem* item) = 0;
    // The position of text in the provider's order (it may be the count, past the last
    // item) and whether an item matches it exactly.
    virtual HRESULT STDMETHODCALLTYPE FindItem(const char* text, int* index, BYTE* exact) = 0;
};
