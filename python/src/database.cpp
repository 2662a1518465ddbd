#include "database.h"

#include <memory>
#include <string>

#include "arguments.h"
#include "connection.h"
#include "convert.h"
#include "engine/database.h"
#include "module_state.h"
#include "python_object.h"

namespace zelvo::python {

namespace {

struct DatabasePayload {
  std::unique_ptr<Database> database;
};

PyObject* new_database(std::unique_ptr<Database> database) {
  return new_instance(module_state().database_type, DatabasePayload{std::move(database)});
}

PyObject* database_open(PyObject* /*unused*/, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guard_entry([&]() -> PyObject* {
    static constexpr const char* kParameters[] = {"path", "buffer_pool_size"};
    PyObject* bound[2];
    if (!bind_arguments({"Database.open", kParameters, 1}, args, nargs, kwnames, bound)) return nullptr;
    const auto path = text_argument(bound[0], "path");
    if (!path) return nullptr;
    DatabaseConfig config = DatabaseConfig::default_config();
    if (bound[1] != nullptr) {
      const auto buffer_pool_size = uint64_argument(bound[1], "buffer_pool_size");
      if (!buffer_pool_size) return nullptr;
      config.buffer_pool_size = *buffer_pool_size;
    }
    Result<std::unique_ptr<Database>> opened = Database::open(std::string(*path), config);
    if (!opened.ok()) {
      raise_engine_error("Failed to open database: ", opened.error());
      return nullptr;
    }
    return new_database(std::move(opened).value());
  });
}

// Creating an in-memory database cannot fail in the engine; the prefix
// "Failed to create in-memory database: " has no error to carry.
PyObject* database_in_memory(PyObject* /*unused*/, PyObject* /*unused*/) {
  return guard_entry([]() -> PyObject* { return new_database(Database::in_memory()); });
}

PyObject* database_connect(PyObject* self, PyObject* /*unused*/) {
  return call_shared<DatabasePayload>(
      self, [](DatabasePayload& payload) -> PyObject* { return new_connection(payload.database->connect()); });
}

PyObject* database_checkpoint(PyObject* self, PyObject* /*unused*/) {
  return call_shared<DatabasePayload>(self, [](DatabasePayload& payload) -> PyObject* {
    Status status = payload.database->checkpoint();
    if (!status.ok()) {
      raise_engine_error("Checkpoint failed: ", status.error());
      return nullptr;
    }
    Py_RETURN_NONE;
  });
}

PyObject* database_path(PyObject* self, void* /*unused*/) {
  return call_shared<DatabasePayload>(self, [](DatabasePayload& payload) -> PyObject* {
    const std::optional<std::string>& path = payload.database->path();
    if (!path) Py_RETURN_NONE;
    return text_to_py(*path).release();
  });
}

PyObject* database_is_in_memory(PyObject* self, void* /*unused*/) {
  return call_shared<DatabasePayload>(self, [](DatabasePayload& payload) -> PyObject* {
    return PyBool_FromLong(payload.database->path().has_value() ? 0 : 1);
  });
}

PyObject* database_repr(PyObject* self) {
  return call_shared<DatabasePayload>(self, [](DatabasePayload& payload) -> PyObject* {
    const std::optional<std::string>& path = payload.database->path();
    if (!path) return PyUnicode_FromString("Database(in_memory=True)");
    return text_to_py("Database(path=" + *path + ")").release();
  });
}

constexpr const char kDatabaseDoc[] =
    "Zelvo embedded graph database.\n"
    "\n"
    "Zelvo is a high-performance embedded graph database with full Cypher support.\n"
    "\n"
    "Examples:\n"
    "    >>> import zelvo\n"
    "    >>> db = zelvo.Database.in_memory()\n"
    "    >>> conn = db.connect()\n"
    "    >>> conn.execute(\"CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name))\")\n"
    "    >>> conn.execute(\"CREATE (:Person {name: 'Alice'})\")\n"
    "    >>> result = conn.execute(\"MATCH (p:Person) RETURN p.name\")\n"
    "    >>> print(result[0][\"name\"])\n"
    "    'Alice'";

constexpr const char kOpenDoc[] =
    "open(path, buffer_pool_size=268435456)\n--\n\n"
    "Open a database at the specified path.\n"
    "\n"
    "Args:\n"
    "    path: Path to the database directory.\n"
    "    buffer_pool_size: Size of the buffer pool in bytes (default: 256MB).\n"
    "\n"
    "Returns:\n"
    "    A Database instance.";

constexpr const char kInMemoryDoc[] =
    "in_memory()\n--\n\n"
    "Create an in-memory database.\n"
    "\n"
    "Returns:\n"
    "    A Database instance that stores all data in memory.";

constexpr const char kConnectDoc[] =
    "connect($self)\n--\n\n"
    "Create a connection to the database.\n"
    "\n"
    "Returns:\n"
    "    A Connection instance for executing queries.";

constexpr const char kCheckpointDoc[] =
    "checkpoint($self)\n--\n\n"
    "Checkpoint the database (flush all data to disk).";

PyMethodDef kMethods[] = {
    {"open", as_method(database_open), METH_FASTCALL | METH_KEYWORDS | METH_STATIC, kOpenDoc},
    {"in_memory", as_method(database_in_memory), METH_NOARGS | METH_STATIC, kInMemoryDoc},
    {"connect", as_method(database_connect), METH_NOARGS, kConnectDoc},
    {"checkpoint", as_method(database_checkpoint), METH_NOARGS, kCheckpointDoc},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef kGetters[] = {
    {"path", database_path, nullptr, "Get the database path, or None for in-memory databases.", nullptr},
    {"is_in_memory", database_is_in_memory, nullptr, "Check if this is an in-memory database.", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot kSlots[] = {
    {Py_tp_doc, const_cast<char*>(kDatabaseDoc)},
    {Py_tp_dealloc, as_slot(dealloc_instance<DatabasePayload>)},
    {Py_tp_repr, as_slot(database_repr)},
    {Py_tp_methods, kMethods},
    {Py_tp_getset, kGetters},
    {0, nullptr},
};

PyType_Spec kSpec = {
    "_zelvo.Database",
    static_cast<int>(sizeof(PyBox<DatabasePayload>)),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_IMMUTABLETYPE,
    kSlots,
};

}  // namespace

PyRef create_database_type() { return PyRef::steal(PyType_FromSpec(&kSpec)); }

}  // namespace zelvo::python
