#!/usr/bin/env bash
# scripts/fuzz.sh SECONDS [TARGET...]
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, assertions on) into build-fuzz and runs each
# given target (all by default) for SECONDS. New inputs go to
# build-fuzz/corpus/TARGET, seeds are read from fuzz/corpus/TARGET, crashes,
# leaks and hangs are written to build-fuzz/findings/TARGET/. Prints the
# executions each target did; exits non-zero when any target found something.
set -euo pipefail

usage() { echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2; exit 2; }
[ $# -ge 1 ] || usage
seconds=$1
shift
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || usage

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
all_targets=(setfile_fuzz ini_fuzz companion_fuzz item_fields_fuzz cmdline_fuzz urilist_fuzz conversion_fuzz
             program_fuzz)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || { echo "fuzz: no target named $t (${all_targets[*]})" >&2; exit 2; }
done

command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

# Every library is instrumented for coverage and sanitized, so that what the
# targets call is both watched and steered; the build type keeps assert().
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DTARVO_FUZZ=ON -DTARVO_DESKTOP=OFF -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_SANITIZE=ON \
    -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -D_GLIBCXX_ASSERTIONS" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
summary=()
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  log=$build/logs/$t.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  echo "fuzz: $t for ${seconds}s"
  rc=0
  # The first folder takes the new inputs; the seeds stay as committed.
  "$build/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$root/fuzz/corpus/$t" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  line="$t: ${runs:-?} executions, ${rate:-?} per second"
  if [ "$rc" -ne 0 ]; then
    status=1
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    property=$(sed -n 's/^FUZZ PROPERTY BROKEN: //p' "$log" | head -1)
    [ -n "$property" ] || property=$(grep -m1 -E 'ERROR: |runtime error:|deadly signal|timeout' "$log" || true)
    line+=" -- FINDING (exit $rc): ${property:-see $log}; reproducer ${artifact:-none}; log $log"
    echo "----- $t: end of $log" >&2
    tail -n 40 "$log" >&2
  fi
  summary+=("$line")
done

echo "fuzz: summary"
printf '  %s\n' "${summary[@]}"
exit $status
