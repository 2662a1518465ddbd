#include "processor/evaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "processor/cell_reading.h"

namespace zelvo {

namespace {

// Three-valued truth: Null is unknown, any value other than Bool false
// counts as true.
enum class Truth : std::uint8_t { False, True, Unknown };

Truth truth_of(const Value& value) {
  if (value.is_null()) return Truth::Unknown;
  if (value.kind() == ValueKind::Bool) return value.as_bool() ? Truth::True : Truth::False;
  return Truth::True;
}

Value truth_value(Truth truth) {
  return truth == Truth::Unknown ? Value::null() : Value::boolean(truth == Truth::True);
}

std::optional<double> number_of(const Value& value) {
  if (value.kind() == ValueKind::Int64) return static_cast<double>(value.as_int64());
  if (value.kind() == ValueKind::Float64) return value.as_float64();
  return std::nullopt;
}

// Arithmetic is carried out in f64 whatever the operand kinds.
Value arithmetic_value(BinaryOp op, const Value& left, const Value& right) {
  const std::optional<double> a = number_of(left);
  const std::optional<double> b = number_of(right);
  if (!a || !b) return Value::null();
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  switch (op) {
    case BinaryOp::Add: return Value::float64(*a + *b);
    case BinaryOp::Sub: return Value::float64(*a - *b);
    case BinaryOp::Mul: return Value::float64(*a * *b);
    case BinaryOp::Div: return Value::float64(*b == 0.0 ? kNaN : *a / *b);
    case BinaryOp::Mod: return Value::float64(*b == 0.0 ? kNaN : std::fmod(*a, *b));
    default: return Value::float64(std::pow(*a, *b));
  }
}

bool comparison_holds(BinaryOp op, int order) {
  switch (op) {
    case BinaryOp::Eq: return order == 0;
    case BinaryOp::Ne: return order != 0;
    case BinaryOp::Lt: return order == -1;
    case BinaryOp::Le: return order == -1 || order == 0;
    case BinaryOp::Gt: return order == 1;
    default: return order == 0 || order == 1;
  }
}

Value logic_value(BinaryOp op, const Value& left, const Value& right) {
  const Truth a = truth_of(left);
  const Truth b = truth_of(right);
  switch (op) {
    case BinaryOp::And:
      if (a == Truth::False || b == Truth::False) return Value::boolean(false);
      return truth_value(a == Truth::Unknown || b == Truth::Unknown ? Truth::Unknown : Truth::True);
    case BinaryOp::Or:
      if (a == Truth::True || b == Truth::True) return Value::boolean(true);
      return truth_value(a == Truth::Unknown || b == Truth::Unknown ? Truth::Unknown : Truth::False);
    default:
      if (a == Truth::Unknown || b == Truth::Unknown) return Value::null();
      return Value::boolean(a != b);
  }
}

Value binary_value(BinaryOp op, const Value& left, const Value& right) {
  switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Sub:
    case BinaryOp::Mul:
    case BinaryOp::Div:
    case BinaryOp::Mod:
    case BinaryOp::Pow: return arithmetic_value(op, left, right);
    case BinaryOp::Eq:
    case BinaryOp::Ne:
    case BinaryOp::Lt:
    case BinaryOp::Le:
    case BinaryOp::Gt:
    case BinaryOp::Ge: return Value::boolean(comparison_holds(op, compare_scalar_values(left, right)));
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor: return logic_value(op, left, right);
    case BinaryOp::Concat:
      if (left.kind() == ValueKind::String && right.kind() == ValueKind::String) {
        return Value::string(left.as_string() + right.as_string());
      }
      return Value::null();
    case BinaryOp::Range: return Value::null();
  }
  return Value::null();
}

// Comparisons and logic give Bool columns, Concat keeps its strings, the
// rest are Float64 columns.
LogicalTypeKind binary_result_kind(BinaryOp op) {
  switch (op) {
    case BinaryOp::Eq:
    case BinaryOp::Ne:
    case BinaryOp::Lt:
    case BinaryOp::Le:
    case BinaryOp::Gt:
    case BinaryOp::Ge:
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor: return LogicalTypeKind::Bool;
    case BinaryOp::Concat: return LogicalTypeKind::String;
    default: return LogicalTypeKind::Float64;
  }
}

Value unary_value(UnaryOp op, Value operand) {
  switch (op) {
    case UnaryOp::Not: return operand.kind() == ValueKind::Bool ? Value::boolean(!operand.as_bool()) : Value::null();
    case UnaryOp::Neg:
      if (operand.kind() == ValueKind::Int64) {
        // Negation wraps around: the most negative Int64 stays itself.
        return Value::int64(
            static_cast<std::int64_t>(std::uint64_t{0} - static_cast<std::uint64_t>(operand.as_int64())));
      }
      if (operand.kind() == ValueKind::Float64) return Value::float64(-operand.as_float64());
      return Value::null();
    case UnaryOp::Pos: return operand;
  }
  return Value::null();
}

int three_way(auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); }

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

int compare_scalar_values(const Value& left, const Value& right) {
  if (left.is_null() || right.is_null()) return kIncomparable;
  const ValueKind a = left.kind();
  const ValueKind b = right.kind();
  if (a == ValueKind::Bool && b == ValueKind::Bool) return three_way(left.as_bool(), right.as_bool());
  if (a == ValueKind::Int64 && b == ValueKind::Int64) return three_way(left.as_int64(), right.as_int64());
  if (a == ValueKind::String && b == ValueKind::String) {
    const int order = left.as_string().compare(right.as_string());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
  }
  const std::optional<double> x = number_of(left);
  const std::optional<double> y = number_of(right);
  if (!x || !y) return kIncomparable;
  if (std::isnan(*x) || std::isnan(*y)) return kIncomparable;
  return three_way(*x, *y);
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
