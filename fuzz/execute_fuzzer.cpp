// Arbitrary bytes as one statement on an in-memory database that holds two
// node tables and a relationship table: every input answers rows, a message
// or an error, and the answer's rows and texts can be read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zelvo::fuzz::FuzzDatabase db;
  zelvo::fuzz::read_answer(db.connection().execute(text));
  return 0;
}
