#include "common/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/invariant.h"

namespace zelvo {
namespace {

std::uint64_t hash_of(const Value& value) {
  Hasher hasher(42);
  value.hash(hasher);
  return hasher.finish();
}

Value dec(UInt128 mantissa, std::uint32_t scale, bool negative = false) {
  return Value::decimal(*Decimal::make(mantissa, scale, negative));
}

TEST(Value, DebugTextOfEveryKind) {
  Uuid uuid;
  for (std::uint8_t i = 0; i < 16; ++i) uuid.bytes[i] = i;
  const InternalId id{TableId{3}, Offset{5}};
  const struct {
    Value value;
    std::string text;
  } cases[] = {
      {Value::null(), "Null"},
      {Value::boolean(true), "Bool(true)"},
      {Value::int8(-8), "Int8(-8)"},
      {Value::int16(-16), "Int16(-16)"},
      {Value::int32(32), "Int32(32)"},
      {Value::int64(1), "Int64(1)"},
      {Value::int128(static_cast<Int128>(UInt128{1} << 127)), "Int128(-170141183460469231731687303715884105728)"},
      {Value::uint8(255), "UInt8(255)"},
      {Value::uint16(65535), "UInt16(65535)"},
      {Value::uint32(7), "UInt32(7)"},
      {Value::uint64(18446744073709551615ULL), "UInt64(18446744073709551615)"},
      {Value::uint128(~UInt128{0}), "UInt128(340282366920938463463374607431768211455)"},
      {Value::float16(Float16{0x3e00}), "Float16(1.5)"},
      {Value::float32(0.1F), "Float32(0.1)"},
      {Value::float64(1.0), "Float64(1.0)"},
      {dec(150, 2), "Decimal(1.50)"},
      {Value::date(Date::from_civil(2024, 1, 31)), "Date(2024-01-31)"},
      {Value::timestamp(Timestamp{Date::from_civil(2024, 1, 31), 13 * 3600 + 45 * 60, 0}),
       "Timestamp(2024-01-31T13:45:00)"},
      {Value::interval(Interval{1, 2, 3}), "Interval { months: 1, days: 2, micros: 3 }"},
      {Value::string("a\"b"), R"(String("a\"b"))"},
      {Value::blob({1, 2, 255}), "Blob([1, 2, 255])"},
      {Value::uuid(uuid), "Uuid(00010203-0405-0607-0809-0a0b0c0d0e0f)"},
      {Value::list({Value::int64(1), Value::null()}), "List([Int64(1), Null])"},
      {Value::struct_value({{"a", Value::int64(1)}}), R"(Struct([("a", Int64(1))]))"},
      {Value::map({{Value::int64(1), Value::int64(2)}}), "Map([(Int64(1), Int64(2))])"},
      {Value::internal_id(InternalId{TableId{1}, Offset{0}}),
       "InternalId(InternalId { table_id: TableId(1), offset: Offset(0) })"},
      {Value::node(NodeValue{id, {"Person"}, {{"name", Value::string("Ann")}}}),
       R"(Node(NodeValue { id: InternalId { table_id: TableId(3), offset: Offset(5) }, labels: ["Person"], )"
       R"(properties: [("name", String("Ann"))] }))"},
      {Value::rel(RelValue{id, id, id, "KNOWS", {}}),
       "Rel(RelValue { id: InternalId { table_id: TableId(3), offset: Offset(5) }, src: InternalId { table_id: "
       "TableId(3), offset: Offset(5) }, dst: InternalId { table_id: TableId(3), offset: Offset(5) }, rel_type: "
       "\"KNOWS\", properties: [] })"},
  };
  int kind = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(c.value.kind()), kind++);
    EXPECT_EQ(debug_text(c.value), c.text);
  }
  EXPECT_EQ(kind, kValueKindCount);
  EXPECT_EQ(pretty_debug_text(Value::int64(1)), "Int64(\n    1,\n)");
}

TEST(Value, FloatTexts) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    std::string text;
  } doubles[] = {
      {1.0, "1.0"},           {0.5, "0.5"},          {-2.25, "-2.25"},
      {1e16, "1e16"},         {1.5e16, "1.5e16"},    {9999999999999998.0, "9999999999999998.0"},
      {1e-5, "1e-5"},         {1.25e-7, "1.25e-7"},  {0.0001, "0.0001"},
      {0.0, "0.0"},           {-0.0, "-0.0"},        {inf, "inf"},
      {-inf, "-inf"},         {std::nan(""), "NaN"}, {0.1 + 0.2, "0.30000000000000004"},
      {123456.0, "123456.0"}, {1e300, "1e300"},      {5e-324, "5e-324"},
  };
  for (const auto& c : doubles) EXPECT_EQ(float64_text(c.value), c.text);
  EXPECT_EQ(float32_text(0.1F), "0.1");
  EXPECT_EQ(float32_text(16777216.0F), "16777216.0");
  EXPECT_EQ(float32_text(1e16F), "1e16");
  EXPECT_EQ(float32_text(3.4028235e38F), "3.4028235e38");
}

