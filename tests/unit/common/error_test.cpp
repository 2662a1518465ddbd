#include "common/error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "common/result.h"

namespace zelvo {
namespace {

TEST(Error, DisplayTextsOfEveryKind) {
  const struct {
    Error error;
    std::string text;
  } cases[] = {
      {Error::catalog("x"), "Catalog error: x"},
      {Error::storage("x"), "Storage error: x"},
      {Error::parser("x"), "Parser error: x"},
      {Error::binder("x"), "Binder error: x"},
      {Error::planner("x"), "Planner error: x"},
      {Error::execution("x"), "Execution error: x"},
      {Error::transaction("x"), "Transaction error: x"},
      {Error::type_mismatch("INT64", "STRING"), "Type error: expected INT64, found STRING"},
      {Error::invalid_type("x"), "Invalid type: x"},
      {Error::overflow("x"), "Overflow error: x"},
      {Error::out_of_bounds(5, 3), "Out of bounds: index 5 for size 3"},
      {Error::null_value("x"), "Null value error: x"},
      {Error::constraint_violation("x"), "Constraint violation: x"},
      {Error::not_implemented("x"), "Not implemented: x"},
      {Error::internal("x"), "Internal error: x"},
      {Error::io(ENOTDIR), "IO error: Not a directory (os error 20)"},
      {Error::serialization("x"), "Serialization error: x"},
      {Error::invalid_argument("x"), "Invalid argument: x"},
      {Error::database_already_exists("x"), "Database already exists: x"},
      {Error::database_not_found("x"), "Database not found: x"},
      {Error::table_not_found(""), "Table not found: "},
      {Error::column_not_found("x"), "Column not found: x"},
      {Error::index_not_found("x"), "Index not found: x"},
      {Error::duplicate_key("x"), "Duplicate key: x"},
      {Error::permission_denied("x"), "Permission denied: x"},
      {Error::connection("x"), "Connection error: x"},
      {Error::timeout("x"), "Timeout: x"},
      {Error::interrupted("x"), "Interrupted: x"},
      {Error::buffer_overflow("x"), "Buffer overflow: x"},
      {Error::checksum_mismatch(4294967295U, 0), "Checksum mismatch: expected 4294967295, found 0"},
      {Error::corrupted_data("x"), "Corrupted data: x"},
      {Error::version_mismatch(18446744073709551615ULL, 1), "Version mismatch: expected 18446744073709551615, found 1"},
  };
  int kind = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(c.error.kind()), kind++);
    EXPECT_EQ(c.error.display(), c.text);
  }
  EXPECT_EQ(kind, kErrorKindCount);
}

Result<int> half(int value) {
  if (value % 2 != 0) return Error::invalid_argument("odd");
  return value / 2;
}

Result<int> quarter(int value) {
  ZELVO_ASSIGN_OR_RETURN(const int h, half(value));
  return half(h);
}

Status check_even(int value) {
  ZELVO_TRY(half(value));
  return {};
}

TEST(Result, PropagatesTheFirstError) {
  EXPECT_EQ(*quarter(8), 2);
  EXPECT_EQ(quarter(6).error().display(), "Invalid argument: odd");
  EXPECT_TRUE(check_even(4).ok());
  EXPECT_EQ(check_even(3).error().kind(), ErrorKind::InvalidArgument);
  EXPECT_THROW((void)quarter(6).value(), InvariantError);
}

}  // namespace
}  // namespace zelvo
