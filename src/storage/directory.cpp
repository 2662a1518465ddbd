#include "storage/directory.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

namespace zelvo {

namespace {

bool has_nul(std::string_view path) { return path.find('\0') != std::string_view::npos; }

bool is_directory(const char* path) {
  struct stat status {};
  return ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
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
int make_one(const char* path) {
  if (::mkdir(path, 0777) == 0) return 0;
  const int error = errno;
  return is_directory(path) ? 0 : error;
}

// The path text with a NUL written after one of its prefixes, so that each
// prefix is handed to the system without a copy of its own.
class PrefixText {
 public:
  explicit PrefixText(std::string_view path) : text_(path) {}
  std::string_view view(std::size_t length) const { return std::string_view(text_).substr(0, length); }
  // make_one of the first `length` characters (at most the whole text).
  int make(std::size_t length) {
    if (length == text_.size()) return make_one(text_.c_str());
    const char saved = text_[length];
    text_[length] = '\0';
    const int error = make_one(text_.c_str());
    text_[length] = saved;
    return error;
  }

 private:
  std::string text_;
};

}  // namespace

Status create_directories(std::string_view path) {
  if (has_nul(path)) return Error::io(EINVAL);
  // Going up: mkdir of the path, then of each parent in turn while the
  // failure is ENOENT, until one exists or is made (or the empty prefix is
  // reached). Going down: mkdir again of each prefix that failed, the path
  // itself last. Only the prefix lengths are kept, so deep paths cost
  // neither stack nor copies of the text.
  PrefixText text(path);
  std::vector<std::size_t> missing;
  std::size_t length = path.size();
  while (length > 0) {
    const int error = text.make(length);
    if (error == 0) break;
    if (error != ENOENT) return Error::io(error);
    const std::size_t parent = parent_of(text.view(length)).size();
    if (parent == length) return Error::io(ENOENT);
    missing.push_back(length);
    length = parent;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    const int error = text.make(*it);
    if (error != 0) return Error::io(error);
  }
  return {};
}

bool path_exists(std::string_view path) {
  if (has_nul(path)) return false;
  struct stat status {};
  return ::stat(std::string(path).c_str(), &status) == 0;
}

}  // namespace zelvo
