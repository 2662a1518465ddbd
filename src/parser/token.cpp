#include "parser/token.h"

#include "parser/keyword_table.h"

namespace zelvo {

std::string_view token_name(Token kind) {
  const auto index = static_cast<std::size_t>(kind);
  return index < kTokenKindCount ? token_table::kTokenNames[index] : std::string_view("EndOfInput");
}

Token keyword_or_identifier(std::string_view word) { return token_table::keyword_or_identifier(word); }

}  // namespace zelvo
