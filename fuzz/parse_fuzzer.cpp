// Arbitrary bytes through the lexer and the parser: every input ends as a
// syntax tree or a parser error, and the tree's debug text can be written.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/debug_writer.h"
#include "common/invariant.h"
#include "parser/lexer.h"
#include "parser/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The lexer only moves forward and keeps every token frame inside the text.
  zelvo::Lexer lexer(text);
  do {
    const std::size_t before = lexer.position;
    zelvo::lex_next_token(lexer);
    ZELVO_CHECK(lexer.token_start <= lexer.position && lexer.position <= text.size(), "token frame outside the text");
    ZELVO_CHECK(lexer.position > before || lexer.outcome == zelvo::Lexer::kEndOfInput, "the lexer did not advance");
  } while (lexer.outcome != zelvo::Lexer::kEndOfInput);

  auto parsed = zelvo::Parser::parse(text);
  if (parsed.ok()) {
    (void)zelvo::debug_text(parsed.value());
  } else {
    ZELVO_CHECK(parsed.error().kind() == zelvo::ErrorKind::Parser, "the parser failed with another kind of error");
    (void)parsed.error().display();
  }
  return 0;
}
