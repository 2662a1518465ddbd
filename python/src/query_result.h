#pragma once

#include "py_ref.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/value.h"

namespace zelvo {
class StatementResult;
}

namespace zelvo::python {

// What a QueryResult holds: the engine values of its rows (converted anew on
// every access) or its message. Immutable once made, so a result and its
// iterators share it.
struct QueryResultData {
  std::vector<std::string> columns;
  std::vector<std::vector<Value>> rows;
  std::optional<std::string> message;
};

// The class QueryResult, as a new type object.
PyRef create_query_result_type();

// A new QueryResult from a statement's answer (rows or a message, not an
// error); nullptr with the Python error set on failure.
PyObject* new_query_result(StatementResult&& result);

}  // namespace zelvo::python
