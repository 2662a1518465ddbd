#pragma once

#include "py_ref.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/value.h"

namespace zelvo::python {

// Conversion of engine values to new Python objects. Every function returns
// a new reference, or an empty PyRef with the Python error set; objects
// built before a failure are released.

// One value: None, bool, int (128-bit integers exact), float, str (decimal,
// date, timestamp and UUID texts), bytes, list, or dict (structs, maps,
// intervals, internal ids, nodes and relationships).
PyRef value_to_py(const Value& value);

// One result row as a dict from column name to converted value. Columns
// past the end of the row are skipped, values past the last column ignored;
// a repeated column name keeps its first position and its last value.
PyRef row_to_dict(std::span<const std::string> columns, std::span<const Value> row);

// The column names as str objects, made once for the rows of one call; an
// empty vector with the Python error set when that fails (or when there are
// no columns).
std::vector<PyRef> column_keys(std::span<const std::string> columns);
// row_to_dict with the keys made by column_keys.
PyRef row_to_dict(std::span<const PyRef> keys, std::span<const Value> row);

// Every row as a dict, in row order.
PyRef rows_to_dict_list(std::span<const std::string> columns, std::span<const std::vector<Value>> rows);

// A str of UTF-8 text; bytes that are not UTF-8 become U+FFFD.
PyRef text_to_py(std::string_view text);

}  // namespace zelvo::python
