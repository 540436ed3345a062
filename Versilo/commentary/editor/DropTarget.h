// VoDropTarget: the OLE drop target the commentary pane registers on its edit box and on
// the title box's edit. It turns dropped data into text for an ATextDropTarget: a bible
// reference (converted into the current commentary's numbering and formatted in its
// language; in angle brackets in link form) or plain text (CF_TEXT), and answers OLE with
// the effect the target's answer means: a link for a text starting with '<', else a copy.
#pragma once
#include <windows.h>
#include <oleidl.h>
#include <memory>
#include "ComObject.h"
#include "LexiconInterfaces.h"
#include "TextDropTarget.h"

class AReferenceReader;

// Longest formatted reference a drop gives, without the NUL; longer ones are cut.
constexpr int kMaxDroppedReference = 31;

class VoDropTarget : public ComObjectRoot, public IDropTarget {
public:
    // reader (borrowed) reads the reference format; without one only text is taken.
    explicit VoDropTarget(AReferenceReader* reader) : reader_(reader) {}

    // Makes a drop target over owner and target (both borrowed, and to outlive it).
    static HRESULT Create(ADropTargetOwner* owner, ATextDropTarget* target, bool linkForm, AReferenceReader* reader,
                          IDropTarget** out);
    void Init(ADropTargetOwner* owner, ATextDropTarget* target, bool linkForm);

    void* QueryPart(REFIID iid);

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // The text read at the last DragEnter, or null.
    const char* Text() const { return text_.get(); }

private:
    // S_OK with a text, S_FALSE without one, E_OUTOFMEMORY.
    HRESULT ReadData(IDataObject* data);
    HRESULT ReadReference(IDataObject* data, IBibleStat* stat, IBibleLangStat* langStat);
    HRESULT ReadText(IDataObject* data);
    HRESULT SetText(const char* text, size_t length);
    DWORD EffectFor(bool accepted) const;

    AReferenceReader* reader_;
    ADropTargetOwner* owner_ = nullptr;
    ATextDropTarget* target_ = nullptr;
    std::unique_ptr<char[]> text_;
    bool linkForm_ = false;
};
