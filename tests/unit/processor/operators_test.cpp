#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "chunk_source.h"
#include "processor/operators/aggregate_operator.h"
#include "processor/operators/delete_operator.h"
#include "processor/operators/filter_operator.h"
#include "processor/operators/foreach_operator.h"
#include "processor/operators/limit_operator.h"
#include "processor/operators/merge_operator.h"
#include "processor/operators/order_by_operator.h"
#include "processor/operators/project_operator.h"
#include "processor/operators/recursive_extend_operator.h"
#include "processor/operators/scan_node_operator.h"
#include "processor/operators/set_property_operator.h"

namespace zelvo {
namespace {

using testing::ChunkSource;
using testing::drain;
using testing::int_rows;
using testing::value_rows;
using E = BoundExpression;
using Strings = std::vector<std::string>;
using Factory = std::function<OperatorPtr(OperatorPtr)>;

E col(int i) { return E::variable("col_" + std::to_string(i)); }
E lit(Value v) { return E::literal(std::move(v)); }
E gt(E a, std::int64_t b) { return E::binary(std::move(a), BinaryOp::Gt, lit(Value::int64(b))); }

// Chunks of 3, 0 and 2 Int64 rows: 1 2 3 | | 4 5.
std::vector<DataChunk> standard_input() { return {int_rows({{1}, {2}, {3}}), int_rows({}), int_rows({{4}, {5}})}; }

OperatorPtr source(std::vector<DataChunk> chunks) { return std::make_unique<ChunkSource>(std::move(chunks)); }

std::vector<AggregateExpr> aggregates_of(const std::vector<std::string>& names, const E& arg) {
  std::vector<AggregateExpr> aggregates;
  for (const std::string& name : names) aggregates.push_back(AggregateExpr{name, false, arg, name});
  return aggregates;
}

OperatorPtr extend(OperatorPtr child, std::uint32_t min_hops, std::uint32_t max_hops) {
  return std::make_unique<RecursiveExtendOperator>(std::move(child), RecursiveExtendOperator::Pattern{}, min_hops,
                                                   max_hops);
}

// Each operator over the standard input; every one of them is run twice (a
// second init starts afresh) and once over an input that fails after its
// first chunk.
TEST(Operators, OverChosenChunks) {
  const struct {
    std::string name;
    Factory make;
    Strings expected;
    Strings expected_on_error;
  } cases[] = {
      {"filter",
       [](OperatorPtr in) { return std::make_unique<FilterOperator>(gt(col(0), 3), std::move(in)); },
       {"4 5"},
       {"Execution error: boom"}},
      {"filter keeping all",
       [](OperatorPtr in) { return std::make_unique<FilterOperator>(gt(col(0), 0), std::move(in)); },
       {"1 2 3", "4 5"},
       {"1 2 3", "Execution error: boom"}},
      {"filter on non-Bool",
       [](OperatorPtr in) { return std::make_unique<FilterOperator>(col(0), std::move(in)); },
       {},
       {"Execution error: boom"}},
      {"project",
       [](OperatorPtr in) {
         std::vector<ProjectionPair> pairs;
         pairs.emplace_back(E::binary(col(0), BinaryOp::Mul, lit(Value::int64(2))), "a");
         pairs.emplace_back(E{E::FunctionCall{"abs", false, {}}}, "b");  // one row: Null past it
         return std::make_unique<ProjectOperator>(std::move(pairs), std::move(in));
       },
       {"Float64(2.0),null Float64(4.0),null Float64(6.0),null", "", "Float64(8.0),null Float64(10.0),null"},
       {"Float64(2.0),null Float64(4.0),null Float64(6.0),null", "Execution error: boom"}},
      {"aggregate",
       [](OperatorPtr in) {
         return std::make_unique<AggregateOperator>(
             std::vector<E>{}, aggregates_of({"COUNT", "sum", "avg", "min", "max", "collect"}, col(0)), std::move(in));
       },
       {"5,Float64(15.0),Float64(3.0),1,5,null"},
       {"Execution error: boom"}},
      {"order by",
       [](OperatorPtr in) {
         return std::make_unique<OrderByOperator>(std::vector<BoundOrderItem>{{col(0), false}}, std::move(in));
       },
       {"5", "4", "3", "2", "1"},
       {"Execution error: boom"}},
      {"limit 3 skip 2",
       [](OperatorPtr in) { return std::make_unique<LimitOperator>(std::move(in), 3, 2); },
       {"3", "", "4 5"},
       {"3", "Execution error: boom"}},
      {"limit 2",
       [](OperatorPtr in) { return std::make_unique<LimitOperator>(std::move(in), 2, 0); },
       {"1 2"},
       {"1 2"}},
      {"skip 4",
       [](OperatorPtr in) { return std::make_unique<LimitOperator>(std::move(in), 100, 4); },
       {"5"},
       {"Execution error: boom"}},
      {"skip 3",
       [](OperatorPtr in) { return std::make_unique<LimitOperator>(std::move(in), 100, 3); },
       {"", "4 5"},
       {"Execution error: boom"}},
      {"delete",
       [](OperatorPtr in) { return std::make_unique<DeleteOperator>(Strings{"n"}, std::move(in), false); },
       {"5"},
       {"Execution error: boom"}},
      {"set property",
       [](OperatorPtr in) { return std::make_unique<SetPropertyOperator>(std::move(in), "n", "x", col(0)); },
       {"5"},
       {"Execution error: boom"}},
      {"foreach",
       [](OperatorPtr in) {
         return std::make_unique<ForeachOperator>(std::move(in), "x", col(0), std::vector<BoundUpdateClause>{});
       },
       {"1 2 3", "", "4 5"},
       {"1 2 3", "Execution error: boom"}},
      {"recursive extend 2..3",
       [](OperatorPtr in) { return extend(std::move(in), 2, 3); },
       {"1 2 3", "4 5", "1 2 3", "4 5"},
       {"Execution error: boom"}},
      {"recursive extend 9..20",
       [](OperatorPtr in) { return extend(std::move(in), 9, 20); },
       {"1 2 3", "4 5", "1 2 3", "4 5"},
       {"Execution error: boom"}},
      {"recursive extend 11..",
       [](OperatorPtr in) { return extend(std::move(in), 11, 4294967295U); },
       {},
       {"Execution error: boom"}},
  };
  for (const auto& c : cases) {
    OperatorPtr op = c.make(source(standard_input()));
    EXPECT_EQ(drain(*op), c.expected) << c.name;
    EXPECT_EQ(drain(*op), c.expected) << c.name << " (second run)";
    std::vector<DataChunk> first_only;
    first_only.push_back(int_rows({{1}, {2}, {3}}));
    OperatorPtr failing = c.make(std::make_unique<ChunkSource>(std::move(first_only), Error::execution("boom")));
    EXPECT_EQ(drain(*failing), c.expected_on_error) << c.name << " (failing input)";
  }
}

TEST(Operators, ScanAndPullCounts) {
  ScanNodeOperator scan({}, TableId{1});
  EXPECT_EQ(drain(scan), Strings{""});
  EXPECT_EQ(drain(scan), Strings{""});

  const struct {
    std::string name;
    std::function<OperatorPtr(OperatorPtr)> make;
    int pulls;  // pulls of the input while draining
  } cases[] = {
      {"limit 0", [](OperatorPtr in) { return std::make_unique<LimitOperator>(std::move(in), 0, 0); }, 0},
      {"limit 2", [](OperatorPtr in) { return std::make_unique<LimitOperator>(std::move(in), 2, 0); }, 1},
      {"filter dropping all",
       [](OperatorPtr in) { return std::make_unique<FilterOperator>(gt(col(0), 9), std::move(in)); }, 4},
  };
  for (const auto& c : cases) {
    auto input = std::make_unique<ChunkSource>(standard_input());
    ChunkSource& counted = *input;
    OperatorPtr op = c.make(std::move(input));
    (void)drain(*op);
    EXPECT_EQ(counted.pulls, c.pulls) << c.name;
    EXPECT_EQ(counted.inits, 1) << c.name;
  }
}

TEST(Operators, AggregateGroupsAndAccumulators) {
  const Value a = Value::string("a");
  const Value b = Value::string("b");
  std::vector<DataChunk> input;
  input.push_back(value_rows({{a, Value::int64(1)}, {b, Value::float64(2.5)}, {a, Value::null()}}));
  input.push_back(value_rows({{a, Value::string("x")}, {b, Value::int64(4)}, {a, Value::int64(3)}}));
  AggregateOperator op({col(0)}, aggregates_of({"count", "sum", "avg", "min", "max"}, col(1)),
                       source(std::move(input)));
  Strings groups = drain(op);
  std::sort(groups.begin(), groups.end());  // no group order is promised
  // Strings and Nulls leave sum, min and max alone; Int64 and Float64 values
  // compare equal, so a group mixing them keeps its first minimum and maximum.
  EXPECT_EQ(groups, (Strings{R"(String("a"),4,Float64(4.0),Float64(1.0),1,3)",
                             R"(String("b"),2,Float64(6.5),Float64(3.25),Float64(2.5),Float64(2.5))"}));

  AggregateOperator no_rows({}, aggregates_of({"count"}, col(0)), source({int_rows({})}));
  EXPECT_EQ(drain(no_rows), Strings{});
}

// Group keys that compare equal form one group whatever their bits: signed
// zeros and NaNs of each float kind, alone and inside lists, and decimals of
// different scales. A group shows its first key.
TEST(Operators, AggregateGroupsEqualKeysTogether) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const auto f64 = [](double v) { return Value::float64(v); };
  const auto f32 = [](float v) { return Value::float32(v); };
  const auto f16 = [](std::uint16_t bits) { return Value::float16(Float16{bits}); };
  const auto dec = [](UInt128 mantissa, std::uint32_t scale) {
    return Value::decimal(*Decimal::make(mantissa, scale, false));
  };
  const struct {
    std::vector<Value> keys;
    Strings expected;
  } cases[] = {
      {{f64(0.0), f64(-0.0), f64(0.0)}, {"Float64(0.0),3"}},
      {{f64(-0.0), f64(1.0), f64(0.0)}, {"Float64(-0.0),2", "Float64(1.0),1"}},
      {{f64(nan), f64(-nan), f64(std::nan("7"))}, {"Float64(NaN),3"}},
      {{f32(-0.0F), f32(0.0F), f32(std::nanf("")), f32(-std::nanf("2"))}, {"Float32(-0.0),2", "Float32(NaN),2"}},
      {{f16(0x8000), f16(0x0000), f16(0x7e00), f16(0xfc01)}, {"Float16(-0.0),2", "Float16(NaN),2"}},
      {{Value::list({f64(0.0)}), Value::list({f64(-0.0)})}, {"List([Float64(0.0)]),2"}},
      {{dec(15, 1), dec(1500, 3)}, {"Decimal(1.5),2"}},
  };
  for (const auto& c : cases) {
    std::vector<std::vector<Value>> rows;
    for (const Value& key : c.keys) rows.push_back({key});
    AggregateOperator op({col(0)}, aggregates_of({"count"}, col(0)), source({value_rows(rows)}));
    Strings groups = drain(op);
    std::sort(groups.begin(), groups.end());  // no group order is promised
    EXPECT_EQ(groups, c.expected) << c.expected.front();
  }
}

TEST(Operators, OrderByIsStableOverEqualAndIncomparableKeys) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const auto i = [](std::int64_t v) { return Value::int64(v); };
  const auto s = [](std::string v) { return Value::string(std::move(v)); };
  const struct {
    std::vector<std::vector<Value>> rows;  // key, then a tag
    bool ascending;
    Strings expected;
  } cases[] = {
      {{{i(1), s("x")}, {i(0), s("y")}, {i(1), s("z")}},
       true,
       {R"(0,String("y"))", R"(1,String("x"))", R"(1,String("z"))"}},
      {{{s("a"), i(1)}, {s("b"), i(2)}, {s("ab"), i(3)}},
       false,
       {R"(String("b"),2)", R"(String("ab"),3)", R"(String("a"),1)"}},
      {{{i(2), i(1)}, {Value::float64(1.0), i(2)}}, true, {"2,1", "Float64(1.0),2"}},
      {{{Value::float64(nan), i(1)}, {Value::float64(1.0), i(2)}}, true, {"Float64(NaN),1", "Float64(1.0),2"}},
      {{{Value::null(), i(1)}, {i(-1), i(2)}}, true, {"null,1", "-1,2"}},
  };
  for (const auto& c : cases) {
    std::vector<DataChunk> input;
    input.push_back(value_rows(c.rows));
    OrderByOperator op({{col(0), c.ascending}}, source(std::move(input)));
    EXPECT_EQ(drain(op), c.expected) << c.expected.front();
  }
}

TEST(Operators, MergeTakesOneChunkFromOneSide) {
  const struct {
    std::vector<std::vector<std::int64_t>> match_rows;
    Strings expected;
    bool matched;
    int create_pulls;
  } cases[] = {
      {{{1}, {2}}, {"1 2"}, true, 0},
      {{}, {"7"}, false, 1},
  };
  for (const auto& c : cases) {
    auto create = std::make_unique<ChunkSource>(std::vector<DataChunk>{int_rows({{7}}), int_rows({{8}})});
    ChunkSource& created = *create;
    std::vector<PlanSetItem> sets;
    sets.push_back(PlanSetItem{"n", "x", col(0)});
    MergeOperator op(source({int_rows(c.match_rows), int_rows({{9}})}), std::move(create), sets, sets);
    EXPECT_EQ(drain(op), c.expected);
    EXPECT_EQ(op.matched(), c.matched);
    EXPECT_EQ(created.pulls, c.create_pulls);
  }
}

}  // namespace
}  // namespace zelvo
