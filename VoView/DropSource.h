// XDropSource: the drop source of the text window's drags. The button held when the drag
// starts carries it; the other button, or Esc, cancels it.
#pragma once
#include <windows.h>
#include <ole2.h>
#include "ComObject.h"

class XDropSource : public ComObjectRoot, public IDropSource {
public:
    static HRESULT Create(IDropSource** out) { return CreateComInstanceAs<XDropSource>(IID_IDropSource, out); }

    void* QueryPart(REFIID iid) {
        return IsEqualIID(iid, IID_IDropSource) ? static_cast<IDropSource*>(this) : nullptr;
    }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        if (escapePressed || (keyState & cancelButtons_)) return DRAGDROP_S_CANCEL;
        if (keyState & dragButton_) return S_OK;
        return DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

protected:
    // Reads the buttons now: the one that is down drags, the other cancels.
    XDropSource() {
        if (::GetKeyState(VK_LBUTTON) < 0) {
            dragButton_ = MK_LBUTTON;
            cancelButtons_ = MK_RBUTTON;
        } else if (::GetKeyState(VK_RBUTTON) < 0) {
            dragButton_ = MK_RBUTTON;
            cancelButtons_ = MK_LBUTTON;
        }
    }

private:
    DWORD dragButton_ = 0;
    DWORD cancelButtons_ = 0;
};
