#!/bin/sh
# The CNC link end to end through the program's own serial port, over a pair
# of pseudo-terminals joined by socat: the program holds one end as its COM
# ports, this script holds the other, where the CNC would be.
#
#   liaison-reelle.sh envoi|reception|pause|arret TARVEX_SCENARIO
#
# envoi: the scenario sends two demo sheets; the bytes that come out of the
# cable must be those computed in tests/scenarios/cnc/attendus.
# reception: once the receiving window holds the port, a program ending with
# DC3 goes into the cable; the scenario saves it and checks the file.
# pause: as soon as the program holds the port, XOFF goes into the cable;
# once what was already on its way is read, nothing more may come for two
# seconds; then XON, and the whole program must arrive byte for byte.
# arret: XOFF likewise, the scenario presses Arrêter during the pause; what
# arrived is the start of the program without its DC3, and an XON sent after
# the close brings nothing more.
#
# Exits 77 (skipped) when socat is not installed.

set -u
mode=${1:?mode: envoi ou reception}
executable=${2:?chemin de tarvex-scenario}
ici=$(cd "$(dirname "$0")" && pwd)
attendus="$ici/../scenarios/cnc/attendus"

if ! command -v socat >/dev/null 2>&1; then
    echo "socat est introuvable : le test de la liaison série réelle est sauté."
    exit 77
fi

tmp=$(mktemp -d)
socat_pid=
lecteur_pid=
programme_pid=
nettoyer() {
    for p in $programme_pid $lecteur_pid $socat_pid; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap nettoyer EXIT
trap 'exit 1' INT TERM

echouer() {
    echo "ÉCHEC : $*"
    exit 1
}

# Waits up to $2 seconds for process $1 to end; its status, or 124.
attendre_fin() {
    n=0
    while kill -0 "$1" 2>/dev/null; do
        n=$((n + 1))
        if [ "$n" -gt $(($2 * 20)) ]; then
            kill "$1" 2>/dev/null
            wait "$1" 2>/dev/null
            return 124
        fi
        sleep 0.05
    done
    wait "$1"
}

socat pty,raw,echo=0,link="$tmp/cn" pty,raw,echo=0,link="$tmp/pc" 2>"$tmp/socat.log" &
socat_pid=$!
n=0
while [ ! -e "$tmp/cn" ] || [ ! -e "$tmp/pc" ]; do
    n=$((n + 1))
    [ "$n" -gt 100 ] && { cat "$tmp/socat.log"; echouer "socat n'a pas créé les pseudo-terminaux en 5 s"; }
    sleep 0.05
done
# Whatever port a machine's settings name, it is this cable.
for i in 1 2 3 4 5 6 7 8 9; do export "TARVEX_COM$i=$tmp/pc"; done
export QT_QPA_PLATFORM=offscreen

# Waits for the scenario run in the background and fails with its output.
juger_scenario() {
    attendre_fin "$programme_pid" 60
    statut=$?
    programme_pid=
    cat "$tmp/sortie"
    [ "$statut" -eq 124 ] && echouer "le scénario ne s'est pas terminé en 60 s"
    [ "$statut" -eq 0 ] || echouer "le scénario a échoué"
}

# Waits until the scenario's program holds the PC end of the cable.
attendre_port() {
    peripherique=$(readlink -f "$tmp/pc")
    n=0
    until ls -l "/proc/$programme_pid/fd" 2>/dev/null | grep -q " $peripherique\$"; do
        n=$((n + 1))
        kill -0 "$programme_pid" 2>/dev/null || return 1
        [ "$n" -gt 400 ] && return 1
        sleep 0.02
    done
}

# Bytes that can be read from the CNC end within $1 seconds, appended to $2.
lire_pendant() {
    timeout "$1" cat "$tmp/cn" >>"$2"
    return 0
}

taille_de() { wc -c <"$1" | tr -d ' '; }

case "$mode" in
pause | arret)
    attendu="$attendus/envoi-10000.txt"
    : >"$tmp/recu"
    # The CNC end is opened and closed by each read and write below; held
    # open all along, it never hangs up between two of them, which socat
    # would pass on to the program's end as a closed line.
    exec 3<"$tmp/cn"
    "$executable" "$ici/$mode-reelle.scenario" >"$tmp/sortie" 2>&1 &
    programme_pid=$!
    attendre_port || { cat "$tmp/sortie"; echouer "le programme n'a pas ouvert le port en 8 s"; }
    # XOFF once the first byte is out: the program sets the line (and its
    # XON/XOFF) between opening the port and writing, and an XOFF that came
    # before would be taken as data on a busy machine.
    timeout 10 head -c 1 "$tmp/cn" >>"$tmp/recu"
    [ "$(taille_de "$tmp/recu")" -eq 1 ] || { cat "$tmp/sortie"; echouer "rien n'est sorti du port en 10 s"; }
    printf '\023' >"$tmp/cn"
    # What was already in the pseudo-terminals and in socat when XOFF came:
    # read until nothing has come for half a second, however busy the machine.
    lire_pendant 1 "$tmp/recu"
    while :; do
        avant=$(taille_de "$tmp/recu")
        lire_pendant 0.5 "$tmp/recu"
        [ "$(taille_de "$tmp/recu")" -eq "$avant" ] && break
    done
    avant=$(taille_de "$tmp/recu")
    [ "$avant" -lt "$(taille_de "$attendu")" ] || echouer "le programme est passé en entier avant le XOFF"
    if [ "$mode" = pause ]; then
        lire_pendant 2 "$tmp/recu"
        pendant=$(taille_de "$tmp/recu")
        [ "$pendant" -eq "$avant" ] || echouer "$((pendant - avant)) octets sont arrivés pendant la pause"
        printf '\021' >"$tmp/cn"
        cat "$tmp/cn" >>"$tmp/recu" &
        lecteur_pid=$!
        juger_scenario
        taille=$(taille_de "$attendu")
        n=0
        while [ "$(taille_de "$tmp/recu")" -lt "$taille" ] && [ "$n" -lt 100 ]; do
            n=$((n + 1))
            sleep 0.05
        done
        sleep 0.2
        cmp "$attendu" "$tmp/recu" || echouer "les octets reçus après la reprise diffèrent de ceux attendus"
        echo "pause : rien pendant 2 s après les $avant premiers octets, puis $taille octets à l'identique"
    else
        cat "$tmp/cn" >>"$tmp/recu" &
        lecteur_pid=$!
        juger_scenario
        printf '\021' >"$tmp/cn" 2>/dev/null
        sleep 0.5
        recus=$(taille_de "$tmp/recu")
        [ "$recus" -lt "$(taille_de "$attendu")" ] || echouer "le programme entier est arrivé malgré l'arrêt"
        cmp -n "$recus" "$attendu" "$tmp/recu" || echouer "ce qui est arrivé n'est pas le début du programme"
        [ "$(tail -c 2 "$tmp/recu" | od -An -c | tr -d ' ')" != '023\n' ] || echouer "un DC3 a suivi l'arrêt"
        echo "arrêt : $recus octets arrivés, sans DC3, rien après la fermeture"
    fi
    ;;
