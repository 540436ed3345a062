// The pieces of the commentary file layout: var-ints, the scrambler and its records, entry
// text values, stream names, and the reader of the entry list with damaged lists.
#include <gtest/gtest.h>
#include <climits>
#include "LexTestBinding.h"
#include "Scramble.h"
#include "UserLexFormat.h"
#include "VarInt.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s += static_cast<char>(c);
    return s;
}

std::string VarIntBytes(int v) {
    std::string s;
    AppendVarInt(s, v);
    return s;
}

TEST(VarInt, EncodesSignedValuesInFewestGroups) {
    const struct { int value; std::string bytes; } cases[] = {
        {0, Bytes({0x00})},          {-1, Bytes({0x7F})},         {63, Bytes({0x3F})},
        {64, Bytes({0x80, 0x40})},   {-64, Bytes({0x40})},        {-65, Bytes({0xFF, 0x3F})},
        {8191, Bytes({0xBF, 0x7F})}, {8192, Bytes({0x80, 0xC0, 0x00})},
        {INT_MAX, Bytes({0x87, 0xFF, 0xFF, 0xFF, 0x7F})}, {INT_MIN, Bytes({0xF8, 0x80, 0x80, 0x80, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.bytes, VarIntBytes(c.value));
        ByteReader r(c.bytes.data(), c.bytes.size());
        int back = 12345;
        EXPECT_EQ(S_OK, r.VarInt(&back));
        EXPECT_EQ(c.value, back);
        EXPECT_EQ(0u, r.Remaining());
    }
}

TEST(VarInt, ShortOrOverlongFormsFail) {
    int v = 0;
    const std::string cut = Bytes({0x80});
    ByteReader a(cut.data(), cut.size());
    EXPECT_EQ(E_FAIL, a.VarInt(&v));
    ByteReader empty(nullptr, 0);
    EXPECT_EQ(E_FAIL, empty.VarInt(&v));
    const std::string endless = Bytes({0x81, 0x81, 0x81, 0x81, 0x81, 0x01});
    ByteReader b(endless.data(), endless.size());
    EXPECT_EQ(E_FAIL, b.VarInt(&v));
}

TEST(Scramble, PlainByteEqualToStateStaysAndRoundTrips) {
    char text[] = "xyz";
    BYTE seed = 'x';
    ScrambleText(text, seed);
    EXPECT_EQ('x', text[0]);  // equal to the state: stored unchanged, no zero made
    EXPECT_EQ(3u, strlen(text));
    UnscrambleText(text, seed);
    EXPECT_STREQ("xyz", text);

    char all[256];
    for (int i = 0; i < 255; ++i) all[i] = static_cast<char>(i + 1);
    all[255] = '\0';
    for (int s = 1; s < 256; s += 37) {
        char copy[256];
        memcpy(copy, all, sizeof copy);
        ScrambleText(copy, static_cast<BYTE>(s));
        ASSERT_EQ(255u, strlen(copy));
        UnscrambleText(copy, static_cast<BYTE>(s));
        EXPECT_EQ(0, memcmp(all, copy, sizeof copy));
    }
}

TEST(Scramble, RecordsCarryTheirCheckCode) {
    char code[6];
    TextCheckCode("", code);
    EXPECT_STREQ("EMPTY", code);
    TextCheckCode("hemmelig", code);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(isdigit(code[i]) || isupper(code[i])) << code;

    std::string empty = MakeScrambledRecord("", 77);
    ASSERT_EQ(7u, empty.size());  // "A", seed, code; the zero after it makes 8
    EXPECT_EQ('A', empty[0]);
    EXPECT_EQ(77, static_cast<BYTE>(empty[1]));
    char buf[32];
    EXPECT_EQ(1, ReadScrambledRecord(empty.c_str(), buf, sizeof buf));
    EXPECT_STREQ("", buf);

    std::string rec = MakeScrambledRecord("W|secret", 200);
    EXPECT_EQ(std::string::npos, rec.find("secret"));
    EXPECT_EQ(9, ReadScrambledRecord(rec.c_str(), buf, sizeof buf));
    EXPECT_STREQ("W|secret", buf);
    EXPECT_EQ(0, ReadScrambledRecord(rec.c_str(), buf, 8));  // does not fit

    std::string bad = rec;
    bad[9] ^= 0x01;
    strcpy(buf, "junk");
    EXPECT_EQ(0, ReadScrambledRecord(bad.c_str(), buf, sizeof buf));
    EXPECT_STREQ("", buf);
    EXPECT_EQ(0, ReadScrambledRecord("B123456", buf, sizeof buf));
    EXPECT_EQ(0, ReadScrambledRecord("A1234", buf, sizeof buf));
}

TEST(EntryText, PlainAndScrambledValues) {
    EXPECT_EQ(Bytes({0, 0, 3, 'a', 'b', 'c'}), EncodeEntryText("abc", false, 9));
    EXPECT_EQ(Bytes({0, 0, 0}), EncodeEntryText("", true, 9));
    std::string scrambled = EncodeEntryText("abc", true, 9);
    ASSERT_EQ(7u, scrambled.size());
    EXPECT_EQ(Bytes({0, 0, 0x7D, 9}), scrambled.substr(0, 4));  // −3, seed
    std::string text;
    EXPECT_EQ(S_OK, DecodeEntryText(scrambled, &text));
    EXPECT_EQ("abc", text);
    std::string big(70000, 'q');
    EXPECT_EQ(S_OK, DecodeEntryText(EncodeEntryText(big.c_str(), true, 3), &text));
    EXPECT_EQ(big, text);

    const std::string damaged[] = {
        Bytes({0, 0, 5, 'a', 'b'}),   // text runs past the stream
        Bytes({0, 0}),                // no length
        Bytes({0, 0, 0x7D}),          // scrambled without a seed
        Bytes({0, 0, 0x7F, 0, 'a'}),  // seed 0
    };
    for (const std::string& d : damaged) EXPECT_EQ(E_FAIL, DecodeEntryText(d, &text));
}

TEST(StreamNames, OfEveryKind) {
    lextest::TestRefSystem refs;
    int joh = 0;
    ASSERT_EQ(S_OK, refs.Parse("Joh 3:4", &joh));
    const struct { LexKey key; const wchar_t* name; } cases[] = {
        {LexKey::Text(std::string(40, 'k')), L"I_kkkkkkkkkkkkkkkkkkkkkkkkkkkkk"},
        {LexKey::Text("a.b:c/d\\e!f"), L"I_a_b_c_d_e_f"},
        {LexKey::Text("@Moses"), L"I_@Moses"},
        {LexKey::Reference(joh), L"I_Joh_3_4"},
        {LexKey::Date(0x0C18), L"I_.24.12"},
        {LexKey::Date(0x07E90C18), L"I_.24.12.2025"},
    };
    for (const auto& c : cases) {
        std::wstring name;
        EXPECT_EQ(S_OK, EntryStreamName(c.key, refs, &name));
        EXPECT_EQ(std::wstring(c.name), name);
    }
    EXPECT_TRUE(SameStreamName(L"I_Abc", L"I_aBC"));
    EXPECT_FALSE(SameStreamName(L"I_Abc", L"I_Abd"));
}

// Builds list streams, right or damaged, key by key.
struct ListBuilder {
    std::string keys;
    std::string words;
    int count = 0;
    ListBuilder& Text(const std::string& t) {
        AppendVarInt(keys, 0);
        keys += static_cast<char>(t.size());
        keys += t;
        ++count;
        return *this;
    }
    ListBuilder& Date(const std::string& t) {
        AppendVarInt(keys, 2);
        keys += static_cast<char>(t.size());
        keys += t;
        ++count;
        return *this;
    }
    ListBuilder& Word(int v) { AppendVarInt(words, v); return *this; }
    std::string Bytes(int version = 0, int n = -1) const {
        std::string s;
        AppendVarInt(s, version);
        AppendVarInt(s, n < 0 ? count : n);
        return s + keys + words;
    }
};

class ListReading : public ::testing::Test {
protected:
    // Reads a list as loading does: the stream, then the index words' chains.
    HRESULT Decode(const std::string& bytes) {
        HRESULT hr = DecodeListStream(bytes, KeyOrder(&collation_, &refs_), refs_, &keys_, &words_);
        LexEntryList list;
        return SUCCEEDED(hr) ? list.Assign(keys_, words_) : hr;
    }
    lextest::TestCollation collation_;
    lextest::TestRefSystem refs_;
    std::vector<LexKey> keys_;
    std::vector<DWORD> words_;
};

TEST_F(ListReading, DamagedListsFail) {
    ListBuilder ok;
    ok.Text("a").Text("b").Word(1).Word(3);
    ASSERT_EQ(S_OK, Decode(ok.Bytes()));

    ListBuilder outOfOrder;
    outOfOrder.Text("b").Text("a").Word(1).Word(3);
    ListBuilder duplicate;
    duplicate.Text("a").Text("A").Word(1).Word(3);
    ListBuilder outside;
    outside.Text("a").Text("b").Word(1).Word(9);
    ListBuilder loop;  // entries 1 and 2 are aliases of each other
    loop.Text("a").Text("b").Text("c").Word(1).Word(5).Word(3);
    ListBuilder badTag;
    badTag.Text("a").Word(1);
    badTag.keys[0] = 7;
    ListBuilder badDate;
    badDate.Date("/32/12").Word(1);
    std::string textPastEnd = ok.Bytes();
    textPastEnd[3] = 60;  // the first text's length
    std::string refPastEnd;
    AppendVarInt(refPastEnd, 0);
    AppendVarInt(refPastEnd, 1);
    AppendVarInt(refPastEnd, 1);
    refPastEnd += '\x01';

    std::string negativeCount = ok.Bytes();
    negativeCount[1] = 0x7E;  // −2
    const struct { const char* what; std::string bytes; } cases[] = {
        {"version 1", ok.Bytes(1)},
        {"count above what the stream holds", ok.Bytes(0, 1000)},
        {"negative count", negativeCount},
        {"keys out of order", outOfOrder.Bytes()},
        {"the same key twice", duplicate.Bytes()},
        {"index word outside the list", outside.Bytes()},
        {"aliases in a loop", loop.Bytes()},
        {"unknown key tag", badTag.Bytes()},
        {"impossible date", badDate.Bytes()},
        {"text past the end", textPastEnd},
        {"reference past the end", refPastEnd},
        {"index words cut off", ok.Bytes().substr(0, ok.Bytes().size() - 1)},
        {"empty stream", std::string()},
    };
    for (const auto& c : cases) EXPECT_EQ(E_FAIL, Decode(c.bytes)) << c.what;
}

TEST_F(ListReading, YearlessDateOutOfPlaceMovesBackWithItsIndexWords) {
    ListBuilder b;
    // Older files may hold a yearless date after the dated ones. The alias (entry 3)
    // names entry 1, the 2025 date.
    b.Text("a").Date("/01/01/2025").Date("/24/12").Text("z");
    b.keys = std::string();
    b.count = 0;
    b.Text("a").Date("/01/01/2025").Date("/24/12").Date("/02/01/2025");
    b.Word(1).Word(3).Word(5).Word(2);  // entry 3: unlisted alias of entry 1
    ASSERT_EQ(S_OK, Decode(b.Bytes()));
    ASSERT_EQ(4u, keys_.size());
    EXPECT_EQ(kTextKey, keys_[0].kind);
    EXPECT_EQ(0x0C18u, keys_[1].value);       // the yearless date, now before the dated ones
    EXPECT_EQ(0x07E90101u, keys_[2].value);
    EXPECT_EQ(MakeIndexWord(1, kArticleEntry), words_[1]);
    EXPECT_EQ(MakeIndexWord(2, kArticleEntry), words_[2]);
    EXPECT_EQ(MakeIndexWord(2, kUnlistedAlias), words_[3]);  // still names 1 January 2025
}

// Every cut of a good list fails; every single-bit flip either fails or gives a list in key
// order whose index words all end at an article.
TEST_F(ListReading, CutAndFlippedListsNeverGiveABrokenList) {
    ListBuilder b;
    b.Text("Abraham").Text("Moses");
    b.count += 2;
    b.keys += VarIntBytes(1);
    refs_.Pack(static_cast<int>(0xFFFF0000u | 20), b.keys);
    b.keys += VarIntBytes(1);
    refs_.Pack(0x8000 | (3 << 16) | 30, b.keys);
    b.Date("/24/12").Date("/01/05/2025");
    b.Word(1).Word(3).Word(5).Word(7).Word(10).Word(11);  // entry 4: an unlisted alias of entry 5
    const std::string good = b.Bytes();
    ASSERT_EQ(S_OK, Decode(good));
    for (size_t n = 0; n < good.size(); ++n) EXPECT_EQ(E_FAIL, Decode(good.substr(0, n))) << n;
    int accepted = 0;
    for (size_t i = 0; i < good.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string flipped = good;
            flipped[i] ^= static_cast<char>(1 << bit);
            HRESULT hr = Decode(flipped);
            ASSERT_TRUE(hr == S_OK || hr == E_FAIL) << i << ":" << bit;
            if (hr != S_OK) continue;
            ++accepted;
            KeyOrder order(&collation_, &refs_);
            LexEntryList list;
            ASSERT_EQ(S_OK, list.Assign(keys_, words_));
            for (int k = 0; k < list.Count(); ++k) {
                EXPECT_GE(list.Resolve(k), 0);
                if (k) {
                    EXPECT_FALSE(order.Less(list.Key(k), list.Key(k - 1)));
                }
            }
        }
    }
    EXPECT_GT(accepted, 0);  // flips inside texts give other, still valid lists
}

TEST(EntryList, InsertAndRemoveRenumberIndexWordsAndVisibleList) {
    LexEntryList list;
    std::vector<LexKey> keys = {LexKey::Text("a"), LexKey::Text("b"), LexKey::Text("c")};
    std::vector<DWORD> words = {MakeIndexWord(0, kArticleEntry), MakeIndexWord(2, kUnlistedAlias),
                                MakeIndexWord(2, kArticleEntry)};
    ASSERT_EQ(S_OK, list.Assign(keys, words));
    EXPECT_EQ(2, list.VisibleCount());
    EXPECT_EQ(2, list.Resolve(1));
    ASSERT_EQ(S_OK, list.InsertArticle(0, LexKey::Text("0")));
    EXPECT_EQ(MakeIndexWord(3, kUnlistedAlias), list.IndexWord(2));
    EXPECT_EQ(3, list.VisibleCount());
    EXPECT_EQ(3, list.VisibleEntry(2));
    EXPECT_EQ(3, list.CountOfKind(kTextKey) - 1);
    // Removing the article takes the alias that named it along.
    std::vector<int> removed;
    ASSERT_EQ(S_OK, list.Remove(3, &removed));
    EXPECT_EQ((std::vector<int>{3, 2}), removed);
    EXPECT_EQ(2, list.Count());
    EXPECT_EQ(2, list.VisibleCount());
    EXPECT_EQ(1, list.VisiblePositionFrom(1));
    EXPECT_EQ(2, list.VisiblePositionFrom(5));
}

}  // namespace
