#!/usr/bin/env python3
"""The spreadsheet file as Italian LibreOffice Calc opens it (headless, ';' between fields, UTF-8,
Italian language, special numbers not detected, as its import dialog starts): the right columns,
one row per game, dates as dates, numbers as numbers, names whole with their accents, quotes and
semicolons. Usage: check_csv.py MAKE_REGISTER_PAGE"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import register_fixture as fixture

TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
TEXT = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
HEADINGS = ["Data", "Ora", "Computer", "Alunno", "Esatte", "Errate", "Totali", "Secondi di gioco",
            "Fine della partita", "Record"]


def paragraph_text(paragraph):
    """A paragraph's text, its runs of spaces (text:s) spelled out."""
    text = paragraph.text or ""
    for child in paragraph:
        if child.tag == f"{{{TEXT}}}s":
            text += " " * int(child.get(f"{{{TEXT}}}c", "1"))
        else:
            text += "".join(child.itertext())
        text += child.tail or ""
    return text


def cells(row):
    """(type, value, text) of each cell of a row, repeated cells spelled out."""
    out = []
    for cell in row.findall(f"{{{TABLE}}}table-cell"):
        kind = cell.get(f"{{{OFFICE}}}value-type")
        value = cell.get(f"{{{OFFICE}}}date-value") or cell.get(f"{{{OFFICE}}}value")
        text = "\n".join(paragraph_text(p) for p in cell.findall(f"{{{TEXT}}}p"))
        out += [(kind, value, text)] * int(cell.get(f"{{{TABLE}}}number-columns-repeated", "1"))
    while out and out[-1][0] is None:
        out.pop()
    return out


def main():
    tool = sys.argv[1]
    soffice = shutil.which("soffice")
    if not soffice:
        print("SKIP: LibreOffice Calc is not installed (apt-get install libreoffice-calc-nogui)")
        return 77
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        record_dir, out_dir = os.path.join(tmp, "registro"), os.path.join(tmp, "pagina")
        os.mkdir(record_dir)
        fixture.write_register(record_dir)
        subprocess.run([tool, record_dir, out_dir, fixture.NOW], check=True, capture_output=True)
        csv = glob.glob(os.path.join(out_dir, "*.csv"))[0]
        subprocess.run([soffice, f"-env:UserInstallation=file://{tmp}/profilo", "--headless",
                        "--infilter=CSV:59,34,76,1,,1040,false,false", "--convert-to", "fods", "--outdir", tmp, csv],
                       check=True, capture_output=True, timeout=240)
        fods = os.path.join(tmp, os.path.basename(csv)[:-4] + ".fods")
        rows = [cells(row) for row in ET.parse(fods).iter(f"{{{TABLE}}}table-row")]
        rows = [row for row in rows if row]
        if [text for _, _, text in rows[0]] != HEADINGS:
            failures.append(f"headings {rows[0]}")
        games = sorted(fixture.GAMES)
        if len(rows) - 1 != len(games):
            failures.append(f"{len(rows) - 1} rows for {len(games)} games")
        for row, (when, computer, pupil, right, wrong, _, record) in zip(rows[1:], games):
            wanted = [("date", when[:10]), ("string", computer), ("string", pupil), ("float", str(right)),
                      ("float", str(wrong)), ("float", str(right + wrong)), ("float", "900"),
                      ("string", "sì" if record else "no")]
            got = [(row[0][0], row[0][1])] + [(k, t if k == "string" else v) for k, v, t in
                                              (row[2], row[3], row[4], row[5], row[6], row[7], row[9])]
            if len(row) != len(HEADINGS) or got != wanted:
                failures.append(f"row {[t for _, _, t in row]}: {got} instead of {wanted}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
