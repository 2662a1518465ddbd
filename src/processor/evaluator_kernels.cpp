#include "processor/evaluator_kernels.h"

#include <cmath>
#include <limits>
#include <optional>

#include "processor/evaluator.h"

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

int three_way(auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); }

}  // namespace

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

Value unary_value(UnaryOp op, const Value& operand) {
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

}  // namespace zelvo
