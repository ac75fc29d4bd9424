#!/usr/bin/env bash
# Installs what the build and the Wine test bed need on Debian 12 (run as root). Idempotent:
# packages already installed and locales already generated are skipped, so a second run only
# asks dpkg.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

packages=(
  cmake g++ libgtest-dev clang
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  wine wine64 wine32
  xvfb imagemagick x11-utils fonts-wqy-microhei fonts-wine
  python3 iproute2 util-linux locales
)
# Wine takes the interface language from the Unix locale; LANG selects it only for a locale
# that is generated (LC_ALL works either way).
locales=(en_US.UTF-8 zh_CN.UTF-8 ja_JP.UTF-8 zh_TW.UTF-8)

# One dpkg query for all packages; a package dpkg does not know is missing too.
installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null |
  awk '$2 == "installed" { sub(/:.*/, "", $1); print $1 }' || true)
missing=()
for p in "${packages[@]}"; do grep -qx "$p" <<<"$installed" || missing+=("$p"); done

if [ ${#missing[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || tps_die "missing packages (${missing[*]}); run this script as root"
  # wine32 is an i386 package; it installs here even where the kernel cannot run it.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    tps_log "adding the i386 architecture"
    dpkg --add-architecture i386
  fi
  tps_log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi

have_locale() {
  local want
  want=$(echo "$1" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -qx "$want"
}
missing_locales=()
for l in "${locales[@]}"; do have_locale "$l" || missing_locales+=("$l"); done
if [ ${#missing_locales[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || tps_die "missing locales (${missing_locales[*]}); run this script as root"
  for l in "${missing_locales[@]}"; do
    line="$l UTF-8"
    if grep -q "^# *$line" /etc/locale.gen 2>/dev/null; then
      sed -i "s/^# *$line/$line/" /etc/locale.gen
    elif ! grep -qx "$line" /etc/locale.gen 2>/dev/null; then
      echo "$line" >>/etc/locale.gen
    fi
  done
  tps_log "generating locales: ${missing_locales[*]}"
  locale-gen >/dev/null
fi

tps_log "everything is installed"
