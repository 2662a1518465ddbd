#!/usr/bin/env bash
# The main job: installs what is missing, builds Zelvo and runs the example.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install_deps.sh"

cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/release" --parallel "$(nproc 2>/dev/null || echo 2)" --target zelvo_values_example
"$root/build/release/examples/zelvo_values_example"
