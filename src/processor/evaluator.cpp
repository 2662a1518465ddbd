#include "processor/evaluator.h"

#include <algorithm>
#include <limits>

#include "processor/cell_reading.h"
#include "processor/evaluator_kernels.h"

namespace zelvo {

namespace {

std::uint64_t rows_of(const Vector& vector) { return vector.capacity(); }

Vector null_constant(std::uint64_t rows) { return Vector::new_constant(Value::null(), rows); }

Result<Vector> evaluate_binary(const BoundExpression::Binary& binary, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Vector left, evaluate(*binary.left, chunk));
  ZELVO_ASSIGN_OR_RETURN(const Vector right, evaluate(*binary.right, chunk));
  const std::uint64_t rows = std::min(rows_of(left), rows_of(right));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) {
    values.push_back(binary_value(binary.op, read_cell(left, row), read_cell(right, row)));
  }
  return Vector::from_values(LogicalType(binary_result_kind(binary.op)), std::move(values));
}

Result<Vector> evaluate_unary(const BoundExpression::Unary& unary, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Vector operand, evaluate(*unary.operand, chunk));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows_of(operand)));
  for (std::uint64_t row = 0; row < rows_of(operand); ++row) {
    values.push_back(unary_value(unary.op, read_cell(operand, row)));
  }
  return Vector::from_values(LogicalType(LogicalTypeKind::Any), std::move(values));
}

Result<Vector> evaluate_is_null(const BoundExpression::IsNull& is_null, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Vector operand, evaluate(*is_null.operand, chunk));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows_of(operand)));
  for (std::uint64_t row = 0; row < rows_of(operand); ++row) {
    values.push_back(Value::boolean(read_cell(operand, row).is_null() != is_null.negated));
  }
  return Vector::from_values(LogicalType(LogicalTypeKind::Bool), std::move(values));
}

bool list_contains(const Value& list, const Value& needle) {
  if (list.kind() != ValueKind::List) return false;
  return std::any_of(list.as_list().begin(), list.as_list().end(),
                     [&needle](const Value& element) { return element.eq(needle); });
}

Result<Vector> evaluate_in(const BoundExpression::In& in, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Vector operand, evaluate(*in.operand, chunk));
  ZELVO_ASSIGN_OR_RETURN(const Vector list, evaluate(*in.list, chunk));
  const std::uint64_t rows = std::min(rows_of(operand), rows_of(list));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) {
    values.push_back(Value::boolean(list_contains(read_cell(list, row), read_cell(operand, row)) != in.negated));
  }
  return Vector::from_values(LogicalType(LogicalTypeKind::Bool), std::move(values));
}

}  // namespace

std::uint64_t variable_column_index(std::string_view name) {
  constexpr std::string_view kPrefix = "col_";
  if (!name.starts_with(kPrefix)) return 0;
  std::string_view digits = name.substr(kPrefix.size());
  if (digits.starts_with('+')) digits.remove_prefix(1);
  if (digits.empty()) return 0;
  std::uint64_t index = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (index > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return 0;
    index = index * 10 + digit;
  }
  return index;
}

Result<Vector> evaluate(const BoundExpression& expression, const DataChunk& chunk) {
  // A property access evaluates to its base: properties are not stored.
  const BoundExpression* current = &expression;
  while (const auto* property = current->as<BoundExpression::Property>()) current = property->base.get();

  const std::uint64_t constant_rows = std::max<std::uint64_t>(chunk.count(), 1);
  switch (current->kind()) {
    case BoundExpression::Kind::Literal:
      return Vector::new_constant(current->as<BoundExpression::Literal>()->value, constant_rows);
    case BoundExpression::Kind::Variable: {
      const std::uint64_t index = variable_column_index(current->as<BoundExpression::Variable>()->name);
      if (index >= chunk.vectors().size()) return null_constant(constant_rows);
      return chunk.vectors()[static_cast<std::size_t>(index)];
    }
    case BoundExpression::Kind::Binary: return evaluate_binary(*current->as<BoundExpression::Binary>(), chunk);
    case BoundExpression::Kind::Unary: return evaluate_unary(*current->as<BoundExpression::Unary>(), chunk);
    case BoundExpression::Kind::FunctionCall: {
      const auto& call = *current->as<BoundExpression::FunctionCall>();
      return evaluate_function_call(call.name, call.args, chunk);
    }
    case BoundExpression::Kind::WindowFunction: {
      // Partitions and window order are not applied: the function runs row by row.
      const auto& window = *current->as<BoundExpression::WindowFunction>();
      return evaluate_function_call(window.name, window.args, chunk);
    }
    case BoundExpression::Kind::IsNull: return evaluate_is_null(*current->as<BoundExpression::IsNull>(), chunk);
    case BoundExpression::Kind::In: return evaluate_in(*current->as<BoundExpression::In>(), chunk);
    case BoundExpression::Kind::Property:  // stripped above
    case BoundExpression::Kind::Parameter:
    case BoundExpression::Kind::List:
    case BoundExpression::Kind::Map: break;
  }
  // Parameters are not looked up and list and map expressions are not built.
  return null_constant(DataChunk::kDefaultCapacity);
}

}  // namespace zelvo
