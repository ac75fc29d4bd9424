# Settings shared by the build, test and run scripts. Sourced, never run by itself.
#
# The product is a 32-bit .exe (build/win32). Wine runs the Windows test programs; where this
# machine's kernel refuses 32-bit code, wine32 cannot start, and the same sources are built a
# second time for x86_64 (build/win64) and run by wine64 in a 64-bit prefix.

TPS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TPS_BUILD=${TPS_BUILD:-$TPS_ROOT/build}
TPS_TOOL_NAME=ThermalPrinterSetup
TPS_JOBS=${TPS_JOBS:-2}
WINESERVER=/usr/lib/wine/wineserver

# True when a 32-bit Wine loader exists and the kernel executes it.
tps_can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Wine flavour the test bed uses: loader, prefix architecture and the build it runs.
# WINE_BUILD_DIR may be set by the caller to run the tests of another build directory.
if tps_can_run_32bit; then
  : "${WINE_LOADER:=/usr/lib/wine/wine}"
  : "${WINE_ARCH:=win32}"
  : "${WINE_BUILD_DIR:=$TPS_BUILD/win32}"
  : "${WINE_TOOLCHAIN:=$TPS_ROOT/cmake/mingw-i686.cmake}"
else
  : "${WINE_LOADER:=/usr/lib/wine/wine64}"
  : "${WINE_ARCH:=win64}"
  : "${WINE_BUILD_DIR:=$TPS_BUILD/win64}"
  : "${WINE_TOOLCHAIN:=$TPS_ROOT/cmake/mingw-x86_64.cmake}"
fi
export WINE_LOADER WINE_ARCH WINE_BUILD_DIR WINE_TOOLCHAIN

TPS_NATIVE_DIR=$TPS_BUILD/native
TPS_PRODUCT_DIR=$TPS_BUILD/win32

tps_log() { printf '[%s] %s\n' "$(basename "$0")" "$*" >&2; }
tps_die() { tps_log "error: $*"; exit 1; }

# Seconds since the epoch with milliseconds, for the timings the scripts print.
tps_now() { date +%s.%N | cut -c1-14; }
tps_elapsed() { awk -v a="$1" -v b="$(tps_now)" 'BEGIN { printf "%.1f", b - a }'; }
