#pragma once

#include <string_view>

#include "common/result.h"

namespace zelvo {

// Creates `path` as a directory together with every missing parent, with
// mode 0777 under the process's umask. The parents are prefixes of the text
// (so "a/../b" creates "a" as well), any number of them, made by a loop.
// Directories that already exist are fine. Fails with Error::Io carrying
// the failing call's errno; a path with a NUL byte fails with EINVAL
// instead of being cut short.
Status create_directories(std::string_view path);

// True when `path` names something the process can read the status of
// (following symbolic links).
bool path_exists(std::string_view path);

}  // namespace zelvo
