#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvo {

// The kinds of engine failure, in their fixed numbering.
enum class ErrorKind : std::uint8_t {
  Catalog,
  Storage,
  Parser,
  Binder,
  Planner,
  Execution,
  Transaction,
  TypeMismatch,
  InvalidType,
  Overflow,
  OutOfBounds,
  NullValue,
  ConstraintViolation,
  NotImplemented,
  Internal,
  Io,
  Serialization,
  InvalidArgument,
  DatabaseAlreadyExists,
  DatabaseNotFound,
  TableNotFound,
  ColumnNotFound,
  IndexNotFound,
  DuplicateKey,
  PermissionDenied,
  Connection,
  Timeout,
  Interrupted,
  BufferOverflow,
  ChecksumMismatch,
  CorruptedData,
  VersionMismatch,
};

inline constexpr int kErrorKindCount = 32;

// The one error type of the engine. Every fallible operation returns either
// its product or an Error; display() is the text users read.
//
// Most kinds carry one text. TypeMismatch carries two texts (expected,
// found); OutOfBounds, ChecksumMismatch and VersionMismatch carry two
// numbers; Io carries the operating system's message and error number.
class Error {
 public:
  static Error catalog(std::string text) { return Error(ErrorKind::Catalog, std::move(text)); }
  static Error storage(std::string text) { return Error(ErrorKind::Storage, std::move(text)); }
  static Error parser(std::string text) { return Error(ErrorKind::Parser, std::move(text)); }
  static Error binder(std::string text) { return Error(ErrorKind::Binder, std::move(text)); }
  static Error planner(std::string text) { return Error(ErrorKind::Planner, std::move(text)); }
  static Error execution(std::string text) { return Error(ErrorKind::Execution, std::move(text)); }
  static Error transaction(std::string text) { return Error(ErrorKind::Transaction, std::move(text)); }
  static Error type_mismatch(std::string expected, std::string found);
  static Error invalid_type(std::string text) { return Error(ErrorKind::InvalidType, std::move(text)); }
  static Error overflow(std::string text) { return Error(ErrorKind::Overflow, std::move(text)); }
  static Error out_of_bounds(std::uint64_t index, std::uint64_t size);
  static Error null_value(std::string text) { return Error(ErrorKind::NullValue, std::move(text)); }
  static Error constraint_violation(std::string text) { return Error(ErrorKind::ConstraintViolation, std::move(text)); }
  static Error not_implemented(std::string text) { return Error(ErrorKind::NotImplemented, std::move(text)); }
  static Error internal(std::string text) { return Error(ErrorKind::Internal, std::move(text)); }
  // An operating-system I/O failure with its error number (errno).
  static Error io(int os_error);
  static Error serialization(std::string text) { return Error(ErrorKind::Serialization, std::move(text)); }
  static Error invalid_argument(std::string text) { return Error(ErrorKind::InvalidArgument, std::move(text)); }
  static Error database_already_exists(std::string text) {
    return Error(ErrorKind::DatabaseAlreadyExists, std::move(text));
  }
  static Error database_not_found(std::string text) { return Error(ErrorKind::DatabaseNotFound, std::move(text)); }
  static Error table_not_found(std::string name) { return Error(ErrorKind::TableNotFound, std::move(name)); }
  static Error column_not_found(std::string name) { return Error(ErrorKind::ColumnNotFound, std::move(name)); }
  static Error index_not_found(std::string name) { return Error(ErrorKind::IndexNotFound, std::move(name)); }
  static Error duplicate_key(std::string text) { return Error(ErrorKind::DuplicateKey, std::move(text)); }
  static Error permission_denied(std::string text) { return Error(ErrorKind::PermissionDenied, std::move(text)); }
  static Error connection(std::string text) { return Error(ErrorKind::Connection, std::move(text)); }
  static Error timeout(std::string text) { return Error(ErrorKind::Timeout, std::move(text)); }
  static Error interrupted(std::string text) { return Error(ErrorKind::Interrupted, std::move(text)); }
  static Error buffer_overflow(std::string text) { return Error(ErrorKind::BufferOverflow, std::move(text)); }
  static Error checksum_mismatch(std::uint32_t expected, std::uint32_t found);
  static Error corrupted_data(std::string text) { return Error(ErrorKind::CorruptedData, std::move(text)); }
  static Error version_mismatch(std::uint64_t expected, std::uint64_t found);

  ErrorKind kind() const { return kind_; }
  // The text payload: the message of single-text kinds, the expected text of
  // TypeMismatch, the system message of Io; empty for the numeric kinds.
  const std::string& message() const { return text_; }
  // The found text of TypeMismatch; empty otherwise.
  const std::string& second_message() const { return second_text_; }
  // The numbers of OutOfBounds (index, size), ChecksumMismatch and
  // VersionMismatch (expected, found); Io keeps its error number in first().
  std::uint64_t first() const { return first_; }
  std::uint64_t second() const { return second_; }
  int os_error() const { return static_cast<int>(first_); }

  // An error of the same kind with another text, for the kinds that carry
  // one text.
  Error with_message(std::string text) const { return Error(kind_, std::move(text)); }

  // The user-visible text: the kind's fixed prefix and its details.
  std::string display() const;

  friend bool operator==(const Error&, const Error&) = default;

 private:
  Error(ErrorKind kind, std::string text) : kind_(kind), text_(std::move(text)) {}
  Error(ErrorKind kind, std::uint64_t first, std::uint64_t second) : kind_(kind), first_(first), second_(second) {}

  ErrorKind kind_;
  std::string text_;
  std::string second_text_;
  std::uint64_t first_ = 0;
  std::uint64_t second_ = 0;
};

// The operating system's message for an error number, as strerror gives it.
std::string os_error_message(int os_error);

}  // namespace zelvo
