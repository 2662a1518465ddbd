// Throughput of the front end over the TCK corpus: lexing alone, and
// parsing to a syntax tree.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_corpus.h"
#include "parser/lexer.h"
#include "parser/parser.h"

namespace {

using zelvo::bench::tck_corpus;

std::int64_t corpus_bytes() {
  std::int64_t bytes = 0;
  for (const auto& entry : tck_corpus()) bytes += static_cast<std::int64_t>(entry.query.size());
  return bytes;
}

void lex_corpus(benchmark::State& state) {
  if (tck_corpus().empty()) state.SkipWithError("tests/data/tck/queries.json could not be read");
  std::uint64_t tokens = 0;
  for (auto _ : state) {
    for (const auto& entry : tck_corpus()) {
      zelvo::Lexer lexer(entry.query);
      for (zelvo::lex_next_token(lexer); lexer.outcome != zelvo::Lexer::kEndOfInput; zelvo::lex_next_token(lexer)) {
        ++tokens;
      }
      benchmark::DoNotOptimize(lexer.outcome);
    }
  }
  benchmark::DoNotOptimize(tokens);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corpus_bytes());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * tck_corpus().size()));
}

void parse_corpus(benchmark::State& state) {
  if (tck_corpus().empty()) state.SkipWithError("tests/data/tck/queries.json could not be read");
  for (auto _ : state) {
    for (const auto& entry : tck_corpus()) {
      auto result = zelvo::Parser::parse(entry.query);
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corpus_bytes());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * tck_corpus().size()));
}

}  // namespace

BENCHMARK(lex_corpus);
BENCHMARK(parse_corpus);

BENCHMARK_MAIN();
