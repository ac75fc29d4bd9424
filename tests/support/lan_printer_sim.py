#!/usr/bin/env python3
"""Simulated network printers for the LAN discovery bed.

Runs inside the printers' own network namespace (scripts/lan_bed.py makes it and hands it the
interface). Every printer is one IPv4 address on that interface:

- it answers the FIND request ("QV0001FIND" and a zero, broadcast to UDP 1460) with a 64-byte
  reply from its address and port 1460, when its FIND answers are switched on;
- the kernel answers its ICMP echo requests while it is powered (its address is present);
- it accepts TCP connections on port 9100 and records what they carry;
- every SAVE command that reaches port 1460 is recorded and decoded.

Reply of our printers (the tool reads byte 0 and copies bytes 11 to 63 into its SAVE command):

  0   11  "QV0001INFO" and a zero byte (the text part)
  11  4   IPv4 address            15  2   reserved (0)
  17  2   option word, LE (24)    19  4   network mask
  23  4   gateway                 27  4   reserved (0)
  31  2   raw printing port, LE (9101)
  33  1   DHCP flag (0)           34  30  name "PRN-<address>", zero padded

The SAVE command carries the same block one byte forward, so the sim decodes it at offset 10.

Control: files DIR/control/NAME.cmd, taken in name order, each one command line; the result is
written to DIR/control/NAME.done ("ok" or "error: ..."). Commands:
  reset                      all printers powered, FIND answers off, full replies, records cleared
  find ADDRESS|all on|off    answer FIND requests or not
  power ADDRESS|all on|off   address present (pings and FIND answered) or removed
  size ADDRESS N             send only the first N bytes of the reply (N < 64 for a short reply)
  quit
Records in DIR/records/: events.log (one line per event), saves.log ("SOURCE HEX" per SAVE),
reply-ADDRESS.hex (the last reply sent), tcp-ADDRESS.bin (bytes received on port 9100). DIR/ready appears once the printers listen.

Bounded: ends after --max-seconds, when its parent ends, or on "quit".
"""

import argparse
import ipaddress
import os
import selectors
import socket
import subprocess
import sys
import time

PRINTER_PORT = 1460
RAW_PORT = 9100
FIND = b"QV0001FIND\x00"


def reply_bytes(address):
    block = bytearray(53)
    block[0:4] = ipaddress.IPv4Address(address).packed
    block[6:8] = (24).to_bytes(2, "little")
    block[8:12] = bytes([255, 255, 255, 0])
    block[12:16] = ipaddress.IPv4Address(address).packed[:3] + b"\x01"
    block[20:22] = (9101).to_bytes(2, "little")
    block[22] = 0
    name = ("PRN-" + address).encode("ascii")[:30]
    block[23 : 23 + len(name)] = name
    return b"QV0001INFO\x00" + bytes(block)


def decode_save(data):
    block = data[10:63]
    if len(block) < 53:
        return "short"
    name = block[23:53].split(b"\x00", 1)[0].decode("ascii", "replace")
    return "option=%d port=%d dhcp=%d name=%s" % (
        int.from_bytes(block[6:8], "little"),
        int.from_bytes(block[20:22], "little"),
        block[22],
        name,
    )


class Printer:
    def __init__(self, address, prefix):
        self.address = address
        self.prefix = prefix
        self.powered = False
        self.answers_find = False
        self.size = 64
        self.sock = None


