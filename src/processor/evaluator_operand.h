#pragma once

// What the evaluator's files share: evaluated operands, nested evaluation
// and the rows an operator computes.

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "binder/bound_expression.h"
#include "common/data_chunk.h"
#include "common/result.h"
#include "common/value.h"
#include "common/vector.h"

namespace zelvo {

// A sub-expression's value over a chunk: a column of the chunk, read in
// place, or a vector the evaluation made.
class Operand {
 public:
  explicit Operand(Vector&& made) : made_(std::move(made)) {}
  // A column of the chunk, which must outlive the operand.
  static Operand column(const Vector& column) {
    Operand operand;
    operand.column_ = &column;
    return operand;
  }

  const Vector& vector() const { return made_ ? *made_ : *column_; }
  // The vector itself: a made one moved out, a column copied.
  Vector take() && { return made_ ? std::move(*made_) : *column_; }

 private:
  Operand() = default;

  std::optional<Vector> made_;
  const Vector* column_ = nullptr;
};

// Evaluates an operand or argument nested in the expression being
// evaluated. Every level of nesting enters here, and checks once that the
// thread's stack has room for it: without, it fails as nested too deeply.
Result<Operand> evaluate_operand(const BoundExpression& expression, const DataChunk& chunk);

// A function call over the chunk (FunctionCall and WindowFunction): the
// arguments evaluated as nested operands, then the function applied.
Result<Operand> evaluate_call(std::string_view name, const std::vector<BoundExpression>& args, const DataChunk& chunk);

// Whether a vector reads as one value in every row, however many rows it is
// read at: a constant whose rows were not set to Null one by one.
bool reads_as_one_value(const Vector& vector);

// One value standing for every row of the chunk (at least one row).
Vector constant_over(Value value, const DataChunk& chunk);

// The rows an operator computes over `operand`, given the `rows` it computes
// over the others: no more than the chunk has, and none past the end of an
// operand that holds one value per row (those rows of the result read as
// Null, as the operand's do).
std::uint64_t rows_within(const Vector& operand, std::uint64_t rows);

}  // namespace zelvo
