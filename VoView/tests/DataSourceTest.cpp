// The text window's data source on its own: the cache as the item server fills it, the
// data object over it, the format enumerator and the drop source's answers.
#include <windows.h>
#include <ole2.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "ComPtr.h"
#include "DataSource.h"
#include "DropSource.h"
#include "FormatEnum.h"
#include "Handles.h"

namespace {

FORMATETC Format(CLIPFORMAT cf, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT, LONG index = -1) {
    return {cf, nullptr, aspect, index, tymed};
}

std::string TextOf(HGLOBAL h) {
    GlobalLocked<char> p(h);
    return p.Get() ? std::string(p.Get(), strnlen(p.Get(), p.Size())) : std::string("<unlocked>");
}

class DataSourceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, XDataSource::Create(&source_, &data_));
        cfHtml_ = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format"));
    }
    HRESULT Put(UINT cf, const char* text, FORMATETC* f = nullptr) {
        return source_->SetData(cf, text, static_cast<int>(std::strlen(text) + 1), f);
    }
    std::string Get(FORMATETC f) {
        STGMEDIUM m = {};
        const HRESULT hr = data_->GetData(&f, &m);
        if (hr != S_OK) return "hr " + std::to_string(hr);
        EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), m.tymed);
        EXPECT_EQ(nullptr, m.pUnkForRelease);
        std::string text = TextOf(m.hGlobal);
        ReleaseStgMedium(&m);
        return text;
    }
    std::vector<CLIPFORMAT> Enumerated(DWORD direction = DATADIR_GET) {
        ComPtr<IEnumFORMATETC> e;
        EXPECT_EQ(S_OK, data_->EnumFormatEtc(direction, e.Put()));
        std::vector<CLIPFORMAT> list;
        FORMATETC f;
        while (e && e->Next(1, &f, nullptr) == S_OK) {
            list.push_back(f.cfFormat);
            CoTaskMemFree(f.ptd);
        }
        return list;
    }

    ComPtr<ISimpleDataSource> source_;
    ComPtr<IDataObject> data_;
    CLIPFORMAT cfHtml_ = 0;
};

TEST_F(DataSourceTest, TheSameFormatCachedTwiceIsReplacedAndEnumeratedOnce) {
    ASSERT_EQ(S_OK, Put(CF_TEXT, "first"));
    ASSERT_EQ(S_OK, Put(cfHtml_, "<b>html</b>"));
    ASSERT_EQ(S_OK, Put(CF_TEXT, "second"));
    EXPECT_EQ((std::vector<CLIPFORMAT>{CF_TEXT, cfHtml_}), Enumerated());
    EXPECT_TRUE(Enumerated(DATADIR_SET).empty());
    EXPECT_EQ("second", Get(Format(CF_TEXT)));
    EXPECT_EQ("<b>html</b>", Get(Format(cfHtml_)));
    // Each GetData hands out a copy of its own.
    EXPECT_EQ("second", Get(Format(CF_TEXT)));
}

TEST_F(DataSourceTest, RequestsThatDoNotMatchTheCache) {
    ASSERT_EQ(S_OK, Put(CF_TEXT, "text"));
    const struct {
        const char* what;
        FORMATETC f;
        HRESULT expected;
    } cases[] = {
        {"cached", Format(CF_TEXT), S_OK},
        {"any medium that includes global memory", Format(CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM), S_OK},
        {"stream only", Format(CF_TEXT, TYMED_ISTREAM), DV_E_FORMATETC},
        {"another aspect", Format(CF_TEXT, TYMED_HGLOBAL, DVASPECT_THUMBNAIL), DV_E_FORMATETC},
        {"another index", Format(CF_TEXT, TYMED_HGLOBAL, DVASPECT_CONTENT, 0), DV_E_FORMATETC},
        {"absent format", Format(CF_UNICODETEXT), DV_E_FORMATETC},
    };
    for (const auto& c : cases) {
        FORMATETC f = c.f;
        EXPECT_EQ(c.expected, data_->QueryGetData(&f)) << c.what;
        STGMEDIUM m = {};
        const HRESULT hr = data_->GetData(&f, &m);
        EXPECT_EQ(c.expected, hr) << c.what;
        if (hr == S_OK) ReleaseStgMedium(&m);
    }
    FORMATETC out = {};
    FORMATETC in = Format(CF_TEXT);
    EXPECT_EQ(DATA_S_SAMEFORMATETC, data_->GetCanonicalFormatEtc(&in, &out));
    EXPECT_EQ(0, out.cfFormat);
}

