#pragma once

#include <memory>

#include "common/result.h"
#include "storage/buffer_pool.h"
#include "storage/storage_config.h"

namespace zelvo {

// The storage side of one database: its settings, its directory and its
// buffer pool. Held through std::shared_ptr by the database and every
// connection. No table data lives here: nothing is read from or written to
// the directory.
class Storage {
 public:
  // Opens storage on `config.path`, creating the directory and every missing
  // parent (mode 0777 under the process's umask) when the path cannot be
  // read. An existing path of any kind is accepted as it is. Fails with
  // Error::Io when a directory cannot be created; directories made before
  // the failing one stay.
  static Result<std::shared_ptr<Storage>> open(StorageConfig config);

  // Storage with the in-memory settings; touches no file system.
  static std::shared_ptr<Storage> in_memory();

  // Clears the dirty flag of every pooled entry; writes nothing.
  Status checkpoint() const;

  const StorageConfig& config() const { return config_; }
  BufferPool& pool() const { return *pool_; }

 private:
  explicit Storage(StorageConfig config);

  StorageConfig config_;
  std::shared_ptr<BufferPool> pool_;
};

}  // namespace zelvo
