#pragma once

#include <string_view>
#include <vector>

#include "binder/bound_expression.h"
#include "catalog/catalog.h"
#include "common/result.h"
#include "processor/result.h"

namespace zelvo {

// CALL of a built-in procedure (name matched after Unicode lower-casing):
// its rows, one chunk per row, or Error::Execution.
Result<ChunkedResult> call_procedure(const Catalog& catalog, std::string_view name,
                                     const std::vector<BoundExpression>& args);

}  // namespace zelvo
