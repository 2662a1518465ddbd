#include "query_result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "arguments.h"
#include "common/debug_writer.h"
#include "convert.h"
#include "module_state.h"
#include "processor/result.h"
#include "python_object.h"
#include "query_result_iterator.h"

namespace zelvo::python {

namespace {

struct QueryResultPayload {
  // A message result has its message and no rows; a query result the reverse.
  std::optional<std::string> message;
  std::shared_ptr<const QueryResultData> rows;
  // Made by the first conversion of a row and kept for the later ones.
  std::optional<RowDicts> dicts;

  const QueryResultData& data() const { return rows ? *rows : *QueryResultData::none(); }
};

// The payload's dict maker, made now if this is the first conversion;
// nullptr with the Python error set when it cannot be made.
const RowDicts* row_dicts(QueryResultPayload& payload) {
  if (!payload.dicts) {
    RowDicts dicts(payload.data().columns());
    if (!dicts) return nullptr;
    payload.dicts.emplace(std::move(dicts));
  }
  return &*payload.dicts;
}

PyObject* query_result_columns(PyObject* self, void* /*unused*/) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> PyObject* {
    const std::vector<std::string>& columns = payload.data().columns();
    PyRef list = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(columns.size())));
    if (!list) return nullptr;
    Py_ssize_t index = 0;
    for (const std::string& column : columns) {
      PyRef name = text_to_py(column);
      if (!name) return nullptr;
      PyList_SET_ITEM(list.get(), index++, name.release());
    }
    return list.release();
  });
}

PyObject* query_result_message(PyObject* self, void* /*unused*/) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> PyObject* {
    if (!payload.message) Py_RETURN_NONE;
    return text_to_py(*payload.message).release();
  });
}

PyObject* query_result_is_empty(PyObject* self, PyObject* /*unused*/) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> PyObject* {
    return PyBool_FromLong(payload.data().row_count() == 0 ? 1 : 0);
  });
}

PyObject* query_result_to_list(PyObject* self, PyObject* /*unused*/) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> PyObject* {
    const RowDicts* dicts = row_dicts(payload);
    if (dicts == nullptr) return nullptr;
    return payload.data().rows_to_dict_list(*dicts).release();
  });
}

PyObject* query_result_to_df(PyObject* self, PyObject* /*unused*/) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> PyObject* {
    PyRef pandas = PyRef::steal(PyImport_ImportModule("pandas"));
    if (!pandas) return nullptr;
    const RowDicts* dicts = row_dicts(payload);
    if (dicts == nullptr) return nullptr;
    PyRef rows = payload.data().rows_to_dict_list(*dicts);
    if (!rows) return nullptr;
    PyRef data_frame = PyRef::steal(PyObject_GetAttrString(pandas.get(), "DataFrame"));
    if (!data_frame) return nullptr;
    return PyObject_CallOneArg(data_frame.get(), rows.get());
  });
}

Py_ssize_t query_result_length(PyObject* self) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> Py_ssize_t {
    return static_cast<Py_ssize_t>(payload.data().row_count());
  });
}

// Negative indices count from the end; anything outside the rows raises
// ValueError (not IndexError).
PyObject* query_result_subscript(PyObject* self, PyObject* key) {
  return call_shared<QueryResultPayload>(self, [key](QueryResultPayload& payload) -> PyObject* {
    const auto idx = int64_argument(key, "idx");
    if (!idx) return nullptr;
    const std::uint64_t count = payload.data().row_count();
    // Unsigned arithmetic: an index below minus the row count wraps past it.
    std::uint64_t index = static_cast<std::uint64_t>(*idx);
    if (*idx < 0) index += count;
    if (index >= count) {
      PyErr_SetString(PyExc_ValueError, "Index out of range");
      return nullptr;
    }
    const RowDicts* dicts = row_dicts(payload);
    if (dicts == nullptr) return nullptr;
    return payload.data().row_to_dict(*dicts, payload.data().locate(index)).release();
  });
}

PyObject* query_result_iter(PyObject* self) {
  return call_shared<QueryResultPayload>(
      self, [](QueryResultPayload& payload) -> PyObject* {
        return new_query_result_iterator(payload.rows ? payload.rows : QueryResultData::none());
      });
}

// QueryResult(message="...") or QueryResult(columns=["a", "b"], rows=3),
// texts quoted with the escapes of debug text.
PyObject* query_result_repr(PyObject* self) {
  return call_shared<QueryResultPayload>(self, [](QueryResultPayload& payload) -> PyObject* {
    const QueryResultData& data = payload.data();
    std::string text = "QueryResult(";
    if (payload.message) {
      text += "message=";
      append_quoted(text, *payload.message);
    } else {
      text += "columns=[";
      for (std::size_t i = 0; i < data.columns().size(); ++i) {
        if (i > 0) text += ", ";
        append_quoted(text, data.columns()[i]);
      }
      text += "], rows=";
      text += std::to_string(data.row_count());
    }
    text += ')';
    return text_to_py(text).release();
  });
}

PyMethodDef kMethods[] = {
    {"is_empty", as_method(query_result_is_empty), METH_NOARGS, "is_empty($self)\n--\n\nCheck if the result is empty."},
    {"to_list", as_method(query_result_to_list), METH_NOARGS,
     "to_list($self)\n--\n\nConvert to a list of dictionaries."},
    {"to_df", as_method(query_result_to_df), METH_NOARGS,
     "to_df($self)\n--\n\nConvert to a Pandas DataFrame (if pandas is installed)."},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef kGetters[] = {
    {"columns", query_result_columns, nullptr, "Get the column names.", nullptr},
    {"message", query_result_message, nullptr, "Get the result message (for DDL/DML operations).", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot kSlots[] = {
    {Py_tp_doc, const_cast<char*>("Query result from executing a Cypher query.")},
    {Py_tp_dealloc, as_slot(dealloc_instance<QueryResultPayload>)},
    {Py_tp_repr, as_slot(query_result_repr)},
    {Py_tp_iter, as_slot(query_result_iter)},
    {Py_mp_length, as_slot(query_result_length)},
    {Py_mp_subscript, as_slot(query_result_subscript)},
    {Py_tp_methods, kMethods},
    {Py_tp_getset, kGetters},
    {0, nullptr},
};

PyType_Spec kSpec = {
    "_zelvo.QueryResult",
    static_cast<int>(sizeof(PyBox<QueryResultPayload>)),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE,
    kSlots,
};

}  // namespace

PyRef create_query_result_type() { return PyRef::steal(PyType_FromSpec(&kSpec)); }

PyObject* new_query_result(StatementResult&& result) {
  ZELVO_CHECK(!result.is_error(), "a failed statement has no QueryResult");
  QueryResultPayload payload;
  if (result.is_message()) {
    payload.message.emplace(result.take_message());
  } else {
    payload.rows = std::make_shared<const QueryResultData>(std::move(result.rows()));
  }
  return new_instance(module_state().query_result_type, std::move(payload));
}

}  // namespace zelvo::python
