#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parser/token.h"

namespace zelvo {

// The scanning state over one statement text. The lexer borrows the text,
// allocates nothing and only moves forward; each call of lex_next_token
// frames one token as [token_start, position) and names its kind.
struct Lexer {
  // The outcomes beyond the token kinds 0-156.
  static constexpr std::uint8_t kEndOfInput = static_cast<std::uint8_t>(kTokenKindCount);
  static constexpr std::uint8_t kError = kEndOfInput + 1;  // a span that begins no token

  explicit Lexer(std::string_view text) : source(text) {}

  std::string_view source;
  std::size_t token_start = 0;
  std::size_t position = 0;
  std::uint8_t outcome = kEndOfInput;

  // The text of the last token or faulty span (the frame always lies within
  // the source).
  std::string_view token_text() const { return {source.data() + token_start, position - token_start}; }
};

// Scans one token from the position, skipping whitespace and comments
// before it. Afterwards `outcome` is the token's kind, kError for a span that
// begins no token (a stray character, a lone "!", an unterminated string,
// quoted identifier or block comment), or kEndOfInput.
void lex_next_token(Lexer& lexer);

}  // namespace zelvo
