#!/usr/bin/env python3
"""Writes what the run command's simulated printers received, decoded, into the run's folder.

  printer_output.py OUT --decoder PROGRAM [--codepage CODEC] [--watch PID] [--seconds S]

Reads OUT/raw/printers.tsv (one printer a line: file name, title, log of
tests/support/sim_printer.py) and the records of the network printers of scripts/lan-bed.sh in
OUT/raw/lan/records/ (tcp-ADDRESS.bin, events.log). Writes, for every printer, OUT/NAME.txt
(what it received, as the decoder tests/support/tools/decode_capture.cpp reads it: text runs,
ESC/POS and TSPL commands, raster images), its raster images as OUT/images/NAME-N.png and its
bytes as OUT/raw/NAME.bin; OUT/lan-search.txt (the LAN search as the network printers saw it)
and OUT/summary.txt (one line per file).

Once, or with --watch every second for as long as process PID lives (at most --seconds).
Text the tool sent in the system's ANSI code page is shown through CODEC (default cp1252).
"""

import argparse
import collections
import glob
import os
import subprocess
import sys
import time

POLL_SECONDS = 1.0


class Printer:
    """One capture: where its bytes come from and what the last decode saw."""

    def __init__(self, name, title, read):
        self.name = name
        self.title = title
        self.read = read  # -> (bytes, facts shown under the title)
        self.decoded = None  # (size, facts) of the last decode
        self.images = 0


def pty_capture(log_path):
    """Bytes and open count from a sim_printer.py log ("open", "close", "baud N", "data HEX")."""

    def read():
        data, opens, baud = bytearray(), 0, 0
        try:
            with open(log_path) as f:
                lines = f.read().splitlines()
        except OSError:
            lines = []
        for line in lines:
            if line == "open":
                opens += 1
            elif line.startswith("baud "):
                baud = int(line[5:])
            elif line.startswith("data "):
                data += bytes.fromhex(line[5:])
        facts = "%d opens" % opens + (", last line speed %d baud" % baud if baud else "")
        return bytes(data), facts

    return read


