// The scalar functions of the evaluator, applied row by row.
#include <algorithm>
#include <bit>
#include <span>
#include <string>

#include "common/unicode_case.h"
#include "processor/cell_reading.h"
#include "processor/evaluator.h"
#include "processor/evaluator_operand.h"

namespace zelvo {

namespace {

enum class ScalarFunction : std::uint8_t { Abs, Size, Lower, Upper, Coalesce, Unknown };

ScalarFunction scalar_function_named(std::string_view name) {
  const std::string lower = unicode::to_lower(name);
  if (lower == "abs") return ScalarFunction::Abs;
  if (lower == "size" || lower == "length") return ScalarFunction::Size;
  if (lower == "lower" || lower == "tolower") return ScalarFunction::Lower;
  if (lower == "upper" || lower == "toupper") return ScalarFunction::Upper;
  if (lower == "coalesce") return ScalarFunction::Coalesce;
  return ScalarFunction::Unknown;  // currval and every unknown name give Null
}

Value absolute_value(const Value& value) {
  if (value.kind() == ValueKind::Int64) {
    // |x| wraps around: the most negative Int64 stays itself.
    const auto bits = static_cast<std::uint64_t>(value.as_int64());
    return Value::int64(static_cast<std::int64_t>(value.as_int64() < 0 ? std::uint64_t{0} - bits : bits));
  }
  if (value.kind() == ValueKind::Float64) {
    constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
    return Value::float64(std::bit_cast<double>(std::bit_cast<std::uint64_t>(value.as_float64()) & ~kSignBit));
  }
  return Value::null();
}

Value size_of(const Value& value) {
  if (value.kind() == ValueKind::String) return Value::int64(static_cast<std::int64_t>(value.as_string().size()));
  if (value.kind() == ValueKind::List) return Value::int64(static_cast<std::int64_t>(value.as_list().size()));
  return Value::null();
}

// The function's value for one row; `args` point at the row's argument values.
Value apply_function(ScalarFunction function, std::span<const Value* const> args) {
  const Value* first = args.empty() ? nullptr : args.front();
  const bool first_is_string = first != nullptr && first->kind() == ValueKind::String;
  switch (function) {
    case ScalarFunction::Abs: return first == nullptr ? Value::null() : absolute_value(*first);
    case ScalarFunction::Size: return first == nullptr ? Value::null() : size_of(*first);
    case ScalarFunction::Lower:
      return first_is_string ? Value::string(unicode::to_lower(first->as_string())) : Value::null();
    case ScalarFunction::Upper:
      return first_is_string ? Value::string(unicode::to_upper(first->as_string())) : Value::null();
    case ScalarFunction::Coalesce: {
      const auto found = std::find_if(args.begin(), args.end(), [](const Value* v) { return !v->is_null(); });
      return found == args.end() ? Value::null() : **found;
    }
    case ScalarFunction::Unknown: return Value::null();
  }
  return Value::null();
}

// The function applied over its evaluated arguments. Out of line: its
// locals stay out of the frame that evaluates the arguments, which nesting
// repeats once per level.
[[gnu::noinline]] Result<Operand> make_call(std::string_view name, const std::vector<Operand>& operands,
                                            const DataChunk& chunk) {
  const ScalarFunction function = scalar_function_named(name);
  if (function == ScalarFunction::Unknown) return Operand(constant_over(Value::null(), chunk));
  std::vector<Value> scratch(operands.size());
  std::vector<const Value*> row_args(operands.size());
  const auto value_at = [&](std::uint64_t row) {
    for (std::size_t i = 0; i < operands.size(); ++i) row_args[i] = &peek_cell(operands[i].vector(), row, scratch[i]);
    return apply_function(function, row_args);
  };
  // Arguments that read as one value each (or none at all) give one value.
  if (std::all_of(operands.begin(), operands.end(),
                  [](const Operand& operand) { return reads_as_one_value(operand.vector()); })) {
    return Operand(constant_over(value_at(0), chunk));
  }
  // The rows are those of the first argument: past its end a row is Null.
  const std::uint64_t rows = rows_within(operands.front().vector(), chunk.count());
  std::vector<Value> values;
  values.reserve(static_cast<std::size_t>(rows));
  for (std::uint64_t row = 0; row < rows; ++row) values.push_back(value_at(row));
  return Operand(Vector::from_values(LogicalType(LogicalTypeKind::Any), std::move(values)));
}

}  // namespace

// Not inlined into the evaluator's dispatch, whose frame every level of
// nesting repeats.
[[gnu::noinline]] Result<Operand> evaluate_call(std::string_view name, const std::vector<BoundExpression>& args,
                                                const DataChunk& chunk) {
  std::vector<Operand> operands;
  operands.reserve(args.size());
  for (const BoundExpression& arg : args) {
    Result<Operand> operand = evaluate_operand(arg, chunk);
    if (!operand.ok()) return operand;
    operands.push_back(std::move(*operand));
  }
  return make_call(name, operands, chunk);
}

Result<Vector> evaluate_function_call(std::string_view name, const std::vector<BoundExpression>& args,
                                      const DataChunk& chunk) {
  ZELVO_ASSIGN_OR_RETURN(Operand result, evaluate_call(name, args, chunk));
  return std::move(result).take();
}

}  // namespace zelvo
