#!/usr/bin/env bash
# Builds the engine and the whole-run benchmark (Release, TELVA_BENCH) in
# build-bench and runs it: per-iteration figures on 1, 2, 4 and 8 threads,
# then the same on a machine kept busy, then the runs to convergence beside
# simpleFoam. Any arguments go to every call (say, the outer iterations).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DTELVA_BENCH=ON -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-bench -j "$(nproc)" --target telva telva_whole_run > /dev/null
run=build-bench/bench/telva_whole_run
"$run" build-bench/src/telva "$@"
"$run" build-bench/src/telva "$@" --loaded
"$run" build-bench/src/telva --converge