TEST_F(DataSourceTest, AnEntryForADeviceAnswersEveryDeviceAndIsReplacedByTheSameFormat) {
    // With no entry of an equal device, the last entry of the format answers; caching the
    // format again replaces it whatever its device.
    alignas(DVTARGETDEVICE) BYTE device[sizeof(DVTARGETDEVICE) + 8] = {};
    auto* td = reinterpret_cast<DVTARGETDEVICE*>(device);
    td->tdSize = sizeof device;
    device[sizeof(DVTARGETDEVICE)] = 'P';
    FORMATETC withDevice = Format(CF_TEXT);
    withDevice.ptd = td;
    ASSERT_EQ(S_OK, Put(CF_TEXT, "printer", &withDevice));
    EXPECT_EQ("printer", Get(withDevice));
    EXPECT_EQ("printer", Get(Format(CF_TEXT)));
    device[sizeof(DVTARGETDEVICE)] = 'Q';
    EXPECT_EQ("printer", Get(withDevice));
    // The entry owns a copy of the device, and the enumerator hands out copies of its own.
    ComPtr<IEnumFORMATETC> e;
    ASSERT_EQ(S_OK, data_->EnumFormatEtc(DATADIR_GET, e.Put()));
    FORMATETC f = {};
    ASSERT_EQ(S_OK, e->Next(1, &f, nullptr));
    ASSERT_NE(nullptr, f.ptd);
    EXPECT_NE(td, f.ptd);
    EXPECT_EQ('P', reinterpret_cast<BYTE*>(f.ptd)[sizeof(DVTARGETDEVICE)]);
    CoTaskMemFree(f.ptd);

    ASSERT_EQ(S_OK, Put(CF_TEXT, "screen"));
    EXPECT_EQ(std::vector<CLIPFORMAT>{CF_TEXT}, Enumerated());
    EXPECT_EQ("screen", Get(withDevice));
}

TEST_F(DataSourceTest, GetDataHereFillsTheCallersBlockWhenItHasRoomAndSetsItsType) {
    ASSERT_EQ(S_OK, Put(CF_TEXT, "0123456789"));  // 11 bytes
    struct Case {
        const char* what;
        CLIPFORMAT format;
        DWORD requested;  // the request's media types
        DWORD given;      // the caller's medium type
        SIZE_T block;     // the caller's block; 0: none
        HRESULT expected;
    } cases[] = {
        {"the type filled in", CF_TEXT, TYMED_HGLOBAL, TYMED_HGLOBAL, 32, S_OK},
        {"the type not filled in", CF_TEXT, TYMED_HGLOBAL, TYMED_NULL, 32, S_OK},
        {"either type asked, none filled in", CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM, TYMED_NULL, 32, S_OK},
        {"a block just large enough", CF_TEXT, TYMED_HGLOBAL, TYMED_NULL, 11, S_OK},
        {"a block too small", CF_TEXT, TYMED_HGLOBAL, TYMED_NULL, 4, DV_E_FORMATETC},
        {"a block too small, the type filled in", CF_TEXT, TYMED_HGLOBAL, TYMED_HGLOBAL, 10, DV_E_FORMATETC},
        {"no block", CF_TEXT, TYMED_HGLOBAL, TYMED_NULL, 0, DV_E_FORMATETC},
        {"a format not held", CF_UNICODETEXT, TYMED_HGLOBAL, TYMED_NULL, 32, DV_E_FORMATETC},
        {"a stream asked for", CF_TEXT, TYMED_ISTREAM, TYMED_NULL, 32, DV_E_FORMATETC},
        {"a file asked for, memory given", CF_TEXT, TYMED_FILE, TYMED_HGLOBAL, 32, DV_E_FORMATETC},
    };
    for (const Case& c : cases) {
        FORMATETC f = Format(c.format, c.requested);
        STGMEDIUM m = {};
        m.tymed = c.given;
        GlobalMemory block(c.block ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, c.block) : nullptr);
        m.hGlobal = block.Get();
        EXPECT_EQ(c.expected, data_->GetDataHere(&f, &m)) << c.what;
        // Filled: memory, the data in the caller's own block; refused: the medium untouched.
        EXPECT_EQ(c.expected == S_OK ? static_cast<DWORD>(TYMED_HGLOBAL) : c.given, m.tymed) << c.what;
        EXPECT_EQ(block.Get(), m.hGlobal) << c.what;
        EXPECT_EQ(nullptr, m.pUnkForRelease) << c.what;
        if (c.expected == S_OK) {
            EXPECT_EQ("0123456789", TextOf(m.hGlobal)) << c.what;
        } else if (c.block) {
            EXPECT_EQ("", TextOf(m.hGlobal)) << c.what;
        }
    }

    // A caller's stream stays a stream: the request allows both, but the cache holds memory.
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    STGMEDIUM s = {};
    s.tymed = TYMED_ISTREAM;
    s.pstm = stream.Get();
    FORMATETC both = Format(CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM);
    EXPECT_EQ(DV_E_TYMED, data_->GetDataHere(&both, &s));
    EXPECT_EQ(static_cast<DWORD>(TYMED_ISTREAM), s.tymed);
    EXPECT_EQ(stream.Get(), s.pstm);
}

