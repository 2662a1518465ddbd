#!/usr/bin/env bash
# The main job: installs what is missing, builds the Python module `_zelvo`
# and runs the quickstart example with Debian's python3.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install_deps.sh"

python=/usr/bin/python3
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPython3_EXECUTABLE="$python" >/dev/null
cmake --build "$root/build/release" --parallel "$(nproc 2>/dev/null || echo 2)" --target _zelvo
PYTHONPATH="$root/build/release/python" "$python" "$root/examples/quickstart.py"
