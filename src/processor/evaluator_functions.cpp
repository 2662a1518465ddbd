// The scalar functions of the evaluator, applied row by row.
#include <algorithm>
#include <bit>
#include <span>
#include <string>

#include "common/unicode_case.h"
#include "processor/cell_reading.h"
#include "processor/evaluator.h"

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

Value apply_function(ScalarFunction function, std::span<const Value> args) {
  const Value* first = args.empty() ? nullptr : &args.front();
  const bool first_is_string = first != nullptr && first->kind() == ValueKind::String;
  switch (function) {
    case ScalarFunction::Abs: return first == nullptr ? Value::null() : absolute_value(*first);
    case ScalarFunction::Size: return first == nullptr ? Value::null() : size_of(*first);
    case ScalarFunction::Lower:
      return first_is_string ? Value::string(unicode::to_lower(first->as_string())) : Value::null();
    case ScalarFunction::Upper:
      return first_is_string ? Value::string(unicode::to_upper(first->as_string())) : Value::null();
    case ScalarFunction::Coalesce: {
      const auto found = std::find_if(args.begin(), args.end(), [](const Value& v) { return !v.is_null(); });
      return found == args.end() ? Value::null() : *found;
    }
    case ScalarFunction::Unknown: return Value::null();
  }
  return Value::null();
}

}  // namespace

Result<Vector> evaluate_function_call(std::string_view name, const std::vector<BoundExpression>& args,
                                      const DataChunk& chunk) {
  std::vector<Vector> arg_vectors;
  arg_vectors.reserve(args.size());
  for (const BoundExpression& arg : args) {
    ZELVO_ASSIGN_OR_RETURN(Vector vector, evaluate(arg, chunk));
    arg_vectors.push_back(std::move(vector));
  }
  const ScalarFunction function = scalar_function_named(name);
  const std::uint64_t rows = arg_vectors.empty() ? 1 : arg_vectors.front().capacity();

  std::vector<Value> values(static_cast<std::size_t>(rows));
  if (function != ScalarFunction::Unknown) {
    std::vector<Value> row_args(arg_vectors.size());
    for (std::uint64_t row = 0; row < rows; ++row) {
      for (std::size_t i = 0; i < arg_vectors.size(); ++i) row_args[i] = read_cell(arg_vectors[i], row);
      values[static_cast<std::size_t>(row)] = apply_function(function, row_args);
    }
  }
  return Vector::from_values(LogicalType(LogicalTypeKind::Any), std::move(values));
}

}  // namespace zelvo
