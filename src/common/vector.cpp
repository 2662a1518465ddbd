#include "common/vector.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "common/invariant.h"

namespace zelvo {

static_assert(std::endian::native == std::endian::little, "flat vectors store little-endian cells");

namespace {

// Reads of unwritten cells decode these zero bytes.
constexpr std::uint8_t kZeroCell[16] = {};

template <typename T>
T load(const std::uint8_t* cell) {
  T value;
  std::memcpy(&value, cell, sizeof(T));
  return value;
}

// The byte offset of row `row` in a flat buffer of `capacity` cells of
// `width` bytes. A row past the capacity, or one whose cell would end past
// the largest size_t, is a broken invariant (`message`); otherwise neither
// the offset nor the cell's end wraps.
std::size_t cell_offset(std::uint64_t row, std::uint64_t capacity, std::size_t width, const char* message) {
  ZELVO_CHECK(row < capacity && row < std::numeric_limits<std::size_t>::max() / width, message);
  return static_cast<std::size_t>(row) * width;
}

// Writes `value` at `offset` of a flat buffer that may hold up to `limit`
// bytes, growing the buffer on demand. The buffer only ever holds whole
// cells of `width` bytes (all sizes are powers of two), so every cell is
// either wholly in it or past its end. Nothing changes when the check fails.
template <typename T>
void store(std::vector<std::uint8_t>& bytes, std::size_t limit, std::size_t offset, std::size_t width, T value) {
  ZELVO_CHECK(offset <= limit && sizeof(T) <= limit - offset, "flat vector write past the buffer");
  const std::size_t end = offset + std::max(sizeof(T), width);
  if (bytes.size() < end) bytes.resize(end);
  std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// The 64-bit number a timestamp is stored as in a flat vector of the given
// timestamp type: seconds, milliseconds, microseconds or nanoseconds since
// 1970-01-01 (a leap second counts in its fraction). Wraps on overflow.
std::uint64_t timestamp_number(const Timestamp& t, LogicalTypeKind kind) {
  const std::uint64_t seconds = static_cast<std::uint64_t>(static_cast<std::int64_t>(t.date.days)) * 86400U + t.seconds;
  switch (kind) {
    case LogicalTypeKind::TimestampSec: return seconds + t.fraction / 1000000000U;
    case LogicalTypeKind::TimestampMs: return seconds * 1000U + t.fraction / 1000000U;
    case LogicalTypeKind::TimestampNs: return seconds * 1000000000U + t.fraction;
    default: return seconds * 1000000U + t.fraction / 1000U;
  }
}

}  // namespace

std::size_t Vector::element_width(const LogicalType& type) {
  switch (type.kind()) {
    case LogicalTypeKind::Bool:
    case LogicalTypeKind::Int8:
    case LogicalTypeKind::UInt8:
    case LogicalTypeKind::Null: return 1;
    case LogicalTypeKind::Int16:
    case LogicalTypeKind::UInt16:
    case LogicalTypeKind::Float16: return 2;
    case LogicalTypeKind::Int32:
    case LogicalTypeKind::UInt32:
    case LogicalTypeKind::Float32:
    case LogicalTypeKind::Date: return 4;
    case LogicalTypeKind::Any:
    case LogicalTypeKind::Int64:
    case LogicalTypeKind::UInt64:
    case LogicalTypeKind::Float64:
    case LogicalTypeKind::Timestamp:
    case LogicalTypeKind::TimestampTz:
    case LogicalTypeKind::TimestampNs:
    case LogicalTypeKind::TimestampMs:
    case LogicalTypeKind::TimestampSec:
    case LogicalTypeKind::Serial: return 8;
    case LogicalTypeKind::Int128:
    case LogicalTypeKind::UInt128:
    case LogicalTypeKind::Interval:
    case LogicalTypeKind::Uuid:
    case LogicalTypeKind::InternalId: return 16;
    case LogicalTypeKind::Decimal:
      if (type.decimal_precision() < 10) return 4;
      if (type.decimal_precision() <= 18) return 8;
      return 16;
    default: return 0;
  }
}

// The flat buffer starts empty and grows with the rows written: a cell past
// its end reads as zero bytes, as in a zero-filled buffer. A flat capacity
// whose byte size does not fit a size_t is refused before anything is
// allocated, so that the offset of every row below it fits too.
Vector::Vector(LogicalType data_type, std::uint64_t capacity)
    : data_(element_width(data_type) != 0 ? Data(Flat{}) : Data(Values{})),
      data_type_(std::move(data_type)),
      validity_(capacity, false),
      capacity_(capacity) {
  const std::size_t width = element_width(data_type_);
  ZELVO_CHECK(width == 0 || capacity_ <= std::numeric_limits<std::size_t>::max() / width,
              "flat vector capacity past the addressable bytes");
}

Vector::Vector(Data data, LogicalType data_type, BitList validity, std::uint64_t null_count, std::uint64_t capacity)
    : data_(std::move(data)),
      data_type_(std::move(data_type)),
      validity_(std::move(validity)),
      null_count_(null_count),
      capacity_(capacity) {}

Vector Vector::new_constant(Value value, std::uint64_t count) {
  const bool null = value.is_null();
  LogicalType type = value.logical_type();
  return Vector(Constant{std::move(value)}, std::move(type), BitList(count, null), null ? count : 0, count);
}

Vector Vector::new_dictionary(LogicalType data_type, std::vector<std::uint32_t> indices,
                              std::shared_ptr<const Vector> dictionary) {
  const std::uint64_t capacity = indices.size();
  return Vector(Dictionary{std::move(indices), std::move(dictionary)}, std::move(data_type), BitList(capacity, false),
                0, capacity);
}

Vector Vector::from_values(LogicalType data_type, std::vector<Value> values) {
  const std::uint64_t capacity = values.size();
  BitList validity(capacity, false);
  std::uint64_t null_count = 0;
  for (std::uint64_t row = 0; row < capacity; ++row) {
    if (values[row].is_null()) {
      validity.set(row);
      ++null_count;
    }
  }
  return Vector(Values{std::move(values)}, std::move(data_type), std::move(validity), null_count, capacity);
}

Value Vector::get_value(std::uint64_t row) const {
  const Vector* vector = this;
  while (true) {
    if (vector->validity_.test(row)) return Value::null();
    if (const auto* dictionary = std::get_if<Dictionary>(&vector->data_)) {
      ZELVO_CHECK(row < dictionary->indices.size(), "dictionary index past the end");
      // Without a dictionary every row reads Null, as the processor's cell
      // reader has it.
      if (dictionary->dictionary == nullptr) return Value::null();
      row = dictionary->indices[row];
      vector = dictionary->dictionary.get();
      continue;
    }
    if (const auto* constant = std::get_if<Constant>(&vector->data_)) return constant->value;
    if (const auto* values = std::get_if<Values>(&vector->data_)) {
      return row < values->values.size() ? values->values[row] : Value::null();
    }
    return vector->read_flat(row);
  }
}

Value Vector::read_flat(std::uint64_t row) const {
  const std::vector<std::uint8_t>& bytes = std::get<Flat>(data_).bytes;
  const std::size_t width = element_width(data_type_);
  const std::size_t offset = cell_offset(row, capacity_, width, "flat vector read past the buffer");
  // The buffer holds whole cells (see write_flat): a cell is there entirely or not at all.
  const std::uint8_t* cell = offset < bytes.size() ? bytes.data() + offset : kZeroCell;
  switch (data_type_.kind()) {
    case LogicalTypeKind::Bool:
    case LogicalTypeKind::Null: return Value::boolean(cell[0] != 0);
    case LogicalTypeKind::Int8: return Value::int8(load<std::int8_t>(cell));
    case LogicalTypeKind::Int16: return Value::int16(load<std::int16_t>(cell));
    case LogicalTypeKind::Int32:
    case LogicalTypeKind::Date: return Value::int32(load<std::int32_t>(cell));
    case LogicalTypeKind::Int64:
    case LogicalTypeKind::Timestamp:
    case LogicalTypeKind::TimestampTz:
    case LogicalTypeKind::TimestampNs:
    case LogicalTypeKind::TimestampMs:
    case LogicalTypeKind::TimestampSec:
    case LogicalTypeKind::Serial: return Value::int64(load<std::int64_t>(cell));
    case LogicalTypeKind::Int128: return Value::int128(load<Int128>(cell));
    case LogicalTypeKind::UInt8: return Value::uint8(load<std::uint8_t>(cell));
    case LogicalTypeKind::UInt16: return Value::uint16(load<std::uint16_t>(cell));
    case LogicalTypeKind::UInt32: return Value::uint32(load<std::uint32_t>(cell));
    case LogicalTypeKind::UInt64: return Value::uint64(load<std::uint64_t>(cell));
    case LogicalTypeKind::UInt128:
    case LogicalTypeKind::Uuid: return Value::uint128(load<UInt128>(cell));
    case LogicalTypeKind::Float16: return Value::float16(Float16{load<std::uint16_t>(cell)});
    case LogicalTypeKind::Float32: return Value::float32(load<float>(cell));
    case LogicalTypeKind::Float64: return Value::float64(load<double>(cell));
    case LogicalTypeKind::Decimal:
      if (width == 4) return Value::int32(load<std::int32_t>(cell));
      if (width == 8) return Value::int64(load<std::int64_t>(cell));
      return Value::int128(load<Int128>(cell));
    default: return Value::null();
  }
}

// The cell is written before the row's validity bit is cleared, so a write
// that fails its checks leaves the vector as it was.
template <typename V>
void Vector::store_value(std::uint64_t row, V&& value) {
  const bool in_validity = row < validity_.length();
  if (value.is_null()) {
    if (in_validity && !validity_.test(row)) {
      validity_.set(row);
      ++null_count_;
    }
    return;
  }
  switch (data_.index()) {
    case 0: write_flat(row, value); break;
    case 1: break;  // a constant stores nothing per row
    case 2: fail_invariant("Cannot set value on dictionary vector");
    default: {
      std::vector<Value>& values = std::get<Values>(data_).values;
      ZELVO_CHECK(row < capacity_, "value vector write past its capacity");
      if (row == values.size()) {
        values.push_back(std::forward<V>(value));  // the usual case: rows written in order
        break;
      }
      // Taken before the list may grow: `value` could be one of its elements.
      Value stored(std::forward<V>(value));
      if (row > values.size()) values.resize(static_cast<std::size_t>(row) + 1);
      values[static_cast<std::size_t>(row)] = std::move(stored);
      break;
    }
  }
  if (in_validity && validity_.test(row)) {
    validity_.clear(row);
    --null_count_;
  }
}

template void Vector::store_value<const Value&>(std::uint64_t row, const Value& value);
template void Vector::store_value<Value>(std::uint64_t row, Value&& value);

void Vector::write_flat(std::uint64_t row, const Value& value) {
  std::vector<std::uint8_t>& bytes = std::get<Flat>(data_).bytes;
  const std::size_t width = element_width(data_type_);
  // The bytes of `capacity` rows: the constructor refused a capacity whose
  // byte size does not fit.
  const std::size_t limit = static_cast<std::size_t>(capacity_) * width;
  const std::size_t offset = cell_offset(row, capacity_, width, "flat vector write past the buffer");
  const auto put = [&](auto cell) { store(bytes, limit, offset, width, cell); };
  switch (value.kind()) {
    case ValueKind::Bool: put(static_cast<std::uint8_t>(value.get<1>() ? 1 : 0)); return;
    case ValueKind::Int8: put(value.get<2>()); return;
    case ValueKind::Int16: put(value.get<3>()); return;
    case ValueKind::Int32: put(value.get<4>()); return;
    case ValueKind::Int64: put(value.get<5>()); return;
    case ValueKind::Int128: put(value.get<6>()); return;
    case ValueKind::UInt8: put(value.get<7>()); return;
    case ValueKind::UInt16: put(value.get<8>()); return;
    case ValueKind::UInt32: put(value.get<9>()); return;
    case ValueKind::UInt64: put(value.get<10>()); return;
    case ValueKind::UInt128: put(value.get<11>()); return;
    case ValueKind::Float16: put(value.get<12>().bits); return;
    case ValueKind::Float32: put(value.get<13>()); return;
    case ValueKind::Float64: put(value.get<14>()); return;
    // Kinds with a physical encoding: a date as its day number, a timestamp
    // as a 64-bit count, a decimal as its signed mantissa at the vector's
    // width, a UUID as its 128 bits.
    case ValueKind::Date: put(value.get<16>().days); return;
    case ValueKind::Timestamp: put(timestamp_number(value.get<17>(), data_type_.kind())); return;
    case ValueKind::Decimal: {
      const Decimal& decimal = value.get<15>();
      const UInt128 magnitude = decimal.mantissa();
      const UInt128 mantissa = decimal.negative() ? UInt128{0} - magnitude : magnitude;
      switch (width) {
        case 1: put(static_cast<std::uint8_t>(mantissa)); return;
        case 2: put(static_cast<std::uint16_t>(mantissa)); return;
        case 4: put(static_cast<std::uint32_t>(mantissa)); return;
        case 8: put(static_cast<std::uint64_t>(mantissa)); return;
        default: put(mantissa); return;
      }
    }
    case ValueKind::Uuid: {
      UInt128 bits;
      std::memcpy(&bits, value.get<21>().bytes.data(), sizeof bits);
      put(bits);
      return;
    }
    default: return;  // no fixed-width encoding: nothing is stored
  }
}

}  // namespace zelvo
