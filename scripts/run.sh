#!/usr/bin/env bash
# Sets up, builds and starts the tool under Wine.
#
#   bash scripts/run.sh [--real-network | --no-printers] [--timeout SECONDS] [--lang LOCALE]
#                       [--windows VERSION]
#
# The tool runs with simulated printers attached (scripts/run.d/10-simulated-printers.sh): USB001,
# COM3, a Bluetooth port COM5 and a network printer 192.168.1.57; what they receive is decoded
# into build/run-output/<date-time>/, named at the start and at the end. It runs in a network
# namespace of its own, because it broadcasts on the local network when it searches for LAN
# printers: the one of scripts/lan-bed.sh, where the tool is 192.168.1.20 and the network
# printers sit behind a virtual link. --no-printers: no simulated printers, and a namespace with
# only a loopback interface; --real-network: this machine and its network as they are, without
# simulated printers. With $DISPLAY set the window opens there (a display reached over TCP
# needs --real-network); without, it opens on a virtual display (Xvfb) and a screenshot is
# written after a few seconds and its path printed. The command returns when the tool's
# window closes, or after --timeout seconds (default: none on a real display, 20 on Xvfb;
# 0 = no limit). --lang sets the Unix locale Wine takes the interface language from (e.g.
# zh_CN.UTF-8, ja_JP.UTF-8; default: $LANG); --windows the Windows version the tool sees
# (winxp, win7, win10, ...; default Windows 10).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

real_network=0
printers=1
timeout=
lang=${LANG:-en_US.UTF-8}
windows=
inner=0
while [ $# -gt 0 ]; do
  case "$1" in
    --real-network) real_network=1; printers=0; shift ;;
    --no-printers) printers=0; shift ;;
    --timeout) timeout=${2:?--timeout needs seconds}; shift 2 ;;
    --lang) lang=${2:?--lang needs a locale}; shift 2 ;;
    --windows) windows=${2:?--windows needs a version}; shift 2 ;;
    --inside-bed) inner=1; shift ;;
    *) tps_die "unknown option $1 (see the top of scripts/run.sh)" ;;
  esac
done
tool_dir=$WINE_BUILD_DIR/dist
tool_exe=$TPS_TOOL_NAME.exe

# Hook for what the tool should find when it starts (the simulated printers). Every
# scripts/run.d/*.sh is sourced here, inside the bed and the namespace, with WINEPREFIX, DISPLAY
# and WINE_LOADER set; it may start background processes and end them with on_exit.
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

# on_exit CMD...: runs CMD when this script ends, however it ends (in the order given).
exit_actions=()
on_exit() { exit_actions+=("$*"); }
run_exit_actions() {
  local action
  for action in "${exit_actions[@]}"; do eval "$action" || true; done
}

if [ "$inner" = 1 ]; then
  trap run_exit_actions EXIT
  trap 'exit 130' INT TERM
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

output=
export TPS_RUN_PRINTERS=0
if [ "$printers" = 1 ]; then
  # A folder per run; the last ten stay.
  runs=$TPS_BUILD/run-output
  output=$runs/$(date +%Y%m%d-%H%M%S)
  mkdir -p "$output"
  ls -1d "$runs"/*/ | head -n -10 | xargs -r rm -rf
  export TPS_RUN_PRINTERS=1 TPS_RUN_OUTPUT=$output LAN_BED_DIR=$output/raw/lan
  echo "printer output: $output"
fi

# Wine's sockets are made by the wineserver, so the whole bed runs inside the namespace. X still
# works: Xvfb, and a local $DISPLAY, are reached through their socket files.
status=0
if [ "$real_network" = 1 ]; then
  "${inner_cmd[@]}" || status=$?
elif [ "$printers" = 1 ]; then
  bash "$TPS_ROOT/scripts/lan-bed.sh" "${inner_cmd[@]}" || status=$?
else
  userns=()
  [ "$(id -u)" = 0 ] || userns=(-r)
  unshare "${userns[@]}" -n bash -c 'ip link set lo up && exec "$@"' bash "${inner_cmd[@]}" ||
    status=$?
fi
if [ -n "$output" ]; then
  echo
  cat "$output/summary.txt" 2>/dev/null || echo "(no printer output was written)"
  echo "printer output: $output"
fi
exit "$status"
