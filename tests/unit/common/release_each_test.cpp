#include "common/release_each.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zelvo {
namespace {

// Once the owner has let go of every object, each one is freed as soon as
// its own visit ends: while the k-th is visited the earlier ones are gone
// and the later ones still live.
TEST(ReleaseEach, FreesEachObjectOnceItsVisitEnds) {
  std::vector<std::shared_ptr<const int>> owned;
  for (int i = 0; i < 4; ++i) owned.push_back(std::make_shared<const int>(i));
  std::vector<std::weak_ptr<const int>> watched(owned.begin(), owned.end());
  std::vector<std::shared_ptr<const int>> listing = owned;
  owned.clear();

  std::vector<int> visited;
  release_each(std::move(listing), [&](const int& value) {
    const auto at = static_cast<std::size_t>(value);
    for (std::size_t i = 0; i < watched.size(); ++i) EXPECT_EQ(watched[i].expired(), i < at) << value << " " << i;
    visited.push_back(value);
  });
  EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(watched.back().expired());
}

}  // namespace
}  // namespace zelvo
