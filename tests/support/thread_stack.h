#pragma once

#include <cstddef>
#include <functional>

namespace zelvo::testing {

// Runs `body` on a new thread whose stack is `stack_bytes` bytes of fresh
// memory (a page size multiple) with an inaccessible page below it, and
// returns the most stack the thread used: the bytes between the top of the
// stack and the lowest byte written. Threads of embedding applications may
// have stacks as small as 128 KiB.
std::size_t run_on_stack(std::size_t stack_bytes, const std::function<void()>& body);

}  // namespace zelvo::testing
