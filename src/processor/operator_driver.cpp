#include "processor/operator_driver.h"

namespace zelvo {

StatementResult collect_query_result(PhysicalOperator& root, std::vector<std::string> columns) {
  ZELVO_TRY(root.init());
  ChunkedResult result(std::move(columns));
  while (true) {
    Result<std::optional<DataChunk>> next = root.next_chunk();
    if (!next.ok()) return std::move(next).error();
    if (!next->has_value()) return result;
    result.add_chunk(std::move(**next));
  }
}

Result<std::uint64_t> count_query_rows(PhysicalOperator& root) {
  ZELVO_TRY(root.init());
  std::uint64_t rows = 0;
  while (true) {
    ZELVO_ASSIGN_OR_RETURN(std::optional<DataChunk> chunk, root.next_chunk());
    if (!chunk) return rows;
    rows += chunk->count();
  }
}

}  // namespace zelvo