TEST(Value, EqualityOrderAndHashAgree) {
  const double nan = std::nan("");
  const float nan32 = std::nanf("");
  // Equal pairs must hash alike (group keys rely on it).
  const std::pair<Value, Value> equal[] = {
      {Value::null(), Value::null()},
      {Value::float64(nan), Value::float64(-nan)},
      {Value::float64(nan), Value::float64(std::nan("7"))},
      {Value::float64(0.0), Value::float64(-0.0)},
      {Value::float32(nan32), Value::float32(-std::nanf("3"))},
      {Value::float32(0.0F), Value::float32(-0.0F)},
      {Value::float16(Float16{0x7e00}), Value::float16(Float16{0xfc01})},  // NaNs
      {Value::float16(Float16{0x0000}), Value::float16(Float16{0x8000})},
      {Value::list({Value::float64(0.0), Value::float64(nan)}),
       Value::list({Value::float64(-0.0), Value::float64(-nan)})},
      {Value::map({{Value::float32(-0.0F), Value::float16(Float16{0x8000})}}),
       Value::map({{Value::float32(0.0F), Value::float16(Float16{0x0000})}})},
      {dec(15, 1), dec(1500, 3)},
      {dec(0, 2, true), dec(0, 0)},
      {Value::list({Value::int64(1)}), Value::list({Value::int64(1)})},
      {Value::string("ab"), Value::string("ab")},
  };
  for (const auto& [a, b] : equal) {
    EXPECT_TRUE(a.eq(b)) << debug_text(a);
    EXPECT_EQ(a.cmp(b), 0) << debug_text(a);
    EXPECT_EQ(hash_of(a), hash_of(b)) << debug_text(a) << " " << debug_text(b);
  }
  const std::pair<Value, Value> unequal[] = {
      {Value::int32(1), Value::int64(1)},
      {Value::float64(nan), Value::float64(1.0)},
      {Value::list({Value::int64(1), Value::int64(2)}), Value::list({Value::int64(2), Value::int64(1)})},
      {Value::map({{Value::int64(1), Value::null()}, {Value::int64(2), Value::null()}}),
       Value::map({{Value::int64(2), Value::null()}, {Value::int64(1), Value::null()}})},
      {Value::interval(Interval{1, 0, 0}), Value::interval(Interval{0, 30, 0})},
      {dec(15, 1), dec(16, 1)},
  };
  for (const auto& [a, b] : unequal) EXPECT_FALSE(a.eq(b)) << debug_text(a);
  EXPECT_NE(hash_of(Value::int32(1)), hash_of(Value::int64(1)));
  EXPECT_NE(hash_of(Value::float64(0.0)), hash_of(Value::float64(5e-324)));
  EXPECT_NE(hash_of(Value::float64(nan)), hash_of(Value::float64(std::numeric_limits<double>::infinity())));
  EXPECT_NE(hash_of(Value::string("a")), hash_of(Value::string("b")));
}

TEST(Value, TotalOrder) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    Value left;
    Value right;
    int expected;
  } cases[] = {
      {Value::null(), Value::null(), 0},
      {Value::null(), Value::int64(-5), -1},
      {Value::string(""), Value::null(), 1},
      {Value::int32(1), Value::int64(1), 0},
      {Value::int32(5), Value::string("a"), 0},
      {Value::float64(std::nan("")), Value::float64(inf), 1},
      {Value::float64(-inf), Value::float64(std::nan("")), -1},
      {Value::string("ab"), Value::string("abc"), -1},
      {Value::string("B"), Value::string("a"), -1},
      {Value::boolean(false), Value::boolean(true), -1},
      {Value::uint64(18446744073709551615ULL), Value::uint64(0), 1},
      {Value::int128(-1), Value::int128(1), -1},
      {Value::date(Date{1}), Value::date(Date{0}), 1},
      {dec(1, 0), dec(2, 0), 0},
      {Value::list({Value::int64(1), Value::int64(2)}), Value::list({Value::int64(2), Value::int64(1)}), 0},
      {Value::timestamp(Timestamp{Date{0}, 1, 5}), Value::timestamp(Timestamp{Date{0}, 1, 6}), -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.left.cmp(c.right), c.expected) << debug_text(c.left) << " vs " << debug_text(c.right);
  }
}

TEST(Value, LogicalTypes) {
  const struct {
    Value value;
    std::string type;
  } cases[] = {
      {Value::null(), "Null"},
      {dec(1, 0), "Decimal { precision: 38, scale: 18 }"},
      {Value::list({}), "List(Any)"},
      {Value::list({Value::int32(1), Value::string("x")}), "List(Int32)"},
      {Value::list({Value::list({Value::int64(1)})}), "List(List(Int64))"},
      {Value::struct_value({{"a", Value::int64(1)}}), "Struct([])"},
      {Value::map({}), "Map { key_type: Any, value_type: Any }"},
      {Value::timestamp(Timestamp{}), "Timestamp"},
      {Value::node(NodeValue{}), "Node"},
  };
  for (const auto& c : cases) EXPECT_EQ(debug_text(c.value.logical_type()), c.type);
}

