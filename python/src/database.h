#pragma once

#include "py_ref.h"

namespace zelvo::python {

// The class Database (an open engine database), as a new type object.
PyRef create_database_type();

}  // namespace zelvo::python