envoi)
    cat "$attendus/flasque-10.txt" "$attendus/bague-20.txt" >"$tmp/attendu"
    cat "$tmp/cn" >"$tmp/recu" &
    lecteur_pid=$!
    "$executable" "$ici/envoi-reel.scenario" >"$tmp/sortie" 2>&1 &
    programme_pid=$!
    juger_scenario
    # socat may still be passing the last bytes along.
    taille=$(wc -c <"$tmp/attendu")
    n=0
    while [ "$(wc -c <"$tmp/recu")" -lt "$taille" ] && [ "$n" -lt 100 ]; do
        n=$((n + 1))
        sleep 0.05
    done
    sleep 0.2
    if ! cmp "$tmp/attendu" "$tmp/recu"; then
        echo "--- attendu"; od -c "$tmp/attendu" | tail -5
        echo "--- reçu"; od -c "$tmp/recu" | tail -5
        echouer "les octets reçus au bout du câble diffèrent de ceux attendus"
    fi
    echo "envoi : $taille octets reçus à l'identique"
    ;;
reception)
    "$executable" "$ici/reception-reelle.scenario" >"$tmp/sortie" 2>&1 &
    programme_pid=$!
    # The CNC sends once the receiving window holds the port.
    peripherique=$(readlink -f "$tmp/pc")
    n=0
    until ls -l "/proc/$programme_pid/fd" 2>/dev/null | grep -q " $peripherique\$"; do
        n=$((n + 1))
        kill -0 "$programme_pid" 2>/dev/null || break
        if [ "$n" -gt 400 ]; then
            echo "le programme n'a pas ouvert $peripherique en 20 s"
            break
        fi
        sleep 0.05
    done
    sleep 0.1
    head -c 700 "$ici/programme-cn.bin" >"$tmp/cn"
    sleep 0.2
    tail -c +701 "$ici/programme-cn.bin" >"$tmp/cn"
    juger_scenario
    ;;
*)
    echouer "mode inconnu : $mode (envoi, reception, pause ou arret)"
    ;;
esac
exit 0
