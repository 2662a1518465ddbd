#include "processor/cell_reading.h"

#include <variant>

namespace zelvo {

Value read_cell(const Vector& vector, std::uint64_t row) {
  const Vector* current = &vector;
  while (true) {
    if (std::holds_alternative<Vector::Constant>(current->data())) return current->get_value(row);
    if (row >= current->capacity()) return Value::null();
    const auto* dictionary = std::get_if<Vector::Dictionary>(&current->data());
    if (dictionary == nullptr) return current->get_value(row);
    // A dictionary row names a row of the shared dictionary vector.
    if (current->is_null_at(row) || dictionary->dictionary == nullptr) return Value::null();
    row = dictionary->indices[static_cast<std::size_t>(row)];
    current = dictionary->dictionary.get();
  }
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
