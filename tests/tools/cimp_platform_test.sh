#!/usr/bin/env bash
# Drives cimp-platform as a user would (init, set, show, fail, errl, errl commit) against a running
# cimp-cimom, and checks that the daemon sees each change on its next request.
# Environment (set by CTest): CIMP_PLATFORM_CLI, CIMP_CIMOM, CIMP_TRACE, CIMP_EXAMPLE_PLATFORM.
set -uo pipefail

: "${CIMP_PLATFORM_CLI:?path of cimp-platform}"
: "${CIMP_CIMOM:?path of cimp-cimom}"
: "${CIMP_TRACE:?path of cimp-trace}"
: "${CIMP_EXAMPLE_PLATFORM:?path of examples/platform}"

work="$(mktemp -d "${TMPDIR:-/tmp}/cimp-platform-test.XXXXXX")"
root="$work/root"
log="$work/daemon.log"
daemon=""
failures=0
export CIMP_PLATFORM_ROOT="$root"

cleanup() {
    if [ -n "$daemon" ] && kill -0 "$daemon" 2>/dev/null; then
        kill -KILL "$daemon" 2>/dev/null
        wait "$daemon" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# cli <expected exit> <args...>: runs cimp-platform, keeps stdout in $out and stderr in $err.
cli() {
    local expected="$1"
    shift
    out="$("$CIMP_PLATFORM_CLI" "$@" 2>"$work/err")"
    local status=$?
    err="$(cat "$work/err")"
    [ "$status" -eq "$expected" ] || fail "cimp-platform $*: exit $status, expected $expected: $out $err"
}

has() { # has <what> <text> <fragment>
    case "$2" in *"$3"*) ;; *) fail "$1: missing [$3] in: $2" ;; esac
}

# served <lines> <what>: the association's instance names, as the daemon answers now.
served() {
    local answer
    answer="$(timeout 30 wbemcli ein "http://localhost:$port/root/orvcim:Vesk_AssociatedTOvPassthru" 2>&1)"
    [ "$(printf '%s' "$answer" | grep -c .)" -eq "$1" ] || fail "$2: expected $1 instance(s): $answer"
}

# The built-in machine is the example machine, file for file.
cli 0 init "$root"
diff -r -x README.md -x .gitignore "$CIMP_EXAMPLE_PLATFORM" "$root" >&2 || fail "init differs from examples/platform"
cli 1 init "$root"
has "init over a root" "$err" "$root: already holds files"

"$CIMP_CIMOM" --port 0 --platform-root "$root" 2>"$log" &
daemon=$!
port=""
for _ in $(seq 200); do
    port="$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log")"
    [ -n "$port" ] && break
    sleep 0.05
done
[ -n "$port" ] || { fail "daemon not listening"; exit 1; }
served 1 "example machine"

# Each change is seen on the next request.
cli 0 set fstp/SystemName "bench 7"
answer="$(wbemcli ai -nl -arc Vesk_CEC "http://localhost:$port/root/orvcim:Vesk_TOvPassthru.CreationClassName=\"Vesk_TOvPassthru\",Name=\"9119MHE*10ABCDE\",SystemCreationClassName=\"Vesk_FSP\",SystemName=\"9119MHE*10ABCDE\"" 2>&1)"
has "renamed system" "$answer" '-UserDefinedName="bench 7"'
cli 0 get fstp/SystemName
[ "$out" = "bench 7" ] || fail "get after set: $out"
for change in "set-role 0" "set-managed 0x10" "set-policy on" "set-policy empty"; do
    cli 0 $change
    served 0 "$change"
    cli 0 show
    has "show after $change" "$out" "CIM serving"
    case "$out" in *"CIM serving"*"= on"*) fail "show after $change says serving is on: $out" ;; esac
    cli 0 set-role 1 && cli 0 set-managed 0 && cli 0 set-policy off
done
cli 0 show
has "show" "$out" "dscv/FspRole"
has "show" "$out" "= hex:01"
has "show" "$out" "svpd/Raw_MachineSerialNumber = hex:313041424344450000000000"
has "show" "$out" "= on"
served 1 "gate open again"

