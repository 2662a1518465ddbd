#include "common/flat_hash_map.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>

namespace zelvo {
namespace {

// Few distinct hashes, so probe runs collide, wrap around the table's end
// and get shifted back on removal.
struct CrowdedHash {
  std::size_t operator()(std::uint64_t key) const { return (key % 5) * 0x9e3779b97f4a7c15ULL + (key % 3); }
};

TEST(FlatHashMap, AgreesWithAReferenceMapUnderRandomChanges) {
  FlatHashMap<std::uint64_t, std::string, CrowdedHash> map;
  std::unordered_map<std::uint64_t, std::string> reference;
  std::mt19937_64 random(7);
  for (int step = 0; step < 20000; ++step) {
    const std::uint64_t key = random() % 300;
    switch (random() % 3) {
      case 0: {
        const auto [value, inserted] = map.try_emplace(key, std::to_string(step));
        const bool reference_inserted = reference.try_emplace(key, std::to_string(step)).second;
        ASSERT_EQ(inserted, reference_inserted);
        ASSERT_EQ(*value, reference.at(key));
        break;
      }
      case 1: {
        std::string removed;
        const bool erased = map.erase(key, &removed);
        const auto found = reference.find(key);
        ASSERT_EQ(erased, found != reference.end());
        if (erased) {
          ASSERT_EQ(removed, found->second);
          reference.erase(found);
        }
        break;
      }
      default: {
        const std::string* value = map.find(key);
        const auto found = reference.find(key);
        ASSERT_EQ(value != nullptr, found != reference.end());
        if (value != nullptr) {
          ASSERT_EQ(*value, found->second);
        }
      }
    }
    ASSERT_EQ(map.size(), reference.size());
  }
  std::size_t visited = 0;
  map.for_each([&](std::uint64_t key, const std::string& value) {
    ++visited;
    EXPECT_EQ(value, reference.at(key));
  });
  EXPECT_EQ(visited, reference.size());
}

}  // namespace
}  // namespace zelvo
