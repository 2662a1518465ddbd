#pragma once

#include "py_ref.h"

#include <exception>
#include <new>
#include <string_view>
#include <type_traits>

#include "common/error.h"

namespace zelvo::python {

// Creates the PanicException type (derived from BaseException) that internal
// faults are raised as; the module calls it once. Returns false with the
// Python error set when the type cannot be made.
bool create_panic_exception_type();
// The type made by create_panic_exception_type (borrowed), or nullptr.
PyObject* panic_exception_type();
// Drops the pointer to the type once its interpreter has been finalised.
void forget_panic_exception_type();

// Takes the pending exception (normalised) off the error indicator; empty
// when none is pending.
PyRef fetch_exception();
// Makes `exception` the pending exception again.
void restore_exception(PyRef exception);

// Raises `type` with a UTF-8 text (bytes that are not UTF-8 become U+FFFD).
void raise_text(PyObject* type, std::string_view text);

// Raises an internal fault (a broken invariant or any other C++ exception)
// as PanicException.
void raise_panic(std::string_view text);

// Raises RuntimeError with `prefix` and the error's display text, e.g.
// "Query failed: Parser error: ...".
void raise_engine_error(std::string_view prefix, const Error& error);

// The value a C API entry point of type T returns on failure.
template <typename T>
T failure_value() {
  if constexpr (std::is_pointer_v<T>) {
    return nullptr;
  } else {
    return -1;
  }
}

// Runs the body of a C API entry point. C++ exceptions never cross into the
// interpreter: allocation failure becomes MemoryError, any other exception
// (such as zelvo::InvariantError) PanicException.
template <typename Body>
auto guard_entry(Body&& body) noexcept -> decltype(body()) {
  using Returned = decltype(body());
  try {
    return body();
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& fault) {
    raise_panic(fault.what());
  } catch (...) {
    raise_panic("unknown internal fault");
  }
  return failure_value<Returned>();
}

}  // namespace zelvo::python