TEST_F(DataSourceTest, WritingAndBadArgumentsAreRefused) {
    FORMATETC f = Format(CF_TEXT);
    STGMEDIUM m = {};
    EXPECT_EQ(E_POINTER, data_->SetData(nullptr, &m, FALSE));
    EXPECT_EQ(E_POINTER, data_->SetData(&f, nullptr, FALSE));
    EXPECT_EQ(DV_E_FORMATETC, data_->SetData(&f, &m, FALSE));
    EXPECT_EQ(E_INVALIDARG, source_->SetData(CF_TEXT, "x", -1, nullptr));
    EXPECT_EQ(E_POINTER, source_->SetData(CF_TEXT, nullptr, 4, nullptr));
    EXPECT_EQ(E_INVALIDARG, source_->CacheGlobal(CF_TEXT, nullptr, nullptr));
    EXPECT_EQ(E_POINTER, data_->EnumFormatEtc(DATADIR_GET, nullptr));
    EXPECT_TRUE(Enumerated().empty());
    // A stream or any other medium asked for in the cache's place is never set there.
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    FORMATETC asStream = Format(CF_TEXT, TYMED_ISTREAM);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, 3));
    ASSERT_EQ(S_OK, source_->CacheGlobal(CF_TEXT, memory.Release(), &asStream));
    EXPECT_EQ(S_OK, data_->QueryGetData(&f));  // cached as global memory whatever was asked
    EXPECT_EQ(DV_E_FORMATETC, data_->QueryGetData(&asStream));
}

TEST_F(DataSourceTest, ReferencesOfTheDataObjectAreTheSources) {
    ComPtr<IDataObject> again;
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IDataObject, again.PutVoid()));
    EXPECT_EQ(data_.Get(), again.Get());
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IUnknown, unknown.PutVoid()));
    EXPECT_EQ(static_cast<IUnknown*>(data_.Get()), unknown.Get());
    ComPtr<IDropTarget> none;
    EXPECT_EQ(E_NOINTERFACE, data_->QueryInterface(IID_IDropTarget, none.PutVoid()));
    EXPECT_EQ(E_POINTER, data_->QueryInterface(IID_IDataObject, nullptr));
    // Source, data object and the two copies above: four references to one object.
    source_->AddRef();
    EXPECT_EQ(4u, source_->Release());
    again.Reset();
    unknown.Reset();
    source_.Reset();
    data_->AddRef();
    EXPECT_EQ(1u, data_->Release());  // the data object alone keeps the source
}

// An advise sink that records OnDataChange.
class RecordingAdviseSink : public IAdviseSink {
public:
    int changes = 0;
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IAdviseSink) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override { ++changes; }
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override {}
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override {}
};

