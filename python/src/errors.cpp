#include "errors.h"

#include <string>

#include "convert.h"

namespace zelvo::python {

namespace {

// A strong reference kept for the life of the interpreter.
PyObject* g_panic_exception_type = nullptr;

}  // namespace

bool create_panic_exception_type() {
  if (g_panic_exception_type != nullptr) return true;
  g_panic_exception_type = PyErr_NewExceptionWithDoc(
      "_zelvo.PanicException",
      "An internal fault of the engine (a broken invariant). It derives from BaseException so that\n"
      "ordinary `except Exception` handlers do not swallow it.",
      PyExc_BaseException, nullptr);
  return g_panic_exception_type != nullptr;
}

PyObject* panic_exception_type() { return g_panic_exception_type; }

void forget_panic_exception_type() { g_panic_exception_type = nullptr; }

PyRef fetch_exception() {
#if PY_VERSION_HEX >= 0x030C0000
  return PyRef::steal(PyErr_GetRaisedException());
#else
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  if (value != nullptr && traceback != nullptr) PyException_SetTraceback(value, traceback);
  Py_XDECREF(type);
  Py_XDECREF(traceback);
  return PyRef::steal(value);
#endif
}

void restore_exception(PyRef exception) {
  if (!exception) return;
#if PY_VERSION_HEX >= 0x030C0000
  PyErr_SetRaisedException(exception.release());
#else
  PyObject* type = Py_NewRef(reinterpret_cast<PyObject*>(Py_TYPE(exception.get())));
  PyObject* traceback = PyException_GetTraceback(exception.get());
  PyErr_Restore(type, exception.release(), traceback);
#endif
}

void raise_text(PyObject* type, std::string_view text) {
  PyRef message = text_to_py(text);
  if (message) PyErr_SetObject(type, message.get());
}

void raise_panic(std::string_view text) {
  // Before the module made its type (not reachable through the module's
  // entry points), the fault is still reported, as SystemError.
  raise_text(g_panic_exception_type != nullptr ? g_panic_exception_type : PyExc_SystemError, text);
}

void raise_engine_error(std::string_view prefix, const Error& error) {
  std::string text(prefix);
  text += error.display();
  raise_text(PyExc_RuntimeError, text);
}

}  // namespace zelvo::python
