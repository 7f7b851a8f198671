#!/usr/bin/env bash
# Builds the Debian package and tries it on this machine: lintian, install with apt-get, start the
# installed game under its own virtual X server until its first window shows, let two new accounts
# that belong to no extra group play through the window for the shared record (one while the
# other holds locks on all it can), check that neither can change the record folder otherwise,
# attack the record keeper as a hostile window and kill, starve and freeze it while it saves
# (scripts/attack-keeper.py), check that each game left its line in the teachers' register, which
# a teacher's account reads and neither pupil can, remove the package and check that the shared
# record survives, then purge it. The machine is left as it was, the three accounts removed, and
# the group brivana-docenti too when the package made it.
# Changes the machine (as root, or through sudo), so ./test.sh does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
. scripts/build-package.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev lintian xvfb x11-utils xdotool openbox imagemagick passwd util-linux python3

readonly record_dir=/var/games/brivana
readonly game=/usr/games/brivana
readonly first_window="Gioca con il prodotto di numeri relativi"
readonly build_dir=build-deb
readonly pupils=(brivana-anna brivana-bruno)
readonly teacher=brivana-prof
readonly teachers_group=brivana-docenti
# The register of the school year under way, which starts on 1 September.
school_year=$(date +%Y)
[ "$(date +%-m)" -ge 9 ] || school_year=$((school_year - 1))
readonly register="brivana-registro-$school_year-$((school_year + 1)).txt"

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt() { DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get -y -q "$@"; }

die() {
    echo "check-deb: FAIL: $*" >&2
    exit 1
}
ok() { echo "check-deb: ok: $*"; }

package_status() { dpkg-query -W -f='${Status}' brivana 2>/dev/null || true; }

# Refuse to run where the outcome could not be told from what was there before.
[ -z "$(package_status)" ] || [ "$(package_status)" = "unknown ok not-installed" ] ||
    die "brivana is already known to dpkg ($(package_status)); purge it first"
[ ! -e "$record_dir" ] || die "$record_dir already exists; it would not be left as it was"
for pupil in "${pupils[@]}" "$teacher"; do
    ! id "$pupil" >/dev/null 2>&1 || die "the account $pupil already exists; it would not be left as it was"
done
group_was_there=no
! getent group "$teachers_group" >/dev/null || group_was_there=yes

