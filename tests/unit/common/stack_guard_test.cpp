#include "common/stack_guard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "support/thread_stack.h"

namespace zelvo {
namespace {

constexpr std::size_t kFrame = 1024;

struct Descent {
  std::size_t levels = 0;
  std::size_t left_at_top = 0;     // below the first level's frame
  std::size_t left_at_second = 0;  // below the second level's frame
  std::size_t left_at_bottom = 0;
};

// Recurses with frames of at least kFrame bytes for as long as the guard
// allows.
[[gnu::noinline]] void descend(Descent& descent) {
  volatile char frame[kFrame];
  std::memset(const_cast<char*>(frame), 1, sizeof frame);
  const std::size_t left = stack_left();
  if (descent.levels == 0) descent.left_at_top = left;
  if (descent.levels == 1) descent.left_at_second = left;
  if (!stack_has_room()) {
    descent.left_at_bottom = left;
    return;
  }
  ++descent.levels;
  descend(descent);
  frame[0] = 2;  // keeps the frame alive across the call
}

// On stacks from 64 KiB past the margin to 8 MiB the guard stops a
// recursion within a frame of the margin: it refuses no level that had room
// and lets none start in the last kStackMargin bytes.
TEST(StackGuard, StopsAtTheMarginOnEveryStackSize) {
  for (const std::size_t stack :
       {kStackMargin + (64 << 10), kStackMargin + (128 << 10), kStackMargin + (1 << 20), std::size_t{8} << 20}) {
    SCOPED_TRACE(stack);
    Descent descent;
    testing::run_on_stack(stack, [&] { descend(descent); });
    // The frame of one level as this build makes it.
    const std::size_t frame = descent.left_at_top - descent.left_at_second;
    EXPECT_LT(descent.left_at_bottom, kStackMargin);
    EXPECT_GE(descent.left_at_bottom + frame, kStackMargin);
    EXPECT_EQ(descent.levels, (descent.left_at_top - descent.left_at_bottom) / frame);
  }
}

TEST(StackGuard, MeasuresTheMainThreadStack) {
  const std::size_t left = stack_left();
  EXPECT_GT(left, 256U * 1024);
  EXPECT_LT(left, std::numeric_limits<std::size_t>::max());
  EXPECT_TRUE(stack_has_room());
}

// An inner mark of an engine entry, on a frame below the outer one.
[[gnu::noinline]] std::size_t left_inside_inner_entry() {
  volatile char frame[kFrame];
  std::memset(const_cast<char*>(frame), 1, sizeof frame);
  const EngineEntry inner;
  return stack_left();
}

// A fiber's stack, which the thread does not own, cannot be measured. Outside
// an engine call nothing is known of it; inside one it is taken to end
// kAssumedStack below the outermost entry's frame, and the guard stops a
// recursion there as it does on a thread's stack.
TEST(StackGuard, TakesAFibersStackToEndAFixedSizeBelowTheEngineEntry) {
  if (!testing::foreign_stacks_work()) GTEST_SKIP() << "no fibers in this build";
  std::size_t before_entry = 0;
  std::size_t at_entry = 0;
  std::size_t in_inner_entry = 0;
  std::size_t after_entry = 0;
  Descent descent;
  testing::run_on_foreign_stack(256 << 10, [&] {
    before_entry = stack_left();
    {
      const EngineEntry entry;
      at_entry = stack_left();
      in_inner_entry = left_inside_inner_entry();
      descend(descent);
    }
    after_entry = stack_left();
  });
  constexpr std::size_t kUnknown = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(before_entry, kUnknown);
  EXPECT_EQ(after_entry, kUnknown);
  EXPECT_LE(at_entry, kAssumedStack);
  EXPECT_GT(at_entry, kAssumedStack - 1024);
  EXPECT_LT(in_inner_entry, at_entry);  // measured from the outer entry
  EXPECT_LT(descent.left_at_bottom, kStackMargin);
  if (kStackMargin < kAssumedStack) {
    const std::size_t frame = descent.left_at_top - descent.left_at_second;
    EXPECT_GE(descent.left_at_bottom + frame, kStackMargin);
  } else {
    EXPECT_EQ(descent.levels, 0U);  // builds whose margin exceeds the assumed stack
  }
}

}  // namespace
}  // namespace zelvo
