#pragma once

#include "py_ref.h"

#include <memory>

namespace zelvo {
class Connection;
}

namespace zelvo::python {

// The class Connection (runs statements, holds the open transaction), as a
// new type object.
PyRef create_connection_type();

// A new Connection object sharing the engine connection; nullptr with the
// Python error set on failure.
PyObject* new_connection(std::shared_ptr<Connection> connection);

}  // namespace zelvo::python
