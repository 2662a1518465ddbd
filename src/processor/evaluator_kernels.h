#pragma once

#include "common/logical_type.h"
#include "common/value.h"
#include "parser/syntax_kinds.h"

namespace zelvo {

// What the evaluator's operators give for one row, value by value.

// Arithmetic (Add, Sub, Mul, Div, Mod, Pow) in f64 over Int64 and Float64
// values, Null over any other kind; comparisons by compare_scalar_values;
// three-valued And, Or and Xor; Concat of two Strings; Null for Range.
Value binary_value(BinaryOp op, const Value& left, const Value& right);

// The type of an operator's result column: Bool for comparisons and logic,
// String for Concat, Float64 for the rest.
LogicalTypeKind binary_result_kind(BinaryOp op);

// Not of a Bool, Neg of an Int64 (wrapping) or a Float64, Pos of anything;
// Null otherwise.
Value unary_value(UnaryOp op, const Value& operand);

}  // namespace zelvo
