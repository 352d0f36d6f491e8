#!/bin/sh
# The installation of a build: the Debian package made by cpack, unpacked into a scratch root
# and run from there. The manual pages pass mandoc's lint
# and render with man.  Usage: install_test.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAILED: $*"; echo "0 passed, 1 failed"; exit 1; }

for page in trelmo vmztool; do
  mandoc -T lint -W warning "$build/man/$page.1" || fail "lint of $page.1"
done
# cpack installs the build into its staging folder with the same rules as cmake --install.
(cd "$build" && cpack -G DEB -B "$root/pkg" >/dev/null) || fail "cpack -G DEB"
deb=$(ls "$root"/pkg/*.deb)
dpkg-deb -f "$deb" Version | grep -qx "$version" || fail "package version"
dpkg-deb -f "$deb" Depends | grep -q 'libstdc++6' || fail "package dependencies"
if ldd "$build/trelmo" | grep -q libedit; then
  dpkg-deb -f "$deb" Depends | grep -q libedit || fail "libedit is linked but not a dependency"
fi
dpkg -x "$deb" "$root/fs"
for f in README.md quarter-circle.png quality.png; do
  [ -f "$root/fs/usr/share/doc/trelmo/$f" ] || fail "the package left out $f"
done
bin=$root/fs/usr/bin
mkdir "$root/work"
printf 'csm\n2\n2\n1\nwri\nplate\nend\n' | (cd "$root/work" && "$bin/trelmo" >/dev/null) ||
  fail "a scripted session"
[ "$(sed -n 3p "$root/work/plate.vmz")" = "    1       4       0" ] || fail "the session's file"
"$bin/vmztool" --help | grep -q '^Usage: vmztool' || fail "vmztool --help"
[ "$("$bin/vmztool" --version)" = "vmztool $version" ] || fail "vmztool --version"
for page in trelmo vmztool; do
  text=$(MANWIDTH=80 man -l "$root/fs/usr/share/man/man1/$page.1" 2>"$root/man.err") ||
    fail "man -l $page"
  [ ! -s "$root/man.err" ] || fail "man -l $page: $(cat "$root/man.err")"
  echo "$text" | grep -q "version $version" || fail "$page(1) does not give the version"
done
echo "1 passed, 0 failed"
