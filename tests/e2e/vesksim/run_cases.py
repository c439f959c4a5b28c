#!/usr/bin/env python3
"""vesksim as the lead's fault suite and a dealer start it: it announces and registers its cable,
answers on the pseudo-terminal, keeps its memory file, refuses bad options without leaving
anything behind, unregisters on SIGTERM and vanishes mid-transfer with --pull-after.

usage: run_cases.py VESKSIM TEMPLATES
"""
import os
import select
import signal
import subprocess
import sys
import tempfile
import termios
import time
import tty

MEMORY_SIZE = 0x20000
TEMPLATES = None
# Guards against a hang only; no result depends on how long anything took.
GUARD = 60.0


def checksum(data):
    return (0xFF - sum(data)) & 0xFF


def sealed(data):
    return bytes(data) + bytes([checksum(data)])


class Failure(Exception):
    pass


def expect(condition, text):
    if not condition:
        raise Failure(text)


class Sim:
    def __init__(self, exe, folder, *args):
        self.folder = folder
        env = dict(os.environ)
        env["VESKCPS_CABLE_DIR"] = os.path.join(folder, "cables")
        self.proc = subprocess.Popen([exe, *args], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, env=env)
        self.line = self._first_line()

    def _first_line(self):
        ready, _, _ = select.select([self.proc.stdout], [], [], GUARD)
        if not ready:
            self.proc.kill()
            raise Failure("no cable line")
        line = self.proc.stdout.readline().decode()
        if not line.startswith("cable "):
            self.proc.kill()
            raise Failure("no cable line; stderr: %r" % self.proc.stderr.read().decode())
        return line

    def registration(self, name):
        return os.path.join(self.folder, "cables", name + ".cable")

    def stop(self):
        self.proc.send_signal(signal.SIGTERM)
        return self.wait()

    def wait(self):
        try:
            return self.proc.wait(GUARD)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            raise Failure("vesksim did not end")


def open_device(path):
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    termios.tcflush(fd, termios.TCIOFLUSH)
    return fd


def read_exactly(fd, n):
    got = b""
    while len(got) < n:
        ready, _, _ = select.select([fd], [], [], GUARD)
        if not ready:
            break
        try:
            chunk = os.read(fd, n - len(got))
        except OSError:
            break
        if not chunk:
            break
        got += chunk
    return got


def exchange(fd, request, reply_size):
    os.write(fd, request)
    return read_exactly(fd, len(request) + reply_size)


def case_serves_and_unregisters(exe, folder):
    memory = os.path.join(folder, "radio.bin")
    sim = Sim(exe, folder, "--memory", memory, "--fast", "--cable", "bench",
              "--description", "Bench Cable", "--status-code", "3", "--password", "1234",
              "--firmware", "D7")
    words = sim.line.split()
    expect(len(words) == 3 and words[0] == "cable" and words[1] == "bench"
           and words[2].startswith("/dev/pts/"), "cable line: %r" % sim.line)
    with open(sim.registration("bench")) as f:
        text = f.read()
    expect(text == "description=Bench Cable\ndevice=%s\n" % words[2], "registration: %r" % text)
    expect(os.path.getsize(memory) == MEMORY_SIZE, "memory file size")

    fd = open_device(words[2])
    status = sealed([0xF2, 0x23, 0x09])
    got = exchange(fd, status, 7)
    expect(got == status + b"\x50" + sealed([0xF4, 0x23, 0x09, 0x00, 0x03]), "status: %s" % got.hex())
    firmware = sealed([0xF2, 0x23, 0x03])
    got = exchange(fd, firmware, 8)
    expect(got == firmware + b"\x50" + sealed([0xF5, 0x23, 0x03, ord("D"), ord("7"), ord("0")]),
           "firmware: %s" % got.hex())
    read = sealed([0xFF, 0x11, 0x00, 0x05, 0x04, 0x01, 0x00, 0x09])
    got = exchange(fd, read, 13)
    expect(got[len(read):] == b"\x50" + sealed([0xFF, 0x80, 0x00, 0x08, 0x01, 0x00, 0x09]
                                               + list(b"1234")), "password: %s" % got.hex())
    # The host closes the cable between operations; the simulator must stay reachable.
    os.close(fd)
    fd = open_device(words[2])
    write = sealed([0xFF, 0x17, 0x00, 0x08, 0x01, 0x00, 0x09] + list(b"9876"))
    got = exchange(fd, write, 9)
    expect(got[len(write):] == b"\x50" + sealed([0xFF, 0x84, 0x00, 0x04, 0x01, 0x00, 0x09]),
           "write: %s" % got.hex())
    os.close(fd)
    # Written through before the reply left: the file holds it while the simulator still runs.
    with open(memory, "rb") as f:
        expect(f.read()[9:13] == b"9876", "memory file after the write")

    code = sim.stop()
    expect(code == 0, "SIGTERM exit %s" % code)
    expect(not os.path.exists(sim.registration("bench")), "registration left after SIGTERM")

    # A second start keeps the file's content.
    sim = Sim(exe, folder, "--memory", memory, "--fast", "--cable", "again", "--firmware", "R17")
    fd = open_device(sim.line.split()[2])
    got = exchange(fd, read, 13)
    expect(got[len(read) + 8:len(read) + 12] == b"9876", "memory kept: %s" % got.hex())
    os.close(fd)
    expect(sim.stop() == 0, "second stop")


