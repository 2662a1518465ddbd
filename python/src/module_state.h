#pragma once

#include "py_ref.h"

namespace zelvo::python {

// What the module builds once per process: the module object and its four
// classes (strong references, kept while the interpreter lives).
struct ModuleState {
  PyObject* module = nullptr;
  PyTypeObject* database_type = nullptr;
  PyTypeObject* connection_type = nullptr;
  PyTypeObject* query_result_type = nullptr;
  PyTypeObject* query_result_iterator_type = nullptr;
};

ModuleState& module_state();

}  // namespace zelvo::python
