#!/usr/bin/env bash
# Builds the libraries without widgets, their tests and the fuzz targets with the address
# and undefined-behaviour sanitizers (clang) into build-sanitize/, runs those tests, then
# runs every fuzz target on its seeds and for FUZZ_SECONDS (default 30) more. A sanitizer
# report, a crash or a failed test fails the run; a finding is kept in build-sanitize/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build=build-sanitize
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTQ_WERROR=ON \
    -DTQ_SANITIZE=ON -DTQ_FUZZ=ON "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target unit_tests fuzz_targets
export ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
(cd "$build" && ctest -L unit --output-on-failure --parallel "$(nproc)" --timeout 600)

seeds="$build/fuzz/seeds"
rm -rf "$seeds" && python3 tests/fuzz/make_seeds.py "$seeds"
run_target() {
    local name="$1" work="$build/fuzz/$1"
    mkdir -p "$work/corpus"
    # Each target runs in a folder of its own: the harness writes the files it reads there.
    (cd "$work" && "../../bin/$name" -max_total_time="$seconds" -max_len=131072 -timeout=20 \
        -rss_limit_mb=4096 -print_final_stats=1 corpus "../seeds/$name" >log 2>&1) ||
        { echo "$name: FAILED (see $work/log)"; tail -40 "$work/log"; return 1; }
    echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | awk '{print $2}') runs, no finding"
}
export -f run_target
export build seconds
ls "$build/bin" | grep '_fuzz$' | xargs -P "$(nproc)" -I{} bash -c 'run_target {}'
