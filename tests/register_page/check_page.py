#!/usr/bin/env python3
"""The teacher's page in a real browser (headless Chromium): no console error; per period, each
pupil's figures and chart points match the register made for the test; a name with markup stays
text; the damaged lines are counted; no sideways scrolling on a narrow window; an empty register
says so. Usage: check_page.py MAKE_REGISTER_PAGE"""

import html.parser
import os
import re
import shutil
import subprocess
import sys
import tempfile

import register_fixture as fixture

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


class Dom(html.parser.HTMLParser):
    """The elements of a dumped DOM, each with its attributes, its text and its ancestors."""

    VOID = {"meta", "input", "br", "img", "link", "circle", "line", "polyline"}

    def __init__(self, text):
        super().__init__()
        self.elements, self.stack = [], []
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        element = {"tag": tag, "attrs": dict(attrs), "text": "", "parents": list(self.stack)}
        self.elements.append(element)
        if tag not in self.VOID:
            self.stack.append(element)

    def handle_startendtag(self, tag, attrs):
        self.elements.append({"tag": tag, "attrs": dict(attrs), "text": "", "parents": list(self.stack)})

    def handle_endtag(self, tag):
        while any(element["tag"] == tag for element in self.stack):
            if self.stack.pop()["tag"] == tag:
                break

    def handle_data(self, data):
        for element in self.stack:
            element["text"] += data

    def inside(self, element, tag, **attrs):
        return next((p for p in element["parents"] if p["tag"] == tag and
                     all(p["attrs"].get(k) == v for k, v in attrs.items())), None)


def browse(page, profile, width=1000, extra=()):
    """The page's DOM after loading, and the console messages."""
    run = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--enable-logging=stderr",
                          "--v=0", f"--user-data-dir={profile}", f"--window-size={width},900", *extra,
                          "--dump-dom", "file://" + page], capture_output=True, text=True, timeout=60)
    return run.stdout, [line for line in run.stderr.splitlines() if ":CONSOLE" in line]


def make_page(tool, record_dir, out_dir):
    run = subprocess.run([tool, record_dir, out_dir, fixture.NOW], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"make_register_page failed: {run.stderr}")
    return run.stdout.strip()


def check_pupils(dom):
    for period in fixture.PERIOD_STARTS:
        expected = fixture.expected_pupils(period)
        rows = [e for e in dom.elements if e["tag"] == "tr" and dom.inside(e, "table", **{"class": "alunni"})
                and dom.inside(e, "section", id=period)]
        check(len(rows) - 1 == len(expected), f"{period}: {len(rows)} pupils shown, {len(expected)} expected")
        for row in rows:
            cells = [e["text"].strip() for e in dom.elements if e["tag"] == "td" and row in e["parents"]]
            if not cells:
                continue  # the headings
            name = fixture.key(cells[0])
            want = expected.get(name)
            if not want:
                failures.append(f"{period}: unexpected pupil {cells[0]!r}")
                continue
            shown = cells[1:6]
            wanted = [str(want["games"]), str(want["best"]), str(want["last"]), want["percent"], want["when"]]
            check(shown == wanted, f"{period}, {name}: shows {shown}, expected {wanted}")
            circles = [e["attrs"] for e in dom.elements if e["tag"] == "circle" and row in e["parents"]]
            points = [int(c["data-esatte"]) for c in circles]
            check(points == want["points"], f"{period}, {name}: chart points {points}, expected {want['points']}")
            axis = next((e["attrs"] for e in dom.elements if e["tag"] == "line" and row in e["parents"]), None)
            if axis and circles and max(points) > 0:
                # Drawn to scale from zero: each point's height over the axis is its share of the best.
                base = float(axis["y1"])
                ys = [float(c["cy"]) for c in circles]
                top = ys[points.index(max(points))]
                for value, y in zip(points, ys):
                    share = (base - y) / (base - top)
                    check(abs(share - value / max(points)) < 0.01, f"{period}, {name}: point {value} at y={y}")
                xs = [float(c["cx"]) for c in circles]
                check(xs == sorted(set(xs)), f"{period}, {name}: points not left to right: {xs}")


def check_days(dom):
    """Each period's day tables list its games: time, pupil, right, wrong, total."""
    for period, start in fixture.PERIOD_STARTS.items():
        shown = sorted(tuple(e["text"].strip() for e in dom.elements if e["tag"] == "td" and row in e["parents"])
                       for row in dom.elements if row["tag"] == "tr" and dom.inside(row, "section", id=period)
                       and dom.inside(row, "table", **{"class": "giorno"}))
        shown = sorted((c[0], c[1].replace(" (record!)", ""), c[3], c[4], c[5]) for c in shown if c)
        wanted = sorted((when[11:16], pupil, str(right), str(wrong), str(right + wrong))
                        for when, _, pupil, right, wrong, _, _ in fixture.GAMES if when[:10] >= start)
        check(shown == wanted, f"{period}: day tables show {shown}, expected {wanted}")


def main():
    tool = sys.argv[1]
    if not shutil.which("chromium"):
        print("SKIP: chromium is not installed (apt-get install chromium)")
        return 77
    with tempfile.TemporaryDirectory() as tmp:
        record_dir, out_dir, profile = (os.path.join(tmp, d) for d in ("registro", "pagina", "profilo"))
        os.mkdir(record_dir)
        fixture.write_register(record_dir)
        page = make_page(tool, record_dir, out_dir)
        text, console = browse(page, profile)
        check(not console, f"console messages: {console}")
        dom = Dom(text)
        check_pupils(dom)
        check_days(dom)
        check(not [e for e in dom.elements if e["tag"] == "script"], "the page holds a script element")
        check(not [e for e in dom.elements if "onclick" in e["attrs"]], "a name's markup became an attribute")
        names = [e["text"].strip() for e in dom.elements if e["tag"] == "td" and e["attrs"].get("class") == "nome"]
        check(fixture.MARKUP_NAME in names, "the name with markup is not shown as text")
        notice = next((e["text"] for e in dom.elements if e["attrs"].get("id") == "righe-illeggibili"), "")
        check(f"{fixture.DAMAGED_LINES} righe" in notice, f"damaged lines notice: {notice!r}")

        # Measured by a script of the test's own, in a copy without the page's ban on scripts.
        with open(page, encoding="utf-8") as original:
            measured = re.sub(r'<meta http-equiv="Content-Security-Policy"[^>]*>', "", original.read())
        measured = measured.replace("</body>", "<script>document.body.dataset.misura = "
                                    "document.documentElement.scrollWidth + ' ' + window.innerWidth;</script></body>")
        copy = os.path.join(out_dir, "misura.html")
        with open(copy, "w", encoding="utf-8") as out:
            out.write(measured)
        for width in (400, 1280):
            text, _ = browse(copy, profile, width)
            found = re.search(r'data-misura="(\d+) (\d+)"', text)
            check(found and int(found[1]) <= int(found[2]), f"at {width} px wide the page scrolls sideways: {found and found[0]}")

        empty_dir = os.path.join(tmp, "vuoto")
        os.mkdir(empty_dir)
        text, console = browse(make_page(tool, empty_dir, os.path.join(tmp, "pagina-vuota")), profile)
        check(not console and 'id="registro-vuoto"' in text, "an empty register does not say so")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
