#include "common/value.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/invariant.h"

namespace zelvo {

namespace {

constexpr std::string_view kValueKindNames[kValueKindCount] = {
    "Null",   "Bool",    "Int8",    "Int16",   "Int32",   "Int64",      "Int128", "UInt8",     "UInt16",   "UInt32",
    "UInt64", "UInt128", "Float16", "Float32", "Float64", "Decimal",    "Date",   "Timestamp", "Interval", "String",
    "Blob",   "Uuid",    "List",    "Struct",  "Map",     "InternalId", "Node",   "Rel",
};

// Formats shortest round-trip digits by the debug-text float rules.
template <typename F>
std::string float_text(F value, F upper_threshold, F lower_threshold) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return std::signbit(value) ? "-0.0" : "0.0";

  // Shortest digits in scientific form, e.g. "1.5e+16" or "-1e-05".
  char buffer[64];
  const auto converted = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view scientific(buffer, static_cast<std::size_t>(converted.ptr - buffer));
  const std::size_t e_pos = scientific.find('e');
  std::string_view mantissa = scientific.substr(0, e_pos);
  const bool negative = !mantissa.empty() && mantissa.front() == '-';
  if (negative) mantissa.remove_prefix(1);
  std::string digits;
  for (char c : mantissa) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = std::atoi(std::string(scientific.substr(e_pos + 1)).c_str());

  std::string out = negative ? "-" : "";
  const F magnitude = std::fabs(value);
  if (magnitude >= upper_threshold || magnitude < lower_threshold) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1, std::string::npos);
    }
    out += 'e';
    out += std::to_string(exponent);
    return out;
  }
  // Plain notation: the point goes after digit number exponent + 1.
  if (exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    const std::size_t integer_digits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integer_digits) {
      out += digits;
      out.append(integer_digits - digits.size(), '0');
      out += ".0";
    } else {
      out.append(digits, 0, integer_digits);
      out += '.';
      out.append(digits, integer_digits, std::string::npos);
    }
  }
  return out;
}

template <typename F>
bool float_eq(F a, F b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b;
}

template <typename F>
int float_cmp(F a, F b) {
  const bool a_nan = std::isnan(a);
  const bool b_nan = std::isnan(b);
  if (a_nan || b_nan) return a_nan == b_nan ? 0 : (a_nan ? 1 : -1);
  if (a < b) return -1;
  if (a > b) return 1;
  return 0;
}

template <typename T>
int three_way(const T& a, const T& b) {
  if (a < b) return -1;
  if (b < a) return 1;
  return 0;
}

bool named_values_eq(const NamedValues& a, const NamedValues& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].first != b[i].first || !a[i].second.eq(b[i].second)) return false;
  }
  return true;
}

// The bits a float hashes by, agreeing with float_eq: every NaN as one
// quiet NaN and -0 as +0; other values by their own bits, which differ
// exactly when the values do.
template <typename F, typename Bits>
Bits float_hash_bits(F value) {
  if (std::isnan(value)) return std::bit_cast<Bits>(std::numeric_limits<F>::quiet_NaN());
  if (value == 0) return 0;
  return std::bit_cast<Bits>(value);
}

}  // namespace

std::string_view value_kind_name(ValueKind kind) { return kValueKindNames[static_cast<std::size_t>(kind)]; }

std::string float64_text(double value) { return float_text<double>(value, 1e16, 1e-4); }
std::string float32_text(float value) { return float_text<float>(value, 1e16F, 1e-4F); }

void Value::wrong_kind() const { fail_invariant("Value read as the wrong kind"); }

