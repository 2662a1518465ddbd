#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "binder/bound_expression.h"
#include "common/data_chunk.h"
#include "common/result.h"
#include "common/value.h"
#include "common/vector.h"

namespace zelvo {

// Column-at-a-time expression evaluation over a data chunk. The result
// vector holds the expression's value for each row of the chunk, and the
// work follows the rows the chunk has (its count), never the rows its
// vectors could hold:
//   literals, absent columns,     constants of max(chunk rows, 1) rows: one
//   parameters, lists and maps    value, read the same in every row
//   variables                     a copy of the chosen column
//   operators and functions       one row per row of the chunk, none past
//                                 the end of a (first) operand's rows; a
//                                 constant when every operand is one
// Evaluation fails only for want of stack: with "too large" when the call
// itself finds none left (the operators above it used it), with "nested
// too deeply" when the expression's nesting runs out of it. Chains of
// binary operators and of property accesses take no stack per link.
// Unknown functions, mismatched kinds and division by zero give Null or NaN
// values.
Result<Vector> evaluate(const BoundExpression& expression, const DataChunk& chunk);

// A function call: the arguments evaluated in order, then the function
// (looked up by its Unicode lower-cased name) applied row by row over the
// chunk's rows within those of the first argument, or once when every
// argument is a constant (or there is none).
Result<Vector> evaluate_function_call(std::string_view name, const std::vector<BoundExpression>& args,
                                      const DataChunk& chunk);

// The order of two scalar values: -1, 0 or 1, or kIncomparable when either
// is Null, a NaN is involved, or the kinds cannot be compared (Bool with
// Bool, Int64 and Float64 with each other, String with String compare).
inline constexpr int kIncomparable = 2;
int compare_scalar_values(const Value& left, const Value& right);

// The column a variable name selects: N for "col_N" (an optional "+", then
// decimal digits without overflow), 0 for every other name.
std::uint64_t variable_column_index(std::string_view name);

}  // namespace zelvo
