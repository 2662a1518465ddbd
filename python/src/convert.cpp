#include "convert.h"

#include <cstdint>
#include <limits>

#include "common/invariant.h"
#include "common/stack_guard.h"

namespace zelvo::python {

namespace {

// Nested values convert recursively, one level after a check of the
// thread's stack: a value nested too deeply for the stack left raises
// RecursionError instead of overflowing it.
bool has_room_to_nest() {
  if (stack_has_room()) return true;
  PyErr_SetString(PyExc_RecursionError, "value nested too deeply to convert to Python on this thread's stack");
  return false;
}

// Stores `value` under `key`; false with the Python error set when the value
// is missing (its conversion failed) or the insertion fails (an unhashable
// key raises TypeError).
bool set_item(PyObject* dict, const PyRef& key, const PyRef& value) {
  return value && PyDict_SetItem(dict, key.get(), value.get()) == 0;
}

bool set_item(PyObject* dict, const char* key, const PyRef& value) {
  return value && PyDict_SetItemString(dict, key, value.get()) == 0;
}

PyRef int128_to_py(Int128 value) {
  if (value >= std::numeric_limits<std::int64_t>::min() && value <= std::numeric_limits<std::int64_t>::max()) {
    return PyRef::steal(PyLong_FromLongLong(static_cast<long long>(value)));
  }
#if PY_VERSION_HEX >= 0x030D0000
  return PyRef::steal(PyLong_FromNativeBytes(&value, sizeof value, -1));
#else
  // high * 2^64 + low, with the high half signed and the low half unsigned.
  const auto bits = static_cast<UInt128>(value);
  PyRef high = PyRef::steal(PyLong_FromLongLong(static_cast<long long>(static_cast<std::int64_t>(bits >> 64))));
  PyRef low = PyRef::steal(PyLong_FromUnsignedLongLong(static_cast<std::uint64_t>(bits)));
  PyRef shift = PyRef::steal(PyLong_FromLong(64));
  if (!high || !low || !shift) return {};
  PyRef shifted = PyRef::steal(PyNumber_Lshift(high.get(), shift.get()));
  if (!shifted) return {};
  return PyRef::steal(PyNumber_Or(shifted.get(), low.get()));
#endif
}

PyRef uint128_to_py(UInt128 value) {
  if (value <= std::numeric_limits<std::uint64_t>::max()) {
    return PyRef::steal(PyLong_FromUnsignedLongLong(static_cast<std::uint64_t>(value)));
  }
#if PY_VERSION_HEX >= 0x030D0000
  return PyRef::steal(PyLong_FromUnsignedNativeBytes(&value, sizeof value, -1));
#else
  PyRef high = PyRef::steal(PyLong_FromUnsignedLongLong(static_cast<std::uint64_t>(value >> 64)));
  PyRef low = PyRef::steal(PyLong_FromUnsignedLongLong(static_cast<std::uint64_t>(value)));
  PyRef shift = PyRef::steal(PyLong_FromLong(64));
  if (!high || !low || !shift) return {};
  PyRef shifted = PyRef::steal(PyNumber_Lshift(high.get(), shift.get()));
  if (!shifted) return {};
  return PyRef::steal(PyNumber_Or(shifted.get(), low.get()));
#endif
}

PyRef list_to_py(const ValueList& values) {
  PyRef list = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(values.size())));
  if (!list) return {};
  Py_ssize_t index = 0;
  for (const Value& element : values) {
    PyRef item = value_to_py(element);
    if (!item) return {};
    PyList_SET_ITEM(list.get(), index++, item.release());
  }
  return list;
}

// Stores the converted value under the name; the name is converted first.
bool set_named(PyObject* dict, std::string_view name, const Value& value) {
  PyRef key = text_to_py(name);
  return key && set_item(dict, key, value_to_py(value));
}

// Appends name: converted value entries to `dict`, in order.
bool add_named_values(PyObject* dict, const NamedValues& entries) {
  for (const auto& [name, value] : entries) {
    if (!set_named(dict, name, value)) return false;
  }
  return true;
}

PyRef struct_to_py(const NamedValues& fields) {
  PyRef dict = PyRef::steal(PyDict_New());
  if (!dict || !add_named_values(dict.get(), fields)) return {};
  return dict;
}

PyRef map_to_py(const MapEntries& entries) {
  PyRef dict = PyRef::steal(PyDict_New());
  if (!dict) return {};
  for (const auto& [key, value] : entries) {
    PyRef converted_key = value_to_py(key);
    if (!converted_key || !set_item(dict.get(), converted_key, value_to_py(value))) return {};
  }
  return dict;
}

PyRef interval_to_py(const Interval& interval) {
  PyRef dict = PyRef::steal(PyDict_New());
  if (!dict || !set_item(dict.get(), "months", PyRef::steal(PyLong_FromLong(interval.months))) ||
      !set_item(dict.get(), "days", PyRef::steal(PyLong_FromLong(interval.days))) ||
      !set_item(dict.get(), "microseconds", PyRef::steal(PyLong_FromLongLong(interval.micros)))) {
    return {};
  }
  return dict;
}