TEST(Value, CopiesAreDeep) {
  Value original = Value::list({Value::string("x"), Value::node(NodeValue{{}, {"L"}, {{"p", Value::int64(1)}}})});
  Value copy = original;
  original = Value::null();
  EXPECT_EQ(debug_text(copy.as_list()[1].as_node().labels), R"(["L"])");
  EXPECT_THROW((void)copy.as_int64(), InvariantError);
}

TEST(Decimal, TextKeepsScaleAndLimitsHold) {
  EXPECT_EQ(Decimal::make(150, 2, false)->to_string(), "1.50");
  EXPECT_EQ(Decimal::make(5, 3, true)->to_string(), "-0.005");
  EXPECT_EQ(Decimal::make(0, 2, false)->to_string(), "0.00");
  EXPECT_EQ(Decimal::make(42, 0, false)->to_string(), "42");
  EXPECT_EQ(Decimal::make((UInt128{1} << 96) - 1, 28, false)->to_string(), "7.9228162514264337593543950335");
  EXPECT_FALSE(Decimal::make(UInt128{1} << 96, 0, false).has_value());
  EXPECT_FALSE(Decimal::make(1, 29, false).has_value());
}

TEST(Temporal, DatesTimestampsAndUuids) {
  EXPECT_EQ(Date{0}.to_string(), "1970-01-01");
  EXPECT_EQ(Date{-1}.to_string(), "1969-12-31");
  EXPECT_EQ(Date::from_civil(2000, 2, 29).to_string(), "2000-02-29");
  EXPECT_EQ(Date::from_civil(-1, 3, 1).to_string(), "-0001-03-01");
  EXPECT_EQ(Date::from_civil(12345, 6, 7).to_string(), "+12345-06-07");

  const Date day = Date::from_civil(2024, 1, 31);
  const struct {
    std::uint32_t seconds;
    std::uint32_t fraction;
    std::string text;
  } times[] = {
      {0, 0, "2024-01-31T00:00:00"},
      {86399, 500000000, "2024-01-31T23:59:59.500"},
      {1, 1000, "2024-01-31T00:00:01.000001"},
      {1, 1, "2024-01-31T00:00:01.000000001"},
      {1, 123456000, "2024-01-31T00:00:01.123456"},
      {86399, 1000000000, "2024-01-31T23:59:60"},
      {86399, 1250000000, "2024-01-31T23:59:60.250"},
  };
  for (const auto& t : times) EXPECT_EQ((Timestamp{day, t.seconds, t.fraction}.to_string()), t.text);

  Uuid uuid;
  uuid.bytes = {0xde, 0xad, 0xbe, 0xef, 0, 1, 0xff, 0x10, 0xa0, 0x0b, 1, 2, 3, 4, 5, 0xf0};
  EXPECT_EQ(uuid.to_string(), "deadbeef-0001-ff10-a00b-0102030405f0");
}

TEST(Float16, ExactWideningIncludingNaNAndSubnormals) {
  const struct {
    std::uint16_t bits;
    double value;
  } cases[] = {
      {0x3c00, 1.0},
      {0xc000, -2.0},
      {0x7bff, 65504.0},
      {0x0400, 6.103515625e-05},
      {0x0001, 5.960464477539063e-08},
      {0x03ff, 6.097555160522461e-05},
      {0x3555, 0.333251953125},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Float16{c.bits}.to_double(), c.value);
    EXPECT_EQ(static_cast<double>(Float16{c.bits}.to_float()), c.value);
    EXPECT_EQ(Float16::from_float(static_cast<float>(c.value)).bits, c.bits);
  }
  EXPECT_TRUE(std::signbit(Float16{0x8000}.to_double()));
  EXPECT_TRUE(std::isinf(Float16{0xfc00}.to_double()));
  // A signalling NaN keeps sign and payload, gaining the quiet bit.
  const double nan = Float16{0xfd01}.to_double();
  EXPECT_TRUE(std::isnan(nan));
  EXPECT_EQ(std::bit_cast<std::uint64_t>(nan), 0xfff8000000000000ULL | (std::uint64_t{0x101} << 42));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(Float16{0x7c01}.to_float()), 0x7fc00000U | (1U << 13));
  EXPECT_TRUE(Value::float16(Float16{0x7e00}).eq(Value::float16(Float16{0xfe01})));
  EXPECT_EQ(Float16::from_float(1e6F).bits, 0x7c00);
  EXPECT_EQ(Float16::from_float(65520.0F).bits, 0x7c00);  // rounds up to infinity
  EXPECT_EQ(Float16::from_float(1e-9F).bits, 0x0000);
}

}  // namespace
}  // namespace zelvo
