#!/usr/bin/env bash
# Runs CMD... with simulated network printers, inside a user and network namespace made for
# the run (see scripts/lan_bed.py): broadcasts and pings never leave it.
#
#   bash scripts/lan-bed.sh CMD...           e.g. bash scripts/lan-bed.sh bash scripts/wine-bed.sh ...
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: lan-bed.sh CMD..." >&2; exit 2; }
command -v unshare >/dev/null && command -v ip >/dev/null ||
  { echo "lan-bed.sh: needs unshare (util-linux) and ip (iproute2)" >&2; exit 2; }
export LAN_BED_NAMESPACE=1
exec unshare -rn python3 "$(dirname "${BASH_SOURCE[0]}")/lan_bed.py" "$@"
