#!/bin/sh
# Builds the fuzz targets (fuzz/, with clang and libFuzzer, under AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a bounded time, starting from
# its corpus in fuzz/corpus/. Fails when a target finds a crash; what it found is
# kept in build/fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [seconds-per-target] [target...]
set -eu
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-60}
[ $# -gt 0 ] && shift
TARGETS=${*:-"fuzz_ini fuzz_date_time fuzz_statement fuzz_xml_packet fuzz_report_layout"}

scripts/setup-packages.sh

ROOT=$(pwd)
BUILD=$ROOT/build/fuzz
CC=clang-14 CXX=clang++-14 cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Qt's and fontconfig's caches live for the whole run and are not leaks of ours.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=""
for target in $TARGETS; do
  # New inputs go to a work corpus beside the build; the seeds stay as committed.
  work="$BUILD/corpus/$target"
  findings="$BUILD/findings/$target"
  mkdir -p "$work" "$findings"
  rm -f "$findings"/crash-* "$findings"/timeout-* "$findings"/oom-* "$findings"/leak-* \
    "$findings"/slow-unit-* "$findings"/fuzz-*.log
  case "$target" in
    fuzz_report_layout) maxlen=65536 ;;
    fuzz_xml_packet) maxlen=16384 ;;
    *) maxlen=4096 ;;
  esac
  echo "== $target: $SECONDS_PER_TARGET s"
  log="$findings/fuzz.log"
  status=0
  (cd "$findings" && "$BUILD/$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=30 \
     -max_len="$maxlen" -jobs=1 -workers=1 -print_final_stats=1 -artifact_prefix=./ \
     "$work" "$ROOT/fuzz/corpus/$target") >"$log" 2>&1 || status=$?
  grep -E "^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|Done [0-9]+ runs)" "$log" || true
  crashes=$(find "$findings" -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' \
    -o -name 'oom-*' -o -name 'leak-*' \))
  if [ "$status" -ne 0 ] || [ -n "$crashes" ]; then
    echo "!! $target found a problem (exit $status):"
    grep -E -A2 "FUZZ CHECK FAILED" "$log" | head -12 || true
    grep -E "ERROR: (AddressSanitizer|libFuzzer)|runtime error|SUMMARY: " "$log" | head -5 || true
    for c in $crashes; do echo "   input: $c"; done
    failed="$failed $target"
  else
    echo "   no finding"
  fi
done

if [ -n "$failed" ]; then
  echo "Findings in:$failed (reproduce with: build/fuzz/<target> <input>)" >&2
  exit 1
fi
echo "All fuzz targets ran without a finding."
