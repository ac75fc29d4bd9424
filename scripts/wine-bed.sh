#!/usr/bin/env bash
# The Wine test bed: runs CMD... inside a fresh Wine prefix with a display, then removes it all.
#
#   bash scripts/wine-bed.sh [--host-display] [--keep] CMD...
#
# Per run: a new WINEPREFIX under build/wine-prefix/ (no Mono or Gecko prompts), fonts that render
# Chinese and Japanese in the dialog font, captions drawn by Wine itself (no window manager is
# needed), Windows 10 as the prefix's version, Xvfb on a free display (or the caller's $DISPLAY
# with --host-display), and a persistent wineserver that CMD's Wine programs share. CMD runs with
# WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES, DISPLAY and WINE_LOADER exported. The
# exit status is CMD's. --keep leaves the prefix in place for a look afterwards.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

host_display=0
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --host-display) host_display=1; shift ;;
    --keep) keep=1; shift ;;
    --) shift; break ;;
    -*) tps_die "unknown option $1" ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || tps_die "usage: wine-bed.sh [--host-display] [--keep] CMD..."
[ -x "$WINE_LOADER" ] || tps_die "no Wine loader at $WINE_LOADER (run scripts/setup.sh)"

started=$(tps_now)
prefix_root=$TPS_BUILD/wine-prefix
mkdir -p "$prefix_root"

# Prefixes of earlier runs whose bed is gone (a run that was killed) are removed; a prefix is
# large (about 700 MB for win64).
for old in "$prefix_root"/run-*; do
  [ -d "$old" ] || continue
  owner=$(cat "$old.owner" 2>/dev/null || echo 0)
  if ! kill -0 "$owner" 2>/dev/null; then rm -rf "$old" "$old.owner"; fi
done

export WINEPREFIX=$prefix_root/run-$(date +%Y%m%d-%H%M%S)-$$
export WINEARCH=$WINE_ARCH
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINE_LOADER
echo $$ >"$WINEPREFIX.owner"
mkdir -p "$WINEPREFIX"

xvfb_pid=
teardown() {
  local rc=$?
  trap - EXIT INT TERM
  # wineserver -k ends every Wine process of the prefix; bounded so that a stuck server cannot
  # hold the caller.
  timeout 15 "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 10 "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$xvfb_pid" 2>/dev/null || true
  fi
  if [ "$keep" = 1 ]; then
    tps_log "prefix kept: $WINEPREFIX"
  else
    rm -rf "$WINEPREFIX"
  fi
  rm -f "$WINEPREFIX.owner"
  exit "$rc"
}
trap teardown EXIT
trap 'exit 130' INT TERM

