#include "processor/evaluator.h"

#include <algorithm>
#include <limits>
#include <string>
#include <variant>

#include "common/inline_stack.h"
#include "common/stack_guard.h"
#include "processor/cell_reading.h"
#include "processor/evaluator_kernels.h"
#include "processor/evaluator_operand.h"

namespace zelvo {

namespace {

// Each operator below computes its rows over its operands' values; over
// operands that read as one value each it computes that one row and gives a
// constant, so that the work follows the rows the chunk has and constants
// read the same in every row of it.
//
// Nesting costs stack per level (up to 100 levels on threads with 128 KiB
// of stack), so the recursive functions keep little more than their
// operands' results in their frames: what an operator makes of its operands
// is computed out of line by the make_* functions, whose locals are gone
// before the next operand is evaluated.

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

// A row-by-row function of two operands, giving a column of `type`.
template <typename PerRow>
Vector apply_to_rows(const Vector& left, const Vector& right, const DataChunk& chunk, LogicalTypeKind type,
                     PerRow per_row) {
  Value left_scratch;
  Value right_scratch;
  if (reads_as_one_value(left) && reads_as_one_value(right)) {
    return constant_over(per_row(peek_cell(left, 0, left_scratch), peek_cell(right, 0, right_scratch)), chunk);
  }
  const std::uint64_t rows = rows_within(right, rows_within(left, chunk.count()));
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) {
    values.push_back(per_row(peek_cell(left, row, left_scratch), peek_cell(right, row, right_scratch)));
  }
  return Vector::from_values(LogicalType(type), std::move(values));
}

// `left` becomes left op right.
[[gnu::noinline]] void make_binary(BinaryOp op, Operand& left, const Operand& right, const DataChunk& chunk) {
  left = Operand(apply_to_rows(left.vector(), right.vector(), chunk, binary_result_kind(op),
                               [op](const Value& a, const Value& b) { return binary_value(op, a, b); }));
}

// `operand` becomes op operand.
[[gnu::noinline]] void make_unary(UnaryOp op, Operand& operand, const DataChunk& chunk) {
  operand = Operand(apply_to_rows(operand.vector(), chunk, LogicalTypeKind::Any,
                                  [op](const Value& value) { return unary_value(op, value); }));
}

// `operand` becomes operand IS [NOT] NULL.
[[gnu::noinline]] void make_is_null(bool negated, Operand& operand, const DataChunk& chunk) {
  operand = Operand(apply_to_rows(operand.vector(), chunk, LogicalTypeKind::Bool, [negated](const Value& value) {
    return Value::boolean(value.is_null() != negated);
  }));
}

bool list_contains(const Value& list, const Value& needle) {
  if (list.kind() != ValueKind::List) return false;
  return std::any_of(list.as_list().begin(), list.as_list().end(),
                     [&needle](const Value& element) { return element.eq(needle); });
}

// `list` becomes operand [NOT] IN list.
[[gnu::noinline]] void make_in(bool negated, const Operand& operand, Operand& list, const DataChunk& chunk) {
  list = Operand(apply_to_rows(operand.vector(), list.vector(), chunk, LogicalTypeKind::Bool,
                               [negated](const Value& needle, const Value& values) {
                                 return Value::boolean(list_contains(values, needle) != negated);
                               }));
}

// Literals, columns, and the Null that parameters, lists and maps read as
// (parameters are not looked up, lists and maps not built).
[[gnu::noinline]] Result<Operand> evaluate_leaf(const BoundExpression& expression, const DataChunk& chunk) {
  if (const auto* literal = expression.as<BoundExpression::Literal>()) {
    return Operand(constant_over(literal->value, chunk));
  }
  if (const auto* variable = expression.as<BoundExpression::Variable>()) {
    const std::uint64_t index = variable_column_index(variable->name);
    if (index < chunk.vectors().size()) return Operand::column(chunk.vectors()[static_cast<std::size_t>(index)]);
  }
  return Operand(constant_over(Value::null(), chunk));
}

// A property access evaluates to its base: properties are not stored. A
// chain of them (n.a.b.c) is stripped by a loop.
const BoundExpression& strip_properties(const BoundExpression& expression) {
  const BoundExpression* current = &expression;
  while (const auto* property = current->as<BoundExpression::Property>()) current = property->base.get();
  return *current;
}

// Binary operators chain to the left (a + b + c is (a + b) + c), and a
// statement may chain 100,000 of them: too deep to recurse along. The
// chain's left spine (through property accesses too) is walked by a loop,
// its bottom operand evaluated, and the operators applied upward, each once
// its right operand is evaluated; only right operands recurse. Operands are
// evaluated left to right, as by recursion, so the first error is the same.
[[gnu::noinline]] Result<Operand> evaluate_binary_chain(const BoundExpression::Binary& top, const DataChunk& chunk) {
  InlineStack<const BoundExpression::Binary*, 8> spine;
  spine.push(&top);
  const BoundExpression* bottom = &strip_properties(*top.left);
  while (const auto* binary = bottom->as<BoundExpression::Binary>()) {
    spine.push(binary);
    bottom = &strip_properties(*binary->left);
  }
  Result<Operand> left = evaluate_operand(*bottom, chunk);
  while (left.ok() && !spine.empty()) {
    const BoundExpression::Binary& link = *spine.pop();
    Result<Operand> right = evaluate_operand(*link.right, chunk);
    if (!right.ok()) return right;
    make_binary(link.op, *left, *right, chunk);
  }
  return left;
}

[[gnu::noinline]] Result<Operand> evaluate_unary(const BoundExpression::Unary& unary, const DataChunk& chunk) {
  Result<Operand> operand = evaluate_operand(*unary.operand, chunk);
  if (operand.ok()) make_unary(unary.op, *operand, chunk);
  return operand;
}

[[gnu::noinline]] Result<Operand> evaluate_is_null(const BoundExpression::IsNull& is_null, const DataChunk& chunk) {
  Result<Operand> operand = evaluate_operand(*is_null.operand, chunk);
  if (operand.ok()) make_is_null(is_null.negated, *operand, chunk);
  return operand;
}

[[gnu::noinline]] Result<Operand> evaluate_in(const BoundExpression::In& in, const DataChunk& chunk) {
  Result<Operand> operand = evaluate_operand(*in.operand, chunk);
  if (!operand.ok()) return operand;
  Result<Operand> list = evaluate_operand(*in.list, chunk);
  if (list.ok()) make_in(in.negated, *operand, *list, chunk);
  return list;
}

// Dispatches on the expression's kind; nested operands go through
// evaluate_operand.
Result<Operand> evaluate_node(const BoundExpression& expression, const DataChunk& chunk) {
  const BoundExpression& current = strip_properties(expression);
  switch (current.kind()) {
    case BoundExpression::Kind::Binary: return evaluate_binary_chain(*current.as<BoundExpression::Binary>(), chunk);
    case BoundExpression::Kind::Unary: return evaluate_unary(*current.as<BoundExpression::Unary>(), chunk);
    case BoundExpression::Kind::FunctionCall: {
      const auto& call = *current.as<BoundExpression::FunctionCall>();
      return evaluate_call(call.name, call.args, chunk);
    }
    case BoundExpression::Kind::WindowFunction: {
      // Partitions and window order are not applied: the function runs row by row.
      const auto& window = *current.as<BoundExpression::WindowFunction>();
      return evaluate_call(window.name, window.args, chunk);
    }
    case BoundExpression::Kind::IsNull: return evaluate_is_null(*current.as<BoundExpression::IsNull>(), chunk);
    case BoundExpression::Kind::In: return evaluate_in(*current.as<BoundExpression::In>(), chunk);
    case BoundExpression::Kind::Literal:
    case BoundExpression::Kind::Variable:
    case BoundExpression::Kind::Property:  // stripped above
    case BoundExpression::Kind::Parameter:
    case BoundExpression::Kind::List:
    case BoundExpression::Kind::Map: break;
  }
  return evaluate_leaf(current, chunk);
}

[[gnu::noinline, gnu::cold]] Result<Operand> out_of_stack(std::string_view text) {
  return Error::execution(std::string(text));
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
  if (!stack_has_room()) [[unlikely]]
    return out_of_stack(kNestedTooDeeply);
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
  // The operators above this call used the stack, not the expression.
  if (!stack_has_room()) return Error::execution(std::string(kTooLarge));
  ZELVO_ASSIGN_OR_RETURN(Operand result, evaluate_node(expression, chunk));
  return std::move(result).take();
}

}  // namespace zelvo
