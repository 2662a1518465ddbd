#pragma once

#include "py_ref.h"

#include <new>
#include <type_traits>
#include <utility>

#include "borrow.h"
#include "errors.h"

namespace zelvo::python {

// The memory layout of the module's objects: the Python header, the holds
// taken by running calls, and the C++ payload.
template <typename Payload>
struct PyBox {
  PyObject ob_base;  // PyObject_HEAD
  BorrowFlag borrow;
  Payload payload;
};

template <typename Payload>
PyBox<Payload>& box_of(PyObject* self) {
  return *reinterpret_cast<PyBox<Payload>*>(self);
}

// A new instance of `type` that takes over `payload`; nullptr with the
// Python error set when the allocation fails.
template <typename Payload>
PyObject* new_instance(PyTypeObject* type, Payload&& payload) {
  static_assert(std::is_nothrow_move_constructible_v<Payload>, "the payload moves in after the allocation");
  PyObject* object = type->tp_alloc(type, 0);
  if (object == nullptr) return nullptr;
  PyBox<Payload>& box = box_of<Payload>(object);
  new (&box.borrow) BorrowFlag();
  new (&box.payload) Payload(std::move(payload));
  return object;
}

// tp_dealloc of an instance made by new_instance.
template <typename Payload>
void dealloc_instance(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  PyBox<Payload>& box = box_of<Payload>(self);
  box.payload.~Payload();
  box.borrow.~BorrowFlag();
  type->tp_free(self);
  Py_DECREF(type);  // instances of heap types own a reference to their type
}

// Runs a call on `self` under a shared hold, guarded against C++ exceptions.
template <typename Payload, typename Body>
auto call_shared(PyObject* self, Body&& body) noexcept {
  return guard_entry([&] {
    using Returned = decltype(body(std::declval<Payload&>()));
    PyBox<Payload>& box = box_of<Payload>(self);
    SharedHold hold(box.borrow);
    if (!hold.held()) return failure_value<Returned>();
    return body(box.payload);
  });
}

// Runs a call on `self` under an exclusive hold, guarded likewise.
template <typename Payload, typename Body>
auto call_exclusive(PyObject* self, Body&& body) noexcept {
  return guard_entry([&] {
    using Returned = decltype(body(std::declval<Payload&>()));
    PyBox<Payload>& box = box_of<Payload>(self);
    ExclusiveHold hold(box.borrow);
    if (!hold.held()) return failure_value<Returned>();
    return body(box.payload);
  });
}

// C functions of the method and slot tables, stored through the generic
// pointer types that the tables declare.
template <typename Function>
PyCFunction as_method(Function* function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}
template <typename Function>
void* as_slot(Function* function) {
  return reinterpret_cast<void*>(function);
}

}  // namespace zelvo::python
