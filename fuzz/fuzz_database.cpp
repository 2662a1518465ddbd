#include "fuzz_database.h"

#include "common/debug_writer.h"
#include "common/invariant.h"

namespace zelvo::fuzz {

FuzzDatabase::FuzzDatabase() : database_(Database::in_memory()), connection_(database_->connect()) {
  static constexpr std::string_view kSchema[] = {
      "CREATE NODE TABLE Person(id INT64, name STRING, age INT64, born DATE, PRIMARY KEY(id))",
      "CREATE NODE TABLE City(name STRING, population INT64, area DOUBLE, PRIMARY KEY(name))",
      "CREATE REL TABLE LivesIn(FROM Person TO City, since DATE, rating DOUBLE)",
  };
  for (std::string_view statement : kSchema) {
    ZELVO_CHECK(!connection_->execute(statement).is_error(), "the fuzz schema could not be created");
  }
}

void read_answer(const StatementResult& answer) {
  if (answer.is_query()) {
    const ChunkedResult& rows = answer.rows();
    for (const std::string& column : rows.columns()) (void)debug_text(column);
    std::uint64_t count = 0;
    for (const ChunkedResult::Row& row : rows.rows()) {
      ZELVO_CHECK(row.size() == rows.columns().size(), "a row has another width than the columns");
      for (const Value& value : row) (void)debug_text(value);
      ++count;
    }
    ZELVO_CHECK(count == rows.row_count(), "the row count disagrees with the rows");
  } else if (answer.is_message()) {
    (void)answer.message().size();
  } else {
    (void)answer.error().display();
  }
}

}  // namespace zelvo::fuzz
