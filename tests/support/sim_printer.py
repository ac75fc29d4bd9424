#!/usr/bin/env python3
"""Simulated printers for the Wine tests: they capture exactly the bytes the tool sends.

  sim_printer.py pty LINK LOG        a pty whose slave is linked at LINK (a dosdevices entry such
                                     as $WINEPREFIX/dosdevices/com3); every open and close of the
                                     slave is logged, and the data in between
  sim_printer.py tcp HOST PORT LOG   a listener; every connection, its data and its end logged

LOG gets one line per event, flushed at once: "ready", "open", "close", "data <hex>" (with the
line speed at that moment in "baud <n>" before it for a pty), "conn <k>", "end <k>". The
process ends on SIGTERM or after --seconds (default 300), so that it never outlives its test.
"""
import ctypes
import fcntl
import os
import pty
import select
import signal
import socket
import struct
import sys
import termios
import threading
import time
import tty

IN_OPEN = 0x20
IN_CLOSE_WRITE = 0x08
IN_CLOSE_NOWRITE = 0x10

SPEEDS = {getattr(termios, name): int(name[1:]) for name in dir(termios)
          if name.startswith("B") and name[1:].isdigit()}


class Log:
    def __init__(self, path):
        self.file = open(path, "a", buffering=1)

    def write(self, line):
        self.file.write(line + "\n")
        self.file.flush()


def run_pty(link, log, deadline):
    master, slave = pty.openpty()
    tty.setraw(slave)
    # The pty is this process's controlling terminal, so that no process that opens it (Wine's
    # server is a session leader without one) takes it and gets SIGHUP when the pty goes.
    try:
        os.setsid()
    except OSError:
        pass  # a session leader already
    try:
        fcntl.ioctl(slave, termios.TIOCSCTTY, 0)
    except OSError:
        pass
    slave_name = os.ttyname(slave)
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(slave_name, link)
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init()
    if watch < 0 or libc.inotify_add_watch(
            watch, slave_name.encode(), IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0:
        sys.exit("inotify failed")
    lock = threading.Lock()

    # The next open purges what the master side has not read yet, as a serial port drops
    # untransmitted bytes: the data is read by a thread that does nothing else.
    def read_data():
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                return
            with lock:
                log.write("baud %d" % SPEEDS.get(termios.tcgetattr(slave)[5], 0))
                log.write("data " + chunk.hex())

    def pending():
        return struct.unpack("i", fcntl.ioctl(master, termios.FIONREAD, b"\0" * 4))[0]

    def read_events():
        while True:
            batch = os.read(watch, 4096)
            offset = 0
            while offset < len(batch):
                _, mask, _, length = struct.unpack_from("iIII", batch, offset)
                offset += 16 + length
                if mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE):
                    # What is waiting was written before the close: let the reader log it first.
                    for _ in range(50):
                        if pending() == 0:
                            break
                        time.sleep(0.001)
                with lock:
                    if mask & IN_OPEN:
                        log.write("open")
                    if mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE):
                        log.write("close")

    for target in (read_data, read_events):
        threading.Thread(target=target, daemon=True).start()
    log.write("ready " + slave_name)
    try:
        while time.time() < deadline:
            time.sleep(0.2)
    finally:
        if os.path.islink(link) and os.readlink(link) == slave_name:
            os.unlink(link)


def run_tcp(host, port, log, deadline):
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((host, port))
    listener.listen(8)
    connections = {}
    count = 0
    log.write("ready %s:%d" % (host, port))
    while time.time() < deadline:
        ready, _, _ = select.select([listener] + list(connections), [], [], 0.2)
        for s in ready:
            if s is listener:
                conn, _ = listener.accept()
                count += 1
                connections[conn] = count
                log.write("conn %d" % count)
                continue
            try:
                chunk = s.recv(65536)
            except OSError:
                chunk = b""
            if chunk:
                log.write("data " + chunk.hex())
            else:
                log.write("end %d" % connections.pop(s))
                s.close()


def main():
    args = sys.argv[1:]
    seconds = 300
    if "--seconds" in args:
        i = args.index("--seconds")
        seconds = float(args[i + 1])
        del args[i:i + 2]
    deadline = time.time() + seconds
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    if args[:1] == ["pty"] and len(args) == 3:
        run_pty(args[1], Log(args[2]), deadline)
    elif args[:1] == ["tcp"] and len(args) == 4:
        run_tcp(args[1], int(args[2]), Log(args[3]), deadline)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
