#pragma once

#include "py_ref.h"

#include "query_result_data.h"

namespace zelvo {
class StatementResult;
}

namespace zelvo::python {

// The class QueryResult, as a new type object.
PyRef create_query_result_type();

// A new QueryResult that takes over a statement's answer (rows or a
// message, not an error); nullptr with the Python error set on failure.
PyObject* new_query_result(StatementResult&& result);

}  // namespace zelvo::python
