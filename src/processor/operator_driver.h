#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "processor/physical_operator.h"
#include "processor/result.h"

namespace zelvo {

// The pull loop that runs an operator tree: `init` on the root once, then
// `next_chunk` until the end. The first error ends the run and is the
// answer; nothing gathered before it is kept.

// Keeps every chunk, also those without rows, under the given column names.
StatementResult collect_query_result(PhysicalOperator& root, std::vector<std::string> columns);

// Only counts the rows; each chunk is released as soon as it is counted.
Result<std::uint64_t> count_query_rows(PhysicalOperator& root);

}  // namespace zelvo
