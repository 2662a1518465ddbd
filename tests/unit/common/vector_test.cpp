#include "common/vector.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "common/data_chunk.h"

namespace zelvo {
namespace {

LogicalType type(LogicalTypeKind kind) { return LogicalType(kind); }

TEST(Vector, FlatCellsReadBackAsPhysicalKinds) {
  const struct {
    LogicalType type;
    Value written;
    std::string read;
  } cases[] = {
      {type(LogicalTypeKind::Int64), Value::int64(-5), "Int64(-5)"},
      {type(LogicalTypeKind::Bool), Value::boolean(true), "Bool(true)"},
      {type(LogicalTypeKind::Float16), Value::float16(Float16{0x3c00}), "Float16(1.0)"},
      {type(LogicalTypeKind::UInt128), Value::uint128(~UInt128{0}), "UInt128(340282366920938463463374607431768211455)"},
      {type(LogicalTypeKind::Date), Value::date(Date{19753}), "Int32(19753)"},
      {type(LogicalTypeKind::Timestamp), Value::timestamp(Timestamp{Date{1}, 2, 3000}), "Int64(86402000003)"},
      {type(LogicalTypeKind::TimestampMs), Value::timestamp(Timestamp{Date{0}, 2, 5000000}), "Int64(2005)"},
      {LogicalType::decimal(5, 2), Value::decimal(*Decimal::make(150, 2, true)), "Int32(-150)"},
      {LogicalType::decimal(30, 2), Value::decimal(*Decimal::make(7, 2, false)), "Int128(7)"},
      {type(LogicalTypeKind::Uuid), Value::uuid(Uuid{{1}}), "UInt128(1)"},
      {type(LogicalTypeKind::Interval), Value::interval(Interval{1, 2, 3}), "Null"},
      {type(LogicalTypeKind::Any), Value::int64(9), "Null"},
      {type(LogicalTypeKind::Int64), Value::string("no fixed width"), "Int64(0)"},
  };
  for (const auto& c : cases) {
    Vector vector(c.type, 4);
    vector.set_value(2, c.written);
    EXPECT_EQ(debug_text(vector.get_value(2)), c.read) << debug_text(c.type);
  }
  EXPECT_EQ(debug_text(Vector(type(LogicalTypeKind::Int64), 4).get_value(3)), "Int64(0)");
}

TEST(Vector, FlatCellsNotYetWrittenReadAsZero) {
  Vector vector(type(LogicalTypeKind::Int64), 4);
  vector.set_value(1, Value::boolean(true));  // one byte of an eight-byte cell
  const Vector copy = vector;
  for (const Vector* v : {static_cast<const Vector*>(&vector), &copy}) {
    EXPECT_EQ(debug_text(v->get_value(0)), "Int64(0)");
    EXPECT_EQ(debug_text(v->get_value(1)), "Int64(1)");
    EXPECT_EQ(debug_text(v->get_value(3)), "Int64(0)");
    EXPECT_THROW((void)v->get_value(4), InvariantError);
  }
  EXPECT_THROW(vector.set_value(4, Value::int64(1)), InvariantError);
}

TEST(BitList, StartsUniformAndChangesBitByBit) {
  const struct {
    bool fill;
    std::vector<std::uint64_t> set;
    std::vector<std::uint64_t> cleared;
    const char* bits;  // at 0, 1, 63, 64, 69 and 70 (past the end)
  } cases[] = {
      {false, {}, {}, "000000"},         {true, {}, {}, "111110"},    {false, {1, 64, 70}, {}, "010100"},
      {true, {}, {0, 69, 70}, "011100"}, {true, {1}, {63}, "110110"}, {false, {69}, {0}, "000010"},
  };
  for (const auto& c : cases) {
    BitList bits(70, c.fill);
    for (const std::uint64_t position : c.set) bits.set(position);
    for (const std::uint64_t position : c.cleared) bits.clear(position);
    const BitList copy = bits;
    std::string read;
    for (const std::uint64_t position : {0, 1, 63, 64, 69, 70}) read += copy.test(position) ? '1' : '0';
    EXPECT_EQ(read, c.bits) << c.fill;
    EXPECT_EQ(copy.length(), 70U);
  }
}

TEST(Vector, ValidityTracksNulls) {
  Vector vector(type(LogicalTypeKind::Int64), 4);
  vector.set_value(2, Value::null());
  vector.set_value(2, Value::null());
  EXPECT_TRUE(vector.get_value(2).is_null());
  EXPECT_EQ(vector.null_count(), 1U);
  vector.set_value(2, Value::int64(5));
  EXPECT_EQ(debug_text(vector.get_value(2)), "Int64(5)");
  EXPECT_EQ(vector.null_count(), 0U);
}

TEST(Vector, ValuesConstantAndDictionaryForms) {
  Vector strings(type(LogicalTypeKind::String), 2048);
  strings.set_value(5, Value::string("x"));
  EXPECT_TRUE(strings.get_value(0).is_null());
  EXPECT_EQ(debug_text(strings.get_value(5)), R"(String("x"))");
  EXPECT_TRUE(strings.get_value(100).is_null());
  EXPECT_EQ(std::get<Vector::Values>(strings.data()).values.size(), 6U);

  Vector null_constant = Vector::new_constant(Value::null(), 3);
  EXPECT_EQ(null_constant.null_count(), 3U);
  EXPECT_TRUE(null_constant.get_value(1).is_null());
  Vector seven = Vector::new_constant(Value::int64(7), 3);
  seven.set_value(1, Value::int64(8));
  EXPECT_EQ(debug_text(seven.get_value(1)), "Int64(7)");
  EXPECT_EQ(debug_text(seven.get_value(1000)), "Int64(7)");

  auto dictionary = std::make_shared<const Vector>(
      Vector::from_values(type(LogicalTypeKind::String), {Value::string("a"), Value::null(), Value::string("c")}));
  Vector indexed = Vector::new_dictionary(type(LogicalTypeKind::String), {2, 1, 0}, dictionary);
  Vector copy = indexed;
  EXPECT_EQ(debug_text(copy.get_value(0)), R"(String("c"))");
  EXPECT_TRUE(copy.get_value(1).is_null());
  EXPECT_EQ(dictionary.use_count(), 3);
  EXPECT_THROW(indexed.set_value(0, Value::string("z")), InvariantError);
  EXPECT_THROW((void)indexed.get_value(3), InvariantError);

  const Vector without_dictionary = Vector::new_dictionary(type(LogicalTypeKind::String), {0, 7}, nullptr);
  EXPECT_TRUE(without_dictionary.get_value(1).is_null());
  EXPECT_THROW((void)without_dictionary.get_value(2), InvariantError);
}

// Flat capacities up to the largest whose byte size fits a size_t are taken
// without allocating anything: the last row reads as zero, the row at the
// capacity is refused. Capacities past that are refused at construction.
TEST(Vector, FlatCapacitiesAtTheAddressableLimit) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  const struct {
    LogicalType type;
    std::uint64_t largest;
    const char* last_row;
  } taken[] = {
      {type(LogicalTypeKind::Bool), kMax, "Bool(false)"},
      {type(LogicalTypeKind::Int16), kMax / 2, "Int16(0)"},
      {type(LogicalTypeKind::Int64), (std::uint64_t{1} << 61) - 1, "Int64(0)"},
      {type(LogicalTypeKind::Int128), (std::uint64_t{1} << 60) - 1, "Int128(0)"},
  };
  for (const auto& c : taken) {
    Vector vector(c.type, c.largest);
    EXPECT_EQ(debug_text(vector.get_value(c.largest - 1)), c.last_row) << debug_text(c.type);
    EXPECT_THROW((void)vector.get_value(c.largest), InvariantError) << debug_text(c.type);
    EXPECT_THROW(vector.set_value(c.largest, Value::boolean(true)), InvariantError) << debug_text(c.type);
    EXPECT_THROW(vector.set_value(kMax, Value::boolean(true)), InvariantError) << debug_text(c.type);
  }
  const struct {
    LogicalType type;
    std::uint64_t capacity;
  } refused[] = {
      {type(LogicalTypeKind::Int16), kMax / 2 + 1},
      {type(LogicalTypeKind::Int64), std::uint64_t{1} << 61},
      {type(LogicalTypeKind::Int64), (std::uint64_t{1} << 61) + 1},  // row 2^61 would have read row 0
      {type(LogicalTypeKind::Int128), std::uint64_t{1} << 62},       // row 2^60 would have written row 0
      {LogicalType::decimal(38, 0), kMax},
  };
  for (const auto& c : refused) {
    EXPECT_THROW(Vector(c.type, c.capacity), InvariantError) << debug_text(c.type) << " " << c.capacity;
  }
  EXPECT_EQ(Vector(type(LogicalTypeKind::String), kMax).capacity(), kMax);  // the Values form grows by row
}

// A write that fails its checks leaves the vector as it was: its null count
// and rows 0 to 3 (row 3 Null, row 0 written, when the form allows it).
TEST(Vector, FailedWritesLeaveTheVectorAsItWas) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  auto dictionary = std::make_shared<const Vector>(
      Vector::from_values(type(LogicalTypeKind::String), {Value::string("a"), Value::string("b")}));
  const struct {
    const char* name;
    Vector vector;
    std::uint64_t row;
    Value value;
  } cases[] = {
      {"values row at the capacity", Vector(type(LogicalTypeKind::String), 4), 4, Value::string("x")},
      {"largest values row", Vector(type(LogicalTypeKind::String), 4), kMax, Value::string("x")},
      {"flat row at the capacity", Vector(type(LogicalTypeKind::Int64), 4), 4, Value::int64(1)},
      {"largest flat row", Vector(type(LogicalTypeKind::Int64), 4), kMax, Value::int64(1)},
      {"eight bytes from a one-byte cell past the end", Vector(type(LogicalTypeKind::Int8), 8), 3,
       Value::int64(0x0102)},
      {"dictionary form", Vector::new_dictionary(type(LogicalTypeKind::String), {1, 0, 1, 0}, dictionary), 3,
       Value::string("z")},
  };
  for (const auto& c : cases) {
    Vector vector = c.vector;
    if (!std::holds_alternative<Vector::Dictionary>(vector.data())) vector.set_value(0, c.value);
    vector.set_value(3, Value::null());
    const auto state = [&vector] {
      std::string text = std::to_string(vector.null_count());
      for (std::uint64_t row = 0; row < 4; ++row) text += " " + debug_text(vector.get_value(row));
      return text;
    };
    const std::string before = state();
    EXPECT_THROW(vector.set_value(c.row, c.value), InvariantError) << c.name;
    EXPECT_EQ(state(), before) << c.name;
    if (const auto* values = std::get_if<Vector::Values>(&vector.data())) {
      EXPECT_EQ(values->values.size(), 1U) << c.name;
    }
  }
}

