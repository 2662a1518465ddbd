#pragma once

#include <string_view>

#include "common/result.h"
#include "parser/statement.h"

namespace zelvo {

// The query-language front end: statement text in, syntax tree out.
class Parser {
 public:
  // Parses the text of exactly one statement. Tokens after a complete
  // statement are ignored. Every failure is an Error of kind Parser with one
  // of the front end's fixed messages; a statement nested deeper than
  // kMaxNestingDepth levels fails with "Statement is nested too deeply".
  static Result<Statement> parse(std::string_view text);

  // The bound on nested constructs (parentheses, lists, maps, CASE, calls,
  // subscripts, prefix operators, UNION chains, FOREACH, EXPLAIN and
  // PROFILE) and on the height of expression trees (operator chains such as
  // a + b + c count one level per operator), so that neither parsing nor the
  // later walks over the tree can exhaust a small thread stack. At this
  // bound the deepest statement parses within about 40 KB of stack (about
  // 200 KB in an AddressSanitizer build).
  static constexpr unsigned kMaxNestingDepth = 100;
};

}  // namespace zelvo
