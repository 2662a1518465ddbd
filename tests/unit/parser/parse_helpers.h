#pragma once

#include <string>
#include <string_view>

#include "parser/parser.h"

namespace zelvo::parser_test {

// A table row: an input and the text expected from it.
struct Case {
  const char* input;
  const char* expected;
};

// The compact debug text of the parsed statement, or "error: " and the
// message of the parser error.
std::string parse_text(std::string_view text);

// The parser error message, or "parsed" when the text parses.
std::string error_text(std::string_view text);

// The debug text of the first RETURN item of `RETURN <expression>`, or the
// error message.
std::string expression_text(std::string_view expression);

// The non-empty slots of the query `text` as "name: debug text" joined by
// "; ", or the error message.
std::string query_slots(std::string_view text);

}  // namespace zelvo::parser_test
