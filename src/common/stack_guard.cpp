#include "common/stack_guard.h"

#include <pthread.h>

#include <limits>

namespace zelvo {

namespace stack_detail {

thread_local constinit Bounds t_bounds __attribute__((tls_model("initial-exec"))) = {0, 0};

}  // namespace stack_detail

namespace {

using stack_detail::Bounds;

// When the bounds cannot be read, the stack is taken to end this far below
// the frame of the first check: the smallest default thread stack among
// common platforms.
constexpr std::uintptr_t kAssumedStack = 128 * 1024;

[[gnu::noinline, gnu::cold]] Bounds read_stack_bounds(std::uintptr_t frame) noexcept {
  Bounds bounds{frame > kAssumedStack ? frame - kAssumedStack : 0, std::numeric_limits<std::uintptr_t>::max()};
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return bounds;
  void* address = nullptr;
  std::size_t size = 0;
  // The reported stack excludes the guard pages below it; for the main
  // thread its size is what the stack's resource limit lets it grow to.
  if (pthread_attr_getstack(&attributes, &address, &size) == 0 && address != nullptr) {
    bounds.low = reinterpret_cast<std::uintptr_t>(address);
    bounds.high = bounds.low + size;
  }
  pthread_attr_destroy(&attributes);
  return bounds;
}

}  // namespace

std::size_t stack_detail::left_below(std::uintptr_t frame) noexcept {
  Bounds& bounds = t_bounds;
  if (bounds.high == 0) [[unlikely]]
    bounds = read_stack_bounds(frame);
  if (frame < bounds.low || frame >= bounds.high) return std::numeric_limits<std::size_t>::max();
  return frame - bounds.low;
}

bool stack_detail::has_room_slow(std::uintptr_t frame) noexcept { return left_below(frame) >= kStackMargin; }

}  // namespace zelvo
