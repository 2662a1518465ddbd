#include "processor/operators/scan_node_operator.h"

namespace zelvo {

Status ScanNodeOperator::init() {
  done_ = false;
  return {};
}

Result<std::optional<DataChunk>> ScanNodeOperator::next_chunk() {
  if (done_) return std::nullopt;
  done_ = true;
  return DataChunk(std::vector<LogicalType>{});
}

}  // namespace zelvo
