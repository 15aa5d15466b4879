#!/usr/bin/env bash
# Runs libFuzzer targets on their committed seeds for as long as asked.
#
# Usage: fuzz/run.sh TARGET|all SECONDS|-runs=N [libFuzzer options, e.g. -seed=1 -fork=2]
# TARGET is one of: request_decoder export_response mof_reader registration value_parsers
# trace_ring.
# Builds the targets (clang) in $CIMP_FUZZ_BUILD (default build-fuzz) when asked to. Inputs found
# along the way collect in <build>/corpus/TARGET and crashes in <build>/crashes/TARGET; copy a
# reproducer into fuzz/corpus/TARGET (after the fix) to keep it as a regression input. Several
# runs of one target may share the corpus at once; each logs to <build>/crashes/TARGET/run-PID.log.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${CIMP_FUZZ_BUILD:-$top/build-fuzz}"
targets=(request_decoder export_response mof_reader registration value_parsers trace_ring)

usage() {
    echo "usage: $0 TARGET|all SECONDS|-runs=N [libFuzzer options]" >&2
    echo "targets: ${targets[*]}" >&2
    exit 2
}
[ $# -ge 2 ] || usage
which="$1"
budget="$2"
shift 2
case "$budget" in
    -runs=[0-9]*) limit="$budget" ;;
    [0-9]*) limit="-max_total_time=$budget" ;;
    *) usage ;;
esac

# Seeds beyond fuzz/corpus/TARGET: files the project ships anyway.
seeds_of() {
    case "$1" in
        mof_reader | registration) echo "$top/schema" ;;
        value_parsers) echo "$top/examples/platform" ;;
    esac
}

# Inputs a little longer than the largest seed: longer ones only slow the search down (the
# shipped schema files reach 13 KB, requests as clients send them 2 KB).
options_of() {
    case "$1" in
        mof_reader) echo "-max_len=4096" ;;
        request_decoder) echo "-max_len=2048" ;;
    esac
}

run_target() {
    local name="$1"; shift
    local binary="$build/fuzz/${name}_fuzzer"
    [ -x "$binary" ] || { echo "$binary missing: cmake --build $build --target fuzz_targets" >&2; exit 1; }
    local dict=() extra
    [ -f "$top/fuzz/dict/$name.dict" ] && dict=("-dict=$top/fuzz/dict/$name.dict")
    extra="$(seeds_of "$name")"
    mkdir -p "$build/corpus/$name" "$build/crashes/$name"
    local log="$build/crashes/$name/run-$$.log"
    echo "== $name ($budget)"
    if ! "$binary" "$limit" $(options_of "$name") -timeout=10 -print_final_stats=1 "${dict[@]}" \
        -artifact_prefix="$build/crashes/$name/" "$@" \
        "$build/corpus/$name" "$top/fuzz/corpus/$name" $extra >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "$name: FAILED; reproducer and full log in $build/crashes/$name/" >&2
        return 1
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "$log"
}

case "$which" in
    all) for t in "${targets[@]}"; do run_target "$t" "$@"; done ;;
    request_decoder | export_response | mof_reader | registration | value_parsers | trace_ring)
        run_target "$which" "$@" ;;
    *) usage ;;
esac
