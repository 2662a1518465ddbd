#include "common/debug_writer.h"

#include <cstdio>

#include "common/unicode_printable.h"
#include "common/utf8.h"

namespace zelvo {

void append_quoted(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size() + 2);
  out.push_back('"');
  std::size_t position = 0;
  while (position < text.size()) {
    // A run of printable ASCII other than the two escaped characters passes
    // as it is, in one append.
    std::size_t run_end = position;
    while (run_end < text.size()) {
      const unsigned char byte = static_cast<unsigned char>(text[run_end]);
      if (byte < 0x20 || byte >= 0x7f || byte == '"' || byte == '\\') break;
      ++run_end;
    }
    if (run_end > position) {
      out.append(text.data() + position, run_end - position);
      position = run_end;
      if (position == text.size()) break;
    }
    const utf8::Decoded decoded = utf8::decode(text, position);
    const char32_t cp = decoded.code_point == utf8::kInvalid ? char32_t{0xfffd} : decoded.code_point;
    switch (cp) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\0': out += "\\0"; break;
      default:
        if (decoded.code_point == utf8::kInvalid || unicode::needs_debug_escape(cp)) {
          char buffer[16];
          std::snprintf(buffer, sizeof buffer, "\\u{%x}", static_cast<unsigned>(cp));
          out += buffer;
        } else {
          out.append(text.substr(position, decoded.length));
        }
        break;
    }
    position += decoded.length;
  }
  out.push_back('"');
}

void DebugWriter::string(std::string_view text) {
  if (stopped_ == Stop::None) append_quoted(out_, text);
}

}  // namespace zelvo
