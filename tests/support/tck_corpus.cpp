#include "support/tck_corpus.h"

#include <fstream>
#include <sstream>

#include "support/source_dir.h"

namespace zelvo::testing {

namespace {

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  bool eat(char c) {
    skip_space();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool at_end() {
    skip_space();
    return pos_ == text_.size();
  }

  bool string(std::string& out) {
    out.clear();
    if (!eat('"')) return false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) return false;
      const char escape = text_[pos_++];
      switch (escape) {
        case '"': case '\\': case '/': out += escape; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          char32_t cp = 0;
          if (!hex4(cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00) {
            char32_t low = 0;
            if (!(eat_raw('\\') && eat_raw('u') && hex4(low)) || low < 0xDC00 || low >= 0xE000) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            return false;
          }
          append_utf8(out, cp);
          break;
        }
        default: return false;
      }
    }
    return false;
  }

 private:
  void skip_space() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t')) {
      ++pos_;
    }
  }

  bool eat_raw(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool hex4(char32_t& out) {
    if (text_.size() - pos_ < 4) return false;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      int digit = 0;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else return false;
      out = out * 16 + static_cast<char32_t>(digit);
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool parse_tck_corpus(std::string_view json, std::vector<TckQuery>& out) {
  JsonReader reader(json);
  if (!reader.eat('[')) return false;
  if (reader.eat(']')) return reader.at_end();
  std::string key;
  std::string value;
  do {
    if (!reader.eat('{')) return false;
    TckQuery& entry = out.emplace_back();
    if (!reader.eat('}')) {
      do {
        if (!reader.string(key) || !reader.eat(':') || !reader.string(value)) return false;
        if (key == "file") entry.file = value;
        if (key == "query") entry.query = value;
      } while (reader.eat(','));
      if (!reader.eat('}')) return false;
    }
  } while (reader.eat(','));
  return reader.eat(']') && reader.at_end();
}

bool load_tck_corpus(std::vector<TckQuery>& out) {
  std::ifstream file(source_dir() + "/tests/data/tck/queries.json", std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  return parse_tck_corpus(contents.str(), out);
}

}  // namespace zelvo::testing
