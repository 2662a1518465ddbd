// Throughput of the front end over the TCK corpus: lexing alone, and
// parsing to a syntax tree.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "parser/lexer.h"
#include "parser/parser.h"
#include "support/tck_corpus.h"

namespace {

const std::vector<zelvo::testing::TckQuery>& corpus() {
  static const std::vector<zelvo::testing::TckQuery> queries = [] {
    std::vector<zelvo::testing::TckQuery> loaded;
    if (!zelvo::testing::load_tck_corpus(loaded)) loaded.clear();
    return loaded;
  }();
  return queries;
}

std::int64_t corpus_bytes() {
  std::int64_t bytes = 0;
  for (const auto& entry : corpus()) bytes += static_cast<std::int64_t>(entry.query.size());
  return bytes;
}

void lex_corpus(benchmark::State& state) {
  if (corpus().empty()) state.SkipWithError("tests/data/tck/queries.json could not be read");
  std::uint64_t tokens = 0;
  for (auto _ : state) {
    for (const auto& entry : corpus()) {
      zelvo::Lexer lexer(entry.query);
      for (zelvo::lex_next_token(lexer); lexer.outcome != zelvo::Lexer::kEndOfInput; zelvo::lex_next_token(lexer)) {
        ++tokens;
      }
      benchmark::DoNotOptimize(lexer.outcome);
    }
  }
  benchmark::DoNotOptimize(tokens);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corpus_bytes());
}

void parse_corpus(benchmark::State& state) {
  if (corpus().empty()) state.SkipWithError("tests/data/tck/queries.json could not be read");
  for (auto _ : state) {
    for (const auto& entry : corpus()) {
      auto result = zelvo::Parser::parse(entry.query);
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corpus_bytes());
}

}  // namespace

BENCHMARK(lex_corpus);
BENCHMARK(parse_corpus);

BENCHMARK_MAIN();
