#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any further
# packages named as arguments, skipping those already present. Runs apt-get
# update before installing anything.
set -euo pipefail

packages=(
  g++ cmake ninja-build make
  libgtest-dev libbenchmark-dev
  python3 python3-dev python3-venv python3-pytest python3-pandas python3-pip python3-setuptools python3-wheel
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
