#!/usr/bin/env bash
# Sets up, builds and starts the tool under Wine.
#
#   bash scripts/run.sh [--real-network] [--timeout SECONDS] [--lang LOCALE] [--windows VERSION]
#
# The tool runs in a network namespace of its own with only a loopback interface, because it
# broadcasts on the local network when it searches for LAN printers; --real-network runs it on
# this machine's network instead. With $DISPLAY set the window opens there (a display reached
# over TCP needs --real-network); without, it opens on a virtual display (Xvfb) and a screenshot
# is written after a few seconds and its path printed. The command returns when the tool's
# window closes, or after --timeout seconds (default: none on a real display, 20 on Xvfb;
# 0 = no limit). --lang sets the Unix locale Wine takes the interface language from (e.g.
# zh_CN.UTF-8, ja_JP.UTF-8; default: $LANG); --windows the Windows version the tool sees
# (winxp, win7, win10, ...; default Windows 10).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

real_network=0
timeout=
lang=${LANG:-en_US.UTF-8}
windows=
inner=0
while [ $# -gt 0 ]; do
  case "$1" in
    --real-network) real_network=1; shift ;;
    --timeout) timeout=${2:?--timeout needs seconds}; shift 2 ;;
    --lang) lang=${2:?--lang needs a locale}; shift 2 ;;
    --windows) windows=${2:?--windows needs a version}; shift 2 ;;
    --inside-bed) inner=1; shift ;;
    *) tps_die "unknown option $1 (see the top of scripts/run.sh)" ;;
  esac
done
tool_dir=$WINE_BUILD_DIR/dist
tool_exe=$TPS_TOOL_NAME.exe

# Hook for what the tool should find when it starts (a later addition: simulated printers).
# Every scripts/run.d/*.sh is sourced here, inside the bed and the namespace, with WINEPREFIX,
# DISPLAY and WINE_LOADER set; it may start background processes, which the bed's teardown or
# the script's own EXIT handling ends.
before_tool_starts() {
  local hook
  for hook in "$TPS_ROOT"/scripts/run.d/*.sh; do
    [ -e "$hook" ] || continue
    tps_log "hook $hook"
    source "$hook"
  done
}

# Prints "WIDTHxHEIGHT+X+Y" of the tool's top-level X window once it is mapped.
tool_window_geometry() {
  xwininfo -root -tree 2>/dev/null | awk -v name="\"${tool_exe,,}\"" '
    index(tolower($0), name) && !/has no name/ && / [0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ / {
      for (i = 1; i <= NF; i++)
        if ($i ~ /^[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+$/) { split($i, g, "x"); if (g[1] > 50) { print $i; exit } }
    }'
}

if [ "$inner" = 1 ]; then
  on_xvfb=${TPS_RUN_ON_XVFB:-0}
  [ -n "$timeout" ] || { [ "$on_xvfb" = 1 ] && timeout=20 || timeout=0; }
  reg() { "$WINE_LOADER" reg add "$@" /f </dev/null >/dev/null 2>&1 || tps_die "reg add $* failed"; }
  case "$windows" in
    "") ;;
    # Wine 8 has no Windows 11: the prefix's Windows 10 with build 22000.
    win11) for value in CurrentBuildNumber CurrentBuild; do
             reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v $value /d 22000
           done ;;
    *) reg "HKCU\\Software\\Wine\\AppDefaults\\$tool_exe" /v Version /d "$windows" ;;
  esac
  before_tool_starts
  tps_log "network interfaces: $(ip -br addr 2>/dev/null | awk '{ printf "%s%s", sep, $1; sep = ", " }')"

  log=$TPS_BUILD/run-tool.log
  tps_log "starting $tool_dir/$tool_exe (LANG=$lang${windows:+, $windows}); Wine's output: $log"
  (cd "$tool_dir" && LANG=$lang LC_ALL=$lang exec "$WINE_LOADER" "$tool_exe") </dev/null >"$log" 2>&1 &
  tool_pid=$!

  geometry=
  for _ in $(seq 300); do
    geometry=$(tool_window_geometry)
    [ -n "$geometry" ] || ! kill -0 "$tool_pid" 2>/dev/null || { sleep 0.1; continue; }
    break
  done
  [ -n "$geometry" ] || tps_die "the tool's window did not appear (see $log)"
  tps_log "window shown ($geometry)"

  if [ "$on_xvfb" = 1 ]; then
    sleep 3
    shot=$TPS_BUILD/screenshots/run.png
    mkdir -p "$(dirname "$shot")"
    geometry=$(tool_window_geometry)
    import -window root -crop "${geometry:-1024x768+0+0}" +repage "$shot"
    echo "screenshot: $shot"
  fi

  waited=0
  while kill -0 "$tool_pid" 2>/dev/null; do
    if [ "$timeout" != 0 ] && [ "$waited" -ge "$((timeout * 10))" ]; then
      tps_log "time-out after $timeout s; ending the tool"
      break
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  kill -0 "$tool_pid" 2>/dev/null || tps_log "the tool has ended"
  exit 0
fi

bash "$TPS_ROOT/scripts/setup.sh"
bash "$TPS_ROOT/scripts/build.sh" tool
[ -f "$tool_dir/$tool_exe" ] || tps_die "no $tool_dir/$tool_exe after the build"

bed_args=()
if [ -n "${DISPLAY:-}" ]; then
  bed_args+=(--host-display)
  export TPS_RUN_ON_XVFB=0
else
  export TPS_RUN_ON_XVFB=1
fi
args=(--inside-bed --lang "$lang")
[ -z "$timeout" ] || args+=(--timeout "$timeout")
[ -z "$windows" ] || args+=(--windows "$windows")
inner_cmd=(bash "$TPS_ROOT/scripts/wine-bed.sh" "${bed_args[@]}" bash "$TPS_ROOT/scripts/run.sh" "${args[@]}")

if [ "$real_network" = 1 ]; then
  "${inner_cmd[@]}"
else
  # Wine's sockets are made by the wineserver, so the whole bed runs inside the namespace. X
  # still works: Xvfb, and a local $DISPLAY, are reached through their socket files.
  userns=()
  [ "$(id -u)" = 0 ] || userns=(-r)
  unshare "${userns[@]}" -n bash -c 'ip link set lo up && exec "$@"' bash "${inner_cmd[@]}"
fi
