#pragma once

// The TCK corpus as the benchmarks read it: loaded once per process, empty
// when tests/data/tck/queries.json cannot be read.

#include <vector>

#include "support/tck_corpus.h"

namespace zelvo::bench {

inline const std::vector<zelvo::testing::TckQuery>& tck_corpus() {
  static const std::vector<zelvo::testing::TckQuery> queries = [] {
    std::vector<zelvo::testing::TckQuery> loaded;
    if (!zelvo::testing::load_tck_corpus(loaded)) loaded.clear();
    return loaded;
  }();
  return queries;
}

}  // namespace zelvo::bench
