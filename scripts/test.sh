#!/usr/bin/env bash
# Builds everything and runs every test: once built as the Debian package builds it (the package
# check among the tests, its compiles served from this build through ccache), once under
# AddressSanitizer and UndefinedBehaviorSanitizer, the concurrency tests under ThreadSanitizer,
# then each fuzz target briefly. Usage: scripts/test.sh [--no-sanitize]
# ccache keeps every compile in $CCACHE_DIR (default: ccache's own, ~/.cache/ccache); keep that
# folder between runs (a CI cache) and the next run compiles only what changed.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
scripts/install-deps.sh

jobs="${CIMP_JOBS:-2}"
export CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir)}"
# Paths relative to the tree and no working directory in the key: the package build's copy of
# the tree hits the objects of build/.
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=1
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
echo "ccache: $CCACHE_DIR"

run_suite() {
    local dir="$1" skip="$2"
    shift 2
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    echo "== $dir built after $SECONDS s"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300 ${skip:+-LE "$skip"}
    echo "== $dir tested after $SECONDS s"
}

# The flags and install layout debian/rules builds with (debhelper's cmake defaults).
flag() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
ldflags="$(flag LDFLAGS)"
run_suite build "" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_INSTALL_SYSCONFDIR=/etc -DCMAKE_INSTALL_LOCALSTATEDIR=/var \
    -DCMAKE_INSTALL_LIBDIR="lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)" \
    -DCMAKE_C_FLAGS="$(flag CFLAGS) $(flag CPPFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(flag CXXFLAGS) $(flag CPPFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"

[ "${1:-}" = "--no-sanitize" ] && exit 0
# The instrumented builds: less optimisation, line tables only and unity files compile much
# faster, and still give every report its stack of source lines. Benchmarks say nothing under
# sanitizers.
quick=(-DCMAKE_BUILD_TYPE=None "-DCMAKE_C_FLAGS=-O1 -g1" "-DCMAKE_CXX_FLAGS=-O1 -g1"
    -DCMAKE_UNITY_BUILD=ON -DCIMP_BUILD_BENCHMARKS=OFF)
# Building against other CIMOMs' headers checks compiles only; the first run did that.
run_suite build-sanitize header_sets "${quick[@]}" -DCIMP_SANITIZE=ON
# ThreadSanitizer over the daemon's concurrency tests only, to keep the run short.
cmake -S . -B build-tsan "${quick[@]}" -DCIMP_TSAN=ON >/dev/null
cmake --build build-tsan -j"$jobs" --target cimp-cimom cimp-trace cimp-load
ctest --test-dir build-tsan -R '^(race\.|e2e\.concurrent_load$)' --output-on-failure -j"$jobs" \
    --timeout 300
echo "== build-tsan tested after $SECONDS s"
# The fuzz targets (clang), each a few seconds on its committed corpus with a fixed seed.
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${quick[@]}" -DCIMP_FUZZ=ON -DBUILD_TESTING=OFF \
    >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_targets
fuzz/run.sh all 3 -seed=1
echo "== all done after $SECONDS s"