TEST(Vector, FatalConditionsAreChecked) {
  Vector bytes(type(LogicalTypeKind::Int8), 4);
  EXPECT_THROW((void)bytes.get_value(4), InvariantError);
  // An eight-byte value at the last one-byte cell would pass the buffer's end.
  EXPECT_THROW(bytes.set_value(3, Value::int64(1)), InvariantError);
  // A wider value is written at its own width at the vector's stride.
  Vector wide(type(LogicalTypeKind::Int8), 16);
  wide.set_value(0, Value::int64(0x0102));
  EXPECT_EQ(debug_text(wide.get_value(1)), "Int8(1)");
}

TEST(DataChunk, AppendGetRowAndLimits) {
  DataChunk empty({});
  EXPECT_EQ(empty.capacity(), 2048U);
  EXPECT_EQ(empty.count(), 0U);
  EXPECT_TRUE(empty.vectors().empty());

  DataChunk chunk({type(LogicalTypeKind::Int64), type(LogicalTypeKind::String)});
  const Value row[] = {Value::int64(1), Value::string("a"), Value::int64(99)};
  ASSERT_TRUE(chunk.append_row(row));
  const Value short_row[] = {Value::int64(2)};
  ASSERT_TRUE(chunk.append_row(short_row));
  EXPECT_EQ(debug_text(chunk.get_row(0)), R"([Int64(1), String("a")])");
  EXPECT_EQ(debug_text(chunk.get_row(1)), "[Int64(2), Null]");
  EXPECT_EQ(debug_text(chunk.types()), "[Int64, String]");
  EXPECT_THROW((void)chunk.get_row(2048), InvariantError);

  while (chunk.count() < chunk.capacity()) ASSERT_TRUE(chunk.append_row(row));
  EXPECT_FALSE(chunk.append_row(row));
  EXPECT_EQ(chunk.count(), 2048U);
  DataChunk copy = chunk;
  EXPECT_EQ(debug_text(copy.get_row(2047)), R"([Int64(1), String("a")])");

  const DataChunk computed = DataChunk::from_vectors({Vector::new_constant(Value::int64(1), 1)}, 0);
  EXPECT_EQ(computed.count(), 0U);
  EXPECT_EQ(computed.capacity(), 1U);
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

TEST(SelectionVector, IdentityAndExplicitPositions) {
  SelectionVector identity = SelectionVector::identity(2048);
  EXPECT_EQ(identity.size(), 2048U);
  EXPECT_EQ(identity[2047], 2047U);
  EXPECT_THROW((void)identity[2048], InvariantError);

  SelectionVector grown = SelectionVector::identity(3);
  grown.push_back(3);  // extends the identity
  grown.push_back(9);  // leaves it
  EXPECT_EQ(grown.size(), 5U);
  EXPECT_EQ(grown[3], 3U);
  EXPECT_EQ(grown[4], 9U);

  SelectionVector wide = SelectionVector::identity(100);
  wide.push_back(7);
  EXPECT_EQ(wide[99], 99U);
  EXPECT_EQ(wide[100], 7U);

  SelectionVector explicit_positions;
  for (std::uint32_t i = 0; i < 70; ++i) explicit_positions.push_back(69 - i);
  EXPECT_EQ(explicit_positions[0], 69U);
  EXPECT_EQ(explicit_positions[69], 0U);
}

}  // namespace
}  // namespace zelvo
