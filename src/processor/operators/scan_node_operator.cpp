#include "processor/operators/scan_node_operator.h"

namespace zelvo {

Status ScanNodeOperator::do_init() {
  done_ = false;
  return {};
}

Result<std::optional<DataChunk>> ScanNodeOperator::do_next_chunk() {
  if (done_) return std::nullopt;
  done_ = true;
  return DataChunk(std::vector<LogicalType>{});
}

}  // namespace zelvo
