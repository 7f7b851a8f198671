#!/usr/bin/env bash
# Makes the teacher's register page from a register of a plausible class, made up here, and saves
# it as seen in a browser (headless Chromium) as docs/registro.png.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" googletest libgtest-dev "${REGISTER_CHECK_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DBRIVANA_WINDOW=ON >/dev/null
cmake --build build --target make_register_page

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registro"
PYTHONPATH=tests/register_page python3 - "$work/registro" <<'PYTHON'
import os, random, sys
import register_fixture as fixture

random.seed(7)
pupils = ["Giulia Rossi", "Niccolò Bianchi", "Sofia Esposito", "Mattia Romano", "Aurora Colombo",
          "Pietro De Luca", "Chiara Ricci", "Tommaso Marino"]
days = ["2026-11-23", "2026-11-25", "2026-11-30", "2026-12-02", "2026-12-07", "2026-12-09"]
lines = []
for d, day in enumerate(days):
    for p, pupil in enumerate(pupils):
        if random.random() < 0.2:
            continue
        right = max(0, 6 + 2 * d + random.randint(-3, 3) - p % 3)
        wrong = random.randint(0, 5)
        when = f"{day} {9 + p // 3:02d}:{(p % 3) * 17 + 5:02d}:00"
        ending = random.choice("TTTTEN")
        lines.append(fixture.line(when, f"LAB-{p % 4 + 1:02d}", pupil, right, wrong, ending, 0))
with open(os.path.join(sys.argv[1], "brivana-registro-2026-2027.txt"), "wb") as register:
    register.write(b"".join(lines))
PYTHON
page=$(build/tests/register_page/make_register_page "$work/registro" "$work/pagina" "2026-12-09 12:30")
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$work/profilo" \
    --window-size=1000,1250 --screenshot="$PWD/docs/registro.png" "file://$page" 2>/dev/null
echo "docs/registro.png"
