#!/usr/bin/env bash
# Builds the .deb as a packager would (prefix /usr, cpack -G DEB), then checks with dpkg-deb that
# every file is where Debian and the daemon's compiled-in defaults expect it, that the control
# fields and computed dependencies are there, and that systemd accepts the unit.
# Usage: package_test.sh <source dir> <build dir>. Exit 77 (skipped) without cpack or dpkg-dev.
set -uo pipefail
source_dir="$1"
build="$2"
for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-architecture; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool not found (apt-get install dpkg-dev)"; exit 77; }
done

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake -S "$source_dir" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF -DCIMP_BUILD_BENCHMARKS=OFF >/dev/null || exit 1
cmake --build "$build" -j2 >/dev/null || { echo "FAIL: build" >&2; exit 1; }
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null) || { echo "FAIL: cpack" >&2; exit 1; }
deb="$(ls "$build"/*.deb)"
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"

contents="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
for path in \
    "./usr/lib/$multiarch/cmpi/libVesk_AssociatedTOvPassthruProvider.so" \
    "./usr/lib/$multiarch/libcimpplatform.so" \
    ./usr/sbin/cimp-cimom ./usr/bin/cimp-platform ./usr/bin/cimp-trace \
    ./usr/share/cimp/schema/root_orvcim.mof ./usr/share/cimp/schema/vesk.mof \
    ./usr/share/cimp/schema/Vesk_AssociatedTOvPassthru.registration \
    ./usr/share/cimp/schema/Vesk_AssociatedTOvPassthru.sfcb.reg \
    ./usr/share/cimp/schema/Vesk_AssociatedTOvPassthru.pegasus.mof \
    ./etc/cimp/cimp-cimom.conf ./usr/lib/systemd/system/cimp-cimom.service; do
    grep -qxF "$path" <<<"$contents" || fail "package lacks $path"
done

[ "$(dpkg-deb -f "$deb" Package)" = cimp ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
dpkg-deb -f "$deb" Description | grep -q "systemd service cimp-cimom" || fail "Description"
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libc6 libstdc++6 libmicrohttpd12 libexpat1; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

control="$(mktemp -d)"
root="$(mktemp -d)"
trap 'rm -rf "$control" "$root"' EXIT
dpkg-deb -e "$deb" "$control"
grep -qxF /etc/cimp/cimp-cimom.conf "$control/conffiles" || fail "conffiles: $(cat "$control/conffiles")"
dpkg-deb -x "$deb" "$root"

# The daemon's compiled-in defaults name the packaged schema and provider folder.
for default in /usr/share/cimp/schema/root_orvcim.mof "/usr/lib/$multiarch/cmpi"; do
    grep -qaF "$default" "$root/usr/sbin/cimp-cimom" || fail "cimp-cimom does not default to $default"
done
grep -q '^# port = 5988$' "$root/etc/cimp/cimp-cimom.conf" || fail "config file lacks the port line"

unit="$root/usr/lib/systemd/system/cimp-cimom.service"
for setting in DynamicUser=yes ProtectSystem=strict StateDirectory=cimp NoNewPrivileges=yes \
    "RestrictAddressFamilies=AF_INET AF_INET6 AF_UNIX" PrivateTmp=yes ProtectHome=yes \
    "CIMP_PLATFORM_ROOT=/var/lib/cimp/platform" "ExecStart=/usr/sbin/cimp-cimom"; do
    grep -qF -- "$setting" "$unit" || fail "unit lacks $setting"
done
# systemd checks that the commands exist, so the copy it verifies runs them from the package.
if command -v systemd-analyze >/dev/null; then
    mkdir "$root/verify"
    sed "s#/usr/s\?bin/#$root&#g" "$unit" >"$root/verify/cimp-cimom.service"
    systemd-analyze verify "$root/verify/cimp-cimom.service" || fail "systemd-analyze verify"
fi
[ "$failures" -eq 0 ]
