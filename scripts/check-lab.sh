#!/usr/bin/env bash
# Two computers of a lab, made on this one, keep one class record in a folder of the "school's
# server": the package installed with the lab folder preseeded for debconf; each computer a mount
# namespace with its own /var/games, both seeing one folder (the share) at the lab folder's mount
# point. Two new accounts play through the real window, one on each computer: the record saved on
# one is the record the other plays for. Then saves race from both computers and one computer's
# keeper is killed while it saves (scripts/race-lab.py); then the server hangs (a FUSE folder that
# answers nothing, scripts/hung-server.c): the window must be usable within 3 seconds with a true
# message, and the score and the game's register line kept on the computer are delivered once the
# server is back. Kernel SMB and
# NFS mounts cannot be made here: the share is a plain folder, bind-mounted.
# The two computers' game is the package's, extracted into a folder of this run and bound over
# /usr/games, with the setting bound over /etc/brivana, inside the namespaces only: a package that
# someone else has installed on this machine is left alone (the debconf part then waits for a
# machine without it, and says so).
# Changes the machine (as root): run alone, under the machine's lock; leaves it as it was.
set -euo pipefail
[ "${BRIVANA_SYSTEM_LOCKED:-}" = 1 ] || exec env BRIVANA_SYSTEM_LOCKED=1 flock /tmp/brivana-system.lock "$0" "$@"
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
. scripts/build-package.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev debconf xvfb x11-utils xdotool openbox imagemagick passwd util-linux python3 \
    fuse3 libfuse3-dev pkg-config gcc

readonly record_dir=/var/games/brivana
readonly game=/usr/games/brivana
readonly lab=/mnt/brivana-classe-prova
readonly setting=/etc/brivana/record-classe.conf
readonly first_window="Gioca con il prodotto di numeri relativi"
readonly build_dir=build-deb
readonly pupils=(lab-anna lab-bruno)
readonly rounds=${BRIVANA_LAB_ROUNDS:-200} kills=${BRIVANA_LAB_KILLS:-50}

