#pragma once

// Python.h comes before every other header of the module.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace zelvo::python {

// One owned (strong) reference to a Python object, released when the PyRef
// goes away. An empty PyRef stands for a failed C API call: the Python error
// indicator is then set.
class PyRef {
 public:
  PyRef() = default;
  PyRef(const PyRef&) = delete;
  PyRef& operator=(const PyRef&) = delete;
  PyRef(PyRef&& other) noexcept : object_(other.release()) {}
  PyRef& operator=(PyRef&& other) noexcept {
    PyObject* old = std::exchange(object_, other.release());
    Py_XDECREF(old);
    return *this;
  }
  ~PyRef() { Py_XDECREF(object_); }

  // Takes over a new reference, such as a C API call returns (NULL allowed).
  static PyRef steal(PyObject* object) { return PyRef(object); }
  // Takes one more reference to a borrowed object.
  static PyRef borrow(PyObject* object) {
    Py_XINCREF(object);
    return PyRef(object);
  }

  PyObject* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Hands the reference over to the caller.
  PyObject* release() { return std::exchange(object_, nullptr); }

 private:
  explicit PyRef(PyObject* object) : object_(object) {}

  PyObject* object_ = nullptr;
};

}  // namespace zelvo::python
