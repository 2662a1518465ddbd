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

// Dicts with the same keys, one per row, keyed by column names: the names
// are made into str objects once, for all the rows.
class RowDicts {
 public:
  // On failure the maker is invalid (false) and the Python error is set.
  explicit RowDicts(std::span<const std::string> columns);
  explicit operator bool() const { return valid_; }

  // A dict from column name i to the converted value of `value_at(i)` (a
  // const Value&), in column order; a repeated name keeps its first
  // position and its last value.
  template <typename ValueAt>
  PyRef make(ValueAt&& value_at) const {
    PyRef dict = PyRef::steal(PyDict_New());
    if (!dict) return {};
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      PyRef value = value_to_py(value_at(i));
      if (!value || PyDict_SetItem(dict.get(), keys_[i].get(), value.get()) != 0) return {};
    }
    return dict;
  }

 private:
  std::vector<PyRef> keys_;
  bool valid_ = false;
};

// A str of UTF-8 text; bytes that are not UTF-8 become U+FFFD.
PyRef text_to_py(std::string_view text);

}  // namespace zelvo::python
