#pragma once

#include "py_ref.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zelvo::python {

// The parameters of a method that takes arguments by position or keyword.
struct Signature {
  // The name that error messages show, with its class: "Connection.execute".
  std::string_view function;
  // The parameter names, in positional order.
  std::span<const char* const> parameters;
  // How many leading parameters have no default.
  std::size_t required;
};

// Binds the arguments of a METH_FASTCALL | METH_KEYWORDS call to one slot
// per parameter (borrowed references; nullptr where an optional parameter
// was not given). Missing, surplus, repeated and unknown arguments raise
// TypeError in the interpreter's wording, e.g.
//   Connection.execute() missing 1 required positional argument: 'query'
// Returns false with the error set.
bool bind_arguments(const Signature& signature, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                    std::span<PyObject*> bound);

// Argument conversions. Each returns no value with the Python error set on
// failure; a TypeError of the conversion is raised again as
// "argument '<parameter>': <message>", other errors (OverflowError) pass
// unchanged.

// A str (or subclass) as UTF-8; the view lives as long as the object.
std::optional<std::string_view> text_argument(PyObject* value, const char* parameter);
// Integers as the interpreter converts them: int or objects with __index__.
std::optional<std::uint64_t> uint64_argument(PyObject* value, const char* parameter);
std::optional<std::int64_t> int64_argument(PyObject* value, const char* parameter);

}  // namespace zelvo::python
