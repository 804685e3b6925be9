#!/usr/bin/env bash
# Installs the built tree into a scratch prefix, runs the installed command-line tool
# away from the build tree, and checks the Debian package's file list and dependencies.
# Nothing is rebuilt: `cmake --install` and `cpack` copy what the build made.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || { cat "$scratch/install.log"; fail "cmake --install"; }

# The layout: programs in bin/, manual, desktop entry, icon and man page in share/.
for f in bin/q5cfg bin/q5cfg-cli bin/q5sim share/q5cfg/manual/index.html share/q5cfg/manual/manual.css \
         share/applications/q5cfg.desktop share/icons/hicolor/scalable/apps/q5cfg.svg \
         share/man/man1/q5cfg-cli.1.gz; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for p in q5cfg q5cfg-cli q5sim; do [ -x "$prefix/bin/$p" ] || fail "$p is not executable"; done
grep -qx 'Exec=q5cfg' "$prefix/share/applications/q5cfg.desktop" || fail "desktop entry does not start q5cfg"
grep -qx 'Icon=q5cfg' "$prefix/share/applications/q5cfg.desktop" || fail "desktop entry names another icon"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/q5cfg.svg" || fail "icon is not an SVG"
zcat "$prefix/share/man/man1/q5cfg-cli.1.gz" | grep -q '^\.TH Q5CFG-CLI 1' || fail "man page header"
# Every page the manual links to is installed with it.
for link in $(grep -o 'href="[^"#:]*\.html' "$prefix/share/q5cfg/manual/index.html" | cut -d'"' -f2 | sort -u); do
  [ -f "$prefix/share/q5cfg/manual/$link" ] || fail "manual page missing: $link"
done

# The installed command-line tool, run from an empty folder with only the prefix on PATH.
work=$scratch/work
mkdir "$work"
cd "$work"
export PATH="$prefix/bin:/usr/bin:/bin"
export HOME=$scratch/home
mkdir -p "$HOME"
out=$(q5cfg-cli --port sim:Q5T3NML3-6-AI4 identify) || fail "identify: $out"
grep -qx 'Model: Q5T3NML3-6-AI4' <<<"$out" || fail "identify printed: $out"
grep -qx 'Channel count: 4' <<<"$out" || fail "identify printed: $out"
q5cfg-cli new Q5T3NML3 AI4 -o "$work/new.uJx" >/dev/null || fail "new"
head -c 18 "$work/new.uJx" | grep -q '^"Q5T3NML3-6-AI4"' || fail "new wrote: $(head -1 "$work/new.uJx")"
out=$(q5cfg-cli show "$work/new.uJx") || fail "show: $out"
grep -q '^# Q5T3NML3-6-AI4 ' <<<"$out" || fail "show header: $out"
grep -q '^cmbUserRange(0)' <<<"$out" || fail "show lists no range: $out"
# The installed tool finds the installed manual.
out=$(q5cfg-cli --help)
grep -qF "the user manual: $(cd "$prefix/share/q5cfg/manual" && pwd -P)/index.html" <<<"$out" \
  || fail "--help does not point at the installed manual: $out"

# The Debian package: file list and declared dependencies.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/deb" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/deb/q5cfg_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$scratch/files"
for f in /usr/bin/q5cfg /usr/bin/q5cfg-cli /usr/bin/q5sim /usr/share/q5cfg/manual/index.html \
         /usr/share/applications/q5cfg.desktop /usr/share/icons/hicolor/scalable/apps/q5cfg.svg \
         /usr/share/man/man1/q5cfg-cli.1.gz; do
  grep -qx "$f" "$scratch/files" || fail "the package lacks $f"
done
# Nothing of the build tree or of the tests goes into the package.
stray=$(grep -vE '^/usr/(bin/(q5cfg|q5cfg-cli|q5sim)|share/(q5cfg/manual/|applications/q5cfg\.desktop|icons/hicolor/scalable/apps/q5cfg\.svg|man/man1/q5cfg-cli\.1\.gz|doc/q5cfg/))' "$scratch/files" || true)
[ -z "$stray" ] || fail "unexpected files in the package: $stray"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6serialport6 libqt6charts6 libqt6core6 qt6-qpa-plugins libc6; do
  grep -q "\b$d\b" <<<"$depends" || fail "Depends lacks $d: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = q5cfg ] || fail "package name"
echo "installed, ran and packaged: $(wc -l <"$scratch/files") files, Depends: $depends"
