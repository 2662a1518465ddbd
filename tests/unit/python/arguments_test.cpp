// Binding faults that no method of the module can produce (several required
// parameters) and the order of the checks; the methods' own argument errors
// are tested from Python.
#include "arguments.h"

#include <gtest/gtest.h>

#include <vector>

#include "python_test_support.h"

namespace zelvo::python {
namespace {

constexpr const char* kParameters[] = {"a", "b", "c"};
constexpr Signature kAllRequired{"T.f", kParameters, 3};
constexpr Signature kOneRequired{"T.g", kParameters, 1};

TEST(BindArguments, ReportsFaultsInTheInterpretersWording) {
  struct Case {
    const Signature* signature;
    Py_ssize_t positional;
    const char* keyword;  // one further argument by keyword, or nullptr
    const char* error;
  };
  const std::vector<Case> cases = {
      {&kAllRequired, 0, nullptr, "TypeError: T.f() missing 3 required positional arguments: 'a', 'b', and 'c'"},
      {&kAllRequired, 1, nullptr, "TypeError: T.f() missing 2 required positional arguments: 'b' and 'c'"},
      {&kAllRequired, 0, "c", "TypeError: T.f() missing 2 required positional arguments: 'a' and 'b'"},
      {&kAllRequired, 4, nullptr, "TypeError: T.f() takes 3 positional arguments but 4 were given"},
      {&kOneRequired, 4, "x", "TypeError: T.g() takes from 1 to 3 positional arguments but 4 were given"},
      {&kOneRequired, 1, "x", "TypeError: T.g() got an unexpected keyword argument 'x'"},
      {&kOneRequired, 2, "b", "TypeError: T.g() got multiple values for argument 'b'"},
      {&kOneRequired, 1, "c", ""},
  };
  for (const Case& c : cases) {
    std::vector<PyObject*> args(5, Py_None);
    PyRef kwnames = PyRef::steal(c.keyword != nullptr ? Py_BuildValue("(s)", c.keyword) : nullptr);
    PyObject* bound[3];
    const bool ok = bind_arguments(*c.signature, args.data(), c.positional, kwnames.get(), bound);
    EXPECT_EQ(testing::take_error(), c.error);
    EXPECT_EQ(ok, *c.error == '\0');
  }
}

TEST(BindArguments, FillsSlotsByPositionAndKeyword) {
  PyRef one = PyRef::steal(PyLong_FromLong(1));
  PyRef two = PyRef::steal(PyLong_FromLong(2));
  PyObject* args[] = {one.get(), two.get()};
  PyRef kwnames = PyRef::steal(Py_BuildValue("(s)", "c"));
  PyObject* bound[3];
  ASSERT_TRUE(bind_arguments(kOneRequired, args, 1, kwnames.get(), bound));
  EXPECT_EQ(bound[0], one.get());
  EXPECT_EQ(bound[1], nullptr);
  EXPECT_EQ(bound[2], two.get());
}

}  // namespace
}  // namespace zelvo::python
