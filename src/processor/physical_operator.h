#pragma once

#include <memory>
#include <optional>

#include "common/data_chunk.h"
#include "common/result.h"
#include "common/stack_guard.h"

namespace zelvo {

// A pull-based operator over data chunks. The driver calls init once, then
// next_chunk until it reports the end (an empty optional) or an error.
// Each operator owns its children.
//
// Operators call their children's operations, so a call recurses once per
// operator below; plans are as deep as a statement is long (clauses, SET
// items). Every call checks the thread's stack first and fails with an
// Execution error when too little is left.
class PhysicalOperator {
 public:
  virtual ~PhysicalOperator() = default;

  // Clears the operator's own state and initialises its children.
  Status init() {
    if (!stack_has_room()) return out_of_stack();
    return do_init();
  }
  // The next batch of rows, or the end; after the end, further calls keep
  // reporting the end until the operator is initialised again.
  Result<std::optional<DataChunk>> next_chunk() {
    if (!stack_has_room()) return out_of_stack();
    return do_next_chunk();
  }
  // Re-initialises the operator.
  Status reset() {
    if (!stack_has_room()) return out_of_stack();
    return do_reset();
  }

 private:
  virtual Status do_init() = 0;
  virtual Result<std::optional<DataChunk>> do_next_chunk() = 0;
  virtual Status do_reset() = 0;

  static Error out_of_stack() { return Error::execution(std::string(kTooLarge)); }
};

using OperatorPtr = std::unique_ptr<PhysicalOperator>;

}  // namespace zelvo
