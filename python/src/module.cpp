// The module _zelvo: single-phase initialisation that builds the module once
// per process and hands the same object back on later initialisations.

#include "py_ref.h"

#include <atomic>
#include <cstdint>

#include "connection.h"
#include "database.h"
#include "errors.h"
#include "module_state.h"
#include "query_result.h"
#include "query_result_iterator.h"

namespace zelvo::python {

namespace {

ModuleState g_state;

// The interpreter that imported the module first; -1 before any import.
std::atomic<std::int64_t> g_interpreter_id{-1};

PyModuleDef g_module_def = {
    PyModuleDef_HEAD_INIT,
    "_zelvo",
    "Python module for Zelvo.",
    0,  // no per-module state; a second initialisation calls PyInit__zelvo again
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// Once the interpreter is finalised its objects are gone; an embedding
// program that starts a new interpreter gets a freshly built module.
void forget_module_state() {
  g_state = ModuleState{};
  forget_panic_exception_type();
  g_interpreter_id.store(-1);
}

// Appends `name` to the module's __all__ (made on first use), then sets
// the attribute.
bool add_public(PyObject* module, const char* name, PyObject* object) {
  PyObject* dict = PyModule_GetDict(module);              // borrowed
  PyObject* all = PyDict_GetItemString(dict, "__all__");  // borrowed
  if (all == nullptr) {
    PyRef list = PyRef::steal(PyList_New(0));
    if (!list || PyDict_SetItemString(dict, "__all__", list.get()) != 0) return false;
    all = list.get();  // the module's dict keeps it alive
  }
  PyRef text = PyRef::steal(PyUnicode_FromString(name));
  if (!text || PyList_Append(all, text.get()) != 0) return false;
  return PyModule_AddObjectRef(module, name, object) == 0;
}

bool is_first_interpreter() {
  const std::int64_t id = PyInterpreterState_GetID(PyInterpreterState_Get());
  if (id == -1) return false;
  std::int64_t expected = -1;
  if (g_interpreter_id.compare_exchange_strong(expected, id) || expected == id) return true;
  PyErr_SetString(PyExc_ImportError,
                  "_zelvo does not support sub-interpreters: it can only be imported in the interpreter "
                  "that imported it first");
  return false;
}

PyObject* build_module() {
  PyRef module = PyRef::steal(PyModule_Create(&g_module_def));
  if (!module || !create_panic_exception_type()) return nullptr;
  PyRef database = create_database_type();
  if (!database || !add_public(module.get(), "Database", database.get())) return nullptr;
  PyRef connection = create_connection_type();
  if (!connection || !add_public(module.get(), "Connection", connection.get())) return nullptr;
  PyRef query_result = create_query_result_type();
  if (!query_result || !add_public(module.get(), "QueryResult", query_result.get())) return nullptr;
  PyRef iterator = create_query_result_iterator_type();
  if (!iterator || !add_public(module.get(), "QueryResultIterator", iterator.get())) return nullptr;
  PyRef version = PyRef::steal(PyUnicode_FromString("0.1.0"));
  if (!version || !add_public(module.get(), "__version__", version.get())) return nullptr;

  g_state.database_type = reinterpret_cast<PyTypeObject*>(database.release());
  g_state.connection_type = reinterpret_cast<PyTypeObject*>(connection.release());
  g_state.query_result_type = reinterpret_cast<PyTypeObject*>(query_result.release());
  g_state.query_result_iterator_type = reinterpret_cast<PyTypeObject*>(iterator.release());
  g_state.module = Py_NewRef(module.get());
  Py_AtExit(forget_module_state);
  return module.release();
}

}  // namespace

ModuleState& module_state() { return g_state; }

}  // namespace zelvo::python

PyMODINIT_FUNC PyInit__zelvo() {
  using namespace zelvo::python;
  return guard_entry([]() -> PyObject* {
    if (!is_first_interpreter()) return nullptr;
    if (g_state.module != nullptr) return Py_NewRef(g_state.module);
    return build_module();
  });
}
