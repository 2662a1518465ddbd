#include "query_result_iterator.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "convert.h"
#include "module_state.h"
#include "python_object.h"

namespace zelvo::python {

namespace {

struct IteratorPayload {
  std::shared_ptr<const QueryResultData> data;
  QueryResultData::RowPosition next;  // the row the next __next__ returns
  std::optional<RowDicts> dicts;      // made by the first __next__
};

PyObject* iterator_iter(PyObject* self) {
  return call_shared<IteratorPayload>(self, [self](IteratorPayload&) -> PyObject* { return Py_NewRef(self); });
}

// Returns NULL without an error at the end (StopIteration), on every call
// after the last row.
PyObject* iterator_next(PyObject* self) {
  return call_exclusive<IteratorPayload>(self, [](IteratorPayload& payload) -> PyObject* {
    const QueryResultData& data = *payload.data;
    if (!data.holds(payload.next)) return nullptr;
    const QueryResultData::RowPosition position = payload.next;
    payload.next = data.next(position);
    if (!payload.dicts) {
      RowDicts dicts(data.columns());
      if (!dicts) return nullptr;
      payload.dicts.emplace(std::move(dicts));
    }
    return data.row_to_dict(*payload.dicts, position).release();
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
  const QueryResultData::RowPosition first = data->first();
  return new_instance(module_state().query_result_iterator_type, IteratorPayload{std::move(data), first, std::nullopt});
}

}  // namespace zelvo::python
