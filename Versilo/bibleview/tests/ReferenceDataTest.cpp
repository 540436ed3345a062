// Copied verses read back from the OLE clipboard: the plain text, the "HTML Format"
// document with its offsets and the "VersiloReference" record, read into the pane's own
// numbering and into the sample variant numbering; and the blocks the reference reader
// refuses, each medium released.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "KjvWindowFixture.h"
#include "OfferedData.h"
#include "OleHandles.h"
#include "ReferenceData.h"
#include "SampleTables.h"
#include "SampleVersifications.h"

namespace {

constexpr int kBookRomans = 44;

std::string GlobalText(IDataObject* data, UINT format) {
    GlobalMemory block(GetDataObjectGlobal(data, format));
    GlobalLocked<char> bytes(block.Get());
    if (!bytes.Get()) return std::string();
    return std::string(bytes.Get(), strnlen(bytes.Get(), bytes.Size()));
}

long HtmlOffset(const std::string& doc, const char* name) {
    const size_t at = doc.find(name);
    return at == std::string::npos ? -1 : std::strtol(doc.c_str() + at + std::strlen(name), nullptr, 10);
}

class ReferenceDataTest : public KjvWindowTest {
protected:
    static void SetUpTestSuite() {
        KjvWindowTest::SetUpTestSuite();
        std::string failed;
        ASSERT_TRUE(CopySampleTables(&failed)) << failed;
        BuildVariantStat(variant_.Put());
    }
    static void TearDownTestSuite() { variant_.Reset(); }

    void SetUp() override {
        KjvWindowTest::SetUp();
        ASSERT_TRUE(ole_.Ok());
        ASSERT_TRUE(variant_);
        format_ = pane_.GetReferenceFormat();
    }
    // The clipboard's data object lives in VoView.dll, which the fixture unloads: its data
    // is rendered first.
    void TearDown() override {
        OleFlushClipboard();
        KjvWindowTest::TearDown();
    }

    IBibleStat* Kjv() { return pane_.Objects().GetStat(); }
    GUID KjvIdentity() {
        GUID identity = {};
        Kjv()->GetGuid(&identity, FALSE);
        return identity;
    }
    // A reference of the variant numbering: (book, chapter, verse), extended to lastVerse
    // when it is given.
    static int VariantRef(int book, int chapter, int verse, int lastVerse = -1) {
        ComPtr<IBibleHandles> handles;
        variant_->QueryInterface(IID_IBibleHandles, handles.PutVoid());
        int ref = 0;
        handles->MakeRef(&ref, book, chapter, verse);
        if (lastVerse >= 0) handles->ExtendRef(&ref, book, chapter, lastVerse);
        return ref;
    }