class LanEvents:
    """The network printers' events.log ("TIME WORD REST" lines), read on where the last read
    ended: the search sends its requests as fast as the printers answer, so the log grows by
    hundreds of lines a second."""

    NOTED = ("save", "connect", "close", "datagram")

    def __init__(self, records):
        self.path = os.path.join(records, "events.log")
        self.offset = 0
        self.finds = 0
        self.first_find = self.last_find = None
        self.replies = collections.Counter()
        self.connections = collections.Counter()
        self.noted = []  # (time, word, rest) of the events listed one by one

    def update(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                chunk = f.read()
        except OSError:
            return
        complete = chunk[: chunk.rfind(b"\n") + 1]  # a line being written waits
        self.offset += len(complete)
        for line in complete.decode("utf-8", "replace").splitlines():
            parts = line.split(" ", 2)
            if len(parts) < 3:
                continue
            try:
                stamp, word, rest = float(parts[0]), parts[1], parts[2]
            except ValueError:
                continue
            if word == "find":
                self.finds += 1
                self.first_find = self.first_find or (stamp, rest)
                self.last_find = (stamp, rest)
            elif word == "reply":
                self.replies[rest.split()[0]] += 1
            if word == "connect":
                self.connections[rest.split()[0]] += 1
            if word in self.NOTED:
                self.noted.append((stamp, word, rest))


def lan_capture(records, events, address):
    def read():
        try:
            with open(os.path.join(records, "tcp-%s.bin" % address), "rb") as f:
                data = f.read()
        except OSError:
            data = b""
        return data, "%d connections to port 9100" % events.connections[address]

    return read


def clock(stamp):
    return time.strftime("%H:%M:%S", time.localtime(stamp))


class Output:
    def __init__(self, args):
        self.out = args.out
        self.raw = os.path.join(self.out, "raw")
        self.records = os.path.join(self.raw, "lan", "records")
        self.decoder = args.decoder
        self.codepage = args.codepage
        self.printers = collections.OrderedDict()
        self.lan = LanEvents(self.records)
        os.makedirs(os.path.join(self.out, "images"), exist_ok=True)

    def find_printers(self):
        try:
            with open(os.path.join(self.raw, "printers.tsv")) as f:
                rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
        except OSError:
            rows = []
        for name, title, log in (row for row in rows if len(row) == 3):
            if name not in self.printers:
                self.printers[name] = Printer(name, title, pty_capture(log))
        # Network printers: the one the search finds, and any other address the user typed.
        addresses = ["192.168.1.57"] + sorted(
            os.path.basename(p)[4:-4] for p in glob.glob(os.path.join(self.records, "tcp-*.bin")))
        for address in addresses:
            name = "lan-" + address
            if name not in self.printers:
                self.printers[name] = Printer(
                    name, "%s, network printer (raw port 9100)" % address,
                    lan_capture(self.records, self.lan, address))

    def write(self, name, text):
        path = os.path.join(self.out, name)
        with open(path + ".tmp", "w", encoding="utf-8") as f:
            f.write(text)
        os.replace(path + ".tmp", path)

    def decode(self, printer, data):
        with open(os.path.join(self.raw, printer.name + ".bin"), "wb") as f:
            f.write(data)
        if not data:
            return "nothing received yet\n"
        try:
            done = subprocess.run(
                [self.decoder, os.path.join("raw", printer.name + ".bin"),
                 os.path.join("images", printer.name)],
                cwd=self.out, capture_output=True, timeout=60)
        except (OSError, subprocess.TimeoutExpired) as e:
            return "could not decode (%s); the bytes are in raw/%s.bin\n" % (e, printer.name)
        printer.images = done.stdout.count(b".png")
        text = done.stdout.decode(self.codepage, "replace")
        if done.returncode != 0:
            text += "decoder failed: %s\n" % done.stderr.decode("utf-8", "replace")
        return text

    def update_printer(self, printer):
        data, facts = printer.read()
        if printer.decoded == (len(data), facts):
            return
        printer.decoded = (len(data), facts)
        account = self.decode(printer, data)
        self.write(printer.name + ".txt", "%s\n%s, %d bytes received\n\n%s" % (
            printer.title, facts, len(data), account))

    def update_search(self):
        lan = self.lan
        lines = ["The LAN search as the simulated network printers saw it", ""]
        if lan.finds:
            lines.append("FIND requests: %d, from %s, %s to %s" % (
                lan.finds, lan.first_find[1], clock(lan.first_find[0]), clock(lan.last_find[0])))
        else:
            lines.append("FIND requests: none yet (choose LAN in the tool)")
        for address, count in sorted(lan.replies.items()):
            lines.append("replies of %s: %d" % (address, count))
        lines += ["%s %s %s" % (clock(stamp), word, rest) for stamp, word, rest in lan.noted]
        self.write("lan-search.txt", "\n".join(lines) + "\n")

    def update_summary(self):
        lines = ["What the simulated printers of this run received (decoded in each file):", ""]
        for printer in self.printers.values():
            size = printer.decoded[0] if printer.decoded else 0
            images = ", %d image%s in images/" % (printer.images, "s" * (printer.images > 1))
            images = images if printer.images else ""
            lines.append("  %-22s %s: %d bytes%s" % (printer.name + ".txt", printer.title, size,
                                                     images))
        if os.path.isdir(self.records):
            lines.append("  %-22s the LAN search: requests, replies, connections" %
                         "lan-search.txt")
        self.write("summary.txt", "\n".join(lines) + "\n")

    def update(self):
        self.lan.update()
        self.find_printers()
        for printer in self.printers.values():
            self.update_printer(printer)
        if os.path.isdir(self.records):
            self.update_search()
        self.update_summary()


def alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except PermissionError:
        return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--decoder", required=True)
    parser.add_argument("--codepage", default="cp1252")
    parser.add_argument("--watch", type=int, metavar="PID")
    parser.add_argument("--seconds", type=float, default=86400)
    args = parser.parse_args()
    output = Output(args)
    output.update()
    if args.watch:
        end = time.monotonic() + args.seconds
        while alive(args.watch) and time.monotonic() < end:
            time.sleep(POLL_SECONDS)
            output.update()


if __name__ == "__main__":
    sys.exit(main())
