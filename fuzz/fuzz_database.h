#pragma once

#include <memory>

#include "engine/connection.h"
#include "engine/database.h"
#include "processor/result.h"

namespace zelvo::fuzz {

// A fresh in-memory database for one fuzz input, holding the schema the
// inputs can refer to: node tables Person and City and the relationship
// table LivesIn between them. A fresh database per input keeps every run
// reproducible from its input alone.
class FuzzDatabase {
 public:
  FuzzDatabase();
  Connection& connection() { return *connection_; }

 private:
  std::unique_ptr<Database> database_;
  std::shared_ptr<Connection> connection_;
};

// Reads everything an answer holds, as a caller would: the rows with the
// debug text of each value, the message, or the error's text.
void read_answer(const StatementResult& answer);

}  // namespace zelvo::fuzz
