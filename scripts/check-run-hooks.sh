#!/usr/bin/env bash
# Checks the run command's scripts without Wine, in a fraction of a second: the shell syntax of
# scripts/run.sh and of every hook in scripts/run.d/, the Python syntax of the hooks' helpers,
# and that the simulated printers' hook starts nothing when a run goes without them. Run by
# ctest in the native build (test run_hooks).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
failed=0
fail() { echo "FAILED: $*"; failed=1; }

for f in "$root/scripts/run.sh" "$root"/scripts/run.d/*.sh; do
  bash -n "$f" || fail "shell syntax of $f"
done
for f in "$root"/scripts/run.d/*.py; do
  [ -e "$f" ] || continue
  python3 -c 'import ast, sys; ast.parse(open(sys.argv[1]).read(), sys.argv[1])' "$f" ||
    fail "Python syntax of $f"
done

# Sourced as run.sh does it, with TPS_RUN_PRINTERS=0 (--no-printers, --real-network): nothing
# may run, not even Wine (WINE_LOADER is a command that must not be called).
hook=$root/scripts/run.d/10-simulated-printers.sh
out=$(TPS_RUN_PRINTERS=0 WINE_LOADER=false bash -c '
  set -euo pipefail
  tps_log() { echo "log: $*"; }
  on_exit() { echo "on_exit: $*"; }
  source "$1"
  echo sourced' bash "$hook" 2>&1)
[ "$out" = sourced ] || fail "$hook without printers: ${out:-no output}"

[ "$failed" = 0 ] && echo "run hooks: ok"
exit "$failed"
