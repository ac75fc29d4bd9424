#!/bin/sh
# Builds the libFuzzer targets (tests/fuzz/*_fuzz.cpp) with clang and runs each for a bounded
# time: scripts/fuzz.sh SECONDS. The corpus of every target is kept in the build folder, so a
# later run goes on from what an earlier one found. Exit status 1 when a target crashed or
# broke one of its checks; the input that did it is left in the artifacts folder.
set -eu

seconds=${1:?usage: scripts/fuzz.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}

command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is missing (apt-get install clang)" >&2; exit 2; }

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
targets=$(for f in "$root"/tests/fuzz/*_fuzz.cpp; do basename "$f" .cpp; done)
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets >/dev/null

status=0
for target in $targets; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target/
  mkdir -p "$corpus" "$artifacts"
  log=$build/$target.log
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
      -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  units=$(ls "$corpus" | wc -l)
  echo "$target: $result, ${seconds}s, ${execs:-?} execs (${rate:-?}/s), cov ${cov:-?}, corpus $units"
  if [ "$result" = FAILED ]; then
    grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" >&2 || tail -n 20 "$log" >&2
  fi
done
exit $status
