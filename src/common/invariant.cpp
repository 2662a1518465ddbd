#include "common/invariant.h"

namespace zelvo {

void fail_invariant(const std::string& message) { throw InvariantError(message); }

}  // namespace zelvo
