#include "common/concurrent_map.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <string>
#include <thread>
#include <vector>

namespace zelvo {
namespace {

TEST(ConcurrentMapTest, SingleKeyOperations) {
  ConcurrentMap<std::string, int> map(3);
  EXPECT_EQ(map.shard_count(), 4u);
  EXPECT_TRUE(map.insert_if_absent("a", 1));
  EXPECT_FALSE(map.insert_if_absent("a", 2));
  EXPECT_EQ(map.get(std::string_view("a")), 1);
  EXPECT_EQ(map.get("b"), std::nullopt);
  EXPECT_FALSE(map.replace("b", 5));
  EXPECT_FALSE(map.contains("b"));
  EXPECT_TRUE(map.replace("a", 3));
  map.insert_or_assign("a", 4);
  map.insert_or_assign("b", 5);
  EXPECT_EQ(map.get("a"), 4);
  EXPECT_EQ(map.remove_if("a", [](int v) { return v != 4; }), std::nullopt);
  EXPECT_EQ(map.remove_if("a", [](int v) { return v == 4; }), 4);
  EXPECT_EQ(map.remove("a"), std::nullopt);
  EXPECT_EQ(map.size(), 1u);
}

// Threads race insert-if-absent on the same keys, walk the map, then remove
// the keys: each key has exactly one winning insert and one winning remove.
TEST(ConcurrentMapTest, RacingInsertsAndRemovesHaveOneWinnerPerKey) {
  constexpr int kThreads = 8;
  constexpr std::uint64_t kKeys = 2000;
  ConcurrentMap<std::uint64_t, int> map;
  std::atomic<std::uint64_t> inserted{0};
  std::atomic<std::uint64_t> removed{0};
  std::barrier sync(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (std::uint64_t key = 0; key < kKeys; ++key) {
        if (map.insert_if_absent(key, t)) inserted.fetch_add(1);
      }
      sync.arrive_and_wait();
      std::uint64_t walked = 0;
      map.for_each([&walked](std::uint64_t, int) { ++walked; });
      EXPECT_EQ(walked, kKeys);
      sync.arrive_and_wait();
      for (std::uint64_t key = 0; key < kKeys; ++key) {
        if (map.remove(key)) removed.fetch_add(1);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(inserted.load(), kKeys);
  EXPECT_EQ(removed.load(), kKeys);
  EXPECT_EQ(map.size(), 0u);
}

}  // namespace
}  // namespace zelvo
