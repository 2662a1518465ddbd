#!/usr/bin/env bash
# Builds and runs the whole test suite: the unit tests in a normal build and
# under AddressSanitizer + UndefinedBehaviorSanitizer, the concurrency tests
# under ThreadSanitizer. Exits non-zero on any failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install_deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"

configure_and_build() {
  local dir="$1"
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DZELVO_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" --parallel "$jobs"
}

echo "== Unit tests (normal build)"
configure_and_build "$root/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$root/build/release" --output-on-failure --parallel "$jobs"

echo "== Unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
configure_and_build "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DZELVO_SANITIZER=address
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/asan" --output-on-failure --parallel "$jobs"

echo "All tests passed."
