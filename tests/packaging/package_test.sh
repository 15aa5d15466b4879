#!/usr/bin/env bash
# Builds the Debian package as a Debian developer would (dpkg-buildpackage on a copy of the source
# tree, so that its output stays in the build directory), requires lintian to find no error and
# no warning, then checks that every file is where Debian and the daemon's compiled-in defaults
# expect it, that the provider and the tools find the private platform library, that the manual
# pages are there and that systemd accepts the unit.
# Usage: package_test.sh <source dir> <work dir>. Exit 77 (skipped) without the packaging tools.
set -uo pipefail
source_dir="$1"
work="$2"
for tool in dpkg-buildpackage dh lintian help2man fakeroot; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool not found (scripts/install-deps.sh)"; exit 77; }
done

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A fresh copy each time; ccache (when the caller set it up) makes the rebuild cheap. debhelper
# gives the build a HOME of its own, so ccache is told where its cache and settings are.
if command -v ccache >/dev/null; then
    export CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir)}"
    [ -f "$HOME/.config/ccache/ccache.conf" ] &&
        export CCACHE_CONFIGPATH="${CCACHE_CONFIGPATH:-$HOME/.config/ccache/ccache.conf}"
fi
rm -rf "$work" && mkdir -p "$work/cimp"
tar -C "$source_dir" --exclude='./build*' --exclude='./obj-*' --exclude=./.git -cf - . |
    tar -C "$work/cimp" -xf - || exit 1
(cd "$work/cimp" && DEB_BUILD_OPTIONS="parallel=${CIMP_JOBS:-2}" \
    dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
    { tail -n 40 "$work/build.log" >&2; echo "FAIL: dpkg-buildpackage (log: $work/build.log)" >&2; exit 1; }
lintian --fail-on error,warning --info "$work"/cimp_*.changes || fail "lintian"

deb="$(ls "$work"/cimp_*.deb)"
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for path in \
    "./usr/lib/$multiarch/cmpi/libVesk_AssociatedTOvPassthruProvider.so" \
    "./usr/lib/$multiarch/cmpi/libVesk_AlertIndicationProvider.so" \
    "./usr/lib/$multiarch/cimp/libcimpplatform.so.1" \
    ./usr/sbin/cimp-cimom ./usr/bin/cimp-platform ./usr/bin/cimp-trace \
    ./usr/share/cimp/schema/root_orvcim.mof ./usr/share/cimp/schema/vesk.mof \
    ./usr/share/cimp/schema/Vesk_AssociatedTOvPassthru.registration \
    ./usr/share/cimp/schema/Vesk_AssociatedTOvPassthru.sfcb.reg \
    ./usr/share/cimp/schema/Vesk_AssociatedTOvPassthru.pegasus.mof \
    ./usr/share/cimp/schema/Vesk_AlertIndication.sfcb.reg \
    ./usr/share/cimp/schema/Vesk_AlertIndication.pegasus.mof \
    ./usr/share/cimp/schema/vesk_alert.mof \
    ./usr/share/man/man8/cimp-cimom.8.gz ./usr/share/man/man1/cimp-platform.1.gz \
    ./usr/share/man/man1/cimp-trace.1.gz \
    ./etc/cimp/cimp-cimom.conf ./lib/systemd/system/cimp-cimom.service; do
    grep -qxF "$path" <<<"$contents" || fail "package lacks $path"
done
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libc6 libstdc++6 libmicrohttpd12 libexpat1; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

control="$(mktemp -d)"
root="$(mktemp -d)"
trap 'rm -rf "$control" "$root"' EXIT
dpkg-deb -e "$deb" "$control"
grep -qxF /etc/cimp/cimp-cimom.conf "$control/conffiles" || fail "conffiles: $(cat "$control/conffiles")"
grep -q "deb-systemd-helper" "$control/postinst" || fail "postinst does not enable the unit"
dpkg-deb -x "$deb" "$root"

# The providers, the daemon and the tools find the platform library through their RUNPATH, wherever
# the tree is.
for binary in "usr/lib/$multiarch/cmpi/libVesk_AssociatedTOvPassthruProvider.so" \
    "usr/lib/$multiarch/cmpi/libVesk_AlertIndicationProvider.so" usr/sbin/cimp-cimom \
    usr/bin/cimp-platform usr/bin/cimp-trace; do
    found="$(env -u LD_LIBRARY_PATH ldd "$root/$binary" | awk '$1 == "libcimpplatform.so.1" {print $3}')"
    [ -n "$found" ] && [ "$(realpath "$found")" = "$root/usr/lib/$multiarch/cimp/libcimpplatform.so.1" ] ||
        fail "$binary does not find the packaged libcimpplatform.so.1 (found: ${found:-none})"
done
# Every subcommand of cimp-platform has its entry in the manual page.
page="$(zcat "$root/usr/share/man/man1/cimp-platform.1.gz")"
for sub in $("$root/usr/bin/cimp-platform" --help | sed -n '/^commands:$/,${/^  /s/^  \([^ ]*\).*/\1/p}'); do
    grep -q "^\.B ${sub//-/\\\\-}\b" <<<"$page" || fail "cimp-platform.1 lacks $sub"
done
# The daemon's compiled-in defaults name the packaged schema and provider folder.
for default in /usr/share/cimp/schema "/usr/lib/$multiarch/cmpi"; do
    grep -qaF "$default" "$root/usr/sbin/cimp-cimom" || fail "cimp-cimom does not default to $default"
done
grep -q '^# port = 5988$' "$root/etc/cimp/cimp-cimom.conf" || fail "config file lacks the port line"

unit="$root/lib/systemd/system/cimp-cimom.service"
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
