#include "processor/evaluator.h"

#include <algorithm>
#include <limits>
#include <variant>

#include "processor/cell_reading.h"
#include "processor/evaluator_kernels.h"
#include "processor/evaluator_operand.h"

namespace zelvo {

namespace {

// Each operator below computes its rows over its operands' values; over
// operands that read as one value each it computes that one row and gives a
// constant, so that the work follows the rows the chunk has and constants
// read the same in every row of it.

Vector apply_binary(BinaryOp op, const Vector& left, const Vector& right, const DataChunk& chunk) {
  Value left_scratch;
  Value right_scratch;
  if (reads_as_one_value(left) && reads_as_one_value(right)) {
    return constant_over(binary_value(op, peek_cell(left, 0, left_scratch), peek_cell(right, 0, right_scratch)), chunk);
  }
  const std::uint64_t rows = rows_within(right, rows_within(left, chunk.count()));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) {
    values.push_back(binary_value(op, peek_cell(left, row, left_scratch), peek_cell(right, row, right_scratch)));
  }
  return Vector::from_values(LogicalType(binary_result_kind(op)), std::move(values));
}

// A row-by-row function of one operand, giving a column of `type`.
template <typename PerRow>
Vector apply_to_rows(const Vector& operand, const DataChunk& chunk, LogicalTypeKind type, PerRow per_row) {
  Value scratch;
  if (reads_as_one_value(operand)) return constant_over(per_row(peek_cell(operand, 0, scratch)), chunk);
  const std::uint64_t rows = rows_within(operand, chunk.count());
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) values.push_back(per_row(peek_cell(operand, row, scratch)));
  return Vector::from_values(LogicalType(type), std::move(values));
}

Result<Operand> evaluate_binary(const BoundExpression::Binary& binary, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Operand left, evaluate_operand(*binary.left, chunk));
  ZELVO_ASSIGN_OR_RETURN(const Operand right, evaluate_operand(*binary.right, chunk));
  return Operand(apply_binary(binary.op, left.vector(), right.vector(), chunk));
}

Result<Operand> evaluate_unary(const BoundExpression::Unary& unary, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Operand operand, evaluate_operand(*unary.operand, chunk));
  const UnaryOp op = unary.op;
  return Operand(apply_to_rows(operand.vector(), chunk, LogicalTypeKind::Any,
                               [op](const Value& value) { return unary_value(op, value); }));
}

Result<Operand> evaluate_is_null(const BoundExpression::IsNull& is_null, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Operand operand, evaluate_operand(*is_null.operand, chunk));
  const bool negated = is_null.negated;
  return Operand(apply_to_rows(operand.vector(), chunk, LogicalTypeKind::Bool,
                               [negated](const Value& value) { return Value::boolean(value.is_null() != negated); }));
}

bool list_contains(const Value& list, const Value& needle) {
  if (list.kind() != ValueKind::List) return false;
  return std::any_of(list.as_list().begin(), list.as_list().end(),
                     [&needle](const Value& element) { return element.eq(needle); });
}

Result<Operand> evaluate_in(const BoundExpression::In& in, const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(const Operand operand_result, evaluate_operand(*in.operand, chunk));
  ZELVO_ASSIGN_OR_RETURN(const Operand list_result, evaluate_operand(*in.list, chunk));
  const Vector& operand = operand_result.vector();
  const Vector& list = list_result.vector();
  Value operand_scratch;
  Value list_scratch;
  const auto found = [&](std::uint64_t row) {
    return Value::boolean(list_contains(peek_cell(list, row, list_scratch), peek_cell(operand, row, operand_scratch)) !=
                          in.negated);
  };
  if (reads_as_one_value(operand) && reads_as_one_value(list)) return Operand(constant_over(found(0), chunk));
  const std::uint64_t rows = rows_within(list, rows_within(operand, chunk.count()));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) values.push_back(found(row));
  return Operand(Vector::from_values(LogicalType(LogicalTypeKind::Bool), std::move(values)));
}

// Dispatches on the expression's kind; nested operands go through
// evaluate_operand.
Result<Operand> evaluate_node(const BoundExpression& expression, const DataChunk& chunk) {
  // A property access evaluates to its base: properties are not stored.
  const BoundExpression* current = &expression;
  while (const auto* property = current->as<BoundExpression::Property>()) current = property->base.get();

  switch (current->kind()) {
    case BoundExpression::Kind::Literal:
      return Operand(constant_over(current->as<BoundExpression::Literal>()->value, chunk));
    case BoundExpression::Kind::Variable: {
      const std::uint64_t index = variable_column_index(current->as<BoundExpression::Variable>()->name);
      if (index >= chunk.vectors().size()) return Operand(constant_over(Value::null(), chunk));
      return Operand::column(chunk.vectors()[static_cast<std::size_t>(index)]);
    }
    case BoundExpression::Kind::Binary: return evaluate_binary(*current->as<BoundExpression::Binary>(), chunk);
    case BoundExpression::Kind::Unary: return evaluate_unary(*current->as<BoundExpression::Unary>(), chunk);
    case BoundExpression::Kind::FunctionCall: {
      const auto& call = *current->as<BoundExpression::FunctionCall>();
      ZELVO_ASSIGN_OR_RETURN(Vector result, evaluate_function_call(call.name, call.args, chunk));
      return Operand(std::move(result));
    }
    case BoundExpression::Kind::WindowFunction: {
      // Partitions and window order are not applied: the function runs row by row.
      const auto& window = *current->as<BoundExpression::WindowFunction>();
      ZELVO_ASSIGN_OR_RETURN(Vector result, evaluate_function_call(window.name, window.args, chunk));
      return Operand(std::move(result));
    }
    case BoundExpression::Kind::IsNull: return evaluate_is_null(*current->as<BoundExpression::IsNull>(), chunk);
    case BoundExpression::Kind::In: return evaluate_in(*current->as<BoundExpression::In>(), chunk);
    case BoundExpression::Kind::Property:  // stripped above
    case BoundExpression::Kind::Parameter:
    case BoundExpression::Kind::List:
    case BoundExpression::Kind::Map: break;
  }
  // Parameters are not looked up and list and map expressions are not built.
  return Operand(constant_over(Value::null(), chunk));
}

}  // namespace

bool reads_as_one_value(const Vector& vector) {
  const auto* constant = std::get_if<Vector::Constant>(&vector.data());
  return constant != nullptr && (vector.null_count() == 0 || constant->value.is_null());
}

Vector constant_over(Value value, const DataChunk& chunk) {
  return Vector::new_constant(std::move(value), std::max<std::uint64_t>(chunk.count(), 1));
}

std::uint64_t rows_within(const Vector& operand, std::uint64_t rows) {
  return reads_as_one_value(operand) ? rows : std::min(rows, operand.capacity());
}

Result<Operand> evaluate_operand(const BoundExpression& expression, const DataChunk& chunk) {
  return evaluate_node(expression, chunk);
}

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
  ZELVO_ASSIGN_OR_RETURN(Operand result, evaluate_node(expression, chunk));
  return std::move(result).take();
}

}  // namespace zelvo
