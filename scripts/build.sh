#!/usr/bin/env bash
# Builds what the tests and the run command need; parts can be named:
#
#   bash scripts/build.sh [native] [product] [wine]     (default: all three)
#
#   native   build/native: the portable core and its tests, Debug, AddressSanitizer + UBSan
#   product  build/win32:  the 32-bit tool as shipped (build/win32/dist), Release, import check
#   wine     the build whose programs Wine runs here: build/win32 itself where this machine
#            executes 32-bit code, else build/win64 (x86_64, the same sources) for wine64
#   tool     only the tool (and its dist/ folder) of the wine build, and the helper with which
#            the run command attaches its simulated USB printer
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(native product wine)

# configure_and_build DIR [--target T]... CMAKE-ARGS...
configure_and_build() {
  local dir=$1 target=()
  shift
  while [ "${1:-}" = --target ]; do target+=(--target "$2"); shift 2; done
  local t
  t=$(tps_now)
  cmake -S "$TPS_ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; tps_die "configuring $dir failed"; }
  cmake --build "$dir" -j"$TPS_JOBS" "${target[@]}" || tps_die "building $dir failed"
  tps_log "$dir built in $(tps_elapsed "$t") s"
}
wine_build_args=(-DCMAKE_TOOLCHAIN_FILE="$WINE_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release
                 -DBUILD_WINE_TESTS=ON)

mkdir -p "$TPS_BUILD"
for part in "${parts[@]}"; do
  case "$part" in
    native)
      configure_and_build "$TPS_NATIVE_DIR" -DCMAKE_BUILD_TYPE=Debug
      ;;
    product)
      # The Windows test programs are built here only when Wine runs this build.
      wine_tests=OFF
      [ "$WINE_BUILD_DIR" = "$TPS_PRODUCT_DIR" ] && wine_tests=ON
      configure_and_build "$TPS_PRODUCT_DIR" -DCMAKE_TOOLCHAIN_FILE="$TPS_ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_WINE_TESTS=$wine_tests
      ;;
    wine)
      # Where the product build is the Wine build, the product part has built it already.
      [ "$WINE_BUILD_DIR" = "$TPS_PRODUCT_DIR" ] && [[ " ${parts[*]} " == *" product "* ]] ||
        configure_and_build "$WINE_BUILD_DIR" "${wine_build_args[@]}"
      ;;
    tool)
      configure_and_build "$WINE_BUILD_DIR" --target "$TPS_TOOL_NAME" \
        --target register_usb_printer "${wine_build_args[@]}"
      ;;
    *) tps_die "unknown part '$part' (native, product, wine, tool)" ;;
  esac
done
