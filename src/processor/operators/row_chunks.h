#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/data_chunk.h"
#include "common/logical_type.h"
#include "common/value.h"

namespace zelvo {

// Chunks built from rows of other chunks. Every column keeps its type and
// holds its values as they were read, so each value reads back as itself
// whatever the column's type (a function result typed Any, a Date column).

// The given logical rows of `chunk`, in the given order.
DataChunk select_rows(const DataChunk& chunk, std::span<const std::uint64_t> rows);

// The `count` logical rows of `chunk` from `first` on.
DataChunk slice_rows(const DataChunk& chunk, std::uint64_t first, std::uint64_t count);

// A chunk of one row: value i in a column of type types[i].
DataChunk single_row_chunk(std::vector<Value> values, const std::vector<LogicalType>& types);

// The answer of the counting operators (DELETE, SET): one Int64 column
// holding one row, the count.
DataChunk count_chunk(std::uint64_t count);

}  // namespace zelvo
