#include "common/stack_guard.h"

#include <gtest/gtest.h>
#include <ucontext.h>

#include <cstring>
#include <limits>
#include <vector>

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

// A coroutine on a stack of its own lies outside the thread's stack: the
// guard cannot measure it and lets it run.
ucontext_t g_main_context;
std::size_t g_left_on_coroutine = 0;

void on_coroutine() { g_left_on_coroutine = stack_left(); }

TEST(StackGuard, DoesNotJudgeStacksOtherThanTheThreads) {
  std::vector<char> coroutine_stack(256 * 1024);
  ucontext_t coroutine;
  ASSERT_EQ(getcontext(&coroutine), 0);
  coroutine.uc_stack.ss_sp = coroutine_stack.data();
  coroutine.uc_stack.ss_size = coroutine_stack.size();
  coroutine.uc_link = &g_main_context;
  makecontext(&coroutine, on_coroutine, 0);
  ASSERT_EQ(swapcontext(&g_main_context, &coroutine), 0);
  EXPECT_EQ(g_left_on_coroutine, std::numeric_limits<std::size_t>::max());
}

}  // namespace
}  // namespace zelvo
