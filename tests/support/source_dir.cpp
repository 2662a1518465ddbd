#include "support/source_dir.h"

namespace zelvo::testing {

std::string source_dir() { return ZELVO_SOURCE_DIR; }

}  // namespace zelvo::testing
