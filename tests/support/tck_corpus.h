#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvo::testing {

// One query text of the TCK corpus and the feature file it came from.
struct TckQuery {
  std::string file;
  std::string query;
};

// Reads tests/data/tck/queries.json into `out`; false when the file is
// missing or malformed.
bool load_tck_corpus(std::vector<TckQuery>& out);

// Parses JSON of that shape: an array of objects whose fields "file" and
// "query" are strings (escapes, \uXXXX and surrogate pairs included; other
// string fields are skipped). False when the text is malformed.
bool parse_tck_corpus(std::string_view json, std::vector<TckQuery>& out);

}  // namespace zelvo::testing
