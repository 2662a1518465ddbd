#include "common/unicode_case.h"
#include "engine/connection.h"
#include "parser/lexer.h"

namespace zelvo {

std::vector<std::string_view> split_statements(std::string_view script) {
  std::vector<std::string_view> pieces;
  const auto add_piece = [&](std::size_t begin, std::size_t end) {
    const std::string_view piece = unicode::trim_white_space(script.substr(begin, end - begin));
    if (!piece.empty()) pieces.push_back(piece);
  };
  // The lexer finds the semicolons that separate statements: those inside
  // string literals, back-quoted names and comments are part of their token
  // (an unterminated one runs to the end of the text).
  Lexer lexer(script);
  std::size_t piece_start = 0;
  while (true) {
    lex_next_token(lexer);
    if (lexer.outcome == Lexer::kEndOfInput) break;
    if (lexer.outcome == static_cast<std::uint8_t>(Token::Semicolon)) {
      add_piece(piece_start, lexer.token_start);
      piece_start = lexer.position;
    }
  }
  add_piece(piece_start, script.size());
  return pieces;
}

}  // namespace zelvo
