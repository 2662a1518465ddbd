#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvo {

// The engine's recursive routines (parsing, binding, planning, optimizing,
// building and running operators, evaluating expressions, writing debug
// text, converting values to Python) recurse once per level of the
// statement or value they work on. Before each level they ask whether the
// calling thread's stack still has room, so that a statement too deep for
// the thread it runs on fails with an error instead of overflowing the
// stack. The answer is measured, not counted: each thread reads its own
// stack bounds once (threads of embedding applications may have as little
// as 128 KiB), and a check compares the current frame with them.

// Bytes of stack that must remain below a check for everything that runs
// before the next check: the routine's own frames, the non-recursive calls
// it makes (allocation, hashing, Unicode tables, the Python C API), the
// unwinding of an allocation failure, and the destruction of the deepest
// tree the parser's nesting bound admits (a tree is destroyed from the top
// of the call that made it, by a recursion that the walks over it, each
// guarded, have already gone through). The stack-margin test measures how
// far below a check each guarded stage goes, destruction included, and
// holds it within three quarters of this margin. Sanitizer and unoptimised
// builds have frames several times larger.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZELVO_LARGE_FRAMES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZELVO_LARGE_FRAMES 1
#endif
#endif
#if !defined(ZELVO_LARGE_FRAMES) && !defined(NDEBUG)
#define ZELVO_LARGE_FRAMES 1
#endif
#ifdef ZELVO_LARGE_FRAMES
inline constexpr std::size_t kStackMargin = 160 * 1024;
#undef ZELVO_LARGE_FRAMES
#else
inline constexpr std::size_t kStackMargin = 24 * 1024;
#endif

// The stack assumed when a thread's own stack bounds cannot be read, and for
// a stack the thread does not own (one that the embedding program made for a
// fiber or coroutine): it is taken to end this far below a known frame. The
// smallest default thread stack among common platforms.
inline constexpr std::size_t kAssumedStack = 128 * 1024;

// The texts of a stage that runs out of stack, after the stage's error
// prefix: one for statements whose nesting (parentheses, calls, lists, NOT,
// ...) is too deep, one for statements that are long (many clauses, pattern
// elements or SET items) rather than nested.
inline constexpr std::string_view kNestedTooDeeply = "Statement is nested too deeply for the thread's stack";
inline constexpr std::string_view kTooLarge = "Statement is too large for the thread's stack";

namespace stack_detail {

// The calling thread's stack: its lowest usable address and the address
// just past its top, both zero until the thread's first check reads them;
// and the frame where the current call entered the engine, zero outside the
// engine (see EngineEntry). Initial-exec, so that a check reads them without
// a call, also from the Python module.
struct Bounds {
  std::uintptr_t low;
  std::uintptr_t high;
  std::uintptr_t entry;
};
extern thread_local constinit Bounds t_bounds __attribute__((tls_model("initial-exec")));

// Bytes of stack left below `frame` on the calling thread, reading the
// thread's bounds first when they are not known yet.
std::size_t left_below(std::uintptr_t frame) noexcept;
// The answer of stack_has_room when its quick test does not settle it.
bool has_room_slow(std::uintptr_t frame) noexcept;

}  // namespace stack_detail

// Bytes of stack left to the calling thread below the caller's frame. On a
// stack the thread does not own, whose bounds cannot be read, the stack is
// taken to end kAssumedStack below the frame where the current call entered
// the engine; SIZE_MAX outside any such call, where nothing is known.
[[gnu::always_inline]] inline std::size_t stack_left() noexcept {
  return stack_detail::left_below(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)));
}

// Whether at least kStackMargin bytes of stack remain below the caller's
// frame. Inline: a frame inside the thread's known stack and above its last
// kStackMargin bytes answers at once.
[[gnu::always_inline]] inline bool stack_has_room() noexcept {
  const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  const stack_detail::Bounds& bounds = stack_detail::t_bounds;
  if (frame < bounds.high && frame >= bounds.low && frame - bounds.low >= kStackMargin) return true;
  return stack_detail::has_room_slow(frame);
}

// Marks where a call enters the engine from outside: statement and script
// execution, conversion of values to Python. The outermost mark on a thread
// records the caller's frame, which tells how much of a stack the thread
// does not own the call may use (see stack_left); marks inside it change
// nothing. Construct it first in the entry routine, so that everything the
// routine does, destruction of its locals included, happens inside it.
class EngineEntry {
 public:
  [[gnu::always_inline]] EngineEntry() noexcept {
    stack_detail::Bounds& bounds = stack_detail::t_bounds;
    if (bounds.entry == 0) {
      bounds.entry = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
      outermost_ = true;
    }
  }
  ~EngineEntry() {
    if (outermost_) stack_detail::t_bounds.entry = 0;
  }
  EngineEntry(const EngineEntry&) = delete;
  EngineEntry& operator=(const EngineEntry&) = delete;

 private:
  bool outermost_ = false;
};

}  // namespace zelvo
