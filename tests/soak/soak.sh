#!/usr/bin/env bash
# Soak: a million keep-alive requests of mixed operations against the daemon on a copy of the
# example platform. Every other request is an Associators call whose registry read fails (a
# SystemName.fail file), so each of those commits exactly one error-log entry. Reports the
# daemon's RSS and open descriptors at start (after a warm-up), middle and end, failed requests,
# error-log lines committed against expected, and whether the trace ring still decodes. Not part
# of the test run: it takes minutes.
#
# Usage: tests/soak/soak.sh [BUILD_DIR]   (default: build; a Release build gives the real figures)
# Environment: CIMP_SOAK_REQUESTS (default 1000000, rounded down to a multiple of 16),
# CIMP_SOAK_CONNECTIONS (default 4).
set -uo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$top/build}" && pwd)"
total=$(( ${CIMP_SOAK_REQUESTS:-1000000} / 16 * 16 ))
connections="${CIMP_SOAK_CONNECTIONS:-4}"
warmup=1008
for tool in cimom/daemon/cimp-cimom tests/load/cimp-load platform/sim/cimp-trace; do
    [ -x "$build/$tool" ] || { echo "$build/$tool missing: build it first" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/cimp-soak.XXXXXX")"
platform="$work/platform"
daemon=""
cleanup() {
    [ -n "$daemon" ] && kill -KILL "$daemon" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$top/examples/platform" "$platform"
rm -rf "$platform/trace" "$platform/errl"
printf '0x51A00005' >"$platform/registry/fstp/SystemName.fail"
# The request log (a line per request) goes to stderr: keep its head only.
"$build/cimom/daemon/cimp-cimom" --port 0 --platform-root "$platform" \
    2> >(sed -u -n '1,20p' >"$work/daemon.log") &
daemon=$!
port=""
for _ in $(seq 200); do
    port="$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/daemon.log")"
    [ -n "$port" ] && break
    sleep 0.05
done
[ -n "$port" ] || { echo "daemon not listening" >&2; cat "$work/daemon.log" >&2; exit 1; }

requests="$top/tests/load/requests"
failing="$requests/associators_of_service.http"
mix=("$failing" "$requests/enumerate_instance_names.http" "$failing" "$requests/enumerate_instances.http"
     "$failing" "$requests/associators_of_cec.http" "$failing" "$requests/reference_names_of_service.http")
failed=0
load() {
    "$build/tests/load/cimp-load" --port "$port" --connections "$connections" --requests "$1" \
        "${mix[@]}" >"$work/load" 2>&1 || failed=$((failed + 1))
    # The failing request must fail every time, and the others never.
    awk -v failing="$failing" '
        / ok=/ { split($2, ok, "="); split($3, err, "="); split($4, bad, "=")
                 if (($1 == failing && ok[2] != 0) || ($1 != failing && err[2] != 0) || bad[2] != 0) wrong++ }
        END { exit wrong > 0 }' "$work/load" || failed=$((failed + 1))
    tail -n 1 "$work/load"
}
sample() {
    printf '%-6s RSS %6s kB, %3s open descriptors\n' "$1" \
        "$(awk '/^VmRSS:/ { print $2 }' "/proc/$daemon/status")" "$(ls "/proc/$daemon/fd" | wc -l)"
}

load "$warmup" >/dev/null
sample start
load $((total / 2))
sample middle
load $((total / 2))
sample end

kill -TERM "$daemon"
wait "$daemon"
status=$?
daemon=""
expected=$(( (warmup + total) / 2 ))
log="$platform/errl/log"
committed="$(wc -l <"$log")"
# Lines numbered 1, 2, 3, ... with none lost, doubled or torn, each the injected failure.
misnumbered="$(awk '$1 != NR || $3 != "rc=0x51A00005" { n++ } END { print n + 0 }' "$log")"
"$build/platform/sim/cimp-trace" --root "$platform" >"$work/trace"
trace_status=$?
echo "requests: $((warmup + total)) over $connections connections; batches with a wrong or missing answer: $failed"
echo "error-log lines: $committed committed, $expected expected, $misnumbered out of sequence or foreign"
echo "trace ring: $( [ $trace_status -eq 0 ] && echo "decodes, $(wc -l <"$work/trace") entries" || echo "DOES NOT DECODE")"
echo "daemon exit status after SIGTERM: $status"
[ "$failed" -eq 0 ] && [ "$committed" -eq "$expected" ] && [ "$misnumbered" -eq 0 ] &&
    [ "$trace_status" -eq 0 ] && [ "$status" -eq 0 ]
