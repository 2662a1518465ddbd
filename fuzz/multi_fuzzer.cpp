// Arbitrary bytes as a script: statement splitting keeps every piece inside
// the script and trimmed, and execute_multi answers each statement or stops
// at the first error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/invariant.h"
#include "engine/connection.h"
#include "fuzz_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string_view> pieces = zelvo::split_statements(script);
  const char* end_of_previous = script.data();
  for (std::string_view piece : pieces) {
    ZELVO_CHECK(!piece.empty(), "an empty statement was kept");
    ZELVO_CHECK(piece.data() >= end_of_previous && piece.data() + piece.size() <= script.data() + script.size(),
                "a statement lies outside the script or out of order");
    end_of_previous = piece.data() + piece.size();
  }

  zelvo::fuzz::FuzzDatabase db;
  auto answers = db.connection().execute_multi(script);
  if (answers.ok()) {
    ZELVO_CHECK(answers.value().size() == pieces.size(), "execute_multi answered another number of statements");
    for (const zelvo::StatementResult& answer : answers.value()) {
      ZELVO_CHECK(!answer.is_error(), "execute_multi kept a failed statement's answer");
      zelvo::fuzz::read_answer(answer);
    }
  } else {
    (void)answers.error().display();
  }
  return 0;
}
