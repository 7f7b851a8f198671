#!/usr/bin/env python3
"""Two computers of a lab save the class record at once, and one's keeper is killed while it saves:
the games of scripts/attack-keeper.py, each started on its computer (a mount namespace made by
scripts/check-lab.sh) and both keeping the record in one folder, the school's share.
Usage: race-lab.py SHARE A_HOLDER_PID A_PUPIL B_HOLDER_PID B_PUPIL ROUNDS KILLS"""
import importlib.util
import os
import random
import struct
import subprocess
import sys
import threading
import time

found = importlib.util.spec_from_file_location("attack", os.path.join(os.path.dirname(__file__), "attack-keeper.py"))
attack = importlib.util.module_from_spec(found)
found.loader.exec_module(attack)

HOLDERS = {}


class LabGame(attack.Game):
    """A game of PUPIL on the computer named before the colon: "A:lab-anna"."""

    def __init__(self, where, limits=""):
        computer, pupil = where.split(":")
        self.su = subprocess.Popen(["nsenter", "-t", HOLDERS[computer], "-m", "--", "su", "-", pupil, "-c",
                                    f"{limits} QT_QPA_PLATFORM=offscreen exec {attack.GAME}"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 20
        self.window = self.keeper = None
        while time.time() < deadline and self.keeper is None:
            time.sleep(0.05)
            for pid in attack.children(self.su.pid):
                if attack.comm(pid) == "brivana":
                    self.window = pid
                    keepers = attack.children(pid)
                    self.keeper = keepers[0] if keepers else None
        if self.keeper is None:
            attack.fail(f"no keeper for {where}'s game")
        self.socket = self.grab_socket()


def save(game, score):
    answer = game.ask(attack.save_request(str(score).encode(), attack.longest_name(score).encode()))
    return None if answer is None else answer[0]


def races(a, b, rounds):
    """Each round both computers save at the same moment; the better score must be kept, whole."""
    first, second = LabGame(a), LabGame(b)
    outcomes = {}
    for round in range(rounds):
        scores = random.sample(range(10 * round + 1, 10 * round + 10), 2)
        gate = threading.Barrier(2)

        def run(game, score, key):
            gate.wait()
            outcomes[key] = save(game, score)

        threads = [threading.Thread(target=run, args=(g, s, k)) for g, s, k in ((first, scores[0], "a"), (second, scores[1], "b"))]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        score, holder = attack.files()
        if not attack.whole_pair(score, holder):
            attack.fail(f"race {round}: torn pair {score!r} / {holder[:12]!r}")
        if int(score) != max(scores):
            attack.fail(f"race {round}: {max(scores)} was saved against {min(scores)}, but the record is {score!r}")
        if sorted(outcomes.values()) != [attack.SAVED, attack.SAVED] and sorted(outcomes.values()) != [attack.SAVED, attack.NOT_BETTER]:
            attack.fail(f"race {round}: answers {outcomes}")
    first.end()
    second.end()
    print(f"race-lab: ok: {rounds} rounds of saves racing from two computers; each time the better score was kept"
          " with its own name, never a torn pair")


def main():
    share, holder_a, pupil_a, holder_b, pupil_b, rounds, kills = sys.argv[1:8]
    attack.RECORD_DIR = share
    attack.Game = LabGame
    HOLDERS.update(A=holder_a, B=holder_b)
    attack.put_record(b"0", b"Inizio")
    races(f"A:{pupil_a}", f"B:{pupil_b}", int(rounds))
    # Computer A's keeper killed at random moments of its saves; computer B's next start-up reads.
    attack.hard_kills(f"A:{pupil_a}", f"B:{pupil_b}", int(kills))
    print("race-lab: ok: the kills above were of computer A's keeper, each followed by a start-up on computer B")


if __name__ == "__main__":
    main()