# Failures: injected, seen by the daemon, logged, listed, cleared.
cli 0 fail dscv/FspRole 51A00007
served_status="$(timeout 30 wbemcli ein "http://localhost:$port/root/orvcim:Vesk_AssociatedTOvPassthru" 2>&1)"
has "failing role read" "$served_status" "CIM_ERR_FAILED"
cli 0 faults
has "faults" "$out" "dscv/FspRole = 0x51A00007"
cli 0 show
has "show failing role" "$out" "off (role read fails with rc 0x51A00007)"
cli 0 errl --rc 0x51A00007
[ "$(printf '%s\n' "$out" | grep -c '0x51A00007')" -ge 1 ] || fail "errl --rc: $out"
has "errl columns" "$out" "UtilReg::read"
cli 0 errl --since 2999-01-01
[ -z "$out" ] || fail "errl --since the future: $out"
# errl commit: an entry as a failing read commits it, with defaults, shown by errl like any other.
cli 0 errl commit
cli 0 errl commit --rc 51A0C0DE --words 0 ffff --call rmgrIsRedPolicyEnabled --key rmgr/policy
cli 0 errl --rc 51A00010
has "errl commit defaults" "$out" "0xD400,0x2000  UtilReg::read"
has "errl commit defaults" "$out" "cimp-platform/errl_commit"
cli 0 errl --rc 51A0C0DE
has "errl commit given" "$out" "0x0000,0xFFFF  rmgrIsRedPolicyEnabled   rmgr/policy"
lines_before="$(wc -l <"$root/errl/log")"
cli 2 errl commit --words 1
cli 2 errl commit --words 1 10000
cli 2 errl commit --rc 0
cli 2 errl commit --call "two words"
cli 1 --root "$work/none" errl commit
[ "$(wc -l <"$root/errl/log")" -eq "$lines_before" ] || fail "a refused errl commit wrote the log"
cli 0 clear --all
cli 0 faults
[ -z "$out" ] || fail "faults after clear --all: $out"
served 1 "after clear"

# The trace the daemon wrote, as cimp-trace prints it.
cli 0 trace
[ "$out" = "$("$CIMP_TRACE" --root "$root")" ] || fail "trace differs from cimp-trace"
has "trace" "$out" "cimpQueryCimEnabled"

# Bad usage is exit 2 and bad state exit 1, naming what and why; nothing is written.
cli 2 set-role 256
cli 2 set fstp/SystemName --hex 0g
cli 2 get ../etc
cli 2 fail managed 0
cli 2 set-policy maybe
cli 1 unset fstp/Nothing
has "unset missing" "$err" "$root/registry/fstp/Nothing: no such file"
cli 1 --root "$work/none" show
has "no root" "$err" "$work/none: not a platform root"
printf 'svpd/Raw_MachineTypeModel = 8286-42A\nmanaged = many\n' >"$work/machine"
cli 1 init "$work/other" --machine "$work/machine"
has "machine file" "$err" "$work/machine:2: many:"
[ ! -e "$work/other" ] || fail "a failed init left $work/other"
printf '# lab bench\nsvpd/Raw_MachineTypeModel = 8286-42A\ndscv/FspRole = byte:0\n' >"$work/machine"
cli 0 --root /nonexistent init "$work/other" --machine "$work/machine"
cli 0 --root "$work/other" get svpd/Raw_MachineTypeModel
[ "$out" = "8286-42A" ] || fail "machine file value: $out"
cli 0 --root "$work/other" show
has "machine file role" "$out" "off (role is hex:00, not hex:01)"
cli 0 set-role --help
has "help" "$out" "usage: cimp-platform [--root DIR] set-role N"
[ -z "$(find "$root" -name '.cimp-tmp-*')" ] || fail "temporary files left in $root"

kill -TERM "$daemon"
wait "$daemon"
daemon=""
[ "$failures" -eq 0 ]
