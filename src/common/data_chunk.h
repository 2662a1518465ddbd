#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/logical_type.h"
#include "common/selection_vector.h"
#include "common/value.h"
#include "common/vector.h"

namespace zelvo {

// A batch of rows: one vector per column, a selection of row positions, a
// row count and a capacity. `count` is the number of rows for every reader.
class DataChunk {
 public:
  static constexpr std::uint64_t kDefaultCapacity = 2048;

  // A chunk of capacity 2048 with one empty vector per type and no rows.
  explicit DataChunk(const std::vector<LogicalType>& types);

  // A chunk over vectors computed for `row_count` rows. The capacity is the
  // first vector's (2048 without vectors).
  static DataChunk from_vectors(std::vector<Vector> vectors, std::uint64_t row_count);

  const std::vector<Vector>& vectors() const { return vectors_; }
  std::vector<Vector>& vectors() { return vectors_; }
  const SelectionVector& selection() const { return selection_; }
  std::uint64_t count() const { return count_; }
  std::uint64_t capacity() const { return capacity_; }

  // Appends one row (a copy of each value into the vector of its position;
  // values past the last vector are ignored). False, with nothing changed,
  // when the chunk is full.
  bool append_row(std::span<const Value> values);
  // As append_row, moving the values in instead of copying them.
  bool append_moved_row(std::span<Value> values);
  // The values of logical row i (read through the selection), in column order.
  std::vector<Value> get_row(std::uint64_t i) const;
  // The vectors' types, in column order.
  std::vector<LogicalType> types() const;

 private:
  DataChunk(std::vector<Vector> vectors, SelectionVector selection, std::uint64_t count, std::uint64_t capacity);

  std::vector<Vector> vectors_;
  SelectionVector selection_;
  std::uint64_t count_ = 0;
  std::uint64_t capacity_ = kDefaultCapacity;
};

}  // namespace zelvo
