#pragma once

#include "py_ref.h"

#include <memory>

#include "query_result.h"

namespace zelvo::python {

// The class QueryResultIterator, as a new type object.
PyRef create_query_result_iterator_type();

// A new iterator over the rows of `data`, at the first row.
PyObject* new_query_result_iterator(std::shared_ptr<const QueryResultData> data);

}  // namespace zelvo::python