class Sim:
    def __init__(self, args):
        self.dir = args.dir
        self.iface = args.iface
        self.records = os.path.join(self.dir, "records")
        self.control = os.path.join(self.dir, "control")
        os.makedirs(self.records, exist_ok=True)
        os.makedirs(self.control, exist_ok=True)
        self.printers = {}
        for spec in args.printer:
            address, _, prefix = spec.partition("/")
            self.printers[address] = Printer(address, int(prefix or 24))
        self.selector = selectors.DefaultSelector()
        self.deadline = time.monotonic() + args.max_seconds
        self.parent = os.getppid()
        self.running = True

    # --- network set-up -------------------------------------------------------------------
    def ip(self, *words, check=True):
        return subprocess.run(("ip",) + words, check=check, capture_output=True, timeout=10)

    def setup(self):
        end = time.monotonic() + 15
        while self.ip("link", "show", self.iface, check=False).returncode != 0:
            if time.monotonic() > end:
                sys.exit("lan_printer_sim: interface %s never arrived" % self.iface)
            time.sleep(0.05)
        self.ip("link", "set", "lo", "up")
        self.ip("link", "set", self.iface, "up")
        for printer in self.printers.values():
            self.power(printer, True)
        self.ip("route", "add", "default", "dev", self.iface)

        self.listener = self.udp_socket("0.0.0.0")
        self.selector.register(self.listener, selectors.EVENT_READ, self.on_datagram)
        self.tcp = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.tcp.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.tcp.bind(("0.0.0.0", RAW_PORT))
        self.tcp.listen(16)
        self.tcp.setblocking(False)
        self.selector.register(self.tcp, selectors.EVENT_READ, self.on_accept)
        with open(os.path.join(self.dir, "ready"), "w") as f:
            f.write("%d\n" % os.getpid())

    def udp_socket(self, address):
        s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
        s.bind((address, PRINTER_PORT))
        s.setblocking(False)
        return s

    def power(self, printer, on):
        if on == printer.powered:
            return
        cidr = "%s/%d" % (printer.address, printer.prefix)
        if on:
            self.ip("addr", "add", cidr, "dev", self.iface)
            # The address needs a moment before it can be bound (duplicate address detection
            # does not apply to IPv4, but the bind retries cover a busy machine).
            for _ in range(50):
                try:
                    printer.sock = self.udp_socket(printer.address)
                    break
                except OSError:
                    time.sleep(0.02)
        else:
            if printer.sock:
                printer.sock.close()
                printer.sock = None
            self.ip("addr", "del", cidr, "dev", self.iface, check=False)
        printer.powered = on

    # --- records --------------------------------------------------------------------------
    def event(self, line):
        with open(os.path.join(self.records, "events.log"), "a") as f:
            f.write("%.3f %s\n" % (time.time(), line))

    def clear_records(self):
        for name in os.listdir(self.records):
            os.remove(os.path.join(self.records, name))

    # --- traffic --------------------------------------------------------------------------
    def on_datagram(self, sock):
        try:
            data, (host, port) = sock.recvfrom(2048)
        except BlockingIOError:
            return
        if data == FIND:
            self.event("find %s:%d" % (host, port))
            for printer in self.printers.values():
                if printer.powered and printer.answers_find and printer.sock:
                    reply = reply_bytes(printer.address)[: printer.size]
                    printer.sock.sendto(reply, (host, port))
                    self.event("reply %s %d" % (printer.address, len(reply)))
                    with open(os.path.join(self.records, "reply-%s.hex" % printer.address), "w") as f:
                        f.write(reply.hex(" ").upper() + "\n")
        elif data.startswith(b"QV0001SAVE"):
            self.event("save %s:%d %s" % (host, port, decode_save(data)))
            with open(os.path.join(self.records, "saves.log"), "a") as f:
                f.write("%s %s\n" % (host, data.hex(" ").upper()))
        else:
            self.event("datagram %s:%d %s" % (host, port, data.hex(" ").upper()))

    def on_accept(self, sock):
        try:
            conn, (host, port) = sock.accept()
        except BlockingIOError:
            return
        local = conn.getsockname()[0]
        conn.setblocking(False)
        self.event("connect %s from %s:%d" % (local, host, port))
        self.selector.register(conn, selectors.EVENT_READ, lambda c: self.on_tcp(c, local))

    def on_tcp(self, conn, local):
        try:
            data = conn.recv(65536)
        except BlockingIOError:
            return
        except OSError:
            data = b""
        if not data:
            self.selector.unregister(conn)
            conn.close()
            self.event("close %s" % local)
            return
        with open(os.path.join(self.records, "tcp-%s.bin" % local), "ab") as f:
            f.write(data)

    # --- control --------------------------------------------------------------------------
    def chosen(self, which):
        if which == "all":
            return list(self.printers.values())
        if which not in self.printers:
            raise ValueError("no printer " + which)
        return [self.printers[which]]

    def command(self, line):
        words = line.split()
        if not words:
            raise ValueError("empty command")
        if words[0] == "reset":
            for printer in self.printers.values():
                self.power(printer, True)
                printer.answers_find = False
                printer.size = 64
            self.clear_records()
        elif words[0] in ("find", "power") and len(words) == 3 and words[2] in ("on", "off"):
            for printer in self.chosen(words[1]):
                if words[0] == "find":
                    printer.answers_find = words[2] == "on"
                else:
                    self.power(printer, words[2] == "on")
        elif words[0] == "size" and len(words) == 3:
            for printer in self.chosen(words[1]):
                printer.size = max(0, min(64, int(words[2])))
        elif words[0] == "quit":
            self.running = False
        else:
            raise ValueError("unknown command " + line)

    def poll_control(self):
        for name in sorted(os.listdir(self.control)):
            if not name.endswith(".cmd"):
                continue
            path = os.path.join(self.control, name)
            try:
                with open(path) as f:
                    line = f.read().strip()
                self.command(line)
                result = "ok"
            except Exception as e:  # reported to the test, which fails with it
                result = "error: %s" % e
            os.remove(path)
            done = path[: -len(".cmd")] + ".done"
            with open(done + ".tmp", "w") as f:
                f.write(result + "\n")
            os.replace(done + ".tmp", done)

    def run(self):
        self.setup()
        while self.running and time.monotonic() < self.deadline and os.getppid() == self.parent:
            for key, _ in self.selector.select(timeout=0.02):
                key.data(key.fileobj)
            self.poll_control()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dir", required=True)
    parser.add_argument("--iface", default="vnet")
    parser.add_argument("--max-seconds", type=float, default=1800)
    parser.add_argument("printer", nargs="+", help="ADDRESS[/PREFIX]")
    Sim(parser.parse_args()).run()


if __name__ == "__main__":
    main()
