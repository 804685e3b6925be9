#!/usr/bin/env bash
# Runs each fuzz target for a while: scripts/fuzz.sh [MINUTES per target, default 5]
# [TARGET...] (replies, config_file, srecord). Needs clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer); builds in build-fuzz. Targets run one after the other at
# the lowest priority, so the machine stays usable. New inputs that reach new code are
# added to tests/fuzz/corpus/<target>; a finding stops the run and leaves its input as
# build-fuzz/crash-* (copy it into the corpus once fixed, so every test run replays it).
set -euo pipefail
cd "$(dirname "$0")/.."
MINUTES=${1:-5}
shift || true
TARGETS=("$@")
((${#TARGETS[@]})) || TARGETS=(replies config_file srecord)
JOBS=${JOBS:-2}

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is needed (apt-get install clang)" >&2
  exit 2
fi
GENERATOR=()
if [ ! -f build-fuzz/CMakeCache.txt ] && command -v ninja >/dev/null; then GENERATOR=(-G Ninja); fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${GENERATOR[@]}" -DQ5_GUI=OFF -DQ5_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$JOBS" --target "${TARGETS[@]/#/q5fuzz_}"

status=0
for t in "${TARGETS[@]}"; do
  corpus=tests/fuzz/corpus/$t
  mkdir -p "$corpus" build-fuzz/new-$t
  echo "== $t: $MINUTES min"
  # The time-out is generous: at the lowest priority on a busy machine one input of the
  # replies target (a whole session) can wait many seconds for the processor; a real hang
  # runs into it all the same.
  # New inputs go to a scratch folder first; only those that add coverage are merged into
  # the checked-in corpus afterwards, so it stays small enough to replay on every run.
  (cd build-fuzz && nice -n 19 "./tests/fuzz/q5fuzz_$t" -max_total_time=$((MINUTES * 60)) \
      -print_final_stats=1 -max_len=8192 -timeout=90 -rss_limit_mb=2048 \
      "new-$t" "../$corpus") 2>&1 | tee "build-fuzz/$t.log" | grep -E '^#[0-9]+.*(pulse|DONE)|stat::|ERROR|SUMMARY' \
    || true
  if grep -q 'ERROR: \|SUMMARY: ' "build-fuzz/$t.log"; then
    status=1
    echo "fuzz.sh: $t found a problem; see build-fuzz/$t.log"
  fi
  nice -n 19 "build-fuzz/tests/fuzz/q5fuzz_$t" -merge=1 "$corpus" "build-fuzz/new-$t" \
    >"build-fuzz/$t.merge.log" 2>&1 || true
  rm -rf "build-fuzz/new-$t"
  grep -E 'stat::number_of_executed_units' "build-fuzz/$t.log" | sed "s/^/$t: /" || true
done
exit "$status"
