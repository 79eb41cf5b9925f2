#!/usr/bin/env bash
# Installs what is missing, builds, prepares a sandbox and starts the program in it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target ebrona-installer
exec scripts/run-in-sandbox.sh
