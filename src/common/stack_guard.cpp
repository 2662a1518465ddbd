#include "common/stack_guard.h"

#include <pthread.h>

#include <limits>

namespace zelvo {

namespace stack_detail {

thread_local constinit Bounds t_bounds __attribute__((tls_model("initial-exec"))) = {0, 0, 0};

}  // namespace stack_detail

namespace {

using stack_detail::Bounds;

// When the bounds cannot be read, the stack is taken to end kAssumedStack
// below the frame of the first check.
[[gnu::noinline, gnu::cold]] Bounds read_stack_bounds(std::uintptr_t frame, std::uintptr_t entry) noexcept {
  Bounds bounds{frame > kAssumedStack ? frame - kAssumedStack : 0, std::numeric_limits<std::uintptr_t>::max(), entry};
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
    bounds = read_stack_bounds(frame, bounds.entry);
  if (frame >= bounds.low && frame < bounds.high) return frame - bounds.low;
  // A stack the thread does not own: the embedding program made it, for a
  // fiber or a coroutine, and its bounds cannot be read. It is taken to end
  // kAssumedStack below the frame where the current call entered the
  // engine, when that frame lies on the same stack (outside the thread's
  // own, and above the caller's frame).
  const std::uintptr_t entry = bounds.entry;
  const bool entered_here = entry != 0 && (entry < bounds.low || entry >= bounds.high) && frame <= entry;
  if (!entered_here) return std::numeric_limits<std::size_t>::max();
  const std::uintptr_t low = entry > kAssumedStack ? entry - kAssumedStack : 0;
  return frame > low ? frame - low : 0;
}

bool stack_detail::has_room_slow(std::uintptr_t frame) noexcept { return left_below(frame) >= kStackMargin; }

}  // namespace zelvo
