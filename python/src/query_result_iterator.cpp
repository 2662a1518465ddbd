#include "query_result_iterator.h"

#include <cstdint>
#include <vector>

#include "convert.h"
#include "module_state.h"
#include "python_object.h"

namespace zelvo::python {

namespace {

struct IteratorPayload {
  std::shared_ptr<const QueryResultData> data;
  std::uint64_t position = 0;  // rows already returned
  std::vector<PyRef> keys;     // the column names as str, made by the first __next__
  bool has_keys = false;
};

PyObject* iterator_iter(PyObject* self) {
  return call_shared<IteratorPayload>(self, [self](IteratorPayload&) -> PyObject* { return Py_NewRef(self); });
}

// Returns NULL without an error at the end (StopIteration), on every call
// after the last row.
PyObject* iterator_next(PyObject* self) {
  return call_exclusive<IteratorPayload>(self, [](IteratorPayload& payload) -> PyObject* {
    const QueryResultData& data = *payload.data;
    if (payload.position >= data.rows.size()) return nullptr;
    const std::vector<Value>& row = data.rows[payload.position];
    ++payload.position;
    if (!payload.has_keys) {
      payload.keys = column_keys(data.columns);
      if (payload.keys.size() != data.columns.size()) return nullptr;
      payload.has_keys = true;
    }
    return row_to_dict(payload.keys, row).release();
  });
}

PyType_Slot kSlots[] = {
    {Py_tp_doc, const_cast<char*>("Iterator over query result rows.")},
    {Py_tp_dealloc, as_slot(dealloc_instance<IteratorPayload>)},
    {Py_tp_iter, as_slot(iterator_iter)},
    {Py_tp_iternext, as_slot(iterator_next)},
    {0, nullptr},
};

PyType_Spec kSpec = {
    "_zelvo.QueryResultIterator",
    static_cast<int>(sizeof(PyBox<IteratorPayload>)),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE,
    kSlots,
};

}  // namespace

PyRef create_query_result_iterator_type() { return PyRef::steal(PyType_FromSpec(&kSpec)); }

PyObject* new_query_result_iterator(std::shared_ptr<const QueryResultData> data) {
  return new_instance(module_state().query_result_iterator_type, IteratorPayload{std::move(data), 0, {}, false});
}

}  // namespace zelvo::python
