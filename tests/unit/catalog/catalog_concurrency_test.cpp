#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "catalog/catalog.h"

namespace zelvo {
namespace {

constexpr int kThreads = 8;

template <typename Body>
void run_threads(Body body) {
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(body, t);
  for (std::thread& thread : threads) thread.join();
}

// All threads create one name at once, round after round (node tables, then
// relationship tables): one create wins each round and the losers consume no
// id, so the ids are exactly 1..rounds.
TEST(CatalogConcurrencyTest, SameNameCreatesHaveOneWinner) {
  constexpr int kRounds = 200;
  Catalog catalog;
  std::vector<std::atomic<int>> winners(kRounds);
  std::barrier sync(kThreads);
  run_threads([&](int) {
    for (int round = 0; round < kRounds; ++round) {
      sync.arrive_and_wait();
      const std::string name = "T" + std::to_string(round);
      const bool ok = round < kRounds / 2 ? catalog.create_node_table(NodeTableDef{name, {}, 0}).ok()
                                          : catalog.create_rel_table(RelTableDef{name, {}, TableId{1}, TableId{2}}).ok();
      if (ok) winners[round].fetch_add(1);
    }
  });
  for (int round = 0; round < kRounds; ++round) EXPECT_EQ(winners[round].load(), 1) << "round " << round;
  EXPECT_EQ(*catalog.create_node_table(NodeTableDef{"Last", {}, 0}), TableId{kRounds + 1});
}

// Threads create, look up and drop tables over a few shared names. Lookups
// always see entries of the name asked for; afterwards every name resolves
// to a live entry, no id is held twice, and the version counts every success.
TEST(CatalogConcurrencyTest, MixedCreatesLookupsAndDropsStayConsistent) {
  constexpr int kNames = 12;
  Catalog catalog;
  std::atomic<std::uint64_t> successes{0};
  std::atomic<int> wrong_lookups{0};
  run_threads([&](int thread) {
    std::mt19937 random(static_cast<unsigned>(thread) + 1U);
    const auto any_name = [&random] { return "N" + std::to_string(random() % kNames); };
    for (int i = 0; i < 3000; ++i) {
      const std::string name = any_name();
      bool ok = false;
      switch (random() % 5) {
        case 0: ok = catalog.create_node_table(NodeTableDef{name, {}, 0}).ok(); break;
        case 1: {
          const auto src = catalog.get_node_table_by_name(any_name());
          const auto dst = catalog.get_node_table_by_name(any_name());
          ok = src && dst && catalog.create_rel_table(RelTableDef{name, {}, src->table_id, dst->table_id}).ok();
          break;
        }
        case 2: ok = catalog.drop_node_table(name).ok(); break;
        case 3: ok = catalog.drop_rel_table(name).ok(); break;
        default:
          const auto node = catalog.get_node_table_by_name(name);
          const auto rel = catalog.get_rel_table_by_name(name);
          if ((node && node->name != name) || (rel && rel->name != name)) wrong_lookups.fetch_add(1);
      }
      if (ok) successes.fetch_add(1);
    }
  });

  EXPECT_EQ(wrong_lookups.load(), 0);
  EXPECT_EQ(catalog.version(), successes.load());
  std::set<std::uint64_t> ids;
  for (const auto& entry : catalog.list_node_tables()) {
    EXPECT_TRUE(ids.insert(entry->table_id.value).second);
    EXPECT_EQ(catalog.get_node_table_by_name(entry->name), entry);
  }
  for (const auto& entry : catalog.list_rel_tables()) {
    EXPECT_TRUE(ids.insert(entry->table_id.value).second);
    EXPECT_EQ(catalog.get_rel_table_by_name(entry->name), entry);
  }
  std::size_t named = 0;
  for (int n = 0; n < kNames; ++n) {
    named += catalog.has_node_table("N" + std::to_string(n)) + catalog.has_rel_table("N" + std::to_string(n));
  }
  EXPECT_EQ(named, ids.size());
}

}  // namespace
}  // namespace zelvo