[ "$(id -u)" -eq 0 ] || { echo "check-lab: run as root (it installs the package and makes mount namespaces)" >&2; exit 1; }
apt() { DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@"; }
die() {
    echo "check-lab: FAIL: $*" >&2
    exit 1
}
ok() { echo "check-lab: ok: $*"; }
package_status() { dpkg-query -W -f='${Status}' brivana 2>/dev/null || true; }

host_free=yes
[ -z "$(package_status)" ] || [ "$(package_status)" = "unknown ok not-installed" ] || host_free=no
[ "$host_free" = no ] || [ ! -e "$record_dir" ] || die "$record_dir exists without the package; it would not be left as it was"
[ "$host_free" = no ] || [ ! -e /etc/brivana ] || die "/etc/brivana exists without the package"
[ ! -e "$lab" ] || die "$lab already exists; it would not be left as it was"
made_etc=no
for pupil in "${pupils[@]}"; do
    ! id "$pupil" >/dev/null 2>&1 || die "the account $pupil already exists"
done

work=$(mktemp -d /tmp/brivana-lab.XXXXXX)
chmod 755 "$work"
share=$work/share
packages_before=$(dpkg-query -W -f='${Package}\n' | sort)
added_packages=()
made_pupils=()
holders=()
pids=()
hung_pid=
cleanup() {
    local status=$? pid
    for pid in $hung_pid "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    for pid in "${holders[@]}"; do
        nsenter -t "$pid" -m -- umount -l "$lab" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
    done
    for pid in $hung_pid "${pids[@]}" "${holders[@]}"; do wait "$pid" 2>/dev/null || true; done
    if [ "$host_free" = yes ]; then
        if [ -n "$(package_status)" ] && [ "$(package_status)" != "unknown ok not-installed" ]; then
            apt purge brivana >/dev/null || true
        fi
        echo "brivana brivana/cartella-record-classe string" | debconf-set-selections 2>/dev/null || true
        rm -rf "$record_dir" /etc/brivana
    fi
    [ "$made_etc" = no ] || rmdir /etc/brivana 2>/dev/null || true
    rmdir "$lab" 2>/dev/null || true
    for pupil in "${made_pupils[@]}"; do
        pkill -KILL -u "$pupil" 2>/dev/null || true
        userdel -r "$pupil" 2>/dev/null || true
    done
    if [ ${#added_packages[@]} -gt 0 ]; then apt purge "${added_packages[@]}" >/dev/null || true; fi
    if [ -n "${BRIVANA_LAB_KEEP_SHOTS:-}" ] && [ -d "$work/shots" ]; then
        mkdir -p "$BRIVANA_LAB_KEEP_SHOTS" && cp "$work"/shots/*.png "$work"/game-*.log "$BRIVANA_LAB_KEEP_SHOTS"/ 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

echo "== Building the package and the hung server"
build_package "$build_dir" || die "the package was not built"
gcc -O2 -Wall -Wextra -Werror -o "$work/hung-server" scripts/hung-server.c $(pkg-config --cflags --libs fuse3)
ok "built $deb"

mkdir -p "$lab"
chmod 755 "$lab"
if [ "$host_free" = yes ]; then
    echo "== Installing with the lab folder preseeded"
    echo "brivana brivana/cartella-record-classe string $lab" | debconf-set-selections
    apt install "./$deb" >/dev/null
    mapfile -t added_packages < <(comm -13 <(echo "$packages_before") \
        <(dpkg-query -W -f='${Package}\n' | sort) | grep -vx brivana || true)
    [ "$(cat "$setting" 2>/dev/null | grep -v '^#')" = "cartella=$lab" ] || die "$setting does not name $lab"
    [ "$(stat -c '%U:%G %a' "$setting")" = "root:root 644" ] || die "$setting is $(stat -c '%U:%G %a' "$setting")"
    [ "$(stat -c '%U:%G %a' /etc/brivana)" = "root:root 755" ] || die "/etc/brivana is not root's"
    # The administrator answers dpkg-reconfigure's question (debconf's editor front end, the answer
    # typed by a script): first another folder, then none, then the lab's again.
    printf '%s\n' '#!/bin/sh' \
        'sed -i "s|^brivana/cartella-record-classe=.*|brivana/cartella-record-classe=\"$ANSWER\"|" "$1"' >"$work/answer.sh"
    chmod 755 "$work/answer.sh"
    # The frontend named in the environment (noninteractive on many machines) would win over -f.
    reconfigure() { ANSWER=$1 EDITOR=$work/answer.sh DEBIAN_FRONTEND=editor dpkg-reconfigure -p low brivana >/dev/null; }
    reconfigure /mnt/altrove
    grep -qx "cartella=/mnt/altrove" "$setting" || die "dpkg-reconfigure did not change $setting"
    reconfigure ""
    [ ! -e "$setting" ] || die "an empty answer left $setting"
    reconfigure "$lab"
    grep -qx "cartella=$lab" "$setting" || die "dpkg-reconfigure did not set $setting back"
    ok "preseeded and reconfigured: $setting (root:root 644) names $lab; an empty answer removes it"

    apt purge brivana >/dev/null
    echo "brivana brivana/cartella-record-classe string" | debconf-set-selections
    [ ! -e /etc/brivana ] && [ ! -e "$record_dir" ] || die "the purge left /etc/brivana or $record_dir"
    ok "purged: the setting and the record folder are gone"
else
    echo "check-lab: SKIPPED the debconf part: a brivana package ($(package_status)) is installed here by someone else"
fi

echo "== The package on the two computers"
# As the package installs it, in this run's own folders: the game set-user-id games, the setting root's.
dpkg-deb -x "$deb" "$work/root"
chown games:root "$work/root/usr/games/brivana"
chmod 4755 "$work/root/usr/games/brivana"
mkdir -p "$work/etc-brivana"
printf '# Cartella del record della classe (dpkg-reconfigure brivana per cambiarla)\ncartella=%s\n' "$lab" >"$work/etc-brivana/record-classe.conf"
chmod 644 "$work/etc-brivana/record-classe.conf"
if [ ! -e /etc/brivana ]; then mkdir /etc/brivana && made_etc=yes; fi

for pupil in "${pupils[@]}"; do
    useradd --create-home --shell /bin/sh "$pupil"
    made_pupils+=("$pupil")
done

echo "== Two computers sharing one folder of the server"
# The share as the administrator mounts it for the keeper's account (CIFS uid=games,
# file_mode=0600,dir_mode=0700; or an NFS export owned by games): nobody else may enter.
mkdir -p "$share"
chown games:games "$share"
chmod 700 "$share"
for computer in a b; do
    mkdir -p "$work/$computer/var-games/brivana"
    chown games:games "$work/$computer/var-games/brivana"
    chmod 2711 "$work/$computer/var-games/brivana"
    unshare -m --propagation private sh -c 'mount --bind "$1" /var/games && mount --bind "$2" "$3" &&
        mount --bind "$4/usr/games" /usr/games && mount --bind "$5" /etc/brivana && exec sleep infinity' \
        sh "$work/$computer/var-games" "$share" "$lab" "$work/root" "$work/etc-brivana" &
    holders+=($!)
done
holder_a=${holders[0]} holder_b=${holders[1]}
sleep 1
on() { local holder=$1; shift; nsenter -t "$holder" -m -- "$@"; }
for holder in "$holder_a" "$holder_b"; do
    on "$holder" findmnt -n "$lab" >/dev/null || die "the share is not mounted at $lab in namespace $holder"
done
[ -z "$(ls -A "$lab")" ] || die "$lab outside the two computers is not empty"
for pupil in "${pupils[@]}"; do
    ! on "$holder_a" su - "$pupil" -c "echo cartella=/tmp >>$setting" 2>/dev/null || die "$pupil could write $setting"
done
ok "computers A and B: each its own /var/games, both with the share at $lab; no pupil can write $setting"

echo "== The administrator's check on each computer"
for holder in "$holder_a" "$holder_b"; do
    on "$holder" su - lab-anna -c "$game --verifica-record" >"$work/check.txt" || { cat "$work/check.txt"; die "the check failed"; }
    grep -q "record della classe è in $lab/" "$work/check.txt" && grep -q "^Scrittura: riuscita" "$work/check.txt" ||
        { cat "$work/check.txt"; die "the check does not say the keeper writes $lab"; }
done
cat "$work/check.txt"
! on "$holder_a" su - lab-anna -c "touch $lab/nuovo" 2>/dev/null || die "lab-anna could write the share through the mount"
! on "$holder_a" su - lab-anna -c "ls $lab" >/dev/null 2>&1 || die "lab-anna could list the share"
ok "the check says where the record is and that the keeper reads and writes it; a pupil cannot write the share"

echo "== Anna on computer A, then Bruno on computer B, through the window"
start_virtual_screen 1024x768x24 || die "Xvfb did not start"
display=$virtual_display
pids+=("$xvfb_pid")
start_window_manager || die "openbox did not start"
pids+=("$wm_pid")
shots=$work/shots
mkdir -p "$shots"
showing() { DISPLAY=$display xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
await_window() {
    for _ in $(seq 1 600); do showing "$1" && return 0; sleep 0.1; done
    import -display "$display" -window root "$shots/missing.png" 2>/dev/null || true
    die "no window matching \"$1\" within a minute"
}
keys() { DISPLAY=$display xdotool key --delay 5 "$@"; }
click_exit() { DISPLAY=$display xdotool search --onlyvisible --name "^Deroz Brivana\$" mousemove --window %1 572 388 click 1; }
now() { date +%s.%N; }
seconds() { echo "$2 - $1" | bc -l | xargs printf '%.2f'; }

# start HOLDER PUPIL NAME: the game started on a computer; stops after the greeting, with the time
# the greeting was taken in $greeted.
start() {
    on "$1" su - "$2" -c "DISPLAY=$display exec $game" >"$work/game-$2.log" 2>&1 &
    game_pid=$!
    pids+=("$game_pid")
    await_window "^$first_window\$"
    DISPLAY=$display xdotool search --onlyvisible --name "^$first_window\$" windowactivate --sync %1 >/dev/null 2>&1 || true
    # The prompt's box takes the focus a moment after its window: a key before that is lost.
    sleep 0.5
    DISPLAY=$display xdotool type --delay 20 "$3"
    keys Return
    await_window "^Sei pronto per il record"
    keys Return
    greeted=$(now)
}
# finish GUESSES: answers, presses Exit, and takes every box until the game ends; a box titled
# Brivana after the farewell is shot as $shots/end-<n>.png, with its time from the farewell.
finish() {
    await_window "^Deroz Brivana\$"
    for _ in $(seq 1 "$1"); do keys minus 2 0 Return space; done
    click_exit
    await_window "^Data "
    keys Return
    local farewell
    farewell=$(now)
    end_box=
    for _ in $(seq 1 600); do
        kill -0 "$game_pid" 2>/dev/null || break
        if showing "^Brivana\$"; then
            [ -n "$end_box" ] || { end_box=$(seconds "$farewell" "$(now)"); import -display "$display" -window root "$shots/end-$2.png"; }
            keys Return
        fi
        sleep 0.1
    done
    ! kill -0 "$game_pid" 2>/dev/null || die "the game did not end after Exit"
}
share_record() { tr -d '\r' <"$share/$1"; }

start "$holder_a" lab-anna Anna
sleep 1
! showing "^Brivana\$" || { import -display "$display" -window root "$shots/anna-start.png"; die "Anna was shown a message at start-up ($shots/anna-start.png)"; }
finish 300 anna
[ "$(share_record nbriv2s.txt)" = Anna ] || die "Anna's record did not reach the share"
anna_score=$(share_record briv2s.txt)
[ ! -e "$work/a/var-games/brivana/briv2s.txt" ] || die "computer A kept a record of its own"
ok "Anna on computer A saved the class record on the share: $anna_score"

start "$holder_b" lab-bruno Bruno
await_window "^Deroz Brivana\$"
sleep 1
import -display "$display" -window root "$shots/bruno-start.png"
finish 1500 bruno
[ "$(share_record nbriv2s.txt)" = Bruno ] || die "Bruno did not beat Anna's class record of $anna_score"
bruno_score=$(share_record briv2s.txt)
[ "$bruno_score" -gt "$anna_score" ] || die "Bruno's $bruno_score replaced Anna's better $anna_score"
ok "Bruno on computer B played for Anna's $anna_score ($shots/bruno-start.png) and beat it with $bruno_score"

echo "== Saves racing from both computers; computer A's keeper killed while it saves"
python3 scripts/race-lab.py "$share" "$holder_a" lab-anna "$holder_b" lab-bruno "$rounds" "$kills" ||
    die "the class record gave in"

echo "== The server hangs"
printf '0\r\n' >"$share/briv2s.txt"
printf 'Inizio\r\n' >"$share/nbriv2s.txt"
# Computer A has seen no class record yet (its memory of the races is forgotten): any score is a record.
rm -f "$work/a/var-games/brivana/record-classe.txt"
on "$holder_a" umount -l "$lab"
# Started straight from here (not through a function, which would run in a subshell), so that
# $! is the server itself.
nsenter -t "$holder_a" -m -- "$work/hung-server" -f -o allow_other,max_threads=64 "$lab" 2>/dev/null &
hung_pid=$!
sleep 1
register_lines() { cat "$share"/brivana-registro-*.txt 2>/dev/null | wc -l; }
lines_before=$(register_lines)
start "$holder_a" lab-anna Anna
await_window "^Brivana\$"
shown=$(seconds "$greeted" "$(now)")
import -display "$display" -window root "$shots/hung-start.png"
awk "BEGIN { exit !($shown < 3) }" || die "the start-up's message came after $shown s"
keys Return
await_window "^Deroz Brivana\$"
ok "with the server hung, the start-up said so after $shown s ($shots/hung-start.png)"
finish 300 hung
[ -n "$end_box" ] || die "the end of the game said nothing about the score"
awk "BEGIN { exit !($end_box < 3) }" || die "the end's message came after $end_box s"
pending=$(sed -n 3,4p "$work/a/var-games/brivana/record-classe.txt" | tr '\n' ' ')
[ -n "${pending%% *}" ] && [ "${pending#* }" = "Anna " ] || die "no score of Anna's is kept on computer A: $pending"
[ "$(stat -c '%U %a' "$work/a/var-games/brivana/record-classe.txt")" = "games 644" ] || die "the kept score is not games'"
ok "the end said so after $end_box s ($shots/end-hung.png); computer A keeps ${pending% } for the server"
waiting=$work/a/var-games/brivana/registro-in-attesa.txt
[ "$(grep -c ';Anna;' "$waiting")" = 1 ] || die "computer A does not keep Anna's game for the register"
[ "$(stat -c '%U %a' "$waiting")" = "games 640" ] || die "the games waiting for the register are $(stat -c '%U %a' "$waiting")"
[ "$(register_lines)" = "$lines_before" ] || die "a line reached the register while the server hung"
anna_line=$(grep ';Anna;' "$waiting" | cut -c2-)
told=$(on "$holder_a" su - lab-anna -c "$game --verifica-record" | grep '^Partite in attesa' || true)
[ "$told" = "Partite in attesa del registro della classe: 1" ] || die "the administrator's check says: $told"
ok "computer A keeps Anna's game for the register, readable by no pupil: ${anna_line%$'\r'}"

echo "== The server is back"
kill -KILL "$hung_pid"
wait "$hung_pid" 2>/dev/null || true
hung_pid=
on "$holder_a" umount -l "$lab"
on "$holder_a" mount --bind "$share" "$lab"
start "$holder_a" lab-bruno Bruno
await_window "^Deroz Brivana\$"
[ "$(share_record briv2s.txt) $(share_record nbriv2s.txt)" = "${pending% }" ] ||
    die "the kept score ${pending% } was not delivered: the share holds $(share_record briv2s.txt) $(share_record nbriv2s.txt)"
[ -z "$(sed -n 3p "$work/a/var-games/brivana/record-classe.txt")" ] || die "computer A still keeps the delivered score"
finish 0 back
ok "the next start-up on computer A delivered Anna's kept ${pending% } to the share and forgot it"
[ ! -e "$waiting" ] || die "computer A still keeps games for the register: $(cat "$waiting")"
[ "$(cat "$share"/brivana-registro-*.txt | grep -cxF "$anna_line")" = 1 ] || die "Anna's kept game is not in the register once"
[ "$(register_lines)" = $((lines_before + 2)) ] || die "the register has $(register_lines) lines, not $((lines_before + 2))"
ok "the register got Anna's kept game once, then Bruno's"

echo "== Without the lab folder: a computer C with no setting, its keeper attacked (scripts/attack-keeper.py)"
mkdir -p "$work/c/var-games/brivana" "$work/c/etc-brivana"
printf '0\r\n' >"$work/c/var-games/brivana/briv2s.txt"
printf 'Inizio\r\n' >"$work/c/var-games/brivana/nbriv2s.txt"
chown -R games:games "$work/c/var-games/brivana"
chmod 2711 "$work/c/var-games/brivana"
unshare -m --propagation private sh -c 'mount --bind "$1" /var/games && mount --bind "$2/usr/games" /usr/games &&
    mount --bind "$3" /etc/brivana && exec python3 scripts/attack-keeper.py lab-anna lab-bruno 5 20 5' \
    sh "$work/c/var-games" "$work/root" "$work/c/etc-brivana" || die "the keeper without the lab folder gave in"
[ "$(stat -c '%U:%G %a' "$work/c/var-games/brivana/brivana.lock")" = "games:games 600" ] ||
    die "the lock file is not games:games 600"
ok "without the lab folder the keeper keeps its record in its own /var/games/brivana, lock file games:games 600"

echo "check-lab: all checks passed (the screens are kept when BRIVANA_LAB_KEEP_SHOTS names a folder)"
