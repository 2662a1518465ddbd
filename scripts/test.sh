#!/usr/bin/env bash
# Builds and runs the whole test suite: the unit tests in a normal build and
# under AddressSanitizer + UndefinedBehaviorSanitizer, the concurrency tests
# under ThreadSanitizer, the Python tests with Debian's python3 (normal and
# sanitizer builds) and, when pyenv provides it, CPython 3.13, and a minute
# of fuzzing per fuzz target. Exits non-zero on any failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install_deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"
# Debian's interpreter, with pytest and pandas from apt.
python=/usr/bin/python3

# configure_and_build <dir> <cmake options...> [--target <targets...>]
configure_and_build() {
  local dir="$1"
  shift
  local options=()
  while [ $# -gt 0 ] && [ "$1" != "--target" ]; do
    options+=("$1")
    shift
  done
  cmake -S "$root" -B "$dir" -G Ninja -DZELVO_WERROR=ON "${options[@]}" >/dev/null
  cmake --build "$dir" --parallel "$jobs" "$@"
}

echo "== Unit tests (normal build)"
configure_and_build "$root/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPython3_EXECUTABLE="$python"
ctest --test-dir "$root/build/release" --output-on-failure --parallel "$jobs"

echo "== Python tests ($("$python" --version))"
PYTHONPATH="$root/build/release/python" "$python" -m pytest -p no:cacheprovider -q "$root/tests/python"

echo "== Unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
configure_and_build "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DZELVO_SANITIZER=address \
  -DPython3_EXECUTABLE="$python"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/asan" --output-on-failure --parallel "$jobs"

echo "== Concurrency tests (ThreadSanitizer)"
configure_and_build "$root/build/tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVO_SANITIZER=thread \
  -DZELVO_BUILD_PYTHON=OFF --target zelvo_common_tests zelvo_catalog_tests zelvo_engine_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir "$root/build/tsan" --output-on-failure --parallel "$jobs" \
  -R "zelvo_(common|catalog|engine)_tests"

echo "== Python tests (AddressSanitizer + UndefinedBehaviorSanitizer module)"
# The interpreter is not instrumented: the sanitizer runtime is preloaded,
# the interpreter's own leaks are not reported, and freed memory is not held
# in quarantine so that the memory checks of the leak tests stay meaningful.
LD_PRELOAD="$(g++ -print-file-name=libasan.so)" \
  ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=0:thread_local_quarantine_size_kb=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  PYTHONPATH="$root/build/asan/python" "$python" -m pytest -p no:cacheprovider -q "$root/tests/python"

echo "== Python tests (CPython 3.13 from pyenv)"
pyenv="$(command -v pyenv || echo "${PYENV_ROOT:-$HOME/.pyenv}/bin/pyenv")"
if [ -x "$pyenv" ] && python313="$("$pyenv" prefix 3.13.0 2>/dev/null)/bin/python3" && [ -x "$python313" ]; then
  cmake -S "$root" -B "$root/build/python313" -G Ninja -DZELVO_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPython3_EXECUTABLE="$python313" >/dev/null
  cmake --build "$root/build/python313" --parallel "$jobs" --target _zelvo zelvo_python_tests
  "$root/build/python313/tests/unit/python/zelvo_python_tests" --gtest_brief=1
  # Debian's pytest is pure Python and runs under 3.13; its pandas does not
  # load there, so the pandas tests skip.
  PYTHONPATH="$root/build/python313/python:/usr/lib/python3/dist-packages" "$python313" -m pytest \
    -p no:cacheprovider -q -W "ignore::DeprecationWarning:_pytest.assertion.rewrite" "$root/tests/python"
else
  echo "pyenv provides no CPython 3.13.0: skipped"
fi

echo "== Fuzzing (scripts/fuzz.sh, 60 s per target)"
"$root/scripts/fuzz.sh" 60

echo "All tests passed."
