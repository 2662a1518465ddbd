#include "processor/cell_reading.h"

#include <variant>

namespace zelvo {

namespace {

const Value kNull;

}  // namespace

const Value& peek_cell(const Vector& vector, std::uint64_t row, Value& scratch) {
  const Vector* current = &vector;
  while (true) {
    const Vector::Data& data = current->data();
    if (const auto* constant = std::get_if<Vector::Constant>(&data)) {
      return current->is_null_at(row) ? kNull : constant->value;
    }
    if (row >= current->capacity()) return kNull;
    if (const auto* dictionary = std::get_if<Vector::Dictionary>(&data)) {
      // A dictionary row names a row of the shared dictionary vector.
      if (current->is_null_at(row) || dictionary->dictionary == nullptr) return kNull;
      row = dictionary->indices[static_cast<std::size_t>(row)];
      current = dictionary->dictionary.get();
      continue;
    }
    if (current->is_null_at(row)) return kNull;
    if (const auto* values = std::get_if<Vector::Values>(&data)) {
      return row < values->values.size() ? values->values[static_cast<std::size_t>(row)] : kNull;
    }
    scratch = current->get_value(row);
    return scratch;
  }
}

Value read_cell(const Vector& vector, std::uint64_t row) {
  Value scratch;
  const Value& value = peek_cell(vector, row, scratch);
  if (&value == &scratch) return scratch;
  return value;
}

std::uint64_t physical_row(const DataChunk& chunk, std::uint64_t row) {
  const SelectionVector& selection = chunk.selection();
  return row < selection.size() ? selection[static_cast<std::size_t>(row)] : row;
}

std::vector<Value> read_row(const DataChunk& chunk, std::uint64_t row) {
  const std::uint64_t physical = physical_row(chunk, row);
  std::vector<Value> values;
  values.reserve(chunk.vectors().size());
  for (const Vector& vector : chunk.vectors()) values.push_back(read_cell(vector, physical));
  return values;
}

}  // namespace zelvo
