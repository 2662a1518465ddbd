#pragma once

#include <string>

namespace zelvo::testing {

// The root of the source tree, for tests and benchmarks that read data files.
std::string source_dir();

}  // namespace zelvo::testing
