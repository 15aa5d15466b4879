#!/usr/bin/env bash
# Host load benchmark: starts cimp-cimom (Release build) on 127.0.0.1 with a temporary copy of
# examples/platform and drives it with wrk over keep-alive connections, one CIM-XML operation at a
# time. Prints per operation and connection count: req/s, p50 and p99 latency, the daemon's CPU
# time per request (utime+stime from /proc) and the kernel's part of it, the provider's own
# in-process time for the same operation (bench/provider_bench) and their difference, the host's
# own cost.
#
# Usage: bench/host_load.sh [build dir, default build-release]
# Environment: CIMP_BENCH_SECONDS (per run, default 5), CIMP_BENCH_RUNS (runs per row, of which
# the median is shown, default 3), CIMP_BENCH_CONNECTIONS (default "4 256"),
# CIMP_BENCH_SUBSCRIPTIONS (lifecycle subscriptions made before the runs, default 0; no events
# come while the runs last, so they cost only their polls).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build-release}"
seconds="${CIMP_BENCH_SECONDS:-5}"
runs="${CIMP_BENCH_RUNS:-3}"
connections="${CIMP_BENCH_CONNECTIONS:-4 256}"

command -v wrk >/dev/null || "$repo/scripts/install-deps.sh"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target cimp-cimom provider_bench >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/cimp-bench.XXXXXX")"
daemon=""
cleanup() {
    [ -n "$daemon" ] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The provider's in-process time (µs CPU) per operation family.
"$build/bench/provider_bench" --benchmark_min_time=0.2 --benchmark_format=csv 2>/dev/null |
    awk -F, '/^"BM_/ { gsub(/"/, "", $1); printf "%s %.1f\n", $1, $4 }' >"$work/provider"
provider_time() { awk -v n="$1" '$1 == n { print $2 }' "$work/provider"; }

cp -r "$repo/examples/platform" "$work/platform"
rm -rf "$work/platform/trace" "$work/platform/errl"
"$build/cimom/daemon/cimp-cimom" --port 0 --quiet --platform-root "$work/platform" 2>"$work/log" &
daemon=$!
port=""
for _ in $(seq 100); do
    port="$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/log")"
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "cimp-cimom did not start: $(cat "$work/log")" >&2; exit 1; }
python3 "$repo/bench/indication_bench.py" subscribe "$port" "${CIMP_BENCH_SUBSCRIPTIONS:-0}"

ns='<LOCALNAMESPACEPATH><NAMESPACE NAME="root"/><NAMESPACE NAME="orvcim"/></LOCALNAMESPACEPATH>'
cec='<INSTANCENAME CLASSNAME="Vesk_CEC"><KEYBINDING NAME="Name"><KEYVALUE>9119-MHE*10ABCDE</KEYVALUE></KEYBINDING><KEYBINDING NAME="CreationClassName"><KEYVALUE>Vesk_CEC</KEYVALUE></KEYBINDING><KEYBINDING NAME="UUID"><KEYVALUE>0</KEYVALUE></KEYBINDING><KEYBINDING NAME="MTMS"><KEYVALUE>9119.MHE.10ABCDE</KEYVALUE></KEYBINDING></INSTANCENAME>'
assoc='<IPARAMVALUE NAME="ClassName"><CLASSNAME NAME="Vesk_AssociatedTOvPassthru"/></IPARAMVALUE>'
request() { # request <method> <parameters>: a whole CIM-XML request body
    printf '<?xml version="1.0" encoding="utf-8"?><CIM CIMVERSION="2.0" DTDVERSION="2.0"><MESSAGE ID="1" PROTOCOLVERSION="1.0"><SIMPLEREQ><IMETHODCALL NAME="%s">%s%s</IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>' "$1" "$ns" "$2"
}