TEST_F(DataSourceTest, AdviseConnectionsHearTheDataStopAndAreReleased) {
    ComPtr<IEnumSTATDATA> advises;
    EXPECT_EQ(OLE_E_NOCONNECTION, data_->DUnadvise(1));
    EXPECT_EQ(E_FAIL, data_->EnumDAdvise(advises.Put()));
    ASSERT_EQ(S_OK, Put(CF_TEXT, "text"));
    RecordingAdviseSink sink;
    FORMATETC f = Format(CF_TEXT);
    DWORD connection = 0;
    ASSERT_EQ(S_OK, data_->DAdvise(&f, ADVF_NODATA, &sink, &connection));
    EXPECT_GT(sink.refs, 1);
    EXPECT_EQ(S_OK, data_->EnumDAdvise(advises.Put()));
    advises.Reset();
    source_.Reset();
    data_.Reset();  // the last reference: the data stops
    EXPECT_EQ(1, sink.changes);
    EXPECT_EQ(1, sink.refs);
}

TEST(FormatEnumerator, NextSkipResetAndClone) {
    FORMATETC records[3] = {Format(CF_TEXT), Format(CF_UNICODETEXT), Format(CF_OEMTEXT)};
    ComPtr<IEnumFORMATETC> e;
    ASSERT_EQ(S_OK, CEnumFormatEtc::Create(records, 3, 0, e.Put()));
    FORMATETC out[3] = {};
    ULONG n = 99;
    EXPECT_EQ(E_POINTER, e->Next(2, out, nullptr));  // a null count only with one record
    EXPECT_EQ(S_OK, e->Next(1, out, nullptr));
    EXPECT_EQ(CF_TEXT, out[0].cfFormat);
    // Two left: Next(3) copies two and says so.
    ComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(S_OK, e->Clone(clone.Put()));
    EXPECT_EQ(S_FALSE, e->Next(3, out, &n));
    EXPECT_EQ(2u, n);
    EXPECT_EQ(CF_UNICODETEXT, out[0].cfFormat);
    EXPECT_EQ(CF_OEMTEXT, out[1].cfFormat);
    EXPECT_EQ(S_FALSE, e->Next(1, out, &n));  // at the end
    EXPECT_EQ(0u, n);
    // The clone stands where the original stood.
    EXPECT_EQ(S_OK, clone->Next(1, out, &n));
    EXPECT_EQ(CF_UNICODETEXT, out[0].cfFormat);
    EXPECT_EQ(S_OK, clone->Skip(1));
    EXPECT_EQ(S_FALSE, clone->Skip(1));
    EXPECT_EQ(S_OK, clone->Reset());
    EXPECT_EQ(S_FALSE, clone->Skip(4));
    EXPECT_EQ(S_FALSE, clone->Next(1, out, nullptr));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_OK, e->Next(3, out, &n));
    EXPECT_EQ(3u, n);

    ComPtr<IEnumFORMATETC> empty;
    ASSERT_EQ(S_OK, CEnumFormatEtc::Create(nullptr, 0, 0, empty.Put()));
    EXPECT_EQ(S_FALSE, empty->Next(1, out, &n));
    EXPECT_EQ(0u, n);
}

// Sets the mouse buttons of this thread's key state.
void SetButtons(bool left, bool right) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = left ? 0x80 : 0;
    keys[VK_RBUTTON] = right ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST(DropSource, TheButtonThatStartedTheDragCarriesItTheOtherCancels) {
    const struct {
        const char* what;
        bool left, right;          // down when the drag starts
        BOOL escape;
        DWORD keys;
        HRESULT expected;
    } cases[] = {
        {"left held", true, false, FALSE, MK_LBUTTON, S_OK},
        {"left released", true, false, FALSE, 0, DRAGDROP_S_DROP},
        {"left released with Ctrl", true, false, FALSE, MK_CONTROL, DRAGDROP_S_DROP},
        {"right pressed in a left drag", true, false, FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
        {"Esc in a left drag", true, false, TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {"right held", false, true, FALSE, MK_RBUTTON, S_OK},
        {"right released", false, true, FALSE, 0, DRAGDROP_S_DROP},
        {"left pressed in a right drag", false, true, FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
        {"both down at the start: the left drags", true, true, FALSE, MK_LBUTTON, S_OK},
        {"no button at the start", false, false, FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_DROP},
    };
    for (const auto& c : cases) {
        SetButtons(c.left, c.right);
        ComPtr<IDropSource> source;
        ASSERT_EQ(S_OK, XDropSource::Create(source.Put()));
        SetButtons(false, false);
        EXPECT_EQ(c.expected, source->QueryContinueDrag(c.escape, c.keys)) << c.what;
        EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY)) << c.what;
    }
}

}  // namespace
