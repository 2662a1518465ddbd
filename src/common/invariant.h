#pragma once

#include <stdexcept>
#include <string>

namespace zelvo {

// Thrown only when an internal invariant is broken (an index past the end of
// a buffer, a write into a read-only vector form). Engine failures that users
// can cause are Error values, never exceptions; the Python module turns this
// exception into a Python exception instead of letting it crash the process.
class InvariantError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

[[noreturn]] void fail_invariant(const std::string& message);

}  // namespace zelvo

#define ZELVO_CHECK(condition, message)       \
  do {                                        \
    if (!(condition)) {                       \
      ::zelvo::fail_invariant(message);       \
    }                                         \
  } while (false)
