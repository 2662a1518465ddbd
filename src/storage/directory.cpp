#include "storage/directory.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace zelvo {

namespace {

bool has_nul(std::string_view path) { return path.find('\0') != std::string_view::npos; }

bool is_directory(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The parent of `path`: trailing slashes dropped, then the last component,
// then the slashes before it. "a" has the parent "", "/a" the parent "/".
std::string_view parent_of(std::string_view path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;
  while (end > 0 && path[end - 1] != '/') --end;
  while (end > 1 && path[end - 1] == '/') --end;
  return path.substr(0, end);
}

// mkdir of one directory; success when it exists as a directory afterwards,
// made by this call or another. Returns 0 or the errno of mkdir.
int make_one(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return 0;
  const int error = errno;
  return is_directory(path) ? 0 : error;
}

Status create_recursively(std::string_view path) {
  if (path.empty()) return {};
  const std::string owned(path);
  int error = make_one(owned);
  if (error != ENOENT) return error == 0 ? Status{} : Status{Error::io(error)};
  const std::string_view parent = parent_of(path);
  if (parent.size() == path.size()) return Error::io(ENOENT);
  ZELVO_TRY(create_recursively(parent));
  error = make_one(owned);
  return error == 0 ? Status{} : Status{Error::io(error)};
}

}  // namespace

Status create_directories(std::string_view path) {
  if (has_nul(path)) return Error::io(EINVAL);
  return create_recursively(path);
}

bool path_exists(std::string_view path) {
  if (has_nul(path)) return false;
  struct stat status {};
  return ::stat(std::string(path).c_str(), &status) == 0;
}

}  // namespace zelvo
