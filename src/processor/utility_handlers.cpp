#include "processor/utility_handlers.h"

#include <array>

#include "common/error.h"
#include "common/unicode_case.h"

namespace zelvo {

namespace {

struct PathRule {
  std::string_view pattern;
  std::string_view name;
};

// The format a path's ending implies, tested in order, byte for byte.
constexpr std::array<PathRule, 4> kFormatBySuffix = {{
    {".csv", "csv"},
    {".parquet", "parquet"},
    {".json", "json"},
    {".ndjson", "json"},
}};
constexpr std::string_view kDefaultFormat = "auto";

// The source type a path's beginning implies, tested in order.
constexpr std::array<PathRule, 4> kSourceByPrefix = {{
    {"http://", "http"},
    {"https://", "http"},
    {"s3://", "s3"},
    {"gs://", "gcs"},
}};
constexpr std::string_view kDefaultSource = "file";

// The settings SET accepts, in lower case.
constexpr std::array<std::string_view, 4> kKnownSettings = {"checkpoint_threshold", "progress_bar", "threads",
                                                            "timeout"};

std::string_view implied_format(std::string_view path) {
  for (const PathRule& rule : kFormatBySuffix) {
    if (path.ends_with(rule.pattern)) return rule.name;
  }
  return kDefaultFormat;
}

std::string_view source_type(std::string_view path) {
  for (const PathRule& rule : kSourceByPrefix) {
    if (path.starts_with(rule.pattern)) return rule.name;
  }
  return kDefaultSource;
}

std::string concat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string text;
  text.reserve(size);
  for (std::string_view part : parts) text += part;
  return text;
}

}  // namespace

std::string copy_from_result(std::string_view path) { return concat({"Imported data from '", path, "'"}); }

std::string copy_to_result(std::string_view path) { return concat({"Exported data to '", path, "'"}); }

std::string load_from_result(std::string_view path, const std::optional<std::string>& format) {
  const std::string_view chosen_format = format.has_value() ? std::string_view(*format) : implied_format(path);
  return concat({"Loaded from ", path, " (source_type: ", source_type(path), ", format: ", chosen_format, ")"});
}

std::string attach_alias_suffix(const std::optional<std::string>& alias) {
  if (!alias.has_value()) return {};
  return concat({" as '", *alias, "'"});
}

StatementResult set_setting(std::string_view name) {
  const std::string lowered = unicode::to_lower(name);
  for (std::string_view known : kKnownSettings) {
    if (lowered == known) return concat({"Set ", name, " successfully"});
  }
  return Error::execution(concat({"Unknown setting: ", name}));
}

}  // namespace zelvo
