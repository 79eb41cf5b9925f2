#!/usr/bin/env bash
# Builds the component image reader's libFuzzer target with clang in its own build folder
# (build-fuzz) and runs it for a fixed time: 60 seconds, or as many as the first argument says.
# The starting corpus is the stand-in components and their type libraries; what libFuzzer finds
# that covers more is kept in build-fuzz/corpus for the next run. An input that crashes the reader
# is written to build-fuzz/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DEBRONA_FUZZ=ON -DEBRONA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target component_image_fuzz stand_in_probe >/dev/null

mkdir -p "$build/corpus"
cp "$build"/stand-ins/*.dll "$build"/tests/components/stand-in-*/*.tlb "$build/corpus/"
"$build/component_image_fuzz" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/" \
  "$build/corpus"