packages_before=$(dpkg-query -W -f='${Package}\n' | sort)
added_packages=()
game_pid=
xvfb_pid=
wm_pid=
made_pupils=()
stop_game_and_display() {
    local pid
    for pid in $game_pid $wm_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    game_pid= wm_pid= xvfb_pid=
}
cleanup() {
    local status=$?
    stop_game_and_display
    if [ -n "$(package_status)" ] && [ "$(package_status)" != "unknown ok not-installed" ]; then
        apt purge brivana >/dev/null || true
    fi
    "${as_root[@]}" rm -rf "$record_dir"
    for pupil in "${made_pupils[@]}"; do
        "${as_root[@]}" pkill -KILL -u "$pupil" 2>/dev/null || true
        "${as_root[@]}" userdel -r "$pupil" 2>/dev/null || true
    done
    if [ "$group_was_there" = no ] && getent group "$teachers_group" >/dev/null; then
        "${as_root[@]}" groupdel "$teachers_group" || true
    fi
    if [ ${#added_packages[@]} -gt 0 ]; then
        apt purge "${added_packages[@]}" >/dev/null || true
    fi
    exit "$status"
}
trap cleanup EXIT

echo "== Building the package"
build_package "$build_dir" || die "the package was not built"
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$deb" = "$build_dir/brivana_${version}_$arch.deb" ] || die "$deb is not named brivana_${version}_$arch.deb"
[ "$arch" = "$(dpkg --print-architecture)" ] || die "architecture $arch is not this machine's"
ok "built $deb"
dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends

echo "== lintian"
lintian --fail-on error --display-info "$deb" 2>&1 | grep -v '^running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || die "lintian reports errors"
ok "lintian reports no errors"

echo "== Installing"
apt install "./$deb" >/dev/null
[ "$(package_status)" = "install ok installed" ] || die "brivana is not installed: $(package_status)"
mapfile -t added_packages < <(comm -13 <(echo "$packages_before") \
    <(dpkg-query -W -f='${Package}\n' | sort) | grep -vx brivana || true)
[ -x "$game" ] || die "$game is missing"
[ -f /usr/share/applications/org.example.Brivana.desktop ] || die "the desktop entry is missing"
owner_mode=$(stat -c '%U:%G %a' "$record_dir")
[ "$owner_mode" = "games:$teachers_group 2711" ] || die "$record_dir is $owner_mode, not games:$teachers_group 2711"
game_mode=$(stat -c '%U:%G %a' "$game")
[ "$game_mode" = "games:root 4755" ] || die "$game is $game_mode, not games:root 4755 (set-user-id games)"
ok "installed; $record_dir is games:$teachers_group 2711, $game is set-user-id games"

echo "== Starting the installed game under Xvfb"
game_log=$(mktemp)
start_virtual_screen 1024x768x24 || die "Xvfb did not start"
display=$virtual_display
DISPLAY=$display env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$game" >"$game_log" 2>&1 &
game_pid=$!
shown=no
for _ in $(seq 1 150); do
    if DISPLAY=$display xdotool search --onlyvisible --name "^$first_window\$" >/dev/null 2>&1; then
        shown=yes
        break
    fi
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
done
stop_game_and_display
[ "$shown" = yes ] || { cat "$game_log" >&2; die "no window \"$first_window\" within 30 seconds"; }
rm -f "$game_log"
ok "the installed game showed \"$first_window\""

echo "== Two pupils on ordinary accounts play for the same record"
for pupil in "${pupils[@]}"; do
    "${as_root[@]}" useradd --create-home --shell /bin/sh "$pupil"
    made_pupils+=("$pupil")
    [ "$(id -Gn "$pupil")" = "$pupil" ] || die "$pupil belongs to more groups than its own: $(id -Gn "$pupil")"
done
start_virtual_screen 1024x768x24 || die "Xvfb did not start"
display=$virtual_display
start_window_manager || die "openbox did not start"
shots=$(mktemp -d)

# Waits until a window whose title matches the pattern shows; fails after 2 minutes (a busy
# machine can take that long).
await_window() {
    for _ in $(seq 1 600); do
        DISPLAY=$display xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    import -display "$display" -window root "$shots/missing.png" 2>/dev/null || true
    die "no window matching \"$1\" within 2 minutes (the screen: $shots/missing.png)"
}
# Whether a window whose title matches the pattern is shown.
showing() { DISPLAY=$display xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
keys() { DISPLAY=$display xdotool key --delay 5 "$@"; }
# Clicks the Exit button, at its place in the window (512, 352; 121 by 73 pixels).
click_exit() {
    DISPLAY=$display xdotool search --onlyvisible --name "^Deroz Brivana\$" mousemove --window %1 572 388 click 1
}

# play PUPIL NAME GUESSES: as the account PUPIL, through the installed game's window: types NAME,
# takes the greeting, answers GUESSES questions with the likeliest product, -20, then presses Exit
# and takes every dialog that follows until the game ends. Fails on any message at start-up.
play() {
    local pupil=$1 name=$2 guesses=$3 log
    log=$(mktemp)
    chmod 644 "$log"
    "${as_root[@]}" su - "$pupil" -c "DISPLAY=$display exec $game" >"$log" 2>&1 &
    game_pid=$!
    await_window "^$first_window\$"
    # The prompt may show before the window manager gives it the focus: give it first.
    DISPLAY=$display xdotool search --onlyvisible --name "^$first_window\$" windowactivate --sync %1 >/dev/null 2>&1 || true
    DISPLAY=$display xdotool type --delay 20 "$name"
    keys Return
    await_window "^Sei pronto per il record"
    keys Return
    await_window "^Deroz Brivana\$"
    sleep 1
    # A message at start-up is a box titled Brivana: the notice about a personal folder, or a problem.
    ! showing "^Brivana\$" || { import -display "$display" -window root "$shots/notice-$pupil.png"; cat "$log" >&2
        die "$pupil was shown a message at start-up (see $shots/notice-$pupil.png)"; }
    import -display "$display" -window root "$shots/start-$pupil.png"
    for _ in $(seq 1 "$guesses"); do keys minus 2 0 Return space; done
    # Exit, then the farewell and, for a record, the congratulation (within 2 minutes).
    click_exit
    for _ in $(seq 1 600); do
        kill -0 "$game_pid" 2>/dev/null || break
        if showing "^Data " || showing "^Brivana\$"; then keys Return; fi
        sleep 0.2
    done
    ! kill -0 "$game_pid" 2>/dev/null || die "the game of $pupil did not end after Exit"
    wait "$game_pid" || true
    game_pid=
    rm -f "$log"
}
record() { tr -d '\r' <"$record_dir/$1"; }

play brivana-anna Anna 300
[ "$(record nbriv2s.txt)" = Anna ] || die "Anna's record was not saved in $record_dir"
anna_score=$(record briv2s.txt)
ok "Anna (no extra group) saved the shared record: $anna_score"
# Anna holds a lock on everything of the folder she can open, and cannot open the folder itself:
# Bruno's game reads and saves all the same.
! "${as_root[@]}" su - brivana-anna -c "flock -n $record_dir true" 2>/dev/null ||
    die "brivana-anna could open and lock $record_dir"
flocks=()
for file in "$record_dir"/*; do
    # One process: the lock is taken on descriptor 9, which sleep inherits.
    "${as_root[@]}" su - brivana-anna -c "exec 9<$file && flock -s 9 && exec sleep 600" &
    flocks+=($!)
done
sleep 1
play brivana-bruno Bruno 1500
for pid in "${flocks[@]}"; do
    "${as_root[@]}" pkill -P "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
done
[ "$(record nbriv2s.txt)" = Bruno ] || die "Bruno did not beat Anna's record of $anna_score"
bruno_score=$(record briv2s.txt)
[ "$bruno_score" -gt "$anna_score" ] || die "Bruno's $bruno_score replaced Anna's better $anna_score"
ok "Bruno saw Anna's record of $anna_score and beat it with $bruno_score (windows: $shots)"
for file in briv2s.txt nbriv2s.txt; do
    [ "$(stat -c '%U:%G %a' "$record_dir/$file")" = "games:$teachers_group 644" ] || die "$file is not games:$teachers_group 644"
done
ls -la "$record_dir"

# Nothing but the game may change the folder: every other way fails for both accounts.
for pupil in "${pupils[@]}"; do
    for attempt in "touch $record_dir/nuovo" "echo 99 >>$record_dir/briv2s.txt" \
        "chmod 666 $record_dir/briv2s.txt" "rm -f $record_dir/nbriv2s.txt" \
        "mv $record_dir/briv2s.txt $record_dir/vecchio" "ln -s /tmp $record_dir/collegamento" \
        "ln \$HOME/.profile $record_dir/collegato" "chmod 777 $record_dir" "mkdir $record_dir/cartella"; do
        if "${as_root[@]}" su - "$pupil" -c "$attempt" >/dev/null 2>&1; then
            die "$pupil could: $attempt"
        fi
    done
done
[ "$(record nbriv2s.txt)" = Bruno ] && [ "$(record briv2s.txt)" = "$bruno_score" ] || die "the record changed"
[ "$(ls -A "$record_dir" | LC_ALL=C sort | tr '\n' ' ')" = "briv2s.txt $register brivana.lock nbriv2s.txt " ] ||
    die "$record_dir holds more or less: $(ls -A "$record_dir")"
[ "$(stat -c '%U %a' "$record_dir/brivana.lock")" = "games 600" ] || die "brivana.lock is not games's, 600"
ok "neither account can create, append, chmod, rm, mv or ln anything in $record_dir"

# Each game left one whole line, stamped by the keeper; the teachers read the register, no pupil can.
[ "$(stat -c '%U:%G %a' "$record_dir/$register")" = "games:$teachers_group 640" ] ||
    die "$register is $(stat -c '%U:%G %a' "$record_dir/$register"), not games:$teachers_group 640"
"${as_root[@]}" cat "$record_dir/$register"
lines=$("${as_root[@]}" cat "$record_dir/$register" | tr -d '\r' | cut -d';' -f2,3,8,9 | tr '\n' ' ')
[ "$lines" = "$(hostname);Anna;esci;1 $(hostname);Bruno;esci;1 " ] ||
    die "the register does not hold one line for each game: $lines"
for pupil in "${pupils[@]}"; do
    for attempt in "cat $record_dir/$register" "echo x >>$record_dir/$register" "ls $record_dir"; do
        if "${as_root[@]}" su - "$pupil" -c "$attempt" >/dev/null 2>&1; then
            die "$pupil could: $attempt"
        fi
    done
done
"${as_root[@]}" useradd --create-home --shell /bin/sh --groups "$teachers_group" "$teacher"
made_pupils+=("$teacher")
[ "$("${as_root[@]}" su - "$teacher" -c "cat $record_dir/$register")" = "$("${as_root[@]}" cat "$record_dir/$register")" ] ||
    die "$teacher ($teachers_group) cannot read $register"
ok "one line for each game in $register (games:$teachers_group 640): $teacher reads it, neither pupil can"
stop_game_and_display

echo "== A hostile window's requests; the keeper killed, starved and frozen while it saves"
"${as_root[@]}" python3 scripts/attack-keeper.py brivana-anna brivana-bruno \
    "${BRIVANA_CPU_KILLS:-20}" "${BRIVANA_KILLS:-50}" "${BRIVANA_FREEZES:-5}" || die "the keeper gave in"
[ "$(record nbriv2s.txt)" = Bruno ] && [ "$(record briv2s.txt)" = "$bruno_score" ] || die "the record was not put back"

echo "== Removing (the record stays)"
printf '17\r\n' | "${as_root[@]}" tee "$record_dir/briv2s.txt" >/dev/null
printf 'Prova\r\n' | "${as_root[@]}" tee "$record_dir/nbriv2s.txt" >/dev/null
record_before=$(cd "$record_dir" && md5sum briv2s.txt nbriv2s.txt)
apt remove brivana >/dev/null
[ "$(package_status)" = "deinstall ok config-files" ] || die "after remove brivana is $(package_status)"
[ ! -e "$game" ] || die "$game is still there after remove"
[ -d "$record_dir" ] || die "$record_dir did not survive the removal"
[ "$(stat -c '%U:%G %a' "$record_dir")" = "games:$teachers_group 2711" ] || die "$record_dir changed owner or mode"
[ "$(cd "$record_dir" && md5sum briv2s.txt nbriv2s.txt)" = "$record_before" ] ||
    die "the record changed with the removal"
ok "removed; $record_dir and its record survived"

echo "== Purging (the record goes)"
apt purge brivana >/dev/null
status=$(package_status)
[ -z "$status" ] || [ "$status" = "unknown ok not-installed" ] || die "after purge brivana is $status"
[ ! -e "$record_dir" ] || die "$record_dir is still there after purge"
ok "purged; $record_dir removed"

echo "check-deb: all checks passed"
