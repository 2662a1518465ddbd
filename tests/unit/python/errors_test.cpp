#include "errors.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "borrow.h"
#include "common/invariant.h"
#include "python_test_support.h"

namespace zelvo::python {
namespace {

using testing::take_error;

TEST(GuardEntry, TurnsCppExceptionsIntoPythonExceptions) {
  struct Case {
    void (*fault)();
    const char* error;
  };
  const std::vector<Case> cases = {
      {[] { fail_invariant("index 9 past the end"); }, "PanicException: index 9 past the end"},
      {[] { throw std::runtime_error("boom"); }, "PanicException: boom"},
      {[] { throw 42; }, "PanicException: unknown internal fault"},
      {[] { throw std::bad_alloc(); }, "MemoryError: "},
  };
  for (const Case& c : cases) {
    PyObject* returned = guard_entry([&]() -> PyObject* {
      c.fault();
      return Py_NewRef(Py_None);
    });
    EXPECT_EQ(returned, nullptr);
    EXPECT_EQ(take_error(), c.error);
    const Py_ssize_t length = guard_entry([&]() -> Py_ssize_t {
      c.fault();
      return 0;
    });
    EXPECT_EQ(length, -1);
    PyErr_Clear();
  }
}

TEST(GuardEntry, PanicExceptionIsNotAnException) {
  PyObject* panic = panic_exception_type();
  ASSERT_NE(panic, nullptr);
  EXPECT_EQ(PyObject_IsSubclass(panic, PyExc_BaseException), 1);
  EXPECT_EQ(PyObject_IsSubclass(panic, PyExc_Exception), 0);
}

TEST(RaiseEngineError, PrefixesTheDisplayText) {
  raise_engine_error("Query failed: ", Error::table_not_found("Person"));
  EXPECT_EQ(take_error(), "RuntimeError: Query failed: Table not found: Person");
  raise_engine_error("Query failed: ", Error::parser("bad \xFF byte"));
  EXPECT_EQ(take_error(), "RuntimeError: Query failed: Parser error: bad \xEF\xBF\xBD byte");
}

TEST(Holds, SharedHoldsStackAndExclusiveHoldsConflict) {
  BorrowFlag flag;
  {
    SharedHold first(flag);
    SharedHold second(flag);
    EXPECT_TRUE(first.held() && second.held());
    ExclusiveHold exclusive(flag);
    EXPECT_FALSE(exclusive.held());
    EXPECT_EQ(take_error(), "RuntimeError: Already borrowed");
  }
  {
    ExclusiveHold exclusive(flag);
    EXPECT_TRUE(exclusive.held());
    SharedHold shared(flag);
    EXPECT_FALSE(shared.held());
    EXPECT_EQ(take_error(), "RuntimeError: Already mutably borrowed");
    ExclusiveHold second(flag);
    EXPECT_FALSE(second.held());
    EXPECT_EQ(take_error(), "RuntimeError: Already borrowed");
  }
  ExclusiveHold after_release(flag);
  EXPECT_TRUE(after_release.held());
}

}  // namespace
}  // namespace zelvo::python
