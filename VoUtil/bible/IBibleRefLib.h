// IBibleRefLib and IRefList: a reference library (the cross-references of every verse of
// one numbering) and a reference list (an ordered list of references, as the daily-verse
// lists are).
#pragma once
#include <windows.h>
#include <objidl.h>
#include "IBibleStat.h"

// {83685EC0-81A7-11D0-85CB-0020AF8DC027}
inline const IID IID_IBibleRefLib = {0x83685EC0, 0x81A7, 0x11D0, {0x85, 0xCB, 0x00, 0x20, 0xAF, 0x8D, 0xC0, 0x27}};
// {54802FE1-43AB-11D0-9681-444553540000}
inline const IID IID_IRefList = {0x54802FE1, 0x43AB, 0x11D0, {0x96, 0x81, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

struct IBibleRefLib : public IUnknown {
    // S_OK when positions convert both ways between the bible's numbering and the library's.
    virtual HRESULT STDMETHODCALLTYPE IsCompatible(IBibleStat* bible) = 0;
    // The cross-references of a verse of the bible, in the bible's numbering; S_FALSE when
    // the verse has none.
    virtual HRESULT STDMETHODCALLTYPE GetVerseRefs(IBibleStat* bible, int book, int chapter, int verse,
                                                   int* outHandles, int maxHandles, unsigned* outCount) = 0;
    // Pins (and unpins) the references of the whole bible (book -1), a book (chapter -1) or
    // a chapter in memory.
    virtual HRESULT STDMETHODCALLTYPE LoadRefs(IBibleStat* bible, int book, int chapter) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnloadRefs(IBibleStat* bible, int book, int chapter) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFilePath(char* buf, int len) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName(char* buf, int len) = 0;
};

struct IRefList : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCount(int* out) = 0;
    // The handle of one item, in the list's numbering.
    virtual HRESULT STDMETHODCALLTYPE GetRef(int index, int* outHandle) = 0;
};
