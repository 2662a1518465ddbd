#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "common/box.h"
#include "common/debug_writer.h"

namespace zelvo {

// The 37 type kinds, in their fixed numbering.
enum class LogicalTypeKind : std::uint8_t {
  Any,
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
  TimestampTz,
  TimestampNs,
  TimestampMs,
  TimestampSec,
  Interval,
  String,
  Blob,
  Uuid,
  List,
  Array,
  Map,
  Struct,
  Union,
  Node,
  Rel,
  RecursiveRel,
  InternalId,
  Serial,
  Null,
};

inline constexpr int kLogicalTypeKindCount = 37;

// The name of a type kind as its debug text shows it ("Int64", "TimestampTz").
std::string_view logical_type_kind_name(LogicalTypeKind kind);

struct StructField;
struct UnionField;

// One data type of the engine. A value type: copied freely between the
// syntax tree, bound expressions, plans, vectors and the catalog. Element
// types of List, Array and Map are shared and immutable (copying the type
// copies the pointer); Struct and Union own their field lists and copy them.
class LogicalType {
 public:
  LogicalType() : LogicalType(LogicalTypeKind::Any) {}
  // A kind without payload (not Decimal, List, Array, Map, Struct or Union).
  explicit LogicalType(LogicalTypeKind kind);

  static LogicalType decimal(std::uint8_t precision, std::uint8_t scale);
  static LogicalType list(LogicalType element);
  static LogicalType array(LogicalType element, std::uint32_t size);
  static LogicalType map(LogicalType key, LogicalType value);
  static LogicalType struct_type(std::vector<StructField> fields);
  static LogicalType union_type(std::vector<UnionField> fields);

  LogicalTypeKind kind() const { return kind_; }

  std::uint8_t decimal_precision() const;
  std::uint8_t decimal_scale() const;
  // The shared element type of List and Array.
  const std::shared_ptr<const LogicalType>& element_type() const;
  std::uint32_t array_size() const;
  const std::shared_ptr<const LogicalType>& key_type() const;
  const std::shared_ptr<const LogicalType>& value_type() const;
  const std::vector<StructField>& struct_fields() const;
  const std::vector<UnionField>& union_fields() const;

  void describe(DebugWriter& w) const;

  friend bool operator==(const LogicalType& a, const LogicalType& b);

 private:
  struct DecimalInfo {
    std::uint8_t precision;
    std::uint8_t scale;
  };
  struct ElementInfo {
    std::shared_ptr<const LogicalType> element;
    std::uint32_t size;
  };
  struct MapInfo {
    std::shared_ptr<const LogicalType> key;
    std::shared_ptr<const LogicalType> value;
  };
  // Field lists sit behind a Box: the field types are incomplete here, and
  // copying a Struct or Union type copies its fields.
  using Payload = std::variant<std::monostate, DecimalInfo, ElementInfo, MapInfo, Box<std::vector<StructField>>,
                               Box<std::vector<UnionField>>>;

  LogicalType(LogicalTypeKind kind, Payload payload);

  LogicalTypeKind kind_;
  Payload payload_;
};

struct StructField {
  std::string name;
  LogicalType data_type;

  friend bool operator==(const StructField&, const StructField&) = default;
  void describe(DebugWriter& w) const { w.record("StructField").field("name", name).field("data_type", data_type).finish(); }
};

struct UnionField {
  std::uint8_t tag = 0;
  std::string name;
  LogicalType data_type;

  friend bool operator==(const UnionField&, const UnionField&) = default;
  void describe(DebugWriter& w) const {
    w.record("UnionField").field("tag", static_cast<unsigned>(tag)).field("name", name).field("data_type", data_type).finish();
  }
};

}  // namespace zelvo
