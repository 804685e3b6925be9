#!/usr/bin/env bash
# The Windows build of the core, the in-process simulated unit and the core tests:
# cross-compiled with Debian's MinGW-w64 compiler (GoogleTest built from Debian's source
# package with the same compiler) in build-win/, and run under Wine. Nothing is
# downloaded. Run by scripts/test.sh when the tools are present.
#
# Not run under Wine, by name (see tests/CMakeLists.txt for the files left out of the
# Windows build: the pseudo-terminal server and the POSIX save tests of links, FIFOs,
# permission bits, hard links and a signal-killed save):
#   (none at present; add "Suite.Name" patterns to WINE_EXCLUDE with the reason)
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
WINE_EXCLUDE=${WINE_EXCLUDE:-}

for tool in x86_64-w64-mingw32-g++-posix wine; do
  command -v "$tool" >/dev/null || { echo "test-windows: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
[ -f /usr/src/googletest/CMakeLists.txt ] || { echo "test-windows: /usr/src/googletest is missing (package googletest)"; exit 1; }

start=$(date +%s)
# (The toolchain file counts only when build-win/ is first made; no warning about it later.)
cmake -S . -B build-win --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DQ5_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win -j "$JOBS" --target q5core_tests -- --no-print-directory 2>&1 \
  | grep -vE "^\[|Wrestrict|^ +[0-9]+ \||^ +\||note:|In (member )?function|In file included|from /" || true
[ -x build-win/tests/q5core_tests.exe ] || { echo "test-windows: the build failed"; exit 1; }
built=$(date +%s)

# Wine keeps Windows file names in the character set of the Unix locale: under the plain C
# locale (a fresh system with no LANG set) it cannot make a file or folder whose name is
# not ASCII, so the run uses C.UTF-8 (always present on Debian) unless UTF-8 is set.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8

# Wine keeps its Windows installation (the "prefix") inside the build tree; made once.
export WINEPREFIX="$PWD/build-win/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install .NET or the web engine
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || wine wineboot --init >/dev/null 2>&1
  wineserver -w || true
fi

echo "== core tests for Windows under Wine"
filter="*"
[ -n "$WINE_EXCLUDE" ] && filter="*:-$WINE_EXCLUDE"
set +e
wine build-win/tests/q5core_tests.exe --gtest_filter="$filter" --gtest_brief=1 \
  >build-win/wine-tests.log 2>&1
status=$?
set -e
wineserver -k 2>/dev/null || true
done_at=$(date +%s)
grep -E "^\[  (PASSED|FAILED) |^\[==========\]|FAILED TEST" build-win/wine-tests.log | tail -20
if [ "$status" -ne 0 ]; then
  grep -B30 "^\[  FAILED  \]" build-win/wine-tests.log | head -120
  echo "Windows core tests failed under Wine"
  exit 1
fi
echo "Windows build $((built - start)) s, Wine run $((done_at - built)) s"
