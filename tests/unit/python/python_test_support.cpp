#include "python_test_support.h"

#include <gtest/gtest.h>

#include "errors.h"

namespace zelvo::python::testing {

namespace {

class PythonEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Py_InitializeEx(0);
    ASSERT_TRUE(create_panic_exception_type());
  }
  void TearDown() override {
    forget_panic_exception_type();
    Py_FinalizeEx();
  }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new PythonEnvironment);

std::string text_of(PyObject* object) {
  PyRef text = PyRef::steal(PyObject_Str(object));
  if (!text) {
    PyErr_Clear();
    return "<str failed>";
  }
  const char* utf8 = PyUnicode_AsUTF8(text.get());
  return utf8 != nullptr ? utf8 : "<not utf-8>";
}

}  // namespace

PyRef eval(const char* expression) {
  PyObject* globals = PyModule_GetDict(PyImport_AddModule("__main__"));
  PyRef result = PyRef::steal(PyRun_String(expression, Py_eval_input, globals, globals));
  if (!result) ADD_FAILURE() << "evaluating " << expression << ": " << take_error();
  return result;
}

std::string repr(PyObject* object) {
  PyRef text = PyRef::steal(PyObject_Repr(object));
  if (!text) return "<repr failed: " + take_error() + ">";
  return text_of(text.get());
}

std::string take_error() {
  PyRef error = fetch_exception();
  if (!error) return "";
  return std::string(Py_TYPE(error.get())->tp_name) + ": " + text_of(error.get());
}

Py_ssize_t allocated_blocks() {
  PyRef count = eval("__import__('sys').getallocatedblocks()");
  return count ? PyLong_AsSsize_t(count.get()) : -1;
}

}  // namespace zelvo::python::testing
