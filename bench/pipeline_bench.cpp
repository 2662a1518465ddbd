// Throughput of each stage of the statement pipeline: lexing, parsing,
// binding, planning with optimizing, and the executor's whole statement
// entry. Every stage runs over two kinds of workload: the TCK corpus, and a
// few typical statements one at a time. One iteration is one pass over a
// workload; bytes/s and items/s (statements) count the texts that the stage
// handles. Stages after parsing take only what the stage before accepted:
// binding the texts that parse, planning the queries that bind (the inner
// query of EXPLAIN and PROFILE), execution the texts that bind. Execution
// also reports peak_rss_growth_MiB: how far the process's peak resident
// memory rose above its resident memory at the start of the benchmark
// (Linux only: the peak is reset through /proc/self/clear_refs). The
// execute_sized benchmarks run single statements at two sizes each, to show
// how the whole pipeline's cost grows with a statement's length.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench_corpus.h"
#include "binder/binder.h"
#include "catalog/catalog.h"
#include "optimizer/optimizer.h"
#include "parser/lexer.h"
#include "parser/parser.h"
#include "planner/planner.h"
#include "processor/executor.h"
#include "storage/storage.h"

namespace {

using namespace zelvo;

constexpr std::string_view kMatch = "MATCH (p:Person) WHERE p.age > 30 RETURN p.name LIMIT 10";
// CREATE NODE TABLE statements per pass, each with a fresh name; execution
// starts every pass on a fresh catalog so that it does not grow without bound.
constexpr int kCreatesPerPass = 1000;
constexpr int kTypicalTableCount = 100;

// A RETURN of 150 items, each n + n + ... + n with 90 additions: after
// DELETE the items run over DELETE's one count row, without it over the
// scan's empty chunk. Evaluation work should follow the rows, so the two
// should cost about the same.
std::string return_of_sums() {
  std::string text = "RETURN ";
  for (int item = 0; item < 150; ++item) {
    if (item > 0) text += ", ";
    text += "n";
    for (int term = 0; term < 90; ++term) text += " + n";
    text += " AS c" + std::to_string(item);
  }
  return text;
}

// A parameter (read as Null) coalesced with a 200 KB string literal: the
// string should be copied once per row the chunk has, not once per row a
// vector could hold.
std::string coalesce_of_a_large_string() {
  return "MATCH (n:Person) RETURN coalesce($p, '" + std::string(200 * 1024, 'x') + "') AS c";
}

// A catalog with Person and 99 more node tables: 100 tables in all.
std::shared_ptr<Catalog> typical_catalog() {
  auto catalog = std::make_shared<Catalog>();
  Executor executor(catalog, Storage::in_memory());
  ZELVO_CHECK(
      executor.execute_statement("CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))").is_message(),
      "Person could not be created");
  for (int i = 1; i < kTypicalTableCount; ++i) {
    const std::string ddl = "CREATE NODE TABLE Other" + std::to_string(i) + "(id INT64, PRIMARY KEY(id))";
    ZELVO_CHECK(executor.execute_statement(ddl).is_message(), "a table could not be created");
  }
  return catalog;
}

// Binding resolves labels and relationship types to tables; the corpus
// assumes a schema-free database. Every name that a statement misses
// becomes both a node table and a relationship table (their name spaces are
// separate), until the statement binds or fails for another reason.
void add_missing_tables(const std::shared_ptr<Catalog>& catalog, const std::vector<Statement>& statements) {
  const Result<TableId> anchor = catalog->create_node_table(NodeTableDef{"BenchAnchor", {}, 0});
  ZELVO_CHECK(anchor.ok(), "the anchor table could not be created");
  constexpr int kMaxMissingNames = 16;
  for (const Statement& statement : statements) {
    for (int attempt = 0; attempt < kMaxMissingNames; ++attempt) {
      Result<BoundStatement> bound = bind_statement(catalog, statement);
      if (bound.ok() || bound.error().kind() != ErrorKind::TableNotFound) break;
      const std::string& name = bound.error().message();
      if (catalog->has_node_table(name) && catalog->has_rel_table(name)) break;
      (void)catalog->create_node_table(NodeTableDef{name, {}, 0});
      (void)catalog->create_rel_table(RelTableDef{name, {}, *anchor, *anchor});
    }
  }
}

bool changes_catalog(StatementKind kind) {
  return kind == StatementKind::CreateNodeTable || kind == StatementKind::CreateRelTable ||
         kind == StatementKind::DropTable;
}

// The query that planning sees for a statement: the query itself, or the
// inner query of EXPLAIN and PROFILE; null for statements that plan nothing.
const BoundQuery* plannable_query(const BoundStatement& statement) {
  if (const auto* query = statement.as<bound::Query>()) return &query->query;
  if (const auto* explain = statement.as<bound::Explain>()) return plannable_query(*explain->statement);
  if (const auto* profile = statement.as<bound::Profile>()) return plannable_query(*profile->statement);
  return nullptr;
}

// The texts one stage handles, with their total size.
struct StageTexts {
  std::vector<std::string_view> texts;
  std::int64_t bytes = 0;