BAD_OPTIONS = [
    ["--fault", "noise"],
    ["--fault", "drop@0"],
    ["--model", "CUD416"],
    ["--model", "CUD4160X"],
    ["--password", "12345"],
    ["--password", "12a"],
    ["--turnaround", "soon"],
    ["--code-capacity", "256"],
    ["--firmware", "R"],
    ["--bogus"],
    ["--memory"],
    ["--from", "/nonexistent/profile.vk4"],
]


def case_bad_options(exe, folder):
    memory = os.path.join(folder, "kept.bin")
    content = bytes((i * 7) & 0xFF for i in range(MEMORY_SIZE))
    with open(memory, "wb") as f:
        f.write(content)
    cables = os.path.join(folder, "cables")
    for args in BAD_OPTIONS + [["--memory", os.path.join(folder, "short.bin")]]:
        if args[-1].endswith("short.bin"):
            with open(args[-1], "wb") as f:
                f.write(b"\x00" * 100)
        run = subprocess.run([exe, "--memory", memory, "--fast", *args] if "--memory" not in args
                             else [exe, "--fast", *args], capture_output=True, timeout=GUARD,
                             env=dict(os.environ, VESKCPS_CABLE_DIR=cables))
        expect(run.returncode == 2, "%s: exit %d" % (args, run.returncode))
        expect(run.stdout == b"", "%s: stdout %r" % (args, run.stdout))
        expect(run.stderr.startswith(b"vesksim: "), "%s: stderr %r" % (args, run.stderr))
        expect(not os.path.isdir(cables) or not os.listdir(cables), "%s: registration" % args)
        with open(memory, "rb") as f:
            expect(f.read() == content, "%s: memory file touched" % args)


def case_pull_after(exe, folder):
    sim = Sim(exe, folder, "--fast", "--cable", "pulled", "--pull-after", "5")
    device = sim.line.split()[2]
    fd = open_device(device)
    status = sealed([0xF2, 0x23, 0x09])
    os.write(fd, status)
    got = read_exactly(fd, 11)
    os.close(fd)
    expect(got == status + b"\x50", "bytes before the pull: %s" % got.hex())
    code = sim.wait()
    expect(code == 3, "pull exit %s" % code)
    expect(not os.path.exists(sim.registration("pulled")), "registration left after the pull")
    expect(not os.path.exists(device), "terminal left after the pull")


def case_paced(exe, folder):
    # Paced output carries the same bytes as unpaced.
    sim = Sim(exe, folder, "--cable", "paced", "--turnaround", "5", "--status-code", "8")
    fd = open_device(sim.line.split()[2])
    status = sealed([0xF2, 0x23, 0x09])
    got = exchange(fd, status, 7)
    expect(got == status + b"\x50" + sealed([0xF4, 0x23, 0x09, 0x00, 0x08]), "paced: %s" % got.hex())
    os.close(fd)
    expect(sim.stop() == 0, "paced stop")


def case_from_template(exe, folder):
    # --from rebuilds an existing memory from the profile; the options are laid over it.
    memory = os.path.join(folder, "radio.bin")
    with open(memory, "wb") as f:
        f.write(b"\x00" * MEMORY_SIZE)
    template = os.path.join(TEMPLATES, "CVR50873.vk4")
    sim = Sim(exe, folder, "--memory", memory, "--from", template, "--fast", "--cable", "from",
              "--codeplug-version", "7", "--serial-clone", "5", "--model", "CVD51670")
    fd = open_device(sim.line.split()[2])
    identification = sealed([0xFF, 0x11, 0x00, 0x05, 0x0A, 0x01, 0x0E, 0x22])
    got = exchange(fd, identification, 19)[len(identification):]
    expect(got[:8] == b"\x50" + sealed([0xFF, 0x80, 0x00, 0x0E, 0x01, 0x0E, 0x22])[:7],
           "identification header: %s" % got.hex())
    expect(got[8:11] == b"CVD" and got[11:16] == bytes([5, 1, 6, 7, 0]) and got[17] == 7,
           "identification: %s" % got.hex())
    clone = sealed([0xFF, 0x11, 0x00, 0x05, 0x01, 0x01, 0x0C, 0x01])
    got = exchange(fd, clone, 10)[len(clone):]
    expect(got[8:9] == b"\x05", "serial clone: %s" % got.hex())
    os.close(fd)
    expect(sim.stop() == 0, "stop")
    with open(memory, "rb") as f:
        content = f.read()
    expect(len(content) == MEMORY_SIZE and content[0xE22:0xE25] == b"CVD",
           "memory file rebuilt")


def main():
    global TEMPLATES
    exe = sys.argv[1]
    TEMPLATES = sys.argv[2]
    cases = [case_serves_and_unregisters, case_bad_options, case_pull_after, case_paced,
             case_from_template]
    passed = failed = 0
    for case in cases:
        with tempfile.TemporaryDirectory() as folder:
            try:
                case(exe, folder)
                passed += 1
            except (Failure, OSError, subprocess.TimeoutExpired) as error:
                print("FAIL %s: %s" % (case.__name__, error))
                failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
