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
  // kMaxNestingDepth levels fails with "Statement is nested too deeply", and
  // one nested too deeply for the stack left to the calling thread with
  // kNestedTooDeeply (kTooLarge when not even its first construct fits, or
  // a chain of UNION or EXPLAIN finds the stack short; see
  // common/stack_guard.h). The statement records the deepest nesting of
  // constructs in its text (Statement::nesting_depth).
  static Result<Statement> parse(std::string_view text);

  // The bound on nested constructs: parentheses, lists, maps, CASE, calls,
  // subscripts, prefix operators, "^", UNION chains, FOREACH, EXPLAIN and
  // PROFILE. Chains of left-associative operators (a + b + c), property
  // accesses and subscripts do not nest: they are as long as the text makes
  // them.
  static constexpr unsigned kMaxNestingDepth = 100;
};

}  // namespace zelvo
