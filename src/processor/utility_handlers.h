#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "processor/result.h"

namespace zelvo {

// The messages of COPY FROM, COPY TO and LOAD FROM; nothing is read or written.
std::string copy_from_result(std::string_view path);
std::string copy_to_result(std::string_view path);
std::string load_from_result(std::string_view path, const std::optional<std::string>& format);

// " as '<alias>'" when ATTACH names an alias, else empty.
std::string attach_alias_suffix(const std::optional<std::string>& alias);

// SET (written CALL name = value): a message for the four known settings,
// Error::Execution "Unknown setting: <name>" otherwise. Nothing is stored.
StatementResult set_setting(std::string_view name);

}  // namespace zelvo
