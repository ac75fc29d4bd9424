#!/usr/bin/env bash
# Checks that a 32-bit .exe runs on Windows XP as far as its imports go:
#   - every DLL it imports is a system DLL (no runtime DLL has to travel with it);
#   - no function is imported by ordinal, except WINSPOOL.DRV ordinal 204 (SetDefaultPrinterW);
#   - every function it imports by name exists on Windows XP. The test: a C file that takes the
#     address of each imported function, compiled against the MinGW headers with
#     _WIN32_WINNT=0x0501; the headers declare a function only for the Windows versions that
#     have it, so a newer one is an undeclared name. The C runtime's headers are not versioned
#     that way, so msvcrt.dll's later additions are named by rule: the secure functions (*_s,
#     as wcscpy_s), the locale variants (*_l) and a few more that came with Vista.
#
#   bash scripts/check-imports.sh EXE
set -euo pipefail

exe=${1:?usage: check-imports.sh EXE}
[ -f "$exe" ] || { echo "no such file: $exe" >&2; exit 2; }
objdump=i686-w64-mingw32-objdump
cc=i686-w64-mingw32-gcc

allowed_dlls=" KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL SHELL32.DLL COMCTL32.DLL WINSPOOL.DRV
  SETUPAPI.DLL WS2_32.DLL WSOCK32.DLL IPHLPAPI.DLL OLE32.DLL OLEAUT32.DLL MSVCRT.DLL COMDLG32.DLL
  VERSION.DLL SHLWAPI.DLL UXTHEME.DLL "
allowed_dlls=$(echo $allowed_dlls)

# Names the MinGW start-up code imports from msvcrt.dll that no header declares as functions
# (internals or data); XP's msvcrt.dll exports all of them.
crt_startup=" __getmainargs __wgetmainargs __set_app_type __setusermatherr __p__commode __p__fmode
  __p__acmdln __p__wcmdln __initenv __winitenv __mb_cur_max _amsg_exit _initterm __dllonexit
  _lock _unlock __iob_func _iob _commode _fmode __lconv_init _XcptFilter ___lc_codepage_func
  ___mb_cur_max_func __C_specific_handler _acmdln _wcmdln _errno "

# msvcrt.dll exports of Vista and later that neither rule above catches.
crt_after_xp=" _create_locale _free_locale _get_current_locale _configthreadlocale _get_errno
  _set_errno _get_doserrno _set_doserrno _get_invalid_parameter_handler
  _set_invalid_parameter_handler _get_printf_count_output _set_printf_count_output _get_fmode
  _set_fmode _get_pgmptr _get_wpgmptr _get_environ _get_wenviron _get_daylight _get_timezone
  _get_tzname _get_dstbias _get_heap_handle _get_terminate _get_unexpected
  _set_abort_behavior _set_purecall_handler _get_purecall_handler _vcprintf_p _vcwprintf_p "

export LC_ALL=C  # plain quotes in the compiler's messages, byte order in sort
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# DLL<TAB>ordinal-or-hint<TAB>name ("<none>" for an import by ordinal).
"$objdump" -p "$exe" | awk '
  /^The Import Tables/ { inside = 1; next }
  inside && /^[A-Z]/ { inside = 0 }
  inside && /DLL Name:/ { dll = toupper($3); next }
  inside && dll != "" && /^\t[0-9a-fA-F]+\t +[0-9]+ +[^ ]+/ {
    sub(/^\t[0-9a-fA-F]+\t +/, ""); hint = $1; name = $2; print dll "\t" hint "\t" name
  }' >"$work/imports.tsv"

if [ ! -s "$work/imports.tsv" ]; then
  echo "no import table found in $exe" >&2
  exit 1
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "Imports of $exe:"
cut -f1 "$work/imports.tsv" | sort | uniq -c | awk '{ printf "  %-14s %3d functions\n", $2, $1 }'

for dll in $(cut -f1 "$work/imports.tsv" | sort -u); do
  case " $allowed_dlls " in
    *" $dll "*) ;;
    *) fail "$dll is not a system DLL of Windows XP" ;;
  esac
done

while IFS=$'\t' read -r dll number name; do
  [ "$name" = "<none>" ] || continue
  if [ "$dll" = WINSPOOL.DRV ] && [ "$number" = 204 ]; then continue; fi
  fail "$dll is imported by ordinal $number"
done <"$work/imports.tsv"

while IFS=$'\t' read -r dll number name; do
  [ "$dll" = MSVCRT.DLL ] || continue
  case "$name" in
    *_s | *_s_l | *_l) fail "MSVCRT.DLL!$name does not exist on Windows XP" ;;
    *) case " $crt_after_xp " in
         *" $name "*) fail "MSVCRT.DLL!$name does not exist on Windows XP" ;;
       esac ;;
  esac
done <"$work/imports.tsv"

# The address of every function imported by name from a system DLL, with the headers of the
# XP-era API. (The C runtime's names pass here; the rules above judged them.)
{
  cat <<'EOF'
#define _WIN32_WINNT 0x0501
#define WINVER 0x0501
#define _WIN32_IE 0x0600
#define NTDDI_VERSION 0x05010300
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <objbase.h>
#include <oleauto.h>
#include <setupapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <uxtheme.h>
#include <winspool.h>
#include <winver.h>
#include <ctype.h>
#include <locale.h>
#include <malloc.h>
#include <math.h>
#include <process.h>
#include <setjmp.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wchar.h>
#include <wctype.h>
#include <io.h>
#include <fcntl.h>
#include <direct.h>
#include <sys/stat.h>
void* volatile imported_functions[] = {
EOF
  while IFS=$'\t' read -r dll number name; do
    [ "$name" = "<none>" ] && continue
    case " $allowed_dlls " in *" $dll "*) ;; *) continue ;; esac
    case " $crt_startup " in *" $name "*) [ "$dll" = MSVCRT.DLL ] && continue ;; esac
    echo "  (void*)&$name, /* $dll */"
  done <"$work/imports.tsv"
  echo "};"
} >"$work/xp_imports.c"

if ! "$cc" -fsyntax-only -fmax-errors=0 -w "$work/xp_imports.c" 2>"$work/cc.log"; then
  missing=$(grep -oE "'[A-Za-z0-9_@?$]+' undeclared" "$work/cc.log" | tr -d "'" | cut -d' ' -f1 |
            sort -u || true)
  if [ -z "$missing" ]; then
    cat "$work/cc.log"
    fail "the import check file did not compile"
  fi
  for name in $missing; do
    dll=$(awk -F'\t' -v n="$name" '$3 == n { print $1; exit }' "$work/imports.tsv")
    fail "$dll!$name does not exist on Windows XP"
  done
fi

total=$(wc -l <"$work/imports.tsv")
if [ "$failures" -gt 0 ]; then
  echo "$failures problem(s) among $total imports"
  exit 1
fi
echo "OK: $total imports, all from system DLLs and present on Windows XP"
