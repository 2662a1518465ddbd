#pragma once

#include <vector>

#include "common/ids.h"
#include "processor/physical_operator.h"

namespace zelvo {

// The leaf of every operator tree. Storage holds no rows, so a scan yields
// one chunk without columns or rows, then the end. With table 0 and no
// columns it also stands for plan kinds that have no operator of their own.
class ScanNodeOperator final : public PhysicalOperator {
 public:
  ScanNodeOperator(std::vector<ColumnId> columns, TableId table_id)
      : columns_(std::move(columns)), table_id_(table_id) {}

  const std::vector<ColumnId>& columns() const { return columns_; }
  TableId table_id() const { return table_id_; }

 private:
  Status do_init() override;
  Result<std::optional<DataChunk>> do_next_chunk() override;
  Status do_reset() override { return do_init(); }

  std::vector<ColumnId> columns_;
  TableId table_id_;
  bool done_ = false;
};

}  // namespace zelvo
