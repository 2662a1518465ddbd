#include "common/data_chunk.h"

#include <algorithm>

namespace zelvo {

DataChunk::DataChunk(const std::vector<LogicalType>& types)
    : selection_(SelectionVector::identity(kDefaultCapacity)), capacity_(kDefaultCapacity) {
  vectors_.reserve(types.size());
  for (const LogicalType& type : types) vectors_.emplace_back(type, kDefaultCapacity);
}

DataChunk::DataChunk(std::vector<Vector> vectors, SelectionVector selection, std::uint64_t count,
                     std::uint64_t capacity)
    : vectors_(std::move(vectors)), selection_(std::move(selection)), count_(count), capacity_(capacity) {}

DataChunk DataChunk::from_vectors(std::vector<Vector> vectors, std::uint64_t row_count) {
  const std::uint64_t capacity = vectors.empty() ? kDefaultCapacity : vectors.front().capacity();
  return DataChunk(std::move(vectors), SelectionVector::identity(capacity), row_count, capacity);
}

bool DataChunk::append_row(std::span<const Value> values) {
  if (count_ >= capacity_) return false;
  const std::size_t columns = std::min(values.size(), vectors_.size());
  for (std::size_t i = 0; i < columns; ++i) vectors_[i].set_value(count_, values[i]);
  ++count_;
  return true;
}

bool DataChunk::append_moved_row(std::span<Value> values) {
  if (count_ >= capacity_) return false;
  const std::size_t columns = std::min(values.size(), vectors_.size());
  for (std::size_t i = 0; i < columns; ++i) vectors_[i].set_value(count_, std::move(values[i]));
  ++count_;
  return true;
}

std::vector<Value> DataChunk::get_row(std::uint64_t i) const {
  const std::uint64_t row = selection_[static_cast<std::size_t>(i)];
  std::vector<Value> values;
  values.reserve(vectors_.size());
  for (const Vector& vector : vectors_) values.push_back(vector.get_value(row));
  return values;
}

std::vector<LogicalType> DataChunk::types() const {
  std::vector<LogicalType> types;
  types.reserve(vectors_.size());
  for (const Vector& vector : vectors_) types.push_back(vector.data_type());
  return types;
}

}  // namespace zelvo
