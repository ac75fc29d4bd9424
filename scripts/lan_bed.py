#!/usr/bin/env python3
"""The LAN discovery bed: runs CMD in a network namespace of its own with simulated printers.

Started by scripts/lan-bed.sh inside a fresh user and network namespace (unshare -rn), so every
datagram, broadcast and ping of CMD stays between two namespaces that this bed made:

  tool side (CMD, Wine)                     printer side (tests/support/lan_printer_sim.py)
  lo up, vtool 192.168.1.20/24  <-- veth -->  vnet: 192.168.1.57, .58, .101-.120 /24, 10.0.0.8/8

The tool side's default route leads into the veth, so a limited broadcast (255.255.255.255)
reaches the printer side and nothing else. CMD gets LAN_BED_DIR (control/ and records/ of the
simulator, see its doc string). The exit status is CMD's.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIM = os.path.join(ROOT, "tests", "support", "lan_printer_sim.py")
TOOL_ADDRESS = "192.168.1.20/24"
PRINTERS = ["192.168.1.57/24", "192.168.1.58/24", "10.0.0.8/8"] + [
    "192.168.1.%d/24" % n for n in range(101, 121)
]


def ip(*words):
    subprocess.run(("ip",) + words, check=True, timeout=10)


def wait_for(predicate, seconds, what):
    end = time.monotonic() + seconds
    while not predicate():
        if time.monotonic() > end:
            sys.exit("lan_bed: %s did not happen within %d s" % (what, seconds))
        time.sleep(0.02)


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: scripts/lan-bed.sh CMD...")
    if os.environ.get("LAN_BED_NAMESPACE") != "1":
        sys.exit("lan_bed: run me through scripts/lan-bed.sh (it makes the namespace)")
    base = os.path.join(os.environ.get("TPS_BUILD", os.path.join(ROOT, "build")), "lan-bed")
    os.makedirs(base, exist_ok=True)
    # Records of the last runs stay for a look; older ones go.
    runs = sorted((e for e in os.scandir(base) if e.name.startswith("run-")),
                  key=lambda e: e.stat().st_mtime)
    for old in runs[:-9]:
        shutil.rmtree(old.path, ignore_errors=True)
    bed = os.environ.get("LAN_BED_DIR") or tempfile.mkdtemp(prefix="run-", dir=base)
    os.makedirs(bed, exist_ok=True)

    ip("link", "set", "lo", "up")
    sim = subprocess.Popen(["unshare", "-n", sys.executable, SIM, "--dir", bed] + PRINTERS)
    try:
        own = os.readlink("/proc/self/ns/net")
        wait_for(
            lambda: sim.poll() is not None or os.readlink("/proc/%d/ns/net" % sim.pid) != own,
            10,
            "the printer namespace",
        )
        if sim.poll() is not None:
            sys.exit("lan_bed: the simulator ended at once")
        ip("link", "add", "vtool", "type", "veth", "peer", "name", "vnet")
        ip("link", "set", "vnet", "netns", str(sim.pid))
        ip("addr", "add", TOOL_ADDRESS, "dev", "vtool")
        ip("link", "set", "vtool", "up")
        ip("route", "add", "default", "dev", "vtool")
        wait_for(lambda: os.path.exists(os.path.join(bed, "ready")) or sim.poll() is not None,
                 20, "the simulator's start")
        if sim.poll() is not None:
            sys.exit("lan_bed: the simulator failed to start")
        print("[lan-bed] printers ready, records in %s" % bed, file=sys.stderr)
        env = dict(os.environ, LAN_BED_DIR=bed)
        return subprocess.call(sys.argv[1:], env=env)
    finally:
        control = os.path.join(bed, "control")
        if os.path.isdir(control):
            with open(os.path.join(control, "zzzz-quit.cmd"), "w") as f:
                f.write("quit\n")
        try:
            sim.wait(5)
        except subprocess.TimeoutExpired:
            sim.kill()
            sim.wait(5)


if __name__ == "__main__":
    sys.exit(main())