# Display: Xvfb chooses a free display number itself and reports it once it accepts clients.
if [ "$host_display" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  tps_log "using display $DISPLAY"
else
  fifo=$WINEPREFIX.displayfd
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  display_number=$(timeout 15 head -n1 "$fifo" || true)
  rm -f "$fifo"
  [ -n "$display_number" ] || tps_die "Xvfb did not start"
  export DISPLAY=:$display_number
fi

# Wine programs that inherit a pipe keep it open for as long as they run; every set-up step
# therefore runs with all three streams on /dev/null.
quiet() { timeout "$1" "${@:2}" </dev/null >/dev/null 2>&1; }

# A pristine prefix is made once per Wine version and bed settings (wineboot costs 10 to 25 s
# on a busy machine) and copied for each run, so that every run starts from the same clean state.
template_key=$( { "$WINE_LOADER" --version; echo "$WINEARCH"; sed -n '/^make_template()/,/^}/p' "$0"; } |
  sha1sum | cut -c1-12)
template=$prefix_root/template-$WINEARCH-$template_key

make_template() {
  local dir=$1
  WINEPREFIX=$dir
  trap 'timeout 15 "$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
  mkdir -p "$dir"
  "$WINESERVER" -p
  quiet 180 "$WINE_LOADER" wineboot -i || tps_die "wineboot failed in $dir"

  # Wine's own fonts (Tahoma, MS Sans Serif, Marlett for the caption buttons) are not loaded
  # from /usr/share/wine/fonts by Debian's Wine; linked into the prefix they are.
  local fonts_dir=$dir/drive_c/windows/Fonts f
  mkdir -p "$fonts_dir"
  for f in /usr/share/wine/fonts/*.ttf /usr/share/fonts/truetype/wqy/wqy-microhei.ttc; do
    [ -e "$f" ] && ln -sf "$f" "$fonts_dir/"
  done

  # Registry settings in one import. FontLink gives the dialog fonts a CJK fallback;
  # Replacements map the usual Chinese and Japanese font names to the installed CJK font.
  python3 - "$dir/drive_c/bed-settings.reg" <<'PY'
import sys

cjk = "WenQuanYi Micro Hei"
link = ["wqy-microhei.ttc," + cjk]

def multi_sz(items):
    data = ("\0".join(items) + "\0\0").encode("utf-16-le")
    return "hex(7):" + ",".join("%02x" % b for b in data)

def sz(s):
    return '"%s"' % s.replace("\\", "\\\\").replace('"', '\\"')

keys = {
    r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink": {
        name: multi_sz(link)
        for name in ["Tahoma", "Tahoma Bold", "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif",
                     "Microsoft Sans Serif", "Segoe UI", "Arial", "Arial Bold", "Courier New"]
    },
    r"HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements": {
        name: sz(cjk)
        for name in ["SimSun", "NSimSun", "SimHei", "Microsoft YaHei", "MS UI Gothic", "MS Gothic",
                     "MS PGothic", "MS Mincho", "MS PMincho", "Meiryo", "Meiryo UI", "PMingLiU",
                     "MingLiU", "Microsoft JhengHei"]
    },
    # Without a window manager: Wine draws the captions itself, and windows are unmanaged
    # (else every window that closes waits 2 s for a window manager's answer).
    r"HKEY_CURRENT_USER\Software\Wine\X11 Driver": {"Decorated": sz("N"), "Managed": sz("N")},
    # A crashing program ends instead of waiting behind winedbg's dialog.
    r"HKEY_CURRENT_USER\Software\Wine\WineDbg": {"ShowCrashDialog": "dword:00000000"},
    # Windows 10 as the prefix's version (what `winecfg -v win10` writes); tests choose others.
    r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion": {
        "CurrentVersion": sz("10.0"), "CurrentMajorVersionNumber": "dword:0000000a",
        "CurrentMinorVersionNumber": "dword:00000000", "CurrentBuild": sz("18362"),
        "CurrentBuildNumber": sz("18362"), "CSDVersion": sz(""),
        "ProductName": sz("Microsoft Windows 10"),
    },
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Windows": {"CSDVersion": "dword:00000000"},
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions": {"ProductType": sz("WinNT")},
}
# Version 5 files are UTF-16 with a byte-order mark; hex(7) data is then UTF-16 too.
lines = ["Windows Registry Editor Version 5.00", ""]
for key, values in keys.items():
    lines += ["[%s]" % key] + ['"%s"=%s' % (n, v) for n, v in values.items()] + [""]
with open(sys.argv[1], "wb") as out:
    out.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
PY
  quiet 60 "$WINE_LOADER" regedit /S 'C:\bed-settings.reg' || tps_die "registry import failed"
  rm -f "$dir/drive_c/bed-settings.reg"
  # The server writes the registry files when it ends.
  timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
}

if [ ! -d "$template" ]; then
  t=$(tps_now)
  # Templates of other Wine versions or settings go; so do half-made ones whose bed is gone.
  for old in "$prefix_root"/template-*; do
    [ -d "$old" ] && [ "$old" != "$template" ] || continue
    case "$old" in
      *.tmp-*) kill -0 "${old##*.tmp-}" 2>/dev/null || rm -rf "$old" ;;
      *) rm -rf "$old" ;;
    esac
  done
  building=$template.tmp-$$
  rm -rf "$building"
  ( make_template "$building" ) || { rm -rf "$building"; tps_die "no template prefix"; }
  # Two beds may build it at once; the first to finish wins.
  mv -T "$building" "$template" 2>/dev/null || rm -rf "$building"
  tps_log "template prefix made in $(tps_elapsed "$t") s: $template"
fi

cp -a "$template/." "$WINEPREFIX/"
"$WINESERVER" -p
quiet 30 "$WINE_LOADER" cmd /c exit || tps_die "Wine does not start programs in $WINEPREFIX"
if [ -z "$xvfb_pid" ]; then
  # The caller's display has a window manager: let it manage the windows.
  quiet 30 "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f
fi

tps_log "bed ready in $(tps_elapsed "$started") s: $WINEPREFIX on $DISPLAY"
set +e
"$@"
rc=$?
set -e
exit "$rc"
