#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

#include "common/bit_list.h"
#include "common/logical_type.h"
#include "common/value.h"

namespace zelvo {

// One column of a batch: a logical type, the cells in one of four storage
// forms, and a validity bit per row (a set bit marks the row NULL).
//
//   Flat        fixed-width cells in a byte buffer that grows as rows are
//               written; cells not written yet read as zero bytes
//   Constant    one value standing for every row
//   Dictionary  row i is row indices[i] of a shared dictionary vector
//   Values      one Value per row, for variable-size and nested types
//
// Reads of a flat vector decode the cell as the type's physical kind
// (a Date column reads Int32, a Uuid column UInt128, an Interval column Null).
class Vector {
 public:
  struct Flat {
    std::vector<std::uint8_t> bytes;
  };
  struct Constant {
    Value value;
  };
  struct Dictionary {
    std::vector<std::uint32_t> indices;
    std::shared_ptr<const Vector> dictionary;
  };
  struct Values {
    std::vector<Value> values;
  };
  using Data = std::variant<Flat, Constant, Dictionary, Values>;

  // A vector of `capacity` rows: flat types get an empty byte buffer, the
  // other types an empty value list; every row valid. Nothing is allocated
  // until a row is written. A flat capacity whose byte size does not fit a
  // size_t is a broken invariant.
  Vector(LogicalType data_type, std::uint64_t capacity);

  // The same value in each of `count` rows; the type is the value's own.
  static Vector new_constant(Value value, std::uint64_t count);
  // Row i reads row indices[i] of `dictionary`.
  static Vector new_dictionary(LogicalType data_type, std::vector<std::uint32_t> indices,
                               std::shared_ptr<const Vector> dictionary);
  // One row per value in the Values form, whatever the type: every value
  // reads back as itself.
  static Vector from_values(LogicalType data_type, std::vector<Value> values);

  // Bytes per row of the flat form for a type; 0 for types of the Values form.
  static std::size_t element_width(const LogicalType& type);

  const LogicalType& data_type() const { return data_type_; }
  std::uint64_t capacity() const { return capacity_; }
  std::uint64_t null_count() const { return null_count_; }
  const Data& data() const { return data_; }
  bool is_null_at(std::uint64_t row) const { return validity_.test(row); }

  // A copy of the value at `row` (Null for every row of a dictionary form
  // without a dictionary).
  Value get_value(std::uint64_t row) const;
  // Writes a value at `row`; Null only sets the row's validity bit. The
  // value is copied or moved only where the vector keeps it as a Value.
  // A row past the capacity of the flat or Values form, a cell that would
  // pass the flat buffer and any value written into the dictionary form are
  // broken invariants, and leave the vector as it was.
  void set_value(std::uint64_t row, const Value& value) { store_value(row, value); }
  void set_value(std::uint64_t row, Value&& value) { store_value(row, std::move(value)); }

 private:
  Vector(Data data, LogicalType data_type, BitList validity, std::uint64_t null_count, std::uint64_t capacity);

  template <typename V>
  void store_value(std::uint64_t row, V&& value);
  Value read_flat(std::uint64_t row) const;
  void write_flat(std::uint64_t row, const Value& value);

  Data data_;
  LogicalType data_type_;
  BitList validity_;
  std::uint64_t null_count_ = 0;
  std::uint64_t capacity_ = 0;
};

}  // namespace zelvo
