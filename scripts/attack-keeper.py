#!/usr/bin/env python3
"""Attacks the installed game's record keeper as a hostile window would, and kills, starves and
freezes it while it saves. Run as root by scripts/check-deb.sh, with the package installed and two
ordinary accounts. Each game runs as a pupil with Qt's offscreen platform: its window waits at the
name prompt while this script, holding a copy of the window's end of the socket (pidfd_getfd),
sends the keeper whatever it likes.
Usage: attack-keeper.py PUPIL OTHER_PUPIL CPU_TRIALS KILL_TRIALS FREEZE_TRIALS"""
import ctypes
import os
import random
import signal
import socket
import struct
import subprocess
import sys
import time

RECORD_DIR = "/var/games/brivana"
GAME = "/usr/games/brivana"
SAVED, NOT_BETTER, FAILED, FAILED_UNSURE = 0, 1, 2, 3
libc = ctypes.CDLL(None, use_errno=True)


def fail(message):
    print(f"attack-keeper: FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def text(data):
    return struct.pack("<I", len(data)) + data


def save_request(score, name):
    return b"S" + text(score) + text(name)


class Game:
    """One game of a pupil, with a copy of its window's end of the keeper's socket."""

    def __init__(self, pupil, limits=""):
        self.su = subprocess.Popen(["su", "-", pupil, "-c", f"{limits} QT_QPA_PLATFORM=offscreen exec {GAME}"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 20
        self.window = self.keeper = None
        while time.time() < deadline and self.keeper is None:
            time.sleep(0.05)
            for pid in children(self.su.pid):
                if comm(pid) == "brivana":
                    self.window = pid
                    keepers = children(pid)
                    self.keeper = keepers[0] if keepers else None
        if self.keeper is None:
            fail(f"no keeper for {pupil}'s game")
        self.socket = self.grab_socket()

    def grab_socket(self):
        # The socket pair's ends carry the credentials of the process that made them: the window's.
        pidfd = os.pidfd_open(self.window)
        try:
            for fd in os.listdir(f"/proc/{self.window}/fd"):
                if not os.readlink(f"/proc/{self.window}/fd/{fd}").startswith("socket:"):
                    continue
                mine = libc.syscall(438, pidfd, int(fd), 0)  # pidfd_getfd
                if mine < 0:
                    fail(f"pidfd_getfd: {os.strerror(ctypes.get_errno())}")
                sock = socket.socket(fileno=mine)
                pid, _, _ = struct.unpack("3i", sock.getsockopt(socket.SOL_SOCKET, socket.SO_PEERCRED, 12))
                if pid == self.window:
                    return sock
                sock.detach()
                os.close(mine)
        finally:
            os.close(pidfd)
        fail("the window has no socket to its keeper")

    def ask(self, payload, timeout=10):
        """The answer's payload; None once the keeper has ended the conversation."""
        self.socket.settimeout(timeout)
        try:
            self.socket.sendall(struct.pack("<I", len(payload)) + payload)
            header = self.receive(4)
            return self.receive(struct.unpack("<I", header)[0]) if header is not None else None
        except (BrokenPipeError, ConnectionResetError):
            return None

    def receive(self, size):
        data = b""
        while len(data) < size:
            chunk = self.socket.recv(size - len(data))
            if not chunk:
                return None
            data += chunk
        return data

    def read(self):
        answer = self.ask(b"R")
        if answer is None:
            return None
        complete, at = answer[0:1] == b"1", 1
        texts = []
        while at < len(answer):
            size = struct.unpack("<I", answer[at:at + 4])[0]
            texts.append(answer[at + 4:at + 4 + size].decode())
            at += 4 + size
        return complete, texts[0], texts[1], texts[2:]

    def end(self):
        self.socket.close()
        for pid in (self.window, self.keeper):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.su.wait()
        deadline = time.time() + 5
        while os.path.exists(f"/proc/{self.keeper}") and time.time() < deadline:
            time.sleep(0.02)


def children(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def comm(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return ""


def files():
    pair = []
    for name in ("briv2s.txt", "nbriv2s.txt"):
        with open(f"{RECORD_DIR}/{name}", "rb") as f:
            pair.append(f.read())
    return tuple(pair)


def put_record(score, name):
    for file, content in (("briv2s.txt", score), ("nbriv2s.txt", name)):
        with open(f"{RECORD_DIR}/{file}", "wb") as f:
            f.write(content + b"\r\n")


def longest_name(score):
    # 255 Windows-1252 characters, 475 bytes of UTF-8, that tell which score they were saved with.
    return (f"{score:05d}" + "àèìòù€" * 50)[:255]


def whole_pair(score, holder):
    """Whether the name is the one saved with the score."""
    digits = score.rstrip(b"\r\n").decode()
    return holder == (longest_name(int(digits)).encode("cp1252") if digits != "0" else b"Inizio") + b"\r\n"


def expect_whole_pair(what):
    """After a start-up's repair: a score and the name saved with it, and nothing left over."""
    score, holder = files()
    if not whole_pair(score, holder):
        fail(f"{what}: torn pair: {score!r} with {holder[:20]!r}...")
    leftovers = [n for n in os.listdir(RECORD_DIR) if n.endswith(".tmp") or n == "brivana.commit"]
    if leftovers:
        fail(f"{what}: the start-up left {leftovers}")


def check_keeper_process(game):
    game.read()  # once the keeper answers, it has settled
    with open(f"/proc/{game.keeper}/status") as f:
        uids = next(line for line in f if line.startswith("Uid:")).split()[1:]
    games_uid = str(os.stat(RECORD_DIR).st_uid)
    if set(uids) != {games_uid}:
        fail(f"the keeper's user ids are {uids}, not all games'")
    with open(f"/proc/{game.keeper}/limits") as f:
        limits = {line[:26].strip(): line[26:].split()[:2] for line in f.readlines()[1:]}
    for name, most in (("Max core file size", "0"), ("Max processes", "0"), ("Max open files", "16")):
        if limits[name] != [most, most]:
            fail(f"the keeper's {name} is {limits[name]}, not {most}")
    fds = sorted(int(fd) for fd in os.listdir(f"/proc/{game.keeper}/fd"))
    if len(fds) != 4 or fds[:3] != [0, 1, 2]:
        fail(f"the keeper holds descriptors {fds}")
    print("attack-keeper: ok: the keeper is wholly games, holds only its socket, core 0, processes 0, files 16")


def malformed(pupil):
    game = Game(pupil)
    check_keeper_process(game)
    before = files()
    rows = [(b"7", b"An\rna"), (b"7", b"An\nna"), (b"7", b"An\0na"), (b"011", b"Anna"), (b"-1", b"Anna"),
            (b"32768", b"Anna"), (b"9223372036854775807", b"Anna"), (b"7 ", b"Anna"), (b"", b"Anna"),
            (b"7", "x".encode() * 256), (b"7", b"\xff\xfe")]
    for score, name in rows:
        answer = game.ask(save_request(score, name))
        if answer is None or answer[0] != FAILED or files() != before:
            fail(f"the save of {score[:20]!r} / {name[:20]!r} was not refused: {answer!r}")
    # Too large to be read at all: the keeper ends the conversation, the record is as it was.
    for payload in (save_request(b"7", b"x" * 65536), save_request(b"0" * 400000, b"Anna")):
        if game.ask(payload) is not None or files() != before:
            fail(f"a request of {len(payload)} bytes was answered or changed the record")
        game.end()
        game = Game(pupil)
    if game.ask(b"X") is not None:
        fail("a request outside the three was answered")
    game.end()
    print(f"attack-keeper: ok: {len(rows)} malformed saves refused, 2 oversized and 1 unknown request ended the keeper,"
          " the record unchanged")


def save_until_gone(game, first_score, stop=None):
    """Saves ever better scores with the longest name until the keeper is gone (or stop() says so)."""
    score = first_score
    while score <= 32767:
        if stop and stop(score):
            return score
        answer = game.ask(save_request(str(score).encode(), longest_name(score).encode()))
        if answer is None:
            return score
        if answer[0] != SAVED:
            fail(f"the save of {score} was answered {answer!r}")
        score += 1
    fail("32767 reached before the keeper was stopped")


def cpu_kills(pupil, other, trials):
    for trial in range(trials):
        put_record(b"0", b"Inizio")
        # The pupil's own CPU limit, which the keeper inherits: the kernel ends it at 2 CPU seconds.
        game = Game(pupil, "ulimit -t 2;")
        reached = save_until_gone(game, 1)
        game.end()
        reader = Game(other)
        reading = reader.read()
        reader.end()
        if reading is None or not reading[0]:
            fail(f"CPU kill {trial}: the next start-up did not read the record: {reading}")
        expect_whole_pair(f"CPU kill {trial} at save {reached}")
    print(f"attack-keeper: ok: {trials} keepers killed by a CPU limit while saving a 255-character name;"
          " every next start-up found a whole pair")


def hard_kills(pupil, other, trials):
    for trial in range(trials):
        put_record(b"0", b"Inizio")
        game = Game(pupil)
        end_at = time.time() + random.uniform(0.05, 0.5)
        # SIGKILL at a random moment, as killing the pupil's cgroup would.
        killer = subprocess.Popen(["sh", "-c", f"sleep {end_at - time.time():.3f}; kill -KILL {game.keeper}"])
        save_until_gone(game, 1)
        killer.wait()
        game.end()
        reader = Game(other)
        reading = reader.read()
        reader.end()
        if reading is None or not reading[0]:
            fail(f"kill {trial}: the next start-up did not read the record: {reading}")
        expect_whole_pair(f"kill {trial}")
    print(f"attack-keeper: ok: {trials} keepers killed (SIGKILL) at random moments of saving; every next start-up"
          " found a whole pair")


def holds_lock(pid):
    """Whether the process holds the record's lock: a byte-range lock of an open file description
    (listed without its owner in /proc/locks) on the lock file, which only this keeper has open."""
    lock_file = f"{RECORD_DIR}/brivana.lock"
    try:
        inode = os.stat(lock_file).st_ino
        opened = any(os.readlink(f"/proc/{pid}/fd/{fd}") == lock_file for fd in os.listdir(f"/proc/{pid}/fd"))
    except OSError:
        return False
    with open("/proc/locks") as f:
        held = [line.split() for line in f if "->" not in line]
    return opened and any(fields[1] == "OFDLCK" and fields[5].split(":")[-1] == str(inode) for fields in held)


def freeze_holding_lock(game):
    """Stops the keeper at a moment it holds the record's lock, as a cgroup freeze could."""
    for score in range(1, 2000):
        request = save_request(str(score).encode(), longest_name(score).encode())
        game.socket.sendall(struct.pack("<I", len(request)) + request)
        time.sleep(random.uniform(0, 0.002))
        os.kill(game.keeper, signal.SIGSTOP)
        while open(f"/proc/{game.keeper}/stat").read().split(") ")[1][0] != "T":
            time.sleep(0.001)
        if holds_lock(game.keeper):
            return
        os.kill(game.keeper, signal.SIGCONT)
        header = game.receive(4)
        game.receive(struct.unpack("<I", header)[0])
    fail("the keeper was never caught holding the lock")


def freezes(pupil, other, trials):
    for trial in range(trials):
        put_record(b"0", b"Inizio")
        game = Game(pupil)
        freeze_holding_lock(game)
        reader = Game(other)
        start = time.time()
        reading = reader.read()
        answer = reader.ask(save_request(b"32767", longest_name(32767).encode()))
        waited = time.time() - start
        reader.end()
        if reading is None or answer is None or waited > 8:
            fail(f"freeze {trial}: the other game waited {waited:.1f} s or lost its keeper")
        # The record is shown as the files (or the mark in place) hold it, and called busy; so is the save.
        shown = whole_pair(reading[1].encode("cp1252"), reading[2].encode("cp1252"))
        if not reading[0] or not shown or not any("occupato" in p for p in reading[3]):
            fail(f"freeze {trial}: a record held by a frozen keeper must be shown whole and called busy: {reading}")
        if answer[0] != FAILED or "occupato" not in answer.decode(errors="replace"):
            fail(f"freeze {trial}: a save while a frozen keeper holds the lock must fail as busy: {answer!r}")
        os.kill(game.keeper, signal.SIGKILL)
        game.end()
        reader = Game(other)
        reader.read()
        reader.end()
        expect_whole_pair(f"freeze {trial}")
    print(f"attack-keeper: ok: {trials} keepers frozen while holding the record's lock; each time the other game,"
          " within 8 s, showed the record whole, said it was busy and was refused its save; the pair stayed whole")


def main():
    pupil, other, cpu, kills, frozen = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    saved = files()
    malformed(pupil)
    cpu_kills(pupil, other, cpu)
    hard_kills(pupil, other, kills)
    freezes(pupil, other, frozen)
    put_record(saved[0].rstrip(b"\r\n"), saved[1].rstrip(b"\r\n"))


if __name__ == "__main__":
    main()
