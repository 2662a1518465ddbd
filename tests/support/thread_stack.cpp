#include "support/thread_stack.h"

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>

#if defined(__GLIBC__) && !defined(__SANITIZE_THREAD__)
#define ZELVO_FOREIGN_STACKS 1
#include <ucontext.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define ZELVO_ANNOTATE_FIBERS 1
#endif

namespace zelvo::testing {

namespace {

constexpr unsigned char kPaint = 0xa5;

// A stack of fresh memory, painted, with an inaccessible page below it so
// that an overflow faults instead of writing below.
class PaintedStack {
 public:
  explicit PaintedStack(std::size_t bytes) : bytes_(bytes), page_(static_cast<std::size_t>(sysconf(_SC_PAGESIZE))) {
    mapping_ = mmap(nullptr, bytes_ + page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) throw std::runtime_error("cannot map a stack");
    mprotect(mapping_, page_, PROT_NONE);
    std::memset(base(), kPaint, bytes_);
  }
  ~PaintedStack() { munmap(mapping_, bytes_ + page_); }
  PaintedStack(const PaintedStack&) = delete;
  PaintedStack& operator=(const PaintedStack&) = delete;

  unsigned char* base() const { return static_cast<unsigned char*>(mapping_) + page_; }
  std::size_t size() const { return bytes_; }
  // The bytes between the top and the lowest byte written.
  std::size_t used() const {
    std::size_t untouched = 0;
    while (untouched < bytes_ && base()[untouched] == kPaint) ++untouched;
    return bytes_ - untouched;
  }

 private:
  std::size_t bytes_;
  std::size_t page_;
  void* mapping_;
};

void* run_body(void* argument) {
  (*static_cast<const std::function<void()>*>(argument))();
  return nullptr;
}

}  // namespace

#if defined(__SANITIZE_THREAD__)
// ThreadSanitizer needs to make thread stacks itself.
constexpr bool kPaintsThreadStacks = false;
#else
constexpr bool kPaintsThreadStacks = true;
#endif

bool stack_use_is_measured() { return kPaintsThreadStacks; }

std::size_t run_on_stack(std::size_t stack_bytes, const std::function<void()>& body) {
  std::optional<PaintedStack> stack;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  if (kPaintsThreadStacks) {
    stack.emplace(stack_bytes);
    pthread_attr_setstack(&attributes, stack->base(), stack->size());
  } else {
    pthread_attr_setstacksize(&attributes, stack_bytes);
  }
  pthread_t thread;
  const int created = pthread_create(&thread, &attributes, run_body, const_cast<std::function<void()>*>(&body));
  pthread_attr_destroy(&attributes);
  if (created != 0) throw std::runtime_error("cannot start a thread");
  pthread_join(thread, nullptr);
  return stack.has_value() ? stack->used() : 0;
}

#ifdef ZELVO_FOREIGN_STACKS

namespace {

// What the fiber runs, and the contexts it switches between.
struct Fiber {
  const std::function<void()>* body;
  ucontext_t caller;
  ucontext_t own;
#ifdef ZELVO_ANNOTATE_FIBERS
  const void* caller_bottom = nullptr;
  std::size_t caller_size = 0;
#endif
};

thread_local Fiber* t_fiber = nullptr;

void fiber_main() {
  Fiber& fiber = *t_fiber;
#ifdef ZELVO_ANNOTATE_FIBERS
  __sanitizer_finish_switch_fiber(nullptr, &fiber.caller_bottom, &fiber.caller_size);
#endif
  (*fiber.body)();
#ifdef ZELVO_ANNOTATE_FIBERS
  // The fiber ends: no fake stack of it is kept.
  __sanitizer_start_switch_fiber(nullptr, fiber.caller_bottom, fiber.caller_size);
#endif
  swapcontext(&fiber.own, &fiber.caller);
}

}  // namespace

bool foreign_stacks_work() { return true; }

std::size_t run_on_foreign_stack(std::size_t stack_bytes, const std::function<void()>& body) {
  const PaintedStack stack(stack_bytes);
  Fiber fiber{&body, {}, {}};
  if (getcontext(&fiber.own) != 0) throw std::runtime_error("cannot make a context");
  fiber.own.uc_stack.ss_sp = stack.base();
  fiber.own.uc_stack.ss_size = stack.size();
  fiber.own.uc_link = nullptr;
  makecontext(&fiber.own, fiber_main, 0);
  Fiber* const outer = t_fiber;
  t_fiber = &fiber;
#ifdef ZELVO_ANNOTATE_FIBERS
  void* fake_stack = nullptr;
  __sanitizer_start_switch_fiber(&fake_stack, stack.base(), stack.size());
#endif
  swapcontext(&fiber.caller, &fiber.own);
#ifdef ZELVO_ANNOTATE_FIBERS
  __sanitizer_finish_switch_fiber(fake_stack, nullptr, nullptr);
#endif
  t_fiber = outer;
  return stack.used();
}

#else

bool foreign_stacks_work() { return false; }

std::size_t run_on_foreign_stack(std::size_t, const std::function<void()>&) {
  throw std::runtime_error("no foreign stacks in this build");
}

#endif

}  // namespace zelvo::testing
