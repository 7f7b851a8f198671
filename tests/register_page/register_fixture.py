"""A register made for the checks of the teacher's page: a few pupils over a school year, with
damaged lines among them, and what the page must say of each pupil in each period."""

import os

NOW = "2026-12-09 12:00"  # a Wednesday: the week began on Monday 7 December
PERIOD_STARTS = {"settimana": "2026-12-07", "mese": "2026-12-01", "anno": "2026-09-01"}
MARKUP_NAME = '<script>alert(1)</script><b onclick="x()">Bo</b>'

# when, computer, pupil, right, wrong, ending, record
GAMES = [
    ("2026-09-15 09:00:00", "LAB-01", "Giulia Rossi", 6, 4, "T", 1),
    ("2026-12-02 10:30:00", "LAB-02", "Niccolò D'Amico", 9, 1, "E", 0),
    ("2026-12-07 09:05:00", "LAB-01", "giulia  rossi", 11, 2, "N", 1),
    ("2026-12-08 11:40:00", "LAB-03", MARKUP_NAME, 3, 5, "F", 0),
    ("2026-12-09 08:15:00", "LAB-01", "Giulia Rossi", 8, 0, "T", 0),
    ("2026-12-08 10:00:00", "LAB-02", "Niccolò D'Amico", 12, 3, "T", 1),
    ("2026-10-05 09:00:00", "LAB-02", 'Anna "Nana"; Bianchi', 7, 7, "E", 0),
]
DAMAGED_LINES = 3


ENDINGS = {"T": "tempo", "E": "esci", "F": "finestra", "N": "nuova"}


def field(text):
    return f'"{text.replace(chr(34), 2 * chr(34))}"' if ";" in text or '"' in text else text


def line(when, computer, pupil, right, wrong, ending, record):
    """A line as the keeper writes it."""
    fields = [when, field(computer), field(pupil), right, wrong, right + wrong, 900, ENDINGS[ending], record]
    return (";".join(str(f) for f in fields) + "\r\n").encode()


def write_register(folder):
    """Writes the register of school year 2026/2027 in folder, damaged lines among the games."""
    lines = [line(*game) for game in GAMES]
    lines.insert(2, line(*GAMES[0])[:25] + b"\n")            # a line cut short
    lines.insert(4, b"\x00\xff\xfe junk \x01\x02\n")          # binary junk
    lines.insert(6, b"2026-12-08 10:00:00;" + b"x" * 9000 + b"\n")  # longer than any line
    with open(os.path.join(folder, "brivana-registro-2026-2027.txt"), "wb") as register:
        register.write(b"".join(lines))


def key(name):
    return " ".join(name.split()).lower()


def expected_pupils(period):
    """Per pupil key: games, best total, last total, percent right, last played, rights in order."""
    start = PERIOD_STARTS[period]
    pupils = {}
    for when, _, pupil, right, wrong, _, _ in sorted(GAMES):
        if when[:10] < start:
            continue
        p = pupils.setdefault(key(pupil), {"games": 0, "best": 0, "last": 0, "right": 0, "answers": 0, "points": []})
        p["games"] += 1
        p["best"] = max(p["best"], right + wrong)
        p["last"] = right + wrong
        p["right"] += right
        p["answers"] += right + wrong
        p["points"].append(right)
        y, m, d = when[:10].split("-")
        p["when"] = f"{d}/{m}/{y} {when[11:16]}"
    for p in pupils.values():
        p["percent"] = f"{(200 * p['right'] + p['answers']) // (2 * p['answers'])}%"
    return pupils
