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
// it makes (allocation, hashing, Unicode tables, the Python C API) and the
// unwinding of an allocation failure. The stack-usage test measures the
// deepest such chain of every guarded routine and holds it within this
// margin. Sanitizer and unoptimised builds have larger frames.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr std::size_t kStackMargin = 48 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr std::size_t kStackMargin = 48 * 1024;
#elif !defined(NDEBUG)
inline constexpr std::size_t kStackMargin = 24 * 1024;
#else
inline constexpr std::size_t kStackMargin = 16 * 1024;
#endif
#elif !defined(NDEBUG)
inline constexpr std::size_t kStackMargin = 24 * 1024;
#else
inline constexpr std::size_t kStackMargin = 16 * 1024;
#endif

// The texts of a stage that runs out of stack, after the stage's error
// prefix: one for statements whose nesting (parentheses, calls, lists, NOT,
// ...) is too deep, one for statements that are long (many clauses, pattern
// elements or SET items) rather than nested.
inline constexpr std::string_view kNestedTooDeeply = "Statement is nested too deeply for the thread's stack";
inline constexpr std::string_view kTooLarge = "Statement is too large for the thread's stack";

// Bytes of stack left to the calling thread below the caller's frame;
// SIZE_MAX when the frame lies outside the thread's stack (a coroutine on a
// stack of its own), which cannot be measured.
std::size_t stack_left() noexcept;

// Whether at least kStackMargin bytes of stack remain below the caller's
// frame.
bool stack_has_room() noexcept;

}  // namespace zelvo
