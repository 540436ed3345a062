// The per-bible caches of the markings over the installed-bible list: shared words for a
// bible of the reference numbering, converted bits for the sample variant numbering, and
// marking through either.
#include <gtest/gtest.h>
#include <memory>
#include "BibleInfoList.h"
#include "MarkingsFixture.h"
#include "WindowMarkCache.h"

namespace {

// The frame's answer to a change: every record rebuilds its converted cache.
struct RefreshingSink : AVoKv61MarkedVersesSink {
    explicit RefreshingSink(VoBibleInfoList* list) : list(list) {}
    void OnMarksChanged() override {
        ++changed;
        for (int i = 0; i < list->GetCount(); ++i) RefreshMarkCache(list->GetAt(i));
    }
    void OnMarksVisibilityChanged() override {}
    VoBibleInfoList* list;
    int changed = 0;
};

class MarkCacheTest : public MarkingsTest {
protected:
    void SetUp() override {
        MarkingsTest::SetUp();
        list = std::make_unique<VoBibleInfoList>();
        common = list->FindByShortName("FELLES");
        variant = list->FindByShortName("VAR");
        ASSERT_EQ(2, list->GetCount());
        sink = std::make_unique<RefreshingSink>(list.get());
        ASSERT_EQ(S_OK, store.Load(sink.get()));
    }

    std::unique_ptr<VoBibleInfoList> list;
    std::unique_ptr<RefreshingSink> sink;
    VoKv61MarkedVerses store;
    int common = 0, variant = 0;
};

TEST_F(MarkCacheTest, AReferenceBibleSharesTheStoresWordsAndTheRecordKnowsItsCache) {
    VoBibleInfo& record = list->GetAt(common);
    EXPECT_EQ(nullptr, record.GetMarkCache());
    {
        ComPtr<VoWindowMarkCache> cache = MakeMarkCache(record, &store);
        ASSERT_TRUE(cache);
        EXPECT_TRUE(cache->IsUsable());
        EXPECT_FALSE(cache->OwnsBits());
        EXPECT_EQ(cache.Get(), record.GetMarkCache());
        EXPECT_EQ(cache.Get(), MakeMarkCache(record, &store).Get()) << "one cache per record";
        store.SetMarked(Common(0, 0, 4), true);
        EXPECT_TRUE(cache->IsMarked(Common(0, 0, 4))) << "at once, without a refresh";
        cache->SetMark(Common(65, 21, 20), true);
        EXPECT_TRUE(store.IsMarked(Common(65, 21, 20)));
        EXPECT_EQ(2, sink->changed);
        // A copy of the list (the options page's) starts without caches.
        VoBibleInfoList copy(*list);
        EXPECT_EQ(nullptr, copy.GetAt(common).GetMarkCache());
    }
    EXPECT_EQ(nullptr, record.GetMarkCache()) << "the last holder gone, the record forgets it";
}

TEST_F(MarkCacheTest, AVerseThatIsARangeInTheOtherNumberingMarksEveryVerseOfIt) {
    ComPtr<VoWindowMarkCache> cache = MakeMarkCache(list->GetAt(variant), &store);
    ASSERT_TRUE(cache);
    EXPECT_TRUE(cache->IsUsable());
    EXPECT_TRUE(cache->OwnsBits());

    // Psalm 51:1 of the reference numbering is the variant's 51:1-3 (its title and verse 1).
    store.SetMarked(Common(kPsalmsBook, 50, 0), true);
    EXPECT_EQ((std::set<int>{Variant(kPsalmsBook, 50, 0), Variant(kPsalmsBook, 50, 1), Variant(kPsalmsBook, 50, 2)}),
              MarkedIn(cache->GetBits()));
    // Joel 2:28 is the variant's Joel 3:1; Romans 16:25 has no counterpart and shows nowhere.
    store.SetMarked(Common(kJoelBook, 1, 27), true);
    store.SetMarked(Common(kRomansBook, 15, 24), true);
    EXPECT_TRUE(cache->IsMarked(Variant(kJoelBook, 2, 0)));
    EXPECT_EQ(4u, MarkedIn(cache->GetBits()).size());

    // Marking in the variant marks its counterpart in the store.
    store.ClearAll();
    EXPECT_TRUE(MarkedIn(cache->GetBits()).empty());
    cache->SetMark(Variant(kPsalmsBook, 50, 2), true);
    EXPECT_EQ((std::set<int>{Common(kPsalmsBook, 50, 0)}), MarkedIn(store.GetBits()));
    EXPECT_TRUE(cache->IsMarked(Variant(kPsalmsBook, 50, 0)));
    cache->SetMark(Variant(kJoelBook, 3, 0), true);  // the variant's Joel 4:1 is Joel 3:1
    EXPECT_TRUE(store.IsMarked(Common(kJoelBook, 2, 0)));
    cache->SetMark(Variant(kPsalmsBook, 50, 0), false);
    EXPECT_FALSE(store.IsMarked(Common(kPsalmsBook, 50, 0)));

    // Romans 14:24 of the variant has no counterpart; a verse past the bible is none.
    int changes = sink->changed;
    cache->SetMark(Variant(kRomansBook, 13, 23), true);
    cache->SetMark(-1, true);
    cache->SetMark(1000000, true);
    EXPECT_EQ(changes, sink->changed);
    EXPECT_EQ((std::set<int>{Common(kJoelBook, 2, 0)}), MarkedIn(store.GetBits()));
}

TEST_F(MarkCacheTest, WithoutTheReferenceNumberingNoBibleCanMark) {
    ASSERT_TRUE(DeleteFileA(ReferenceFile().c_str()));
    VoKv61MarkedVerses without;
    EXPECT_TRUE(FAILED(without.Load(nullptr)));
    VoBibleInfoList other;
    for (int i = 0; i < other.GetCount(); ++i) {
        ComPtr<VoWindowMarkCache> cache = MakeMarkCache(other.GetAt(i), &without);
        ASSERT_TRUE(cache);
        EXPECT_FALSE(cache->IsUsable());
        cache->SetMark(5, true);
        EXPECT_FALSE(cache->IsMarked(5));
        EXPECT_EQ(-1, cache->GetBits().FindNext(-1));
    }
    EXPECT_FALSE(without.IsDirty());
}

}  // namespace
