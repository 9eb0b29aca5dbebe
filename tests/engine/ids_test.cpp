// The random id rule: mapping of 15-bit draws, redraw on a taken id, refusal when full.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "engine/object.h"
#include "engine/system.h"

namespace zor2 {
namespace {

/// Plays back a fixed sequence of draws.
class CSequenceRandom final : public IRandomSource {
  public:
    explicit CSequenceRandom(std::deque<int32_t> draws) : m_draws(std::move(draws)) {}
    int32_t Next15() override {
        if (m_draws.empty()) return 0;
        int32_t r = m_draws.front();
        m_draws.pop_front();
        return r;
    }
    size_t Left() const { return m_draws.size(); }

  private:
    std::deque<int32_t> m_draws;
};

struct CItem : CObject {};

TEST(IdRule, MapsDrawsOntoOneTo31999) {
    struct Case {
        int32_t draw;
        int32_t id;
    } cases[] = {{0, 1}, {1, 1}, {2, 2}, {16384, 16000}, {32767, 31999}, {1024, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.draw);
        EXPECT_EQ(IdFromDraw(c.draw), c.id);
    }
    // Every id of the range is reachable.
    std::vector<bool> seen(kMaxDrawnId + 1, false);
    for (int32_t r = 0; r <= 32767; ++r) seen[IdFromDraw(r)] = true;
    for (int32_t id = 1; id <= kMaxDrawnId; ++id) ASSERT_TRUE(seen[id]) << id;
}

TEST(IdRule, RedrawsWhileTaken) {
    CObList<CItem> list;
    auto item = std::make_unique<CItem>();
    item->m_id = IdFromDraw(100);
    list.Append(std::move(item));
    CSequenceRandom random({100, 100, 200});
    EXPECT_EQ(DrawFreeId(random, list), IdFromDraw(200));
    EXPECT_EQ(random.Left(), 0u);
}

TEST(IdRule, RefusesWhenEveryIdIsTaken) {
    CObList<CItem> list;
    for (int32_t id = 1; id <= kMaxDrawnId; ++id) {
        auto item = std::make_unique<CItem>();
        item->m_id = id;
        list.Append(std::move(item));
    }
    CLcgRandom random(7);
    EXPECT_EQ(DrawFreeId(random, list), 0);
    // One free id (a duplicate stands in its place) is still found.
    list.At(500)->m_id = 1;
    EXPECT_EQ(DrawFreeId(random, list), 501);
}

TEST(IdRule, LookupTakesFirstMatchAndIgnoresIdsBelowOne) {
    CObList<CItem> list;
    for (int32_t id : {0, 5, 5, -3}) {
        auto item = std::make_unique<CItem>();
        item->m_id = id;
        list.Append(std::move(item));
    }
    EXPECT_EQ(list.Find(5), list.At(1));
    EXPECT_EQ(list.Find(0), nullptr);
    EXPECT_EQ(list.Find(-3), nullptr);
}

TEST(IdRule, NewObjectsNeverCollideWithSiblings) {
    CSystem system;
    CLcgRandom random(3);
    system.SetRandom(&random);
    CNetwork* module = system.CreateModule("Network 1", 0, 0);
    ASSERT_NE(module, nullptr);
    std::set<int32_t> ids;
    for (int i = 0; i < 2000; ++i) {
        CNetworkModel* c = module->CreateComponent(41, 0, "k", 0, 0);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(ids.insert(c->m_id).second) << "duplicate id " << c->m_id;
        EXPECT_GE(c->m_id, 1);
        EXPECT_LE(c->m_id, kMaxDrawnId);
    }
}

}  // namespace
}  // namespace zor2
