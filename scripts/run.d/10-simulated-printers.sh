# Simulated printers for the run command; sourced by scripts/run.sh inside the Wine bed, before
# the tool starts (with run.sh's $lang and $timeout), when TPS_RUN_PRINTERS is 1 (run.sh sets it
# unless --real-network or --no-printers). The tool then finds:
#
#   USB     USB001: a USB printer (VID_0483&PID_5720), its interface registered in the prefix
#           (tests/support/tools/register_usb_printer_win.cpp), a pty behind its device path
#   COM     COM3: a serial printer, a pty behind $WINEPREFIX/dosdevices/com3, in the serial-port
#           map instead of the host's own serial ports
#   BLE     COM5: a Bluetooth serial printer "BT Printer", a pty behind com5, in the Bluetooth
#           enumeration branch that the tool's Bluetooth listing reads
#   LAN     192.168.1.57: a network printer of scripts/lan-bed.sh (the tool's side is
#           192.168.1.20) that answers the LAN search and pings and takes print jobs on TCP 9100
#
# The ptys are tests/support/sim_printer.py. What each printer receives is decoded into
# $TPS_RUN_OUTPUT every second while the tool runs (scripts/run.d/printer_output.py), and once
# more when run.sh ends, which also ends the printers.

[ "${TPS_RUN_PRINTERS:-0}" = 1 ] || return 0

sim_out=$TPS_RUN_OUTPUT
sim_raw=$sim_out/raw
sim_pids=()
mkdir -p "$sim_raw"
: >"$sim_raw/printers.tsv"
# Bounded even if run.sh is killed and cannot end them.
sim_seconds=$(( ${timeout:-0} > 0 ? timeout + 120 : 86400 ))

# The decoder of captured streams, a small native program built once per change of its sources.
sim_decoder=$TPS_BUILD/run-tools/decode_capture
sim_decoder_sources=("$TPS_ROOT"/tests/support/{tools/decode_capture.cpp,escpos_decode.cpp,png.cpp})
for sim_source in "${sim_decoder_sources[@]}" "$TPS_ROOT"/tests/support/{escpos_decode,png}.h; do
  [ "$sim_decoder" -nt "$sim_source" ] || { rm -f "$sim_decoder"; break; }
done
if [ ! -x "$sim_decoder" ]; then
  mkdir -p "$(dirname "$sim_decoder")"
  g++ -std=c++17 -O1 -I "$TPS_ROOT/tests" "${sim_decoder_sources[@]}" -o "$sim_decoder" ||
    tps_log "warning: the capture decoder did not build; only raw captures will be written"
fi

# sim_pty NAME LINK TITLE: a printer behind the pty linked at LINK, listed in the output as NAME.
sim_pty() {
  local log=$sim_raw/$1.log
  python3 "$TPS_ROOT/tests/support/sim_printer.py" --seconds "$sim_seconds" pty "$2" "$log" \
    </dev/null >>"$sim_raw/sim_printer.out" 2>&1 &
  sim_pids+=($!)
  local _
  for _ in $(seq 100); do
    grep -q '^ready' "$log" 2>/dev/null && break
    sleep 0.1
  done
  grep -q '^ready' "$log" 2>/dev/null || tps_log "warning: the simulated printer $1 did not start"
  printf '%s\t%s\t%s\n' "$1" "$3" "$log" >>"$sim_raw/printers.tsv"
}

# A Wine program of the set-up, its output appended to raw/wine-setup.out.
sim_wine() { timeout 60 "$WINE_LOADER" "$@" </dev/null >>"$sim_raw/wine-setup.out" 2>&1; }

# The host's serial ports leave the prefix (map values and dosdevices links), so that the COM
# listing shows the simulated printers only and nothing is written to a real line.
sim_wine reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /va /f || true
for sim_link in "$WINEPREFIX"/dosdevices/com*; do
  [ -L "$sim_link" ] && rm -f "$sim_link"
done

sim_usb_vid_pid='VID_0483&PID_5720'
timeout 60 "$WINE_LOADER" "$WINE_BUILD_DIR/tests/register_usb_printer.exe" "$sim_usb_vid_pid" 1 \
  </dev/null >"$sim_raw/usb001.path" 2>>"$sim_raw/wine-setup.out" || true
sim_usb_path=$(tr -d '\r' <"$sim_raw/usb001.path")
if [[ "$sim_usb_path" == '\\?\'* ]]; then
  # Opening the device path opens the dosdevices entry of its rest in lower case.
  sim_usb_link=${sim_usb_path:4}
  sim_pty usb001 "$WINEPREFIX/dosdevices/${sim_usb_link,,}" \
    "USB001, USB printer $sim_usb_vid_pid"
else
  tps_log "warning: no simulated USB printer (see $sim_raw/wine-setup.out)"
fi
sim_pty com3 "$WINEPREFIX/dosdevices/com3" "COM3, serial printer"
sim_pty bluetooth-com5 "$WINEPREFIX/dosdevices/com5" "COM5, Bluetooth serial printer BT Printer"

# COM3 in the serial-port map; COM5 as Windows lists a Bluetooth port there too (not a "Serial"
# device, so the COM listing leaves it out); the Bluetooth service with its port and the remote
# device with its name.
sim_bth='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\BTHENUM'
cat >"$WINEPREFIX/drive_c/run-printers.reg" <<EOF
REGEDIT4

[HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM]
"\\\\Device\\\\Serial2"="COM3"
"\\\\Device\\\\BthModem0"="COM5"

[$sim_bth\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&000F\\7&1A2B3C&0&001583A1B2C3_C00000000\\Device Parameters]
"PortName"="COM5"

[$sim_bth\\Dev_001583A1B2C3\\7&2B3C4D&0&BluetoothDevice_001583A1B2C3]
"FriendlyName"="BT Printer"
EOF
sim_wine regedit /S 'C:\run-printers.reg' ||
  tps_log "warning: the serial and Bluetooth ports were not registered"

# The network printer that answers the search; the bed's other printers only answer pings.
if [ -n "${LAN_BED_DIR:-}" ] && [ -d "$LAN_BED_DIR/control" ]; then
  printf 'find 192.168.1.57 on\n' >"$LAN_BED_DIR/control/run-find.cmd"
  for _ in $(seq 50); do [ -e "$LAN_BED_DIR/control/run-find.done" ] && break; sleep 0.1; done
  grep -qx ok "$LAN_BED_DIR/control/run-find.done" 2>/dev/null ||
    tps_log "warning: the network printer does not answer the search"
else
  tps_log "warning: not in the LAN bed; no simulated network printer"
fi

case "${lang:-}" in
  zh_CN* | zh_SG*) sim_codepage=gbk ;;
  zh_TW* | zh_HK*) sim_codepage=big5 ;;
  ja_JP*) sim_codepage=cp932 ;;
  *) sim_codepage=cp1252 ;;
esac
sim_output=(python3 "$TPS_ROOT/scripts/run.d/printer_output.py" "$sim_out" --decoder "$sim_decoder"
            --codepage "$sim_codepage")
"${sim_output[@]}" --watch $$ --seconds "$sim_seconds" \
  </dev/null >>"$sim_raw/printer_output.out" 2>&1 &
sim_watcher=$!

sim_printers_end() {
  kill "$sim_watcher" 2>/dev/null || true
  wait "$sim_watcher" 2>/dev/null || true
  "${sim_output[@]}" </dev/null >>"$sim_raw/printer_output.out" 2>&1 || true
  local pid
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${sim_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
on_exit sim_printers_end
tps_log "simulated printers: USB001, COM3, Bluetooth COM5, network 192.168.1.57; output: $sim_out"