PyRef internal_id_to_py(const InternalId& id) {
  PyRef dict = PyRef::steal(PyDict_New());
  if (!dict || !set_item(dict.get(), "table_id", PyRef::steal(PyLong_FromUnsignedLongLong(id.table_id.value))) ||
      !set_item(dict.get(), "offset", PyRef::steal(PyLong_FromUnsignedLongLong(id.offset.value)))) {
    return {};
  }
  return dict;
}

// Node and relationship ids reach Python as their debug text.
PyRef id_text(const InternalId& id) { return text_to_py(debug_text(id)); }

PyRef node_to_py(const NodeValue& node) {
  PyRef dict = PyRef::steal(PyDict_New());
  if (!dict || !set_item(dict.get(), "_id", id_text(node.id))) return {};
  PyRef labels = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(node.labels.size())));
  if (!labels) return {};
  Py_ssize_t index = 0;
  for (const std::string& label : node.labels) {
    PyRef text = text_to_py(label);
    if (!text) return {};
    PyList_SET_ITEM(labels.get(), index++, text.release());
  }
  if (!set_item(dict.get(), "_labels", labels) || !add_named_values(dict.get(), node.properties)) return {};
  return dict;
}

PyRef rel_to_py(const RelValue& rel) {
  PyRef dict = PyRef::steal(PyDict_New());
  if (!dict || !set_item(dict.get(), "_id", id_text(rel.id)) || !set_item(dict.get(), "_src", id_text(rel.src)) ||
      !set_item(dict.get(), "_dst", id_text(rel.dst)) || !set_item(dict.get(), "_type", text_to_py(rel.rel_type)) ||
      !add_named_values(dict.get(), rel.properties)) {
    return {};
  }
  return dict;
}

PyRef timestamp_to_py(const Timestamp& timestamp) {
  std::string text = timestamp.date.to_string();
  text += ' ';
  text += timestamp.time_text();
  return text_to_py(text);
}

}  // namespace

PyRef text_to_py(std::string_view text) {
  return PyRef::steal(PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
}

PyRef value_to_py(const Value& value) {
  switch (value.kind()) {
    case ValueKind::Null: return PyRef::borrow(Py_None);
    case ValueKind::Bool: return PyRef::borrow(value.get<1>() ? Py_True : Py_False);
    case ValueKind::Int8: return PyRef::steal(PyLong_FromLong(value.get<2>()));
    case ValueKind::Int16: return PyRef::steal(PyLong_FromLong(value.get<3>()));
    case ValueKind::Int32: return PyRef::steal(PyLong_FromLong(value.get<4>()));
    case ValueKind::Int64: return PyRef::steal(PyLong_FromLongLong(value.get<5>()));
    case ValueKind::Int128: return int128_to_py(value.get<6>());
    case ValueKind::UInt8: return PyRef::steal(PyLong_FromUnsignedLong(value.get<7>()));
    case ValueKind::UInt16: return PyRef::steal(PyLong_FromUnsignedLong(value.get<8>()));
    case ValueKind::UInt32: return PyRef::steal(PyLong_FromUnsignedLong(value.get<9>()));
    case ValueKind::UInt64: return PyRef::steal(PyLong_FromUnsignedLongLong(value.get<10>()));
    case ValueKind::UInt128: return uint128_to_py(value.get<11>());
    case ValueKind::Float16: return PyRef::steal(PyFloat_FromDouble(value.get<12>().to_double()));
    case ValueKind::Float32: return PyRef::steal(PyFloat_FromDouble(static_cast<double>(value.get<13>())));
    case ValueKind::Float64: return PyRef::steal(PyFloat_FromDouble(value.get<14>()));
    case ValueKind::Decimal: return text_to_py(value.get<15>().to_string());
    case ValueKind::Date: return text_to_py(value.get<16>().to_string());
    case ValueKind::Timestamp: return timestamp_to_py(value.get<17>());
    case ValueKind::Interval: return interval_to_py(value.get<18>());
    case ValueKind::String: return text_to_py(value.get<19>());
    case ValueKind::Blob: {
      const std::vector<std::uint8_t>& bytes = value.get<20>().bytes;
      return PyRef::steal(PyBytes_FromStringAndSize(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<Py_ssize_t>(bytes.size())));
    }
    case ValueKind::Uuid: return text_to_py(value.get<21>().to_string());
    case ValueKind::InternalId: return internal_id_to_py(value.get<25>());
    case ValueKind::List:
    case ValueKind::Struct:
    case ValueKind::Map:
    case ValueKind::Node:
    case ValueKind::Rel: break;
  }
  // Nested values recurse: the outermost one marks where the engine's
  // conversion was entered, for stacks whose bounds cannot be read.
  const EngineEntry entry;
  if (!has_room_to_nest()) return {};
  switch (value.kind()) {
    case ValueKind::List: return list_to_py(value.get<22>());
    case ValueKind::Struct: return struct_to_py(value.get<23>().fields);
    case ValueKind::Map: return map_to_py(value.get<24>());
    case ValueKind::Node: return node_to_py(*value.get<26>());
    case ValueKind::Rel: return rel_to_py(*value.get<27>());
    default: fail_invariant("value kind without a conversion");
  }
}

RowDicts::RowDicts(std::span<const std::string> columns) {
  keys_.reserve(columns.size());
  for (const std::string& column : columns) {
    keys_.push_back(text_to_py(column));
    if (!keys_.back()) return;
  }
  valid_ = true;
}

}  // namespace zelvo::python