# name | CIMMethod | parameters | provider_bench benchmark of the same operation
operations="EnumerateInstanceNames|EnumerateInstanceNames|$assoc|BM_EnumInstanceNames
EnumerateInstances|EnumerateInstances|$assoc|BM_EnumInstances
Associators (ResultClass)|Associators|<IPARAMVALUE NAME=\"ObjectName\">$cec</IPARAMVALUE><IPARAMVALUE NAME=\"ResultClass\"><CLASSNAME NAME=\"Vesk_TOvPassthru\"/></IPARAMVALUE>|BM_AssociatorsWithResultClass
References|References|<IPARAMVALUE NAME=\"ObjectName\">$cec</IPARAMVALUE>|BM_References"

ticks="$(getconf CLK_TCK)"
daemon_ticks() { awk '{ print $14, $15 }' "/proc/$daemon/stat"; } # user, kernel

# measure <connections>: one wrk run against the daemon, printed as "req/s requests errors p50
# p99 duration user-ticks kernel-ticks". The body file and CIM method come from CIMP_BENCH_BODY
# and CIMP_BENCH_METHOD; without a body, wrk asks GET /healthz.
measure() {
    read -r user_before kernel_before <<<"$(daemon_ticks)"
    result="$(wrk -t2 -c"$1" -d"${seconds}s" -s "$repo/bench/cim_post.lua" \
        "http://127.0.0.1:$port/cimom" | sed -n 's/^RESULT //p')"
    read -r user_after kernel_after <<<"$(daemon_ticks)"
    read -r requests errors p50 p99 duration <<<"$result"
    echo "$((requests * 1000000 / duration)) $result $((user_after - user_before))" \
        "$((kernel_after - kernel_before))"
}

# row <name> <connections> <provider µs>: the median of $runs runs by req/s, as one table row (a
# VM's neighbours make single runs swing by a third).
row() {
    for _ in $(seq "$runs"); do measure "$2"; done | sort -n | sed -n "$(((runs + 1) / 2))p" |
        awk -v name="$1" -v c="$2" -v hz="$ticks" -v provider="$3" '{
            n = $2; e = $3; us = $6; user = $7; kernel = $8
            per = (user + kernel) * 1e6 / hz / n
            failed = (e > 0) ? " (" e " errors)" : ""
            printf "| %s | %d | %.0f%s | %.2f ms | %.2f ms | %.1f µs | %.1f µs | %.1f µs | %.1f µs |\n",
                name, c, n * 1e6 / us, failed, $4 / 1000, $5 / 1000, per,
                kernel * 1e6 / hz / n, provider, per - provider
        }'
}

echo "cimp-cimom on 127.0.0.1:$port, $(nproc) cores, wrk -t2 -d${seconds}s, keep-alive, median of $runs runs, ${CIMP_BENCH_SUBSCRIPTIONS:-0} subscriptions"
echo
echo "| Operation | Connections | req/s | p50 | p99 | daemon CPU/request | of it in the kernel | provider | host's own |"
echo "|---|---|---|---|---|---|---|---|---|"
# What HTTP alone costs over loopback: the floor under every CIM operation.
for c in $connections; do
    row "GET /healthz (HTTP alone)" "$c" 0
done
while IFS='|' read -r name method parameters benchmark; do
    request "$method" "$parameters" >"$work/body"
    # One request first: it must succeed, or the figures would measure an error path.
    curl -sS --max-time 10 -H 'Content-Type: application/xml; charset="utf-8"' \
        -H 'CIMOperation: MethodCall' -H "CIMMethod: $method" -H 'CIMObject: root%2Forvcim' \
        --data-binary @"$work/body" "http://127.0.0.1:$port/cimom" >"$work/answer"
    if ! grep -q '<IRETURNVALUE' "$work/answer" || grep -q '<ERROR' "$work/answer"; then
        echo "$name does not succeed: $(cat "$work/answer")" >&2
        exit 1
    fi
    for c in $connections; do
        CIMP_BENCH_BODY="$work/body" CIMP_BENCH_METHOD="$method" \
            row "$name" "$c" "$(provider_time "$benchmark")"
    done
done <<<"$operations"
