#!/usr/bin/env bash
# Builds everything and runs every test: once as shipped, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, the concurrency tests under ThreadSanitizer, then each fuzz target
# briefly. Usage: scripts/test.sh [--no-sanitize]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
scripts/install-deps.sh

jobs="${CIMP_JOBS:-2}"
run_suite() {
    local dir="$1"; shift
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300
}

run_suite build
if [ "${1:-}" != "--no-sanitize" ]; then
    # Benchmarks say nothing under sanitizers; leave them out of that build.
    run_suite build-sanitize -DCIMP_SANITIZE=ON -DCIMP_BUILD_BENCHMARKS=OFF
    # ThreadSanitizer over the daemon's concurrency tests only, to keep the run short.
    cmake -S . -B build-tsan -DCIMP_TSAN=ON -DCIMP_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build build-tsan -j"$jobs" --target cimp-cimom cimp-trace cimp-load
    ctest --test-dir build-tsan -R '^(race\.|e2e\.concurrent_load$)' --output-on-failure --timeout 300
    # The fuzz targets (clang), each a few seconds on its committed corpus with a fixed seed.
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCIMP_FUZZ=ON -DBUILD_TESTING=OFF \
        -DCIMP_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build build-fuzz -j"$jobs" --target fuzz_targets
    fuzz/run.sh all 3 -seed=1
fi
