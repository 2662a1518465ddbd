#include "arguments.h"

#include <string>
#include <vector>

#include "common/invariant.h"
#include "errors.h"

namespace zelvo::python {

namespace {

std::string called_name(const Signature& signature) {
  std::string name(signature.function);
  name += "()";
  return name;
}

void raise_too_many_positional(const Signature& signature, Py_ssize_t given) {
  const std::size_t count = signature.parameters.size();
  std::string text = called_name(signature) + " takes ";
  if (signature.required < count) {
    text += "from " + std::to_string(signature.required) + " to " + std::to_string(count) + " positional arguments";
  } else {
    text += std::to_string(count) + (count == 1 ? " positional argument" : " positional arguments");
  }
  text += " but " + std::to_string(given) + (given == 1 ? " was given" : " were given");
  raise_text(PyExc_TypeError, text);
}

// "missing 2 required positional arguments: 'a' and 'b'"; three or more
// names read 'a', 'b', and 'c'.
void raise_missing(const Signature& signature, const std::vector<std::string_view>& missing) {
  std::string text = called_name(signature) + " missing " + std::to_string(missing.size()) + " required positional " +
                     (missing.size() == 1 ? "argument: " : "arguments: ");
  for (std::size_t i = 0; i < missing.size(); ++i) {
    if (i > 0) {
      if (missing.size() > 2) text += ",";
      text += i + 1 == missing.size() ? " and " : " ";
    }
    text += '\'';
    text += missing[i];
    text += '\'';
  }
  raise_text(PyExc_TypeError, text);
}

void raise_keyword_error(const Signature& signature, const char* what, PyObject* keyword) {
  PyErr_Format(PyExc_TypeError, "%s() %s '%U'", std::string(signature.function).c_str(), what, keyword);
}

// Replaces a pending TypeError (exactly that type, as the interpreter's own
// conversions raise it) by one that names the parameter.
void name_parameter_in_type_error(const char* parameter) {
  PyRef error = fetch_exception();
  if (!error) return;
  if (Py_TYPE(error.get()) != reinterpret_cast<PyTypeObject*>(PyExc_TypeError)) {
    restore_exception(std::move(error));
    return;
  }
  PyRef message = PyRef::steal(PyObject_Str(error.get()));
  if (!message) return;
  PyErr_Format(PyExc_TypeError, "argument '%s': %U", parameter, message.get());
}

// The integer behind `value` through __index__, as a new int object.
PyRef index_of(PyObject* value, const char* parameter) {
  PyRef integer = PyRef::steal(PyNumber_Index(value));
  if (!integer) name_parameter_in_type_error(parameter);
  return integer;
}

}  // namespace

bool bind_arguments(const Signature& signature, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                    std::span<PyObject*> bound) {
  const std::size_t count = signature.parameters.size();
  ZELVO_CHECK(bound.size() == count, "one bound slot per parameter");
  // The usual call gives every parameter by position: nothing to check.
  if (kwnames == nullptr && nargs >= 0 && static_cast<std::size_t>(nargs) == count) {
    for (std::size_t i = 0; i < count; ++i) bound[i] = args[i];
    return true;
  }
  for (PyObject*& slot : bound) slot = nullptr;

  if (nargs < 0 || static_cast<std::size_t>(nargs) > count) {
    raise_too_many_positional(signature, nargs);
    return false;
  }
  for (Py_ssize_t i = 0; i < nargs; ++i) bound[static_cast<std::size_t>(i)] = args[i];

  const Py_ssize_t keyword_count = kwnames != nullptr ? PyTuple_GET_SIZE(kwnames) : 0;
  for (Py_ssize_t k = 0; k < keyword_count; ++k) {
    PyObject* keyword = PyTuple_GET_ITEM(kwnames, k);
    std::size_t position = count;
    for (std::size_t p = 0; p < count; ++p) {
      if (PyUnicode_CompareWithASCIIString(keyword, signature.parameters[p]) == 0) {
        position = p;
        break;
      }
    }
    if (position == count) {
      raise_keyword_error(signature, "got an unexpected keyword argument", keyword);
      return false;
    }
    if (bound[position] != nullptr) {
      raise_keyword_error(signature, "got multiple values for argument", keyword);
      return false;
    }
    bound[position] = args[nargs + k];
  }

  std::vector<std::string_view> missing;
  for (std::size_t p = 0; p < signature.required; ++p) {
    if (bound[p] == nullptr) missing.emplace_back(signature.parameters[p]);
  }
  if (!missing.empty()) {
    raise_missing(signature, missing);
    return false;
  }
  return true;
}

std::optional<std::string_view> text_argument(PyObject* value, const char* parameter) {
  if (!PyUnicode_Check(value)) {
    PyRef type_name = PyRef::steal(PyType_GetQualName(Py_TYPE(value)));
    if (type_name) {
      PyErr_Format(PyExc_TypeError, "argument '%s': '%U' object cannot be converted to 'PyString'", parameter,
                   type_name.get());
    }
    return std::nullopt;
  }
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(value, &size);
  if (data == nullptr) return std::nullopt;  // lone surrogates: UnicodeEncodeError
  return std::string_view(data, static_cast<std::size_t>(size));
}

std::optional<std::uint64_t> uint64_argument(PyObject* value, const char* parameter) {
  PyRef integer = index_of(value, parameter);
  if (!integer) return std::nullopt;
  const unsigned long long result = PyLong_AsUnsignedLongLong(integer.get());
  if (result == static_cast<unsigned long long>(-1) && PyErr_Occurred()) return std::nullopt;
  return static_cast<std::uint64_t>(result);
}

std::optional<std::int64_t> int64_argument(PyObject* value, const char* parameter) {
  PyRef integer = index_of(value, parameter);
  if (!integer) return std::nullopt;
  const long long result = PyLong_AsLongLong(integer.get());
  if (result == -1 && PyErr_Occurred()) return std::nullopt;
  return static_cast<std::int64_t>(result);
}

}  // namespace zelvo::python
