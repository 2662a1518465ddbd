#pragma once

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "common/error.h"
#include "common/invariant.h"

namespace zelvo {

// Either a value of type T or an Error. Callers test ok() before reading the
// value; reading the wrong side is a broken invariant.
template <typename T>
class [[nodiscard]] Result {
 public:
  using value_type = T;

  Result(const T& value) : state_(std::in_place_index<0>, value) {}  // NOLINT: implicit by design
  Result(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT
  Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT
  template <typename U>
    requires(std::is_constructible_v<T, U &&> && !std::is_same_v<std::decay_t<U>, T> &&
             !std::is_same_v<std::decay_t<U>, Error> && !std::is_same_v<std::decay_t<U>, Result>)
  Result(U&& value) : state_(std::in_place_index<0>, std::forward<U>(value)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & {
    check_ok();
    return *std::get_if<0>(&state_);
  }
  const T& value() const& {
    check_ok();
    return *std::get_if<0>(&state_);
  }
  T&& value() && {
    check_ok();
    return std::move(*std::get_if<0>(&state_));
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  const Error& error() const& {
    check_error();
    return *std::get_if<1>(&state_);
  }
  Error&& error() && {
    check_error();
    return std::move(*std::get_if<1>(&state_));
  }

 private:
  void check_ok() const { ZELVO_CHECK(ok(), "value() read from a failed Result"); }
  void check_error() const { ZELVO_CHECK(!ok(), "error() read from a successful Result"); }

  std::variant<T, Error> state_;
};

// The outcome of an operation that produces nothing: success or an Error.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }

  const Error& error() const& {
    ZELVO_CHECK(!ok(), "error() read from a successful Status");
    return *error_;
  }
  Error&& error() && {
    ZELVO_CHECK(!ok(), "error() read from a successful Status");
    return std::move(*error_);
  }

 private:
  std::optional<Error> error_;
};

using Status = Result<void>;

}  // namespace zelvo

#define ZELVO_CONCAT_INNER(a, b) a##b
#define ZELVO_CONCAT(a, b) ZELVO_CONCAT_INNER(a, b)

// Evaluates a Status or Result expression and returns its error from the
// enclosing function when it failed.
#define ZELVO_TRY(expression)                                 \
  do {                                                        \
    auto&& zelvo_try_result_ = (expression);                  \
    if (!zelvo_try_result_.ok()) {                            \
      return std::move(zelvo_try_result_).error();            \
    }                                                         \
  } while (false)

// Evaluates a Result expression; on success moves its value into `lhs`
// (a declaration such as `auto x` or an existing variable), otherwise returns
// the error from the enclosing function.
#define ZELVO_ASSIGN_OR_RETURN(lhs, expression) \
  ZELVO_ASSIGN_OR_RETURN_IMPL(ZELVO_CONCAT(zelvo_result_, __LINE__), lhs, expression)

#define ZELVO_ASSIGN_OR_RETURN_IMPL(tmp, lhs, expression) \
  auto tmp = (expression);                                \
  if (!tmp.ok()) {                                        \
    return std::move(tmp).error();                        \
  }                                                       \
  lhs = std::move(tmp).value()
