#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test:
#   1. native: the portable core's GoogleTest suite under AddressSanitizer + UBSan;
#   2. product: the import check of the 32-bit .exe (system DLLs only, nothing newer than XP);
#   3. fuzz: the LAN discovery pass decision under libFuzzer, for a bounded time (FUZZ_SECONDS);
#   4. Wine: the Windows test programs, in a fresh Wine prefix with its own display
#      (scripts/wine-bed.sh), all inside a network namespace of their own with simulated
#      network printers (scripts/lan-bed.sh), so that the discovery broadcasts reach nothing
#      else. Their screenshots are copied to build/screenshots/.
# Every stage runs even when an earlier one failed; the exit status says whether all passed.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

started=$(tps_now)
logs=$TPS_BUILD/test-logs
summary=()
failed=0

bash "$TPS_ROOT/scripts/setup.sh" || tps_die "setup failed"
bash "$TPS_ROOT/scripts/build.sh" || tps_die "build failed"
mkdir -p "$logs"

# Runs ctest (arguments as given), keeps its log and its summary line.
stage() {
  local name=$1
  shift
  local t log=$logs/$name.log
  t=$(tps_now)
  tps_log "stage $name"
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E "tests passed|No tests were found|_fuzz: " "$log" | tail -n1)
  [ -n "$line" ] || line="no ctest summary (exit status $rc)"
  summary+=("$(printf '%-8s %s  (%s s)' "$name" "$line" "$(tps_elapsed "$t")")")
  [ "$rc" = 0 ] || failed=1
}

stage native ctest --test-dir "$TPS_NATIVE_DIR" --output-on-failure -j"$TPS_JOBS"
# Where Wine runs the product build itself, its import check runs with the Wine tests.
[ "$WINE_BUILD_DIR" = "$TPS_PRODUCT_DIR" ] ||
  stage product ctest --test-dir "$TPS_PRODUCT_DIR" --output-on-failure
stage fuzz bash "$TPS_ROOT/scripts/fuzz.sh" "${FUZZ_SECONDS:-20}"
rm -rf "$WINE_BUILD_DIR/screenshots"
# One test program at a time: they share the prefix's registry and the display.
stage wine bash "$TPS_ROOT/scripts/lan-bed.sh" bash "$TPS_ROOT/scripts/wine-bed.sh" \
  ctest --test-dir "$WINE_BUILD_DIR" --output-on-failure

# Screenshots the Wine tests wrote.
shots=$TPS_BUILD/screenshots
rm -rf "$shots"
mkdir -p "$shots"
if compgen -G "$WINE_BUILD_DIR/screenshots/*.png" >/dev/null; then
  cp "$WINE_BUILD_DIR"/screenshots/*.png "$shots/"
  echo
  echo "Screenshots:"
  for f in "$shots"/*.png; do echo "  $f"; done
fi

echo
echo "Summary:"
for line in "${summary[@]}"; do echo "  $line"; done
echo "  total    $(tps_elapsed "$started") s"
if [ "$failed" != 0 ]; then
  echo "SOME TESTS FAILED (logs in $logs)"
  exit 1
fi
echo "ALL TESTS PASSED"