bool Value::eq(const Value& other) const {
  if (storage_.index() != other.storage_.index()) return false;
  switch (kind()) {
    case ValueKind::Null: return true;
    case ValueKind::Float16: return float_eq(get<12>().to_float(), other.get<12>().to_float());
    case ValueKind::Float32: return float_eq(get<13>(), other.get<13>());
    case ValueKind::Float64: return float_eq(get<14>(), other.get<14>());
    case ValueKind::Decimal: return get<15>().numerically_equal(other.get<15>());
    case ValueKind::List: {
      const ValueList& a = get<22>();
      const ValueList& b = other.get<22>();
      if (a.size() != b.size()) return false;
      for (std::size_t i = 0; i < a.size(); ++i) {
        if (!a[i].eq(b[i])) return false;
      }
      return true;
    }
    case ValueKind::Struct: return named_values_eq(get<23>().fields, other.get<23>().fields);
    case ValueKind::Map: {
      const MapEntries& a = get<24>();
      const MapEntries& b = other.get<24>();
      if (a.size() != b.size()) return false;
      for (std::size_t i = 0; i < a.size(); ++i) {
        if (!a[i].first.eq(b[i].first) || !a[i].second.eq(b[i].second)) return false;
      }
      return true;
    }
    case ValueKind::Node: {
      const NodeValue& a = *get<26>();
      const NodeValue& b = *other.get<26>();
      return a.id == b.id && a.labels == b.labels && named_values_eq(a.properties, b.properties);
    }
    case ValueKind::Rel: {
      const RelValue& a = *get<27>();
      const RelValue& b = *other.get<27>();
      return a.id == b.id && a.src == b.src && a.dst == b.dst && a.rel_type == b.rel_type &&
             named_values_eq(a.properties, b.properties);
    }
    default:
      // Bool, the integers, Date, Timestamp, Interval, String, Blob, Uuid,
      // InternalId: equal payloads.
      return std::visit(
          [&other](const auto& a) -> bool {
            using T = std::decay_t<decltype(a)>;
            if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, Float16> || std::is_same_v<T, float> ||
                          std::is_same_v<T, double> || std::is_same_v<T, Decimal> || std::is_same_v<T, ValueList> ||
                          std::is_same_v<T, StructValue> || std::is_same_v<T, MapEntries> ||
                          std::is_same_v<T, Box<NodeValue>> || std::is_same_v<T, Box<RelValue>>) {
              return false;  // handled above
            } else {
              return a == *std::get_if<T>(&other.storage_);
            }
          },
          storage_);
  }
}

