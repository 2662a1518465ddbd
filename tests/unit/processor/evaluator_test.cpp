#include "processor/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chunk_source.h"
#include "processor/cell_reading.h"
#include "processor/operators/filter_operator.h"
#include "processor/operators/row_chunks.h"

namespace zelvo {
namespace {

using E = BoundExpression;

E lit(Value v) { return E::literal(std::move(v)); }
E call(std::string name, std::vector<E> args) { return E{E::FunctionCall{std::move(name), false, std::move(args)}}; }
Value i64(std::int64_t v) { return Value::int64(v); }
Value f64(double v) { return Value::float64(v); }
Value str(std::string v) { return Value::string(std::move(v)); }
Value list(ValueList v) { return Value::list(std::move(v)); }
const Value kNull = Value::null();
E param(std::string name) { return E{E::Parameter{std::move(name)}}; }
E list_of(std::vector<E> elements) { return E{E::List{std::move(elements)}}; }
E is_null(E operand, bool negated = false) { return E{E::IsNull{Box(std::move(operand)), negated}}; }
const double kNaN = std::numeric_limits<double>::quiet_NaN();

DataChunk empty_chunk() { return DataChunk(std::vector<LogicalType>{}); }

// The value of an expression over a chunk without rows (one row of constants).
std::string value_text(const E& expression) {
  Result<Vector> vector = evaluate(expression, empty_chunk());
  EXPECT_TRUE(vector.ok());
  return vector.ok() ? debug_text(read_cell(*vector, 0)) : "error";
}

TEST(Evaluator, BinaryKernel) {
  const struct {
    Value left;
    BinaryOp op;
    Value right;
    std::string expected;
  } cases[] = {
      {i64(1), BinaryOp::Add, i64(2), "Float64(3.0)"},
      {i64(7), BinaryOp::Sub, f64(0.5), "Float64(6.5)"},
      {i64(7), BinaryOp::Div, i64(0), "Float64(NaN)"},
      {i64(7), BinaryOp::Mod, i64(0), "Float64(NaN)"},
      {i64(7), BinaryOp::Mod, i64(4), "Float64(3.0)"},
      {i64(2), BinaryOp::Pow, i64(10), "Float64(1024.0)"},
      {str("a"), BinaryOp::Add, i64(1), "Null"},
      {i64(1), BinaryOp::Eq, f64(1.0), "Bool(true)"},
      {str("a"), BinaryOp::Lt, str("ab"), "Bool(true)"},
      {str("B"), BinaryOp::Gt, str("a"), "Bool(false)"},
      {i64(1), BinaryOp::Eq, str("1"), "Bool(false)"},
      {i64(1), BinaryOp::Ne, str("1"), "Bool(true)"},
      {kNull, BinaryOp::Eq, kNull, "Bool(false)"},
      {kNull, BinaryOp::Ne, kNull, "Bool(true)"},
      {f64(kNaN), BinaryOp::Ge, f64(kNaN), "Bool(false)"},
      {Value::boolean(false), BinaryOp::Le, Value::boolean(true), "Bool(true)"},
      {Value::boolean(false), BinaryOp::And, kNull, "Bool(false)"},
      {Value::boolean(true), BinaryOp::And, kNull, "Null"},
      {kNull, BinaryOp::Or, Value::boolean(true), "Bool(true)"},
      {kNull, BinaryOp::Or, Value::boolean(false), "Null"},
      {kNull, BinaryOp::Xor, Value::boolean(true), "Null"},
      {i64(5), BinaryOp::And, Value::boolean(true), "Bool(true)"},
      {i64(5), BinaryOp::Xor, Value::boolean(true), "Bool(false)"},
      {str("ab"), BinaryOp::Concat, str("c"), R"(String("abc"))"},
      {str("ab"), BinaryOp::Concat, i64(1), "Null"},
      {i64(1), BinaryOp::Range, i64(3), "Null"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(value_text(E::binary(lit(c.left), c.op, lit(c.right))), c.expected)
        << debug_text(c.left) << " " << static_cast<int>(c.op) << " " << debug_text(c.right);
  }
}

TEST(Evaluator, UnaryNullTestsAndMembership) {
  const std::int64_t min = std::numeric_limits<std::int64_t>::min();
  const E five = lit(i64(5));
  const struct {
    E expression;
    std::string expected;
  } cases[] = {
      {E::unary(UnaryOp::Neg, lit(i64(min))), "Int64(-9223372036854775808)"},
      {E::unary(UnaryOp::Neg, lit(f64(0.0))), "Float64(-0.0)"},
      {E::unary(UnaryOp::Not, lit(Value::boolean(true))), "Bool(false)"},
      {E::unary(UnaryOp::Not, five), "Null"},
      {E::unary(UnaryOp::Pos, lit(str("x"))), R"(String("x"))"},
      {E{E::IsNull{Box(lit(kNull)), false}}, "Bool(true)"},
      {E{E::IsNull{Box(five), true}}, "Bool(true)"},
      {E{E::In{Box(five), Box(lit(list({i64(1), i64(5)}))), false}}, "Bool(true)"},
      {E{E::In{Box(lit(f64(5.0))), Box(lit(list({i64(5)}))), false}}, "Bool(false)"},  // equality, not comparison
      {E{E::In{Box(five), Box(lit(list({}))), true}}, "Bool(true)"},
      {E{E::In{Box(five), Box(lit(i64(5))), false}}, "Bool(false)"},         // not a list
      {E{E::In{Box(five), Box(E{E::List{{five}}}), false}}, "Bool(false)"},  // lists are not built
      {E::property(lit(i64(3)), "name"), "Int64(3)"},
  };
  for (const auto& c : cases) EXPECT_EQ(value_text(c.expression), c.expected) << debug_text(c.expression);
}

TEST(Evaluator, Functions) {
  const struct {
    std::string name;
    std::vector<Value> args;
    std::string expected;
  } cases[] = {
      {"abs", {i64(-5)}, "Int64(5)"},
      {"ABS", {i64(std::numeric_limits<std::int64_t>::min())}, "Int64(-9223372036854775808)"},
      {"abs", {f64(-2.5)}, "Float64(2.5)"},
      {"abs", {}, "Null"},
      {"size", {str("héllo")}, "Int64(6)"},
      {"Length", {list({i64(1), kNull})}, "Int64(2)"},
      {"size", {i64(3)}, "Null"},
      {"toLower", {str("ΣΑΣ Straße")}, R"(String("σας straße"))"},
      {"upper", {str("straße")}, R"(String("STRASSE"))"},
      {"lower", {i64(1)}, "Null"},
      {"coalesce", {kNull, i64(3), i64(4)}, "Int64(3)"},
      {"coalesce", {kNull}, "Null"},
      {"currval", {str("s")}, "Null"},
      {"substring", {str("abc"), i64(1)}, "Null"},
      {"ΑBS", {i64(-1)}, "Null"},  // a Greek capital alpha: not abs
  };
  for (const auto& c : cases) {
    std::vector<E> args;
    for (const Value& v : c.args) args.push_back(lit(v));
    EXPECT_EQ(value_text(call(c.name, std::move(args))), c.expected) << c.name;
  }
}

TEST(Evaluator, ColumnsAndRowCounts) {
  DataChunk chunk({LogicalType(LogicalTypeKind::Int64), LogicalType(LogicalTypeKind::String)});
  for (std::int64_t i = 0; i < 3; ++i) {
    const Value row[] = {i64(i), i == 1 ? kNull : str("s" + std::to_string(i))};
    chunk.append_row(row);
  }
  const auto rows_of = [&chunk](const E& expression) {
    Result<Vector> vector = evaluate(expression, chunk);
    EXPECT_TRUE(vector.ok());
    std::vector<Value> values;
    for (std::uint64_t row = 0; row < 3; ++row) values.push_back(read_cell(*vector, row));
    return std::pair(vector->capacity(), debug_text(values));
  };
  const struct {
    E expression;
    std::uint64_t rows;
    std::string values;
  } cases[] = {
      {E::variable("n"), 2048, "[Int64(0), Int64(1), Int64(2)]"},  // a copy of the column
      {E::variable("col_1"), 2048, R"([String("s0"), Null, String("s2")])"},
      {E::variable("col_+1"), 2048, R"([String("s0"), Null, String("s2")])"},
      {E::variable("col_2"), 3, "[Null, Null, Null]"},
      {E::variable("col_99999999999999999999"), 2048, "[Int64(0), Int64(1), Int64(2)]"},  // overflow: column 0
      {lit(i64(7)), 3, "[Int64(7), Int64(7), Int64(7)]"},
      {E::binary(E::variable("col_0"), BinaryOp::Mul, lit(i64(2))), 3, "[Float64(0.0), Float64(2.0), Float64(4.0)]"},
      {E{E::IsNull{Box(E::variable("col_1")), false}}, 3, "[Bool(false), Bool(true), Bool(false)]"},
      {call("upper", {E::variable("col_1")}), 3, R"([String("S0"), Null, String("S2")])"},
      {call("abs", {}), 3, "[Null, Null, Null]"},
      {E{E::Parameter{"p"}}, 3, "[Null, Null, Null]"},
  };
  for (const auto& c : cases) {
    const auto [rows, values] = rows_of(c.expression);
    EXPECT_EQ(values, c.values) << debug_text(c.expression);
    EXPECT_EQ(rows, c.rows) << debug_text(c.expression);
  }
  EXPECT_EQ(variable_column_index("col_"), 0U);
  EXPECT_EQ(variable_column_index("col_12"), 12U);
  EXPECT_EQ(variable_column_index("col_-1"), 0U);
}

// The values an expression gives for the rows of a chunk (row 0 of a chunk
// without rows: constants have one row there), or the error's text.
std::string answers(const E& expression, const DataChunk& chunk) {
  Result<Vector> vector = evaluate(expression, chunk);
  if (!vector.ok()) return vector.error().display();
  std::vector<Value> values;
  for (std::uint64_t row = 0; row < std::max<std::uint64_t>(chunk.count(), 1); ++row) {
    values.push_back(read_cell(*vector, row));
  }
  return debug_text(values);
}

// Expressions over the one row that DELETE and SET answer (its count, in a
// column made for 2048 rows), over the scan's chunk (no columns, no rows)
// and over rows of mixed kinds: parameters, lists and maps read as Null,
// functions apply row by row, operators combine rows of the same index.
TEST(Evaluator, AnswersOverCountRowsEmptyChunksAndMixedRows) {
  const DataChunk count_row = count_chunk(7);
  const DataChunk scan_chunk = empty_chunk();
  const DataChunk mixed = testing::value_rows({{i64(-2)}, {kNull}, {str("ab")}});
  const E n = E::variable("n");
  const auto fn = [](std::string name, std::vector<E> args) { return call(std::move(name), std::move(args)); };
  const struct {
    E expression;
    std::string over_count;
    std::string over_scan;
    std::string over_mixed;
  } cases[] = {
      {n, "[Int64(7)]", "[Null]", R"([Int64(-2), Null, String("ab")])"},
      {E::binary(E::binary(n, BinaryOp::Add, n), BinaryOp::Add, n), "[Float64(21.0)]", "[Null]",
       "[Float64(-6.0), Null, Null]"},
      {E::binary(E::property(E::property(n, "a"), "b"), BinaryOp::Mul, lit(i64(2))), "[Float64(14.0)]", "[Null]",
       "[Float64(-4.0), Null, Null]"},
      {E::unary(UnaryOp::Neg, n), "[Int64(-7)]", "[Null]", "[Int64(2), Null, Null]"},
      {E::unary(UnaryOp::Not, n), "[Null]", "[Null]", "[Null, Null, Null]"},
      {is_null(n), "[Bool(false)]", "[Bool(true)]", "[Bool(false), Bool(true), Bool(false)]"},
      {param("p"), "[Null]", "[Null]", "[Null, Null, Null]"},
      {is_null(param("p")), "[Bool(true)]", "[Bool(true)]", "[Bool(true), Bool(true), Bool(true)]"},
      {is_null(param("p"), true), "[Bool(false)]", "[Bool(false)]", "[Bool(false), Bool(false), Bool(false)]"},
      {list_of({lit(i64(1)), n}), "[Null]", "[Null]", "[Null, Null, Null]"},
      {E{E::Map{{{"k", n}}}}, "[Null]", "[Null]", "[Null, Null, Null]"},
      {is_null(E{E::Map{{{"k", n}}}}), "[Bool(true)]", "[Bool(true)]", "[Bool(true), Bool(true), Bool(true)]"},
      {E{E::In{Box(n), Box(list_of({n})), false}}, "[Bool(false)]", "[Bool(false)]",
       "[Bool(false), Bool(false), Bool(false)]"},
      {E{E::In{Box(n), Box(param("p")), true}}, "[Bool(true)]", "[Bool(true)]", "[Bool(true), Bool(true), Bool(true)]"},
      {E::binary(n, BinaryOp::Add, param("p")), "[Null]", "[Null]", "[Null, Null, Null]"},
      {E::binary(param("p"), BinaryOp::Eq, param("p")), "[Bool(false)]", "[Bool(false)]",
       "[Bool(false), Bool(false), Bool(false)]"},
      {E::binary(n, BinaryOp::Ne, param("p")), "[Bool(true)]", "[Bool(true)]", "[Bool(true), Bool(true), Bool(true)]"},
      {E::binary(E::binary(n, BinaryOp::Gt, lit(i64(0))), BinaryOp::Or, is_null(param("p"))), "[Bool(true)]",
       "[Bool(true)]", "[Bool(true), Bool(true), Bool(true)]"},
      {fn("coalesce", {param("p"), lit(str("abc"))}), R"([String("abc")])", R"([String("abc")])",
       R"([String("abc"), String("abc"), String("abc")])"},
      {fn("coalesce", {param("p"), n}), "[Int64(7)]", "[Null]", R"([Int64(-2), Null, String("ab")])"},
      {fn("coalesce", {n, param("p"), lit(i64(5))}), "[Int64(7)]", "[Int64(5)]",
       R"([Int64(-2), Int64(5), String("ab")])"},
      {fn("abs", {param("p")}), "[Null]", "[Null]", "[Null, Null, Null]"},
      {fn("abs", {n}), "[Int64(7)]", "[Null]", "[Int64(2), Null, Null]"},
      {fn("size", {fn("upper", {n})}), "[Null]", "[Null]", "[Null, Null, Int64(2)]"},
      {fn("size", {lit(str("héllo"))}), "[Int64(6)]", "[Int64(6)]", "[Int64(6), Int64(6), Int64(6)]"},
      {fn("nope", {n}), "[Null]", "[Null]", "[Null, Null, Null]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(answers(c.expression, count_row), c.over_count) << debug_text(c.expression);
    EXPECT_EQ(answers(c.expression, scan_chunk), c.over_scan) << debug_text(c.expression);
    EXPECT_EQ(answers(c.expression, mixed), c.over_mixed) << debug_text(c.expression);
  }
}

// A chunk longer than 2048 rows, as a filter hands on: constants (the Null
// of parameters, lists and maps included) and functions of them read the
// same in every row, and operators cover every row.
TEST(Evaluator, EveryRowOfALongChunk) {
  constexpr std::int64_t kRows = 3000;
  std::vector<std::vector<Value>> rows;
  for (std::int64_t row = 0; row < kRows; ++row) rows.push_back({i64(row)});
  const DataChunk chunk = testing::value_rows(rows);
  const E n = E::variable("n");
  const struct {
    E expression;
    std::string expected;  // at every row; # stands for the row number
  } cases[] = {
      {is_null(param("p")), "Bool(true)"},
      {is_null(list_of({n}), true), "Bool(false)"},
      {is_null(E{E::Map{{{"k", n}}}}), "Bool(true)"},
      {is_null(call("abs", {})), "Bool(true)"},
      {is_null(call("upper", {param("p")})), "Bool(true)"},
      {E::binary(param("p"), BinaryOp::Ne, param("p")), "Bool(true)"},
      {E{E::In{Box(n), Box(param("p")), true}}, "Bool(true)"},
      {call("coalesce", {param("p"), lit(str("x"))}), R"(String("x"))"},
      {call("coalesce", {param("p"), n}), "Int64(#)"},
      {E::binary(E::binary(n, BinaryOp::Ge, lit(i64(0))), BinaryOp::And, is_null(param("p"))), "Bool(true)"},
      {E::unary(UnaryOp::Neg, E::unary(UnaryOp::Neg, n)), "Int64(#)"},
  };
  for (const auto& c : cases) {
    Result<Vector> vector = evaluate(c.expression, chunk);
    ASSERT_TRUE(vector.ok());
    for (const std::int64_t row :
         {std::int64_t{0}, std::int64_t{2047}, std::int64_t{2048}, std::int64_t{2100}, kRows - 1}) {
      std::string expected = c.expected;
      if (const std::size_t at = expected.find('#'); at != std::string::npos) {
        expected.replace(at, 1, std::to_string(row));
      }
      EXPECT_EQ(debug_text(read_cell(*vector, static_cast<std::uint64_t>(row))), expected)
          << debug_text(c.expression) << " at row " << row;
    }
  }

  // A filter keeps the rows whose predicate holds, all the way down the chunk.
  const struct {
    E predicate;
    std::uint64_t kept;
  } filters[] = {
      {is_null(param("p")), kRows},
      {E::binary(call("coalesce", {param("p"), n}), BinaryOp::Ge, lit(i64(2100))), 900},
  };
  for (const auto& f : filters) {
    std::vector<DataChunk> input;
    input.push_back(chunk);
    FilterOperator filter(f.predicate, std::make_unique<testing::ChunkSource>(std::move(input)));
    ASSERT_TRUE(filter.init().ok());
    Result<std::optional<DataChunk>> kept = filter.next_chunk();
    ASSERT_TRUE(kept.ok() && kept->has_value());
    EXPECT_EQ((*kept)->count(), f.kept) << debug_text(f.predicate);
  }
}

}  // namespace
}  // namespace zelvo
