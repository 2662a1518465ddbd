#!/usr/bin/env bash
# Builds a Release tree with the benchmarks and the Python module in
# build-bench/, then runs every benchmark and prints its figures: the C++
# pipeline and front-end benchmarks, the comparison with sqlite3
# (bench/compare.py) and the memory measurements (bench/memory.py). Takes a
# few minutes. Benchmarks run pinned to one core (core 6, or the last core on
# smaller machines) when taskset is available. Not part of the tests or CI.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
cd "$root"
"$root/scripts/install_deps.sh"

python=/usr/bin/python3
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVO_BUILD_BENCH=ON -DZELVO_BUILD_TESTS=OFF \
  -DZELVO_WERROR=OFF -DPython3_EXECUTABLE="$python" >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" \
  --target zelvo_pipeline_bench zelvo_frontend_bench _zelvo

pin=()
if command -v taskset >/dev/null; then
  cores="$(nproc)"
  pin=(taskset -c "$((cores > 6 ? 6 : cores - 1))")
fi
min_time=0.5  # seconds per C++ benchmark

echo "== C++ pipeline stages (bench/pipeline_bench.cpp)"
"${pin[@]}" "$build/bench/zelvo_pipeline_bench" --benchmark_min_time="$min_time"

echo
echo "== C++ front end over the TCK corpus (bench/frontend_bench.cpp)"
"${pin[@]}" "$build/bench/zelvo_frontend_bench" --benchmark_min_time="$min_time"

echo
echo "== Zelvo vs sqlite3, per-call latency (bench/compare.py)"
PYTHONPATH="$build/python" "${pin[@]}" "$python" "$root/bench/compare.py"

echo
echo "== Memory (bench/memory.py)"
PYTHONPATH="$build/python" "${pin[@]}" "$python" "$root/bench/memory.py"