  void add(std::string_view text) {
    texts.push_back(text);
    bytes += static_cast<std::int64_t>(text.size());
  }
};

// The statements of one workload and the catalog they run against.
struct WorkloadSpec {
  std::string name;
  std::vector<std::string> texts;
  std::function<std::shared_ptr<Catalog>()> make_catalog;
  // Runs CREATE statements: execution starts every pass on a fresh catalog.
  bool creates_tables = false;
};

// A workload and what each stage reads, prepared once.
struct Workload {
  WorkloadSpec spec;
  std::shared_ptr<Catalog> catalog;
  StageTexts all;
  std::vector<Statement> parsed;
  StageTexts parsed_texts;
  std::vector<BoundStatement> bound;
  StageTexts bound_texts;
  std::vector<const BoundQuery*> queries;
  StageTexts query_texts;
};

void prepare(Workload& workload) {
  const WorkloadSpec& spec = workload.spec;
  workload.catalog = spec.make_catalog();
  for (const std::string& text : spec.texts) {
    workload.all.add(text);
    Result<Statement> parsed = Parser::parse(text);
    if (!parsed.ok()) continue;
    workload.parsed.push_back(std::move(parsed).value());
    workload.parsed_texts.add(text);
  }
  for (std::size_t i = 0; i < workload.parsed.size(); ++i) {
    Result<BoundStatement> bound = bind_statement(workload.catalog, workload.parsed[i]);
    if (!bound.ok()) continue;
    // Statements that change the catalog would make later passes differ
    // from the first, unless the workload exists to create tables.
    if (changes_catalog(bound->kind()) && !spec.creates_tables) continue;
    workload.bound.push_back(std::move(bound).value());
    workload.bound_texts.add(workload.parsed_texts.texts[i]);
  }
  for (std::size_t i = 0; i < workload.bound.size(); ++i) {
    if (const BoundQuery* query = plannable_query(workload.bound[i])) {
      workload.queries.push_back(query);
      workload.query_texts.add(workload.bound_texts.texts[i]);
    }
  }
}

// The corpus's catalog: every table its statements name.
std::shared_ptr<Catalog> corpus_catalog() {
  auto catalog = std::make_shared<Catalog>();
  std::vector<Statement> statements;
  for (const auto& entry : bench::tck_corpus()) {
    Result<Statement> parsed = Parser::parse(entry.query);
    if (parsed.ok()) statements.push_back(std::move(parsed).value());
  }
  add_missing_tables(catalog, statements);
  return catalog;
}

std::vector<WorkloadSpec> workload_specs() {
  std::vector<std::string> corpus;
  for (const auto& entry : bench::tck_corpus()) corpus.push_back(entry.query);
  std::vector<std::string> creates;
  for (int i = 0; i < kCreatesPerPass; ++i) {
    creates.push_back("CREATE NODE TABLE T" + std::to_string(i) + "(id INT64, name STRING, PRIMARY KEY(id))");
  }
  const std::string match(kMatch);
  return {
      {"tck", std::move(corpus), corpus_catalog, false},
      {"match", {match}, typical_catalog, false},
      {"create_node_table", std::move(creates), typical_catalog, true},
      {"show_tables", {"CALL show_tables"}, typical_catalog, false},
      {"explain_match", {"EXPLAIN " + match}, typical_catalog, false},
      {"set_property", {"MATCH (p:Person) WHERE p.name = 'Alice' SET p.age = 31"}, typical_catalog, false},
      {"set_setting", {"CALL threads = 4"}, typical_catalog, false},
      {"delete_return_sums", {"MATCH (n:Person) DELETE n " + return_of_sums()}, typical_catalog, false},
      {"return_sums", {"MATCH (n:Person) " + return_of_sums()}, typical_catalog, false},
      {"coalesce_large_string", {coalesce_of_a_large_string()}, typical_catalog, false},
  };
}

// Prepared once; the list never changes afterwards, so references into it
// stay valid for the registered benchmarks.
const std::vector<Workload>& workloads() {
  static const std::vector<Workload> all = [] {
    std::vector<WorkloadSpec> specs = workload_specs();
    std::vector<Workload> list;
    list.reserve(specs.size());  // the prepared views point into each workload
    for (WorkloadSpec& spec : specs) {
      list.push_back(Workload{std::move(spec), {}, {}, {}, {}, {}, {}, {}, {}});
      prepare(list.back());
    }
    return list;
  }();
  return all;
}

void report(benchmark::State& state, const StageTexts& input, const Workload& workload) {
  state.SetBytesProcessed(state.iterations() * input.bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(input.texts.size()));
  state.SetLabel(std::to_string(input.texts.size()) + " of " + std::to_string(workload.spec.texts.size()));
}

bool skip_if_empty(benchmark::State& state, const StageTexts& input) {
  if (!input.texts.empty()) return false;
  state.SkipWithError("no statement reaches this stage");
  return true;
}

void lex(benchmark::State& state, const Workload& workload) {
  if (skip_if_empty(state, workload.all)) return;
  std::uint64_t tokens = 0;
  for (auto _ : state) {
    for (std::string_view text : workload.all.texts) {
      Lexer lexer(text);
      for (lex_next_token(lexer); lexer.outcome != Lexer::kEndOfInput; lex_next_token(lexer)) ++tokens;
    }
    benchmark::DoNotOptimize(tokens);
  }
  report(state, workload.all, workload);
}

void parse(benchmark::State& state, const Workload& workload) {
  if (skip_if_empty(state, workload.all)) return;
  for (auto _ : state) {
    for (std::string_view text : workload.all.texts) {
      Result<Statement> statement = Parser::parse(text);
      benchmark::DoNotOptimize(statement);
    }
  }
  report(state, workload.all, workload);
}

void bind(benchmark::State& state, const Workload& workload) {
  if (skip_if_empty(state, workload.parsed_texts)) return;
  for (auto _ : state) {
    for (const Statement& statement : workload.parsed) {
      Result<BoundStatement> bound = bind_statement(workload.catalog, statement);
      benchmark::DoNotOptimize(bound);
    }
  }
  report(state, workload.parsed_texts, workload);
}

void plan_and_optimize(benchmark::State& state, const Workload& workload) {
  if (skip_if_empty(state, workload.query_texts)) return;
  const Planner planner(workload.catalog);
  const Optimizer optimizer;
  for (auto _ : state) {
    for (const BoundQuery* query : workload.queries) {
      Result<PlannedQuery> planned = planner.plan_query(*query);
      ZELVO_CHECK(planned.ok(), "a bound query failed to plan");
      Result<PlannedQuery> optimized = optimizer.optimize(std::move(planned).value());
      benchmark::DoNotOptimize(optimized);
    }
  }
  report(state, workload.query_texts, workload);
}

// Resets the process's peak resident memory (VmHWM) to its current
// resident memory; false where the kernel does not allow it.
bool reset_peak_rss() {
  std::ofstream clear_refs("/proc/self/clear_refs");
  clear_refs << "5";
  clear_refs.flush();
  return static_cast<bool>(clear_refs);
}

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when missing.
std::int64_t status_kib(std::string_view field) {
  std::ifstream status("/proc/self/status");
  std::string name;
  std::int64_t kib = 0;
  while (status >> name) {
    if (name.size() == field.size() + 1 && name.starts_with(field) && name.back() == ':') {
      status >> kib;
      return kib;
    }
    status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return 0;
}

void execute(benchmark::State& state, const Workload& workload) {
  if (skip_if_empty(state, workload.bound_texts)) return;
  const std::shared_ptr<Storage> storage = Storage::in_memory();
  auto executor = std::make_unique<Executor>(workload.catalog, storage);
  const bool peak_measured = reset_peak_rss();
  const std::int64_t resident_kib = status_kib("VmRSS");
  for (auto _ : state) {
    if (workload.spec.creates_tables) {
      state.PauseTiming();
      executor = std::make_unique<Executor>(workload.spec.make_catalog(), storage);
      state.ResumeTiming();
    }
    for (std::string_view text : workload.bound_texts.texts) {
      StatementResult result = executor->execute_statement(text);
      benchmark::DoNotOptimize(result);
    }
  }
  report(state, workload.bound_texts, workload);
  if (peak_measured) {
    state.counters["peak_rss_growth_MiB"] = static_cast<double>(status_kib("VmHWM") - resident_kib) / 1024.0;
  }
}

// Whole statements whose size is the benchmark's argument, each run through
// the executor's statement entry. The work should grow linearly with the
// argument: every benchmark runs at two sizes (n and 8n, or n and 4n), and
// the ratio of their times is how the cost grows; items_per_second counts
// the argument's units (terms, or variables), so under linear growth it
// stays the same across the sizes.

// MATCH (a:T) RETURN 'aaaaaaaaaa' + 'aaaaaaaaaa' + ... AS s: a left-deep
// chain of string concatenations that constant folding turns into one
// literal of 10 bytes per term.
std::string concatenation_chain(std::int64_t terms) {
  std::string text = "MATCH (a:T) RETURN 'aaaaaaaaaa'";
  for (std::int64_t i = 1; i < terms; ++i) text += " + 'aaaaaaaaaa'";
  return text + " AS s";
}

// MATCH (v0:T), ..., (v<n-1>:T) FOREACH (x IN [1] | SET v0.a = x) ...
// FOREACH (x IN [1] | SET v<n-1>.a = x): n variables and n FOREACH clauses,
// each body bound against every variable before it.
std::string foreach_clauses(std::int64_t count) {
  std::string text = "MATCH ";
  for (std::int64_t i = 0; i < count; ++i) text += (i > 0 ? ", (v" : "(v") + std::to_string(i) + ":T)";
  for (std::int64_t i = 0; i < count; ++i) text += " FOREACH (x IN [1] | SET v" + std::to_string(i) + ".a = x)";
  return text;
}

// Runs the statement of the benchmark's size against a table T(id, a).
void execute_sized(benchmark::State& state, std::string (*make_text)(std::int64_t)) {
  const std::int64_t size = state.range(0);
  const std::string text = make_text(size);
  Executor executor(std::make_shared<Catalog>(), Storage::in_memory());
  ZELVO_CHECK(executor.execute_statement("CREATE NODE TABLE T(id INT64, a INT64, PRIMARY KEY(id))").is_message(),
              "the benchmark's table could not be created");
  const StatementResult first = executor.execute_statement(text);
  if (first.is_error()) {
    state.SkipWithError(first.error().display().c_str());
    return;
  }
  for (auto _ : state) {
    StatementResult result = executor.execute_statement(text);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetItemsProcessed(state.iterations() * size);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  using Stage = void (*)(benchmark::State&, const Workload&);
  const std::pair<const char*, Stage> stages[] = {
      {"lex", lex}, {"parse", parse}, {"bind", bind}, {"plan_optimize", plan_and_optimize}, {"execute", execute},
  };
  for (const auto& [stage_name, stage] : stages) {
    for (const Workload& workload : workloads()) {
      // Stages that no statement of the workload reaches are left out.
      const bool reached = stage != plan_and_optimize || !workload.queries.empty();
      if (!reached) continue;
      benchmark::RegisterBenchmark((std::string(stage_name) + "/" + workload.spec.name).c_str(),
                                   [stage, &workload](benchmark::State& state) { stage(state, workload); });
    }
  }
  // Terms of the concatenation chain: 20,000 and 8 times as many.
  benchmark::RegisterBenchmark("execute_sized/concatenation_chain",
                               [](benchmark::State& state) { execute_sized(state, concatenation_chain); })
      ->Arg(20'000)
      ->Arg(160'000)
      ->Unit(benchmark::kMillisecond);
  // Variables and FOREACH clauses: 1,000 and 4 times as many.
  benchmark::RegisterBenchmark("execute_sized/foreach_clauses",
                               [](benchmark::State& state) { execute_sized(state, foreach_clauses); })
      ->Arg(1'000)
      ->Arg(4'000)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
