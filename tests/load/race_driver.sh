#!/usr/bin/env bash
# Race test: the daemon serves mixed operations from four keep-alive connections while the
# platform's files are rewritten under it. Every request must get a CIM-XML answer, the daemon
# must stop cleanly, the trace ring must still decode, and in a ThreadSanitizer build no report
# may appear.
#
# Environment (set by CTest): CIMP_CIMOM, CIMP_LOAD (cimp-load), CIMP_TRACE (cimp-trace),
# CIMP_EXAMPLE_PLATFORM (examples/platform), CIMP_LOAD_REQUESTS (tests/load/requests).
set -uo pipefail

: "${CIMP_CIMOM:?path of cimp-cimom}"
: "${CIMP_LOAD:?path of cimp-load}"
: "${CIMP_TRACE:?path of cimp-trace}"
: "${CIMP_EXAMPLE_PLATFORM:?path of examples/platform}"
: "${CIMP_LOAD_REQUESTS:?path of tests/load/requests}"

work="$(mktemp -d "${TMPDIR:-/tmp}/cimp-race.XXXXXX")"
platform="$work/platform"
log="$work/daemon.log"
daemon=""
rewriter=""

cleanup() {
    for pid in $daemon $rewriter; do
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    tail -n 40 "$log" >&2
    exit 1
}

# Cycles the enablement gate, a failing read, the system name, the managed indicator and the
# policy, each written in place as an operator would, until $work/stop appears.
rewrite_platform() {
    local i=0 registry="$platform/registry"
    while [ ! -e "$work/stop" ]; do
        i=$((i + 1))
        case $((i % 6)) in
            0) printf '\000' >"$registry/dscv/FspRole" ;;
            1) printf '\001' >"$registry/dscv/FspRole" ;;
            2) printf '0x51A00005' >"$registry/fstp/SystemName.fail" ;;
            3) rm -f "$registry/fstp/SystemName.fail" ;;
            4) printf 'lab-system-%d' "$i" >"$registry/fstp/SystemName" ;;
            5) printf '%d' $((i / 6 % 2)) >"$platform/drax/managed"
               printf '%d' $((i / 12 % 2)) >"$platform/rmgr/policy_enabled" ;;
        esac
    done
}

cp -r "$CIMP_EXAMPLE_PLATFORM" "$platform"
rm -rf "$platform/trace" "$platform/errl"
# ThreadSanitizer (when built in) reports into $work/tsan.<pid> and makes the exit status 66.
TSAN_OPTIONS="log_path=$work/tsan exitcode=66 ${TSAN_OPTIONS:-}" \
    "$CIMP_CIMOM" --port 0 --platform-root "$platform" 2>"$log" &
daemon=$!
port=""
for _ in $(seq 600); do
    port="$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log")"
    [ -n "$port" ] && break
    kill -0 "$daemon" 2>/dev/null || fail "daemon exited before listening"
    sleep 0.05
done
[ -n "$port" ] || fail "daemon not listening after 30 s"

rewrite_platform &
rewriter=$!
requests=("$CIMP_LOAD_REQUESTS"/*.http)
"$CIMP_LOAD" --port "$port" --connections 4 --requests 1000 "${requests[@]}" >"$work/load" 2>&1
load_status=$?
touch "$work/stop"
wait "$rewriter"
rewriter=""
cat "$work/load"
[ "$load_status" -eq 0 ] || fail "requests not answered with CIM-XML while the platform changed"

kill -TERM "$daemon"
for _ in $(seq 200); do
    kill -0 "$daemon" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$daemon" 2>/dev/null && fail "daemon still running 10 s after SIGTERM"
wait "$daemon"
status=$?
daemon=""
if compgen -G "$work/tsan.*" >/dev/null; then
    cat "$work"/tsan.* >&2
    fail "ThreadSanitizer reports (above)"
fi
[ "$status" -eq 0 ] || fail "daemon exited with $status after SIGTERM"

"$CIMP_TRACE" --root "$platform" >"$work/trace" || fail "trace ring does not decode"
[ -s "$work/trace" ] || fail "trace ring is empty"
echo "trace ring decodes: $(wc -l <"$work/trace") entries"
