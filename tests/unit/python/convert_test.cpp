#include "convert.h"

#include <gtest/gtest.h>
#include <functional>
#include <optional>

#include <string>
#include <vector>

#include "common/stack_guard.h"
#include "python_test_support.h"
#include "support/thread_stack.h"

namespace zelvo::python {
namespace {

using testing::allocated_blocks;
using testing::eval;
using testing::repr;
using testing::take_error;

constexpr UInt128 kTwoTo64 = static_cast<UInt128>(1) << 64;
const InternalId kId{TableId{3}, Offset{5}};

Timestamp noon_plus(std::uint32_t fraction) {
  return Timestamp{Date::from_civil(2024, 1, 31), 13 * 3600 + 45 * 60, fraction};
}

Value map_of(Value key, Value value) { return Value::map(MapEntries{{std::move(key), std::move(value)}}); }

struct ConversionCase {
  const char* name;
  Value value;
  // A Python expression for the expected object; compared by repr, which
  // tells int from bool and float, shows dict key order and prints NaN.
  std::string expected;
};

std::vector<ConversionCase> conversion_cases() {
  Uuid counting;
  for (std::uint8_t i = 0; i < 16; ++i) counting.bytes[i] = i;
  const std::string id_text = "'InternalId { table_id: TableId(3), offset: Offset(5) }'";
  return {
      {"null", Value::null(), "None"},
      {"bool", Value::boolean(true), "True"},
      {"int8", Value::int8(-128), "-128"},
      {"int16", Value::int16(-32768), "-32768"},
      {"int32", Value::int32(-2147483647 - 1), "-2**31"},
      {"int64", Value::int64(INT64_MIN), "-2**63"},
      {"int128 small", Value::int128(-5), "-5"},
      {"int128 min", Value::int128(static_cast<Int128>(kTwoTo64 << 63)), "-2**127"},
      {"int128 max", Value::int128(static_cast<Int128>((kTwoTo64 << 63) - 1)), "2**127 - 1"},
      {"int128 below int64", Value::int128(-static_cast<Int128>(kTwoTo64) - 1), "-2**64 - 1"},
      {"uint8", Value::uint8(255), "255"},
      {"uint16", Value::uint16(65535), "65535"},
      {"uint32", Value::uint32(4294967295U), "2**32 - 1"},
      {"uint64", Value::uint64(UINT64_MAX), "2**64 - 1"},
      {"uint128 two to 64", Value::uint128(kTwoTo64), "2**64"},
      {"uint128 max", Value::uint128(~static_cast<UInt128>(0)), "2**128 - 1"},
      {"float16 one", Value::float16(Float16{0x3C00}), "1.0"},
      {"float16 subnormal", Value::float16(Float16{0x0001}), "2.0**-24"},
      {"float16 negative zero", Value::float16(Float16{0x8000}), "-0.0"},
      {"float16 infinity", Value::float16(Float16{0xFC00}), "float('-inf')"},
      {"float16 nan", Value::float16(Float16{0x7E00}), "float('nan')"},
      {"float32", Value::float32(0.1F), "0.10000000149011612"},
      {"float64", Value::float64(-0.0), "-0.0"},
      {"decimal keeps scale", Value::decimal(*Decimal::make(150, 2, false)), "'1.50'"},
      {"negative decimal", Value::decimal(*Decimal::make(5, 3, true)), "'-0.005'"},
      {"date", Value::date(Date::from_civil(2024, 1, 31)), "'2024-01-31'"},
      {"timestamp whole seconds", Value::timestamp(noon_plus(0)), "'2024-01-31 13:45:00'"},
      {"timestamp milliseconds", Value::timestamp(noon_plus(500'000'000)), "'2024-01-31 13:45:00.500'"},
      {"timestamp microseconds", Value::timestamp(noon_plus(1'000)), "'2024-01-31 13:45:00.000001'"},
      {"timestamp nanoseconds", Value::timestamp(noon_plus(1)), "'2024-01-31 13:45:00.000000001'"},
      {"timestamp leap second", Value::timestamp(Timestamp{Date::from_civil(2016, 12, 31), 86399, 1'000'000'000}),
       "'2016-12-31 23:59:60'"},
      {"interval", Value::interval(Interval{1, 2, 3}), "{'months': 1, 'days': 2, 'microseconds': 3}"},
      {"string", Value::string("h\xC3\xA9llo\n"), "'h\\u00e9llo\\n'"},
      {"string with invalid utf-8", Value::string(std::string("a\xFF") + "b"), "'a\\ufffdb'"},
      {"blob", Value::blob({1, 2, 255}), "b'\\x01\\x02\\xff'"},
      {"uuid", Value::uuid(counting), "'00010203-0405-0607-0809-0a0b0c0d0e0f'"},
      {"list", Value::list({Value::int64(1), Value::null(), Value::list({})}), "[1, None, []]"},
      {"struct with repeated field",
       Value::struct_value({{"a", Value::int64(1)}, {"b", Value::string("x")}, {"a", Value::int64(3)}}),
       "{'a': 3, 'b': 'x'}"},
      {"map", Value::map({{Value::int64(1), Value::string("one")}, {Value::null(), Value::float64(0.5)}}),
       "{1: 'one', None: 0.5}"},
      {"internal id", Value::internal_id(kId), "{'table_id': 3, 'offset': 5}"},
      {"bare node", Value::node(NodeValue{kId, {}, {}}), "{'_id': " + id_text + ", '_labels': []}"},
      // A property named like a fixed entry replaces its value in place.
      {"node",
       Value::node(NodeValue{kId, {"Person", "Admin"}, {{"name", Value::string("Alice")}, {"_id", Value::int64(7)}}}),
       "{'_id': 7, '_labels': ['Person', 'Admin'], 'name': 'Alice'}"},
      {"rel", Value::rel(RelValue{kId, kId, kId, "KNOWS", {{"since", Value::int64(2020)}}}),
       "{'_id': " + id_text + ", '_src': " + id_text + ", '_dst': " + id_text + ", '_type': 'KNOWS', 'since': 2020}"},
  };
}

TEST(ValueToPy, EveryKindConvertsToTheExpectedObject) {
  for (const ConversionCase& c : conversion_cases()) {
    SCOPED_TRACE(c.name);
    PyRef converted = value_to_py(c.value);
    ASSERT_TRUE(converted) << take_error();
    PyRef expected = eval(c.expected.c_str());
    ASSERT_TRUE(expected);
    EXPECT_EQ(repr(converted.get()), repr(expected.get()));
  }
}

TEST(ValueToPy, ContainersAreFreshAndOwnedOnlyByTheCaller) {
  const Value value = Value::list({Value::string("text"), Value::list({Value::int64(1)})});
  PyRef first = value_to_py(value);
  PyRef second = value_to_py(value);
  ASSERT_TRUE(first && second);
  EXPECT_NE(PyList_GET_ITEM(first.get(), 1), PyList_GET_ITEM(second.get(), 1));
  for (PyObject* object : {first.get(), PyList_GET_ITEM(first.get(), 0), PyList_GET_ITEM(first.get(), 1)}) {
    EXPECT_EQ(Py_REFCNT(object), 1);
  }
}

TEST(ValueToPy, UnhashableMapKeysRaiseTypeError) {
  const std::vector<std::pair<Value, std::string>> cases = {
      {map_of(Value::list({Value::int64(1)}), Value::int64(2)), "TypeError: unhashable type: 'list'"},
      {map_of(Value::interval(Interval{}), Value::null()), "TypeError: unhashable type: 'dict'"},
      // The failure surfaces from inside a list element too.
      {Value::list({Value::int64(0), map_of(Value::node(NodeValue{kId, {}, {}}), Value::null())}),
       "TypeError: unhashable type: 'dict'"},
  };
  for (const auto& [value, error] : cases) {
    EXPECT_FALSE(value_to_py(value));
    EXPECT_EQ(take_error(), error);
  }
}

// Runs `body` holding the GIL on a thread with a stack of `stack_bytes`.
void run_with_gil_on_stack(std::size_t stack_bytes, const std::function<void()>& body) {
  PyThreadState* const saved = PyEval_SaveThread();
  zelvo::testing::run_on_stack(stack_bytes, [&body] {
    const PyGILState_STATE state = PyGILState_Ensure();
    body();
    PyGILState_Release(state);
  });
  PyEval_RestoreThread(saved);
}

// A list nested `depth` times around 0. Building and dropping it recurse
// once per level: deep ones are made and dropped on a large stack.
Value nested_list(int depth) {
  Value nested = Value::int64(0);
  for (int level = 0; level < depth; ++level) {
    ValueList wrapper;
    wrapper.push_back(std::move(nested));
    nested = Value::list(std::move(wrapper));
  }
  return nested;
}

// Conversion measures the stack: a value nested too deeply for the thread
// raises RecursionError, on small and large stacks alike and on a fiber's
// stack (which the thread does not own), and a shallow value converts on a
// stack with room for it.
TEST(ValueToPy, NestingDeeperThanTheStackRaisesRecursionError) {
  std::optional<Value> deep;
  run_with_gil_on_stack(std::size_t{256} << 20, [&deep] { deep = nested_list(12000); });
  const auto convert_deep = [&deep] {
    EXPECT_FALSE(value_to_py(*deep));
    EXPECT_NE(take_error().find("RecursionError"), std::string::npos);
  };
  for (const std::size_t stack : {std::size_t{128} << 10, std::size_t{256} << 10, std::size_t{1} << 20}) {
    SCOPED_TRACE(stack);
    run_with_gil_on_stack(stack, convert_deep);
  }
  if (zelvo::testing::foreign_stacks_work()) zelvo::testing::run_on_foreign_stack(std::size_t{256} << 10, convert_deep);
  run_with_gil_on_stack(std::size_t{256} << 20, [&deep] { deep.reset(); });
  const Value shallow = nested_list(50);
  run_with_gil_on_stack(kStackMargin + (128 << 10), [&shallow] {
    PyRef converted = value_to_py(shallow);
    EXPECT_TRUE(converted) << take_error();
  });
}

TEST(ValueToPy, RepeatedConversionsKeepNoObjects) {
  std::vector<Value> values;
  for (ConversionCase& c : conversion_cases()) values.push_back(std::move(c.value));
  const Value failing = map_of(Value::list({}), Value::string("never inserted"));
  const auto convert_all = [&] {
    for (const Value& value : values) ASSERT_TRUE(value_to_py(value));
    ASSERT_FALSE(value_to_py(failing));
    PyErr_Clear();
  };
  convert_all();  // warms the interpreter's caches
  const Py_ssize_t before = allocated_blocks();
  for (int round = 0; round < 200; ++round) convert_all();
  EXPECT_LE(allocated_blocks() - before, 4);
}

TEST(RowDicts, PairColumnNamesWithValuesInFreshDicts) {
  struct Case {
    std::vector<std::string> columns;
    std::vector<Value> row;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {{"a", "b"}, {Value::int64(1), Value::string("two")}, "{'a': 1, 'b': 'two'}"},
      {{"b", "a", "b"}, {Value::int64(1), Value::int64(2), Value::int64(3)}, "{'b': 3, 'a': 2}"},
      {{}, {}, "{}"},
  };
  for (const Case& c : cases) {
    const RowDicts dicts(c.columns);
    ASSERT_TRUE(dicts) << take_error();
    const auto value_at = [&c](std::size_t i) -> const Value& { return c.row[i]; };
    PyRef first = dicts.make(value_at);
    PyRef second = dicts.make(value_at);
    ASSERT_TRUE(first && second) << take_error();
    EXPECT_EQ(repr(first.get()), c.expected);
    EXPECT_EQ(repr(second.get()), c.expected);
    EXPECT_NE(first.get(), second.get());
  }
}

}  // namespace
}  // namespace zelvo::python
