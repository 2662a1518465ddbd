#include "common/memory_available.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace zelvo {

namespace {

// The whole of a small text file, or nothing when it cannot be read.
std::optional<std::string> read_small_file(const char* path) {
  std::FILE* file = std::fopen(path, "re");
  if (file == nullptr) return std::nullopt;
  std::string text;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
  std::fclose(file);
  return text;
}

// The unsigned number at the start of `text` after any blanks.
std::optional<std::size_t> leading_number(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() + start) return std::nullopt;
  return value;
}

std::optional<std::size_t> number_in_file(const char* path) {
  const std::optional<std::string> text = read_small_file(path);
  if (!text.has_value()) return std::nullopt;
  return leading_number(*text);
}

// MemAvailable of /proc/meminfo, in bytes.
std::optional<std::size_t> system_available() {
  const std::optional<std::string> meminfo = read_small_file("/proc/meminfo");
  if (!meminfo.has_value()) return std::nullopt;
  constexpr std::string_view kKey = "MemAvailable:";
  const std::size_t at = meminfo->find(kKey);
  if (at == std::string::npos) return std::nullopt;
  const std::optional<std::size_t> kibibytes = leading_number(std::string_view(*meminfo).substr(at + kKey.size()));
  if (!kibibytes.has_value() || *kibibytes > std::numeric_limits<std::size_t>::max() / 1024) return std::nullopt;
  return *kibibytes * 1024;
}

// The room under a control group's limit; a limit of "max" (or none) gives
// nothing.
std::optional<std::size_t> room_under(const char* limit_path, const char* usage_path) {
  const std::optional<std::size_t> limit = number_in_file(limit_path);
  const std::optional<std::size_t> usage = number_in_file(usage_path);
  if (!limit.has_value() || !usage.has_value()) return std::nullopt;
  return *limit > *usage ? *limit - *usage : 0;
}

}  // namespace

std::size_t memory_available() noexcept {
  try {
    std::size_t available = std::numeric_limits<std::size_t>::max();
    for (const std::optional<std::size_t> bound :
         {system_available(), room_under("/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory.current"),
          room_under("/sys/fs/cgroup/memory/memory.limit_in_bytes", "/sys/fs/cgroup/memory/memory.usage_in_bytes")}) {
      if (bound.has_value()) available = std::min(available, *bound);
    }
    return available;
  } catch (const std::bad_alloc&) {
    return 0;  // not even a file's text could be had
  }
}

}  // namespace zelvo
