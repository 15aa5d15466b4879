#!/usr/bin/env bash
# Builds the provider and the embedded CIMOM, serves the example platform on 127.0.0.1 and shows
# the typical request answered through Debian's wbemcli. The CIMOM keeps serving until Ctrl-C.
# Usage: scripts/run.sh [--once]     (--once: stop after showing the requests)
# Environment: CIMP_PORT (default 5988).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
scripts/install-deps.sh

cmake -S . -B build >/dev/null
cmake --build build -j"${CIMP_JOBS:-2}" --target cimp-cimom cimp-trace

port="${CIMP_PORT:-5988}"
platform="$top/build/run-platform"
rm -rf "$platform"
cp -r examples/platform "$platform"

log="$top/build/cimp-cimom.log"
build/cimom/daemon/cimp-cimom --address 127.0.0.1 --port "$port" --platform-root "$platform" 2>"$log" &
daemon=$!
trap 'kill "$daemon" 2>/dev/null; wait "$daemon" 2>/dev/null || true' EXIT INT TERM
for _ in $(seq 100); do
    grep -q "listening on" "$log" 2>/dev/null && break
    kill -0 "$daemon" 2>/dev/null || { cat "$log" >&2; exit 1; }
    sleep 0.1
done

base="http://localhost:$port/root/orvcim"
cec="$base:Vesk_CEC.Name=\"9119-MHE*10ABCDE\",CreationClassName=\"Vesk_CEC\",UUID=\"0\",MTMS=\"9119.MHE.10ABCDE\""
show() {
    printf '\n$ wbemcli'; printf " '%s'" "$@"; printf '\n'
    wbemcli "$@" || true
}
echo "Embedded CIMOM serving $platform on 127.0.0.1:$port (log: $log)"
show ein "$base:Vesk_AssociatedTOvPassthru"
show ai -ac Vesk_AssociatedTOvPassthru -arc Vesk_TOvPassthru "$cec"
show ain -ac Vesk_AssociatedTOvPassthru "$cec"
show rin "$cec"
printf '\nTrace buffer (build/platform/sim/cimp-trace --root %s):\n' "$platform"
build/platform/sim/cimp-trace --root "$platform" | tail -n 5 || true

[ "${1:-}" = "--once" ] && exit 0
echo
echo "Serving until Ctrl-C. Edit files under $platform to change the platform while it runs."
wait "$daemon"
