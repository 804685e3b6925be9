#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the core, simulated-unit,
# end-to-end (pseudo-terminal) and GUI (offscreen) tests, then the core tests once more
# under AddressSanitizer and UndefinedBehaviorSanitizer, with the fuzz corpus replayed in
# both builds; and the core tests for Windows, cross-compiled and run under Wine
# (scripts/test-windows.sh), when the cross compiler and Wine are installed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
JOBS=${JOBS:-$(nproc)}

# Sanitizer build: the core, the simulated unit and their tests only.
cmake -S . -B build-asan -DQ5_GUI=OFF -DQ5_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j "$JOBS" --target q5core_tests q5fuzz_replies_replay \
  q5fuzz_config_file_replay q5fuzz_srecord_replay
echo "== core tests under AddressSanitizer + UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$JOBS" --output-on-failure >build-asan/ctest.log 2>&1 \
  || { tail -50 build-asan/ctest.log; echo "sanitizer tests failed"; exit 1; }
tail -3 build-asan/ctest.log

scripts/build.sh
echo "== all tests"
set +e
QT_QPA_PLATFORM=offscreen ctest --test-dir build -j "$JOBS" --output-on-failure --timeout 300 \
  2>&1 | tee build/ctest.log
status=${PIPESTATUS[0]}
set -e
total=$(grep -oE 'tests failed out of [0-9]+' build/ctest.log | grep -oE '[0-9]+$' || echo 0)
failed=$(grep -oE '[0-9]+ tests failed out of' build/ctest.log | grep -oE '^[0-9]+' || echo 0)
echo "$((total - failed)) passed, ${failed} failed"

if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
  scripts/test-windows.sh || status=1
else
  echo "== Windows core tests skipped: no MinGW-w64 cross compiler or Wine (scripts/setup.sh)"
fi
exit "$status"
