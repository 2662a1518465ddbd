#include "support/thread_stack.h"

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace zelvo::testing {

namespace {

constexpr unsigned char kPaint = 0xa5;

void* run_body(void* argument) {
  (*static_cast<const std::function<void()>*>(argument))();
  return nullptr;
}

}  // namespace

#if defined(__SANITIZE_THREAD__)

bool stack_use_is_measured() { return false; }

std::size_t run_on_stack(std::size_t stack_bytes, const std::function<void()>& body) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, stack_bytes);
  pthread_t thread;
  const int created = pthread_create(&thread, &attributes, run_body, const_cast<std::function<void()>*>(&body));
  pthread_attr_destroy(&attributes);
  if (created != 0) throw std::runtime_error("cannot start a thread");
  pthread_join(thread, nullptr);
  return 0;
}

#else

bool stack_use_is_measured() { return true; }

std::size_t run_on_stack(std::size_t stack_bytes, const std::function<void()>& body) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* mapping = mmap(nullptr, stack_bytes + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) throw std::runtime_error("cannot map a thread stack");
  auto* guard = static_cast<unsigned char*>(mapping);
  unsigned char* stack = guard + page;
  mprotect(guard, page, PROT_NONE);  // an overflow faults instead of writing below
  std::memset(stack, kPaint, stack_bytes);

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstack(&attributes, stack, stack_bytes);
  pthread_t thread;
  const int created = pthread_create(&thread, &attributes, run_body, const_cast<std::function<void()>*>(&body));
  pthread_attr_destroy(&attributes);
  if (created != 0) {
    munmap(mapping, stack_bytes + page);
    throw std::runtime_error("cannot start a thread");
  }
  pthread_join(thread, nullptr);

  std::size_t untouched = 0;
  while (untouched < stack_bytes && stack[untouched] == kPaint) ++untouched;
  munmap(mapping, stack_bytes + page);
  return stack_bytes - untouched;
}

#endif

}  // namespace zelvo::testing
