#include "common/error.h"

#include <cstring>

namespace zelvo {

Error Error::type_mismatch(std::string expected, std::string found) {
  Error error(ErrorKind::TypeMismatch, std::move(expected));
  error.second_text_ = std::move(found);
  return error;
}

Error Error::out_of_bounds(std::uint64_t index, std::uint64_t size) {
  return Error(ErrorKind::OutOfBounds, index, size);
}

Error Error::io(int os_error) {
  Error error(ErrorKind::Io, os_error_message(os_error));
  error.first_ = static_cast<std::uint64_t>(static_cast<std::uint32_t>(os_error));
  return error;
}

Error Error::checksum_mismatch(std::uint32_t expected, std::uint32_t found) {
  return Error(ErrorKind::ChecksumMismatch, expected, found);
}

Error Error::version_mismatch(std::uint64_t expected, std::uint64_t found) {
  return Error(ErrorKind::VersionMismatch, expected, found);
}

std::string os_error_message(int os_error) {
  char buffer[256];
  // The GNU strerror_r returns a pointer that may or may not be the buffer.
  const char* text = strerror_r(os_error, buffer, sizeof buffer);
  return std::string(text);
}

namespace {

std::string_view prefix_of(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Catalog: return "Catalog error: ";
    case ErrorKind::Storage: return "Storage error: ";
    case ErrorKind::Parser: return "Parser error: ";
    case ErrorKind::Binder: return "Binder error: ";
    case ErrorKind::Planner: return "Planner error: ";
    case ErrorKind::Execution: return "Execution error: ";
    case ErrorKind::Transaction: return "Transaction error: ";
    case ErrorKind::TypeMismatch: return "Type error: expected ";
    case ErrorKind::InvalidType: return "Invalid type: ";
    case ErrorKind::Overflow: return "Overflow error: ";
    case ErrorKind::OutOfBounds: return "Out of bounds: index ";
    case ErrorKind::NullValue: return "Null value error: ";
    case ErrorKind::ConstraintViolation: return "Constraint violation: ";
    case ErrorKind::NotImplemented: return "Not implemented: ";
    case ErrorKind::Internal: return "Internal error: ";
    case ErrorKind::Io: return "IO error: ";
    case ErrorKind::Serialization: return "Serialization error: ";
    case ErrorKind::InvalidArgument: return "Invalid argument: ";
    case ErrorKind::DatabaseAlreadyExists: return "Database already exists: ";
    case ErrorKind::DatabaseNotFound: return "Database not found: ";
    case ErrorKind::TableNotFound: return "Table not found: ";
    case ErrorKind::ColumnNotFound: return "Column not found: ";
    case ErrorKind::IndexNotFound: return "Index not found: ";
    case ErrorKind::DuplicateKey: return "Duplicate key: ";
    case ErrorKind::PermissionDenied: return "Permission denied: ";
    case ErrorKind::Connection: return "Connection error: ";
    case ErrorKind::Timeout: return "Timeout: ";
    case ErrorKind::Interrupted: return "Interrupted: ";
    case ErrorKind::BufferOverflow: return "Buffer overflow: ";
    case ErrorKind::ChecksumMismatch: return "Checksum mismatch: expected ";
    case ErrorKind::CorruptedData: return "Corrupted data: ";
    case ErrorKind::VersionMismatch: return "Version mismatch: expected ";
  }
  return "";
}

}  // namespace

std::string Error::display() const {
  std::string out(prefix_of(kind_));
  switch (kind_) {
    case ErrorKind::TypeMismatch:
      out += text_;
      out += ", found ";
      out += second_text_;
      break;
    case ErrorKind::OutOfBounds:
      out += std::to_string(first_);
      out += " for size ";
      out += std::to_string(second_);
      break;
    case ErrorKind::ChecksumMismatch:
    case ErrorKind::VersionMismatch:
      out += std::to_string(first_);
      out += ", found ";
      out += std::to_string(second_);
      break;
    case ErrorKind::Io:
      out += text_;
      out += " (os error ";
      out += std::to_string(os_error());
      out += ")";
      break;
    default:
      out += text_;
      break;
  }
  return out;
}

}  // namespace zelvo