int Value::cmp(const Value& other) const {
  if (is_null()) return other.is_null() ? 0 : -1;
  if (other.is_null()) return 1;
  if (storage_.index() != other.storage_.index()) return 0;
  switch (kind()) {
    case ValueKind::Bool: return three_way(get<1>(), other.get<1>());
    case ValueKind::Int8: return three_way(get<2>(), other.get<2>());
    case ValueKind::Int16: return three_way(get<3>(), other.get<3>());
    case ValueKind::Int32: return three_way(get<4>(), other.get<4>());
    case ValueKind::Int64: return three_way(get<5>(), other.get<5>());
    case ValueKind::Int128: return three_way(get<6>(), other.get<6>());
    case ValueKind::UInt8: return three_way(get<7>(), other.get<7>());
    case ValueKind::UInt16: return three_way(get<8>(), other.get<8>());
    case ValueKind::UInt32: return three_way(get<9>(), other.get<9>());
    case ValueKind::UInt64: return three_way(get<10>(), other.get<10>());
    case ValueKind::UInt128: return three_way(get<11>(), other.get<11>());
    case ValueKind::Float32: return float_cmp(get<13>(), other.get<13>());
    case ValueKind::Float64: return float_cmp(get<14>(), other.get<14>());
    case ValueKind::Date: return three_way(get<16>(), other.get<16>());
    case ValueKind::Timestamp: return three_way(get<17>(), other.get<17>());
    case ValueKind::String: {
      const int c = get<19>().compare(other.get<19>());
      return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    default: return 0;
  }
}

void Value::hash(Hasher& hasher) const {
  hasher.write_u64(static_cast<std::uint64_t>(kind()));
  switch (kind()) {
    case ValueKind::Null: return;
    case ValueKind::Bool: hasher.write_u8(get<1>() ? 1 : 0); return;
    case ValueKind::Int8: hasher.write_u8(static_cast<std::uint8_t>(get<2>())); return;
    case ValueKind::Int16: hasher.write_u16(static_cast<std::uint16_t>(get<3>())); return;
    case ValueKind::Int32: hasher.write_u32(static_cast<std::uint32_t>(get<4>())); return;
    case ValueKind::Int64: hasher.write_u64(static_cast<std::uint64_t>(get<5>())); return;
    case ValueKind::Int128: hasher.write_u128(static_cast<UInt128>(get<6>())); return;
    case ValueKind::UInt8: hasher.write_u8(get<7>()); return;
    case ValueKind::UInt16: hasher.write_u16(get<8>()); return;
    case ValueKind::UInt32: hasher.write_u32(get<9>()); return;
    case ValueKind::UInt64: hasher.write_u64(get<10>()); return;
    case ValueKind::UInt128: hasher.write_u128(get<11>()); return;
    // Float16 values compare as their exact float widenings.
    case ValueKind::Float16: hasher.write_u32(float_hash_bits<float, std::uint32_t>(get<12>().to_float())); return;
    case ValueKind::Float32: hasher.write_u32(float_hash_bits<float, std::uint32_t>(get<13>())); return;
    case ValueKind::Float64: hasher.write_u64(float_hash_bits<double, std::uint64_t>(get<14>())); return;
    case ValueKind::Decimal: {
      const Decimal normal = get<15>().normalized();
      hasher.write_u128(normal.mantissa());
      hasher.write_u32(normal.scale());
      hasher.write_u8(normal.negative() ? 1 : 0);
      return;
    }
    case ValueKind::Date: hasher.write_u32(static_cast<std::uint32_t>(get<16>().days)); return;
    case ValueKind::Timestamp: {
      const Timestamp& t = get<17>();
      hasher.write_u32(static_cast<std::uint32_t>(t.date.days));
      hasher.write_u32(t.seconds);
      hasher.write_u32(t.fraction);
      return;
    }
    case ValueKind::Interval: {
      const Interval& i = get<18>();
      hasher.write_u32(static_cast<std::uint32_t>(i.months));
      hasher.write_u32(static_cast<std::uint32_t>(i.days));
      hasher.write_u64(static_cast<std::uint64_t>(i.micros));
      return;
    }
    case ValueKind::String: hasher.write_str(get<19>()); return;
    case ValueKind::Blob: {
      const auto& bytes = get<20>().bytes;
      hasher.write_u64(bytes.size());
      hasher.write_bytes(bytes.data(), bytes.size());
      return;
    }
    case ValueKind::Uuid: hasher.write_bytes(get<21>().bytes.data(), 16); return;
    case ValueKind::List: {
      const ValueList& list = get<22>();
      hasher.write_u64(list.size());
      for (const Value& element : list) element.hash(hasher);
      return;
    }
    case ValueKind::Struct:
      for (const auto& [name, field] : get<23>().fields) {
        hasher.write_str(name);
        field.hash(hasher);
      }
      return;
    case ValueKind::Map:
      for (const auto& [key, entry] : get<24>()) {
        key.hash(hasher);
        entry.hash(hasher);
      }
      return;
    case ValueKind::InternalId: get<25>().hash(hasher); return;
    case ValueKind::Node: get<26>()->id.hash(hasher); return;
    case ValueKind::Rel: get<27>()->id.hash(hasher); return;
  }
}

LogicalType Value::logical_type() const {
  switch (kind()) {
    case ValueKind::Null: return LogicalType(LogicalTypeKind::Null);
    case ValueKind::Bool: return LogicalType(LogicalTypeKind::Bool);
    case ValueKind::Int8: return LogicalType(LogicalTypeKind::Int8);
    case ValueKind::Int16: return LogicalType(LogicalTypeKind::Int16);
    case ValueKind::Int32: return LogicalType(LogicalTypeKind::Int32);
    case ValueKind::Int64: return LogicalType(LogicalTypeKind::Int64);
    case ValueKind::Int128: return LogicalType(LogicalTypeKind::Int128);
    case ValueKind::UInt8: return LogicalType(LogicalTypeKind::UInt8);
    case ValueKind::UInt16: return LogicalType(LogicalTypeKind::UInt16);
    case ValueKind::UInt32: return LogicalType(LogicalTypeKind::UInt32);
    case ValueKind::UInt64: return LogicalType(LogicalTypeKind::UInt64);
    case ValueKind::UInt128: return LogicalType(LogicalTypeKind::UInt128);
    case ValueKind::Float16: return LogicalType(LogicalTypeKind::Float16);
    case ValueKind::Float32: return LogicalType(LogicalTypeKind::Float32);
    case ValueKind::Float64: return LogicalType(LogicalTypeKind::Float64);
    case ValueKind::Decimal: return LogicalType::decimal(38, 18);
    case ValueKind::Date: return LogicalType(LogicalTypeKind::Date);
    case ValueKind::Timestamp: return LogicalType(LogicalTypeKind::Timestamp);
    case ValueKind::Interval: return LogicalType(LogicalTypeKind::Interval);
    case ValueKind::String: return LogicalType(LogicalTypeKind::String);
    case ValueKind::Blob: return LogicalType(LogicalTypeKind::Blob);
    case ValueKind::Uuid: return LogicalType(LogicalTypeKind::Uuid);
    case ValueKind::List: {
      const ValueList& list = get<22>();
      return LogicalType::list(list.empty() ? LogicalType(LogicalTypeKind::Any) : list.front().logical_type());
    }
    case ValueKind::Struct: return LogicalType::struct_type({});
    case ValueKind::Map: return LogicalType::map(LogicalType(LogicalTypeKind::Any), LogicalType(LogicalTypeKind::Any));
    case ValueKind::InternalId: return LogicalType(LogicalTypeKind::InternalId);
    case ValueKind::Node: return LogicalType(LogicalTypeKind::Node);
    case ValueKind::Rel: return LogicalType(LogicalTypeKind::Rel);
  }
  return LogicalType(LogicalTypeKind::Any);
}

void NodeValue::describe(DebugWriter& w) const {
  w.record("NodeValue").field("id", id).field("labels", labels).field("properties", properties).finish();
}

void RelValue::describe(DebugWriter& w) const {
  w.record("RelValue")
      .field("id", id)
      .field("src", src)
      .field("dst", dst)
      .field("rel_type", rel_type)
      .field("properties", properties)
      .finish();
}

void Value::describe(DebugWriter& w) const {
  const std::string_view name = value_kind_name(kind());
  switch (kind()) {
    case ValueKind::Null: w.name(name); return;
    case ValueKind::Bool: w.tuple(name).item(get<1>()).finish(); return;
    case ValueKind::Int8: w.tuple(name).item(static_cast<int>(get<2>())).finish(); return;
    case ValueKind::Int16: w.tuple(name).item(get<3>()).finish(); return;
    case ValueKind::Int32: w.tuple(name).item(get<4>()).finish(); return;
    case ValueKind::Int64: w.tuple(name).item(get<5>()).finish(); return;
    case ValueKind::Int128: {
      const std::string text = int128_to_string(get<6>());
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::UInt8: w.tuple(name).item(static_cast<unsigned>(get<7>())).finish(); return;
    case ValueKind::UInt16: w.tuple(name).item(get<8>()).finish(); return;
    case ValueKind::UInt32: w.tuple(name).item(get<9>()).finish(); return;
    case ValueKind::UInt64: w.tuple(name).item(get<10>()).finish(); return;
    case ValueKind::UInt128: {
      const std::string text = uint128_to_string(get<11>());
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Float16: {
      const std::string text = float32_text(get<12>().to_float());
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Float32: {
      const std::string text = float32_text(get<13>());
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Float64: {
      const std::string text = float64_text(get<14>());
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Decimal: {
      const std::string text = get<15>().to_string();
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Date: {
      const std::string text = get<16>().to_string();
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Timestamp: {
      const std::string text = get<17>().to_string();
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::Interval: {
      const Interval& i = get<18>();
      w.record(name).field("months", i.months).field("days", i.days).field("micros", i.micros).finish();
      return;
    }
    case ValueKind::String: w.tuple(name).item(get<19>()).finish(); return;
    case ValueKind::Blob: {
      auto tuple = w.tuple(name);
      std::vector<unsigned> bytes(get<20>().bytes.begin(), get<20>().bytes.end());
      tuple.item(bytes).finish();
      return;
    }
    case ValueKind::Uuid: {
      const std::string text = get<21>().to_string();
      w.tuple(name).item(RawText{text}).finish();
      return;
    }
    case ValueKind::List: w.tuple(name).item(get<22>()).finish(); return;
    case ValueKind::Struct: w.tuple(name).item(get<23>().fields).finish(); return;
    case ValueKind::Map: w.tuple(name).item(get<24>()).finish(); return;
    case ValueKind::InternalId: w.tuple(name).item(get<25>()).finish(); return;
    case ValueKind::Node: w.tuple(name).item(*get<26>()).finish(); return;
    case ValueKind::Rel: w.tuple(name).item(*get<27>()).finish(); return;
  }
}

}  // namespace zelvo