    OleInitialization ole_;
    UINT format_ = 0;
    static inline ComPtr<IBibleStat> variant_;
};

TEST_F(ReferenceDataTest, CopiedVersesReadBackFromTheClipboard) {
    pane_.SetBook(kBookPsalms);
    Show(kClientW);
    pane_.SetChapter(2);
    const int first = pane_.ChapterItem(2) + 2;  // Psalm 3:3-5
    SendMessageA(window_, TWM_SELECTRANGE, static_cast<WPARAM>(first), first + 3);
    SendMessageA(window_, TWM_SETCARET, static_cast<WPARAM>(first + 1), 0);
    SendMessageA(window_, WM_COPY, 0, 0);
    ComPtr<IDataObject> data;
    ASSERT_EQ(S_OK, OleGetClipboard(data.Put()));

    // The reference record: the range in the pane's numbering with its identity.
    const int range = pane_.MakeRangeRef(first, first + 3);
    ASSERT_NE(0, range);
    GlobalMemory block(GetDataObjectGlobal(data.Get(), format_));
    ASSERT_TRUE(block);
    {
        GlobalLocked<char> bytes(block.Get());
        ASSERT_GE(bytes.Size(), static_cast<SIZE_T>(kReferenceRecordSize));
        EXPECT_EQ(Record(range, KjvIdentity()), std::string(bytes.Get(), kReferenceRecordSize));
    }
    // Read into the same numbering it stays as it was; into the variant numbering (a title
    // verse before verse 1 of Psalm 3) it moves by one verse.
    EXPECT_EQ(range, ReadReferenceFromDataObject(data.Get(), format_, Kjv()));
    EXPECT_EQ(VariantRef(kBookPsalms, 2, 3, 5), ReadReferenceFromDataObject(data.Get(), format_, variant_.Get()));

    // The plain text, and the HTML document whose offsets say where its parts lie.
    char heading[kFormatRefBufferSize] = {};
    pane_.Objects().GetLangStat()->FormatRef(heading, range, 0, 0, 0, FALSE);
    const std::string text = GlobalText(data.Get(), CF_TEXT);
    EXPECT_EQ(0u, text.find("3 But thou, O LORD")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\n5 I laid me down")) << text;
    EXPECT_NE(std::string::npos, text.find(std::string("\r\n") + heading + "\r\n\r\n")) << text;

    const std::string doc = GlobalText(data.Get(), RegisterClipboardFormatA("HTML Format"));
    ASSERT_FALSE(doc.empty());
    EXPECT_EQ(95, HtmlOffset(doc, "StartHTML:"));
    EXPECT_EQ(0u, doc.compare(95, 6, "<HTML>"));
    EXPECT_EQ(109, HtmlOffset(doc, "StartFragment:"));
    EXPECT_EQ(0u, doc.compare(109, 8, "<i><sup>"));
    const long endFragment = HtmlOffset(doc, "EndFragment:");
    EXPECT_EQ(0u, doc.compare(static_cast<size_t>(endFragment), 7, "</BODY>")) << doc;
    EXPECT_EQ(static_cast<long>(doc.size()), HtmlOffset(doc, "EndHTML:"));
    EXPECT_NE(std::string::npos, doc.find(std::string("<b>") + heading + "</b>")) << doc;
}

TEST_F(ReferenceDataTest, ConversionsThatFailKeepWhatConvertRefWrote) {
    pane_.SetBook(kBookRomans);
    pane_.SetChapter(15);
    const int first = pane_.ChapterItem(15);
    // Romans 16:23-25: the end has no counterpart in the variant numbering, so the range
    // arrives as its converted start alone.
    const int range = pane_.MakeRangeRef(first + 22, first + 25);
    OfferedBlock cut(format_, TYMED_HGLOBAL, Record(range, KjvIdentity()));
    EXPECT_EQ(VariantRef(kBookRomans, 15, 22), ReadReferenceFromDataObject(&cut, format_, variant_.Get()));
    // Romans 16:25 itself has none: nothing arrives.
    OfferedBlock lost(format_, TYMED_HGLOBAL, Record(pane_.MakeItemRef(first + 24), KjvIdentity()));
    EXPECT_EQ(0, ReadReferenceFromDataObject(&lost, format_, variant_.Get()));
    EXPECT_NE(0, ReadReferenceFromDataObject(&lost, format_, Kjv()));
}

TEST_F(ReferenceDataTest, RefusedBlocksReadNothingAndAreReleased) {
    pane_.SetBook(kBookJohn);
    pane_.SetChapter(2);
    const int ref = pane_.MakeItemRef(pane_.ChapterItem(2) + 15);
    const std::string good = Record(ref, KjvIdentity());
    const GUID stranger = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    struct Case {
        const char* what;
        UINT format;
        DWORD tymed;
        std::string bytes;
        bool nullHandle;
        int expected;
        int gets;  // GetData calls, each of which must be released
    };
    const Case cases[] = {
        {"another format only", CF_TEXT, TYMED_HGLOBAL, good, false, 0, 0},
        {"an empty block", format_, TYMED_HGLOBAL, std::string(), false, 0, 1},
        {"the handle alone", format_, TYMED_HGLOBAL, good.substr(0, 4), false, 0, 1},
        {"one byte short", format_, TYMED_HGLOBAL, good.substr(0, kReferenceRecordSize - 1), false, 0, 1},
        {"a null handle", format_, TYMED_HGLOBAL, good, true, 0, 1},
        {"a stream", format_, TYMED_ISTREAM, good, false, 0, 1},
        {"an unknown numbering", format_, TYMED_HGLOBAL, Record(ref, stranger), false, 0, 1},
        {"a whole record", format_, TYMED_HGLOBAL, good, false, ref, 1},
        {"a longer block", format_, TYMED_HGLOBAL, good + std::string(12, '\xFF'), false, ref, 1},
    };
    for (const Case& c : cases) {
        OfferedBlock block(c.format, c.tymed, c.bytes);
        block.nullHandle = c.nullHandle;
        EXPECT_EQ(c.expected, ReadReferenceFromDataObject(&block, format_, Kjv())) << c.what;
        EXPECT_EQ(c.gets, block.gets) << c.what;
        EXPECT_EQ(c.gets, block.owner.releases) << c.what;
    }
    EXPECT_EQ(0, ReadReferenceFromDataObject(nullptr, format_, Kjv()));
    EXPECT_FALSE(DataObjectHasFormat(nullptr, format_));
}

}  // namespace
