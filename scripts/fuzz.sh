#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and AddressSanitizer +
# UndefinedBehaviorSanitizer in build/fuzz/, replays the saved regression
# inputs, then fuzzes each target for the given number of seconds (default
# 60; the targets run side by side), starting from the TCK queries and the
# corpus of earlier runs. Exits non-zero on any crash, leak, timeout or
# sanitizer report; the failing input is left in build/fuzz/findings/.
#
#   scripts/fuzz.sh [seconds per target] [target...]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(parse execute multi)
fi
"$root/scripts/install_deps.sh" clang-14 libclang-rt-14-dev

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELVO_SANITIZER=address -DZELVO_BUILD_FUZZ=ON -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_PYTHON=OFF \
  -DZELVO_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" \
  --target zelvo_parse_fuzzer zelvo_execute_fuzzer zelvo_multi_fuzzer

# One seed file per query of the TCK corpus.
seeds="$build/seeds"
if [ ! -d "$seeds" ]; then
  mkdir -p "$seeds.tmp"
  python3 - "$root/tests/data/tck/queries.json" "$seeds.tmp" <<'PY'
import json, sys
for number, entry in enumerate(json.load(open(sys.argv[1], encoding="utf-8"))):
    with open(f"{sys.argv[2]}/tck-{number:05}", "wb") as out:
        out.write(entry["query"].encode("utf-8", "surrogatepass"))
PY
  mv "$seeds.tmp" "$seeds"
fi

regressions="$root/tests/data/fuzz"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Replays the saved inputs, then fuzzes; the targets run side by side.
run_target() {
  local target="$1"
  local fuzzer="$build/fuzz/zelvo_${target}_fuzzer"
  local corpus="$build/corpus/$target"
  local findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  if compgen -G "$regressions/*" >/dev/null; then
    "$fuzzer" "$regressions"/* 2>"$findings/replay.log" || {
      echo "== $target: a saved input fails"
      cat "$findings/replay.log"
      return 1
    }
  fi
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=4096 \
    -dict="$root/fuzz/zelvo.dict" -artifact_prefix="$findings/" -print_final_stats=1 \
    "$corpus" "$seeds" 2>"$findings/fuzz.log" || {
    echo "== $target: fuzzing found a fault"
    tail -n 60 "$findings/fuzz.log"
    return 1
  }
  echo "== $target: $(grep -E "DONE" "$findings/fuzz.log" | tail -n 1)"
}

echo "== Fuzzing ${targets[*]} for $seconds s each"
pids=()
for target in "${targets[@]}"; do
  run_target "$target" &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "Fuzzing found nothing."
