#include "connection.h"

#include <string_view>
#include <vector>

#include "arguments.h"
#include "engine/connection.h"
#include "module_state.h"
#include "python_object.h"
#include "query_result.h"

namespace zelvo::python {

namespace {

struct ConnectionPayload {
  std::shared_ptr<Connection> connection;
};

// Binds the single text parameter of execute and execute_multi.
std::optional<std::string_view> bind_text(const Signature& signature, PyObject* const* args, Py_ssize_t nargs,
                                          PyObject* kwnames) {
  PyObject* bound[1];
  if (!bind_arguments(signature, args, nargs, kwnames, bound)) return std::nullopt;
  return text_argument(bound[0], signature.parameters[0]);
}

PyObject* connection_execute(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return call_shared<ConnectionPayload>(self, [&](ConnectionPayload& payload) -> PyObject* {
    static constexpr const char* kParameters[] = {"query"};
    const auto query = bind_text({"Connection.execute", kParameters, 1}, args, nargs, kwnames);
    if (!query) return nullptr;
    StatementResult result = payload.connection->execute(*query);
    if (result.is_error()) {
      raise_engine_error("Query failed: ", result.error());
      return nullptr;
    }
    return new_query_result(std::move(result));
  });
}

PyObject* connection_execute_multi(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return call_shared<ConnectionPayload>(self, [&](ConnectionPayload& payload) -> PyObject* {
    static constexpr const char* kParameters[] = {"queries"};
    const auto queries = bind_text({"Connection.execute_multi", kParameters, 1}, args, nargs, kwnames);
    if (!queries) return nullptr;
    Result<std::vector<StatementResult>> results = payload.connection->execute_multi(*queries);
    if (!results.ok()) {
      raise_engine_error("Query failed: ", results.error());
      return nullptr;
    }
    PyRef list = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(results->size())));
    if (!list) return nullptr;
    Py_ssize_t index = 0;
    for (StatementResult& result : *results) {
      PyObject* item = new_query_result(std::move(result));
      if (item == nullptr) return nullptr;
      PyList_SET_ITEM(list.get(), index++, item);
    }
    return list.release();
  });
}

// Runs one transaction operation; a failure raises RuntimeError with `prefix`.
template <typename Operation>
PyObject* transaction_call(PyObject* self, const char* prefix, Operation operation) {
  return call_shared<ConnectionPayload>(self, [&](ConnectionPayload& payload) -> PyObject* {
    Status status = operation(*payload.connection);
    if (!status.ok()) {
      raise_engine_error(prefix, status.error());
      return nullptr;
    }
    Py_RETURN_NONE;
  });
}

Status begin(Connection& connection) { return connection.begin_transaction(); }
Status commit(Connection& connection) { return connection.commit_transaction(); }
Status rollback(Connection& connection) { return connection.rollback_transaction(); }

PyObject* connection_begin(PyObject* self, PyObject* /*unused*/) {
  return transaction_call(self, "Failed to begin transaction: ", begin);
}

PyObject* connection_commit(PyObject* self, PyObject* /*unused*/) {
  return transaction_call(self, "Failed to commit transaction: ", commit);
}

PyObject* connection_rollback(PyObject* self, PyObject* /*unused*/) {
  return transaction_call(self, "Failed to rollback transaction: ", rollback);
}

PyObject* connection_in_transaction(PyObject* self, void* /*unused*/) {
  return call_shared<ConnectionPayload>(self, [](ConnectionPayload& payload) -> PyObject* {
    return PyBool_FromLong(payload.connection->in_transaction() ? 1 : 0);
  });
}

PyObject* connection_enter(PyObject* self, PyObject* /*unused*/) {
  PyRef began = PyRef::steal(connection_begin(self, nullptr));
  if (!began) return nullptr;
  return Py_NewRef(self);
}

// Commits when the block ended normally, rolls back when an exception is
// leaving it; never suppresses the exception.
PyObject* connection_exit(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return call_shared<ConnectionPayload>(self, [&](ConnectionPayload& payload) -> PyObject* {
    static constexpr const char* kParameters[] = {"exc_type", "_exc_val", "_exc_tb"};
    PyObject* bound[3];
    if (!bind_arguments({"Connection.__exit__", kParameters, 0}, args, nargs, kwnames, bound)) return nullptr;
    const bool leaving_with_exception = bound[0] != nullptr && bound[0] != Py_None;
    Status status =
        leaving_with_exception ? payload.connection->rollback_transaction() : payload.connection->commit_transaction();
    if (!status.ok()) {
      raise_engine_error(leaving_with_exception ? "Failed to rollback: " : "Failed to commit: ", status.error());
      return nullptr;
    }
    Py_RETURN_FALSE;
  });
}

constexpr const char kConnectionDoc[] = "A connection to the Zelvo database.";

constexpr const char kExecuteDoc[] =
    "execute(query)\n--\n\n"
    "Execute a Cypher query.\n"
    "\n"
    "Args:\n"
    "    query: The Cypher query string to execute.\n"
    "\n"
    "Returns:\n"
    "    A QueryResult containing the query results.\n"
    "\n"
    "Examples:\n"
    "    >>> conn.execute(\"CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name))\")\n"
    "    >>> result = conn.execute(\"MATCH (p:Person) RETURN p.name\")\n"
    "    >>> for row in result:\n"
    "    ...     print(row[\"name\"])";

PyMethodDef kMethods[] = {
    {"execute", as_method(connection_execute), METH_FASTCALL | METH_KEYWORDS, kExecuteDoc},
    {"execute_multi", as_method(connection_execute_multi), METH_FASTCALL | METH_KEYWORDS,
     "execute_multi(queries)\n--\n\nExecute multiple Cypher statements separated by semicolons."},
    {"begin", as_method(connection_begin), METH_NOARGS, "begin($self)\n--\n\nBegin a new transaction."},
    {"commit", as_method(connection_commit), METH_NOARGS, "commit($self)\n--\n\nCommit the current transaction."},
    {"rollback", as_method(connection_rollback), METH_NOARGS,
     "rollback($self)\n--\n\nRollback the current transaction."},
    {"__enter__", as_method(connection_enter), METH_NOARGS,
     "__enter__($self)\n--\n\nUse connection as a context manager for transactions."},
    {"__exit__", as_method(connection_exit), METH_FASTCALL | METH_KEYWORDS,
     "__exit__($self, exc_type=None, _exc_val=None, _exc_tb=None)\n--\n\n"
     "Exit context manager - commit on success, rollback on exception."},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef kGetters[] = {
    {"in_transaction", connection_in_transaction, nullptr, "Check if a transaction is in progress.", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot kSlots[] = {
    {Py_tp_doc, const_cast<char*>(kConnectionDoc)},
    {Py_tp_dealloc, as_slot(dealloc_instance<ConnectionPayload>)},
    {Py_tp_methods, kMethods},
    {Py_tp_getset, kGetters},
    {0, nullptr},
};

PyType_Spec kSpec = {
    "_zelvo.Connection",
    static_cast<int>(sizeof(PyBox<ConnectionPayload>)),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE,
    kSlots,
};

}  // namespace

PyRef create_connection_type() { return PyRef::steal(PyType_FromSpec(&kSpec)); }

PyObject* new_connection(std::shared_ptr<Connection> connection) {
  return new_instance(module_state().connection_type, ConnectionPayload{std::move(connection)});
}

}  // namespace zelvo::python
