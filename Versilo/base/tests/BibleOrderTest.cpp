// The user's order of the translations: read from "Order" with repeated and unknown names,
// written back, and kept apart in a copy of the list.
#include <vector>
#include "BibleInfoList.h"
#include "BibleListFixture.h"

namespace {

class BibleOrderTest : public BibleListTestBase {
protected:
    void SetOrderValue(const std::string& text) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), "bibles\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        RegKey holder(key);
        RegSetValueExA(key, "Order", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    static std::vector<int> Order(const VoBibleInfoList& list) {
        std::vector<int> order;
        for (int i = 0; i < list.GetCount(); ++i) order.push_back(list.GetOrderAt(i));
        return order;
    }
};

}  // namespace

TEST_F(BibleOrderTest, OrderPlacesNamedTranslationsOnceAndAppendsTheRest) {
    // Storage order: Alf 0, Bet 1, Cim 2, Dal 3. (No "aa": Norwegian sorts it as "\xE5".)
    WriteBible("d.vrsb", "Dal");
    WriteBible("c.vrsb", "Cim");
    WriteBible("b.vrsb", "Bet");
    WriteBible("a.vrsb", "Alf");
    const struct {
        const char* order;
        std::vector<int> expected;
    } cases[] = {
        {nullptr, {0, 1, 2, 3}},
        {"", {0, 1, 2, 3}},
        {"Cim,Alf,Bet,Dal", {2, 0, 1, 3}},
        {"cim,CIM,alf,Cim", {2, 0, 1, 3}},
        // Unknown names (a removed translation, names between and around the installed
        // ones, empty pieces) place nothing.
        {"Zet,Dal,Be,,Cimm,Al", {3, 0, 1, 2}},
        {",,,", {0, 1, 2, 3}},
        {"Bet", {1, 0, 2, 3}},
    };
    for (const auto& c : cases) {
        RegDeleteTreeA(registry.AppKey(), "bibles\\Settings");
        if (c.order) SetOrderValue(c.order);
        VoBibleInfoList list;
        ASSERT_EQ(4, list.GetCount());
        EXPECT_EQ(c.expected, Order(list)) << (c.order ? c.order : "(no value)");
    }
}

TEST_F(BibleOrderTest, OnlyTheFirstOfTwoEqualNamesCanBePlaced) {
    WriteBible("a.vrsb", "Alf");
    WriteBible("k1.vrsb", "KJV");
    WriteBible("k2.vrsb", "kjv");
    SetOrderValue("KJV,kjv,Alf");
    VoBibleInfoList list;
    ASSERT_EQ(3, list.GetCount());
    EXPECT_EQ((std::vector<int>{1, 0, 2}), Order(list));
}

TEST_F(BibleOrderTest, SaveOrderWritesTheNamesAndACopyKeepsItsOwn) {
    WriteBible("a.vrsb", "Alf");
    WriteBible("b.vrsb", "B\xF8k");
    WriteBible("c.vrsb", "Cim");
    VoBibleInfoList list;
    ASSERT_EQ(3, list.GetCount());
    IBible* shared = list.GetAt(0).GetBible();
    ASSERT_NE(nullptr, shared);

    VoBibleInfoList copy(list);
    EXPECT_TRUE(copy.SetOrder({2, 0, 1}));
    EXPECT_FALSE(copy.SetOrder({2, 0, 0}));
    EXPECT_FALSE(copy.SetOrder({2, 0}));
    EXPECT_FALSE(copy.SetOrder({3, 0, 1}));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Order(list));
    EXPECT_EQ((std::vector<int>{2, 0, 1}), Order(copy));
    IBible* fromCopy = copy.GetAt(0).GetBible();
    EXPECT_EQ(shared, fromCopy);
    fromCopy->Release();
    shared->Release();

    copy.SaveOrder();
    EXPECT_EQ("Cim,Alf,B\xF8k", StoredString("bibles\\Settings", "Order"));
    VoBibleInfoList reread;
    EXPECT_EQ((std::vector<int>{2, 0, 1}), Order(reread));
}
