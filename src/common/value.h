#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/box.h"
#include "common/debug_writer.h"
#include "common/decimal.h"
#include "common/float16.h"
#include "common/hasher.h"
#include "common/ids.h"
#include "common/int128.h"
#include "common/logical_type.h"
#include "common/temporal.h"

namespace zelvo {

// The 28 value kinds, in their fixed numbering (hashing feeds the number).
enum class ValueKind : std::uint8_t {
  Null,
  Bool,
  Int8,
  Int16,
  Int32,
  Int64,
  Int128,
  UInt8,
  UInt16,
  UInt32,
  UInt64,
  UInt128,
  Float16,
  Float32,
  Float64,
  Decimal,
  Date,
  Timestamp,
  Interval,
  String,
  Blob,
  Uuid,
  List,
  Struct,
  Map,
  InternalId,
  Node,
  Rel,
};

inline constexpr int kValueKindCount = 28;

std::string_view value_kind_name(ValueKind kind);

class Value;

struct Blob {
  std::vector<std::uint8_t> bytes;
  friend bool operator==(const Blob&, const Blob&) = default;
};

using ValueList = std::vector<Value>;
// Struct fields and node or relationship properties: (name, value) pairs in order.
using NamedValues = std::vector<std::pair<std::string, Value>>;
// Map entries: (key, value) pairs in insertion order.
using MapEntries = std::vector<std::pair<Value, Value>>;

struct NodeValue {
  InternalId id;
  std::vector<std::string> labels;
  NamedValues properties;

  void describe(DebugWriter& w) const;
};

struct RelValue {
  InternalId id;
  InternalId src;
  InternalId dst;
  std::string rel_type;
  NamedValues properties;

  void describe(DebugWriter& w) const;
};

// Struct payloads are named-value lists like node properties; a distinct
// type keeps the two kinds apart in the variant.
struct StructValue {
  NamedValues fields;
};

// One dynamically typed datum. Every payload is owned; copying a value
// copies it deeply.
class Value {
 public:
  // Alternatives in kind order: index() is the kind number.
  using Storage = std::variant<std::monostate, bool, std::int8_t, std::int16_t, std::int32_t, std::int64_t, Int128,
                               std::uint8_t, std::uint16_t, std::uint32_t, std::uint64_t, UInt128, Float16, float,
                               double, Decimal, Date, Timestamp, Interval, std::string, Blob, Uuid, ValueList,
                               StructValue, MapEntries, InternalId, Box<NodeValue>, Box<RelValue>>;

  Value() = default;

  static Value null() { return Value(); }
  static Value boolean(bool v) { return Value(Storage(std::in_place_index<1>, v)); }
  static Value int8(std::int8_t v) { return Value(Storage(std::in_place_index<2>, v)); }
  static Value int16(std::int16_t v) { return Value(Storage(std::in_place_index<3>, v)); }
  static Value int32(std::int32_t v) { return Value(Storage(std::in_place_index<4>, v)); }
  static Value int64(std::int64_t v) { return Value(Storage(std::in_place_index<5>, v)); }
  static Value int128(Int128 v) { return Value(Storage(std::in_place_index<6>, v)); }
  static Value uint8(std::uint8_t v) { return Value(Storage(std::in_place_index<7>, v)); }
  static Value uint16(std::uint16_t v) { return Value(Storage(std::in_place_index<8>, v)); }
  static Value uint32(std::uint32_t v) { return Value(Storage(std::in_place_index<9>, v)); }
  static Value uint64(std::uint64_t v) { return Value(Storage(std::in_place_index<10>, v)); }
  static Value uint128(UInt128 v) { return Value(Storage(std::in_place_index<11>, v)); }
  static Value float16(Float16 v) { return Value(Storage(std::in_place_index<12>, v)); }
  static Value float32(float v) { return Value(Storage(std::in_place_index<13>, v)); }
  static Value float64(double v) { return Value(Storage(std::in_place_index<14>, v)); }
  static Value decimal(Decimal v) { return Value(Storage(std::in_place_index<15>, v)); }
  static Value date(Date v) { return Value(Storage(std::in_place_index<16>, v)); }
  static Value timestamp(Timestamp v) { return Value(Storage(std::in_place_index<17>, v)); }
  static Value interval(Interval v) { return Value(Storage(std::in_place_index<18>, v)); }
  static Value string(std::string v) { return Value(Storage(std::in_place_index<19>, std::move(v))); }
  static Value blob(std::vector<std::uint8_t> v) { return Value(Storage(std::in_place_index<20>, Blob{std::move(v)})); }
  static Value uuid(Uuid v) { return Value(Storage(std::in_place_index<21>, v)); }
  static Value list(ValueList v) { return Value(Storage(std::in_place_index<22>, std::move(v))); }
  static Value struct_value(NamedValues fields) {
    return Value(Storage(std::in_place_index<23>, StructValue{std::move(fields)}));
  }
  static Value map(MapEntries v) { return Value(Storage(std::in_place_index<24>, std::move(v))); }
  static Value internal_id(InternalId v) { return Value(Storage(std::in_place_index<25>, v)); }
  static Value node(NodeValue v) { return Value(Storage(std::in_place_index<26>, Box<NodeValue>(std::move(v)))); }
  static Value rel(RelValue v) { return Value(Storage(std::in_place_index<27>, Box<RelValue>(std::move(v)))); }

  ValueKind kind() const { return static_cast<ValueKind>(storage_.index()); }
  bool is_null() const { return storage_.index() == 0; }

  // Typed access; reading the wrong kind is a broken invariant.
  bool as_bool() const { return get<1>(); }
  std::int64_t as_int64() const { return get<5>(); }
  double as_float64() const { return get<14>(); }
  const std::string& as_string() const { return get<19>(); }
  // The String payload, to build a string in place (appending to it, or
  // moving it out) rather than copying it.
  std::string& as_mutable_string() {
    auto* payload = std::get_if<19>(&storage_);
    if (payload == nullptr) wrong_kind();
    return *payload;
  }
  const ValueList& as_list() const { return get<22>(); }
  const NamedValues& as_struct() const { return get<23>().fields; }
  const MapEntries& as_map() const { return get<24>(); }
  const NodeValue& as_node() const { return *get<26>(); }
  const RelValue& as_rel() const { return *get<27>(); }

  // The payload of kind number I (I is the ValueKind as an index).
  template <std::size_t I>
  const std::variant_alternative_t<I, Storage>& get() const {
    const auto* payload = std::get_if<I>(&storage_);
    if (payload == nullptr) wrong_kind();
    return *payload;
  }

  const Storage& storage() const { return storage_; }

  // Equality: same kind and equal payloads (NaN equals NaN, +0 equals -0,
  // decimals compare numerically, lists and maps element by element in order).
  bool eq(const Value& other) const;
  // A total three-way order (negative, zero, positive): Null first, values of
  // different kinds equal, and several kinds always equal within the kind.
  int cmp(const Value& other) const;
  // Feeds the kind number and the payload into a hasher state.
  void hash(Hasher& hasher) const;
  // The type the value reports for itself.
  LogicalType logical_type() const;

  void describe(DebugWriter& w) const;

 private:
  explicit Value(Storage storage) : storage_(std::move(storage)) {}
  [[noreturn]] void wrong_kind() const;

  Storage storage_;
};

// The float texts of debug text: the shortest decimal that reads back to the
// same value, at least one digit after the point, exponent form for
// magnitudes of 1e16 and above and non-zero magnitudes below 1e-4, and inf,
// -inf, NaN.
std::string float64_text(double value);
std::string float32_text(float value);

}  // namespace zelvo
