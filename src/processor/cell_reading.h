#pragma once

#include <cstdint>
#include <vector>

#include "common/data_chunk.h"
#include "common/value.h"
#include "common/vector.h"

namespace zelvo {

// Reads that never pass a vector's storage. A vector may hold fewer rows
// than the chunk it sits in claims (an expression over a column shorter
// than the chunk's count yields no rows past that column's end); such rows
// read as Null.

// The value of `row`, or Null past the rows the vector holds. A constant
// holds every row.
Value read_cell(const Vector& vector, std::uint64_t row);

// The same value without a copy where the vector keeps it as a Value (the
// Values and Constant forms, Nulls): the reference points into the vector
// or at a static Null. Flat cells are decoded into `scratch`, and the
// reference points there.
const Value& peek_cell(const Vector& vector, std::uint64_t row, Value& scratch);

// The physical row of a chunk's logical row: through the selection where it
// reaches, the row itself beyond.
std::uint64_t physical_row(const DataChunk& chunk, std::uint64_t row);

// The values of one logical row of a chunk, in column order.
std::vector<Value> read_row(const DataChunk& chunk, std::uint64_t row);

}  // namespace zelvo
