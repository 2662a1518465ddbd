#pragma once

#include <cstddef>
#include <functional>

namespace zelvo::testing {

// Runs `body` on a new thread whose stack is `stack_bytes` bytes of fresh
// memory (a page size multiple) with an inaccessible page below it, and
// returns the most stack the thread used: the bytes between the top of the
// stack and the lowest byte written. Threads of embedding applications may
// have stacks as small as 128 KiB.
//
// ThreadSanitizer needs to make thread stacks itself: there the thread gets
// a stack of that size from pthread_create, and nothing is measured (0).
std::size_t run_on_stack(std::size_t stack_bytes, const std::function<void()>& body);

// Whether run_on_stack measures the stack it used.
bool stack_use_is_measured();

// Runs `body` on the calling thread but on a stack of `stack_bytes` bytes of
// fresh memory (a page size multiple) with an inaccessible page below it,
// switched to with makecontext and swapcontext, as programs that run fibers
// or coroutines do; the thread's own stack bounds say nothing about it.
// Returns the most stack the body used. Only where foreign_stacks_work().
std::size_t run_on_foreign_stack(std::size_t stack_bytes, const std::function<void()>& body);

// Whether run_on_foreign_stack works in this build: glibc's ucontext, and
// not under ThreadSanitizer, which does not follow such switches.
bool foreign_stacks_work();

}  // namespace zelvo::testing
