#include "common/logical_type.h"

#include "common/invariant.h"

namespace zelvo {

namespace {

constexpr std::string_view kKindNames[kLogicalTypeKindCount] = {
    "Any",       "Bool",        "Int8",         "Int16",        "Int32",        "Int64",    "Int128",
    "UInt8",     "UInt16",      "UInt32",       "UInt64",       "UInt128",      "Float16",  "Float32",
    "Float64",   "Decimal",     "Date",         "Timestamp",    "TimestampTz",  "TimestampNs",
    "TimestampMs", "TimestampSec", "Interval",  "String",       "Blob",         "Uuid",     "List",
    "Array",     "Map",         "Struct",       "Union",        "Node",         "Rel",      "RecursiveRel",
    "InternalId", "Serial",     "Null",
};

bool has_payload(LogicalTypeKind kind) {
  switch (kind) {
    case LogicalTypeKind::Decimal:
    case LogicalTypeKind::List:
    case LogicalTypeKind::Array:
    case LogicalTypeKind::Map:
    case LogicalTypeKind::Struct:
    case LogicalTypeKind::Union:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string_view logical_type_kind_name(LogicalTypeKind kind) {
  return kKindNames[static_cast<std::size_t>(kind)];
}

LogicalType::LogicalType(LogicalTypeKind kind) : kind_(kind) {
  ZELVO_CHECK(!has_payload(kind), "LogicalType kind needs a payload");
}

LogicalType::LogicalType(LogicalTypeKind kind, Payload payload) : kind_(kind), payload_(std::move(payload)) {}

LogicalType LogicalType::decimal(std::uint8_t precision, std::uint8_t scale) {
  return LogicalType(LogicalTypeKind::Decimal, DecimalInfo{precision, scale});
}

LogicalType LogicalType::list(LogicalType element) {
  return LogicalType(LogicalTypeKind::List,
                     ElementInfo{std::make_shared<const LogicalType>(std::move(element)), 0});
}

LogicalType LogicalType::array(LogicalType element, std::uint32_t size) {
  return LogicalType(LogicalTypeKind::Array,
                     ElementInfo{std::make_shared<const LogicalType>(std::move(element)), size});
}

LogicalType LogicalType::map(LogicalType key, LogicalType value) {
  return LogicalType(LogicalTypeKind::Map, MapInfo{std::make_shared<const LogicalType>(std::move(key)),
                                                   std::make_shared<const LogicalType>(std::move(value))});
}

LogicalType LogicalType::struct_type(std::vector<StructField> fields) {
  return LogicalType(LogicalTypeKind::Struct, Box<std::vector<StructField>>(std::move(fields)));
}

LogicalType LogicalType::union_type(std::vector<UnionField> fields) {
  return LogicalType(LogicalTypeKind::Union, Box<std::vector<UnionField>>(std::move(fields)));
}

std::uint8_t LogicalType::decimal_precision() const { return std::get<DecimalInfo>(payload_).precision; }
std::uint8_t LogicalType::decimal_scale() const { return std::get<DecimalInfo>(payload_).scale; }
const std::shared_ptr<const LogicalType>& LogicalType::element_type() const {
  return std::get<ElementInfo>(payload_).element;
}
std::uint32_t LogicalType::array_size() const { return std::get<ElementInfo>(payload_).size; }
const std::shared_ptr<const LogicalType>& LogicalType::key_type() const { return std::get<MapInfo>(payload_).key; }
const std::shared_ptr<const LogicalType>& LogicalType::value_type() const {
  return std::get<MapInfo>(payload_).value;
}
const std::vector<StructField>& LogicalType::struct_fields() const {
  return *std::get<Box<std::vector<StructField>>>(payload_);
}
const std::vector<UnionField>& LogicalType::union_fields() const {
  return *std::get<Box<std::vector<UnionField>>>(payload_);
}

void LogicalType::describe(DebugWriter& w) const {
  const std::string_view name = logical_type_kind_name(kind_);
  switch (kind_) {
    case LogicalTypeKind::Decimal:
      w.record(name)
          .field("precision", static_cast<unsigned>(decimal_precision()))
          .field("scale", static_cast<unsigned>(decimal_scale()))
          .finish();
      return;
    case LogicalTypeKind::List:
      w.tuple(name).item(*element_type()).finish();
      return;
    case LogicalTypeKind::Array:
      w.record(name).field("element_type", *element_type()).field("size", array_size()).finish();
      return;
    case LogicalTypeKind::Map:
      w.record(name).field("key_type", *key_type()).field("value_type", *value_type()).finish();
      return;
    case LogicalTypeKind::Struct:
      w.tuple(name).item(struct_fields()).finish();
      return;
    case LogicalTypeKind::Union:
      w.tuple(name).item(union_fields()).finish();
      return;
    default:
      w.name(name);
      return;
  }
}

bool operator==(const LogicalType& a, const LogicalType& b) {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case LogicalTypeKind::Decimal:
      return a.decimal_precision() == b.decimal_precision() && a.decimal_scale() == b.decimal_scale();
    case LogicalTypeKind::List:
      return *a.element_type() == *b.element_type();
    case LogicalTypeKind::Array:
      return a.array_size() == b.array_size() && *a.element_type() == *b.element_type();
    case LogicalTypeKind::Map:
      return *a.key_type() == *b.key_type() && *a.value_type() == *b.value_type();
    case LogicalTypeKind::Struct:
      return a.struct_fields() == b.struct_fields();
    case LogicalTypeKind::Union:
      return a.union_fields() == b.union_fields();
    default:
      return true;
  }
}

}  // namespace zelvo
