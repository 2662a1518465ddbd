#pragma once

#include "py_ref.h"

#include <string>

namespace zelvo::python::testing {

// An embedded interpreter is started once for the whole test binary.

// Evaluates a Python expression in the __main__ namespace.
PyRef eval(const char* expression);
// repr() of an object.
std::string repr(PyObject* object);
// "TypeName: message" of the pending Python error, which is cleared; ""
// when none is pending.
std::string take_error();
// The number of memory blocks the interpreter has allocated.
Py_ssize_t allocated_blocks();

}  // namespace zelvo::python::testing
