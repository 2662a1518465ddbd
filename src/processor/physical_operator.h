#pragma once

#include <memory>
#include <optional>

#include "common/data_chunk.h"
#include "common/result.h"

namespace zelvo {

// A pull-based operator over data chunks. The driver calls init once, then
// next_chunk until it reports the end (an empty optional) or an error.
// Each operator owns its children.
class PhysicalOperator {
 public:
  virtual ~PhysicalOperator() = default;

  // Clears the operator's own state and initialises its children.
  virtual Status init() = 0;
  // The next batch of rows, or the end; after the end, further calls keep
  // reporting the end until the operator is initialised again.
  virtual Result<std::optional<DataChunk>> next_chunk() = 0;
  // Re-initialises the operator.
  virtual Status reset() = 0;
};

using OperatorPtr = std::unique_ptr<PhysicalOperator>;

}  // namespace zelvo
