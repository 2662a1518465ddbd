#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <string>

#include "engine/database.h"

namespace zelvo {
namespace {

// Runs `body` on a thread with a 1 MiB stack, as a thread of an embedding
// application might have.
void run_on_small_stack(const std::function<void()>& body) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 1 << 20), 0);
  pthread_t thread;
  auto trampoline = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, trampoline, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

std::string answer(const StatementResult& result) {
  if (result.is_error()) return result.error().display();
  if (result.is_message()) return result.message();
  return "rows: " + std::to_string(result.rows().row_count());
}

// Statements whose plans nest one level per pattern element or SET item:
// wide ones run (and explain) on a small stack, wider ones are refused.
TEST(LargeStatement, PlanDepthIsBounded) {
  const auto elements = [](int count) {
    std::string query = "MATCH (a0:A)";
    for (int i = 1; i < count; ++i) query += ", (a" + std::to_string(i) + ":A)";
    return query + " RETURN a0";
  };
  const auto set_items = [](int count) {
    std::string query = "MATCH (a:A)";
    for (int i = 0; i < count; ++i) query += " SET a.x = " + std::to_string(i);
    return query + " RETURN a";
  };
  const std::string too_large = "Planner error: Query is too large to plan: its plan would nest more than 200 levels";
  const struct {
    std::string query;
    std::string expected;
  } cases[] = {
      {elements(180), "rows: 0"},
      {"EXPLAIN " + elements(180), "rows: 1"},
      {set_items(180), "rows: 1"},  // the count row of the SET
      {"PROFILE " + set_items(180), "rows: 1"},
      {elements(100000), too_large},
      {set_items(100000), too_large},
  };
  run_on_small_stack([&] {
    auto database = Database::in_memory();
    auto connection = database->connect();
    connection->execute("CREATE NODE TABLE A(x INT64, PRIMARY KEY(x))");
    for (const auto& c : cases) EXPECT_EQ(answer(connection->execute(c.query)), c.expected) << c.query.substr(0, 40);
  });
}

}  // namespace
}  // namespace zelvo
