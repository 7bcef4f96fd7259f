#!/bin/sh
# Charger through the program's own serial port, a socat pair whose other end
# this script holds as the CNC (sheets byte for byte: service-reelle.sh).
#   liaison-reelle.sh pause|arret|continu TARVEX_SCENARIO   exits 77 without socat
# pause: XOFF once the first byte is out; nothing more for two seconds after
# what was on its way; then XON, and the whole program byte for byte.
# arret: XOFF likewise, Arrêter during the pause; the start of the program
# arrived, without DC3, and nothing after the close.
# continu: 50 MB drip-fed from PC - CN, XOFF held past the ordinary limit
# (shortened to 1 s), then XON: every byte as the ordinary sending's.

set -u
mode=${1:?mode: pause, arret ou continu}
executable=${2:?chemin de tarvex-scenario}
ici=$(cd "$(dirname "$0")" && pwd)
attendus="$ici/../scenarios/cnc/attendus"
. "$ici/commun.sh"

socat_requis
dossier_tmp
socat pty,raw,echo=0,link="$tmp/cn" pty,raw,echo=0,link="$tmp/pc" 2>"$tmp/socat.log" &
pids=$!
paire() { [ -e "$tmp/cn" ] && [ -e "$tmp/pc" ]; }
attendre 5 paire || { cat "$tmp/socat.log"; echouer "socat n'a pas créé les pseudo-terminaux en 5 s"; }
# Whatever port a machine's settings name, it is this cable.
for i in 1 2 3 4 5 6 7 8 9; do export "TARVEX_COM$i=$tmp/pc"; done
export QT_QPA_PLATFORM=offscreen

attendre_port() {
    attendre 20 tient "$tmp/pc" || { cat "$tmp/sortie"; echouer "le programme n'a pas ouvert le port en 20 s"; }
}
# Bytes that can be read from the CNC end within $1 seconds, appended to $tmp/recu.
lire_pendant() {
    timeout "$1" cat "$tmp/cn" >>"$tmp/recu"
    return 0
}
# Reads the CNC end into $tmp/recu in the background.
lire_en_fond() {
    cat "$tmp/cn" >>"$tmp/recu" &
    pids="$pids $!"
}
# Waits up to 5 s for $tmp/recu to hold what $1 holds (socat may still be
# passing the last bytes along), then a little more for any extra byte.
attendre_recu() {
    attendre 5 au_moins "$tmp/recu" "$(taille_de "$1")"
    sleep 0.2
}

: >"$tmp/recu"
case "$mode" in
continu)
    # Plain blocks, so that the sending's bytes are the file's with LF alone.
    mkdir -p "$tmp/travail/progs"
    awk 'BEGIN { printf "%%1234\r\n"; for (i = 1; i <= 1450000; i++)
                 printf "N%d G1 X%d.5 Y-%d Z-%d F900\r\n", i * 10, i % 400, i % 300, i % 40 }' \
        >"$tmp/travail/progs/gros.txt"
    { tr -d '\r' <"$tmp/travail/progs/gros.txt"; printf '\023\n'; } >"$tmp/attendu"
    exec 3<"$tmp/cn"
    # The scenario's folders are its working folder's, here the scratch one.
    cd "$tmp/travail"
    lancer_scenario "$ici/continu-reelle.scenario"
    # The program started and its windows gone through: longer on a busy machine.
    attendre 60 tient "$tmp/pc" || { cat "$tmp/sortie"; echouer "le programme n'a pas ouvert le port en 60 s"; }
    timeout 20 head -c 1 "$tmp/cn" >>"$tmp/recu"
    [ "$(taille_de "$tmp/recu")" -eq 1 ] || { cat "$tmp/sortie"; echouer "rien n'est sorti du port en 20 s"; }
    printf '\023' >"$tmp/cn"
    lire_pendant 1
    avant=$(taille_de "$tmp/recu")
    # Three times the ordinary limit, the scenario looking at the window meanwhile.
    lire_pendant 3
    [ "$(taille_de "$tmp/recu")" -lt "$(taille_de "$tmp/attendu")" ] || echouer "le programme est passé en entier malgré le XOFF"
    printf '\021' >"$tmp/cn"
    lire_en_fond
    # Sent again, XOFF as soon as it starts, and stopped by the scenario.
    taille=$(taille_de "$tmp/attendu")
    attendre 30 au_moins "$tmp/recu" $((taille + 1)) || { cat "$tmp/sortie"; echouer "le second envoi n'a pas commencé"; }
    printf '\023' >"$tmp/cn"
    juger_scenario
    cmp -n "$taille" "$tmp/attendu" "$tmp/recu" || echouer "les octets reçus diffèrent de ceux de l'envoi ordinaire"
    tail -c +$((taille + 1)) "$tmp/recu" >"$tmp/second"
    cmp -n "$(taille_de "$tmp/second")" "$tmp/attendu" "$tmp/second" || echouer "l'envoi arrêté n'est pas le début du programme"
    journal="$tmp/travail/data/journal.txt"
    grep -q ';Envoi en continu;gros.txt;[0-9]*;[0-9]*;OK;' "$journal" || echouer "le journal ne dit pas l'envoi en continu"
    # Line k of the program (k > 1) is block N(k-1)0: the line named is the one its block says.
    set -- $(LC_ALL=C sed -n 's/.*;Envoi en continu;gros.txt;[0-9]*;[0-9]*;Interrompu apr.s la ligne \([0-9]*\) N\([0-9]*\);.*/\1 \2/p' "$journal")
    [ $# -eq 2 ] && [ "$1" -gt 1 ] && [ "$2" -eq $((($1 - 1) * 10)) ] ||
        echouer "le journal ne nomme pas la dernière ligne partie avec son bloc : $*"
    echo "continu : XOFF tenu 4 s après $avant octets, puis $taille octets à l'identique; arrêté après la ligne $1 (N$2)"
    ;;
pause | arret)
    attendu="$attendus/envoi-10000.txt"
    # The CNC end is opened and closed by each read and write below; held
    # open all along, it never hangs up between two of them, which socat
    # would pass on to the program's end as a closed line.
    exec 3<"$tmp/cn"
    lancer_scenario "$ici/$mode-reelle.scenario"
    attendre_port
    # XOFF once the first byte is out: the program sets the line (and its
    # XON/XOFF) between opening the port and writing, and an XOFF that came
    # before would be taken as data on a busy machine.
    timeout 10 head -c 1 "$tmp/cn" >>"$tmp/recu"
    [ "$(taille_de "$tmp/recu")" -eq 1 ] || { cat "$tmp/sortie"; echouer "rien n'est sorti du port en 10 s"; }
    printf '\023' >"$tmp/cn"
    # What was already in the pseudo-terminals and in socat when XOFF came:
    # read until nothing has come for half a second, however busy the machine.
    lire_pendant 1
    while :; do
        avant=$(taille_de "$tmp/recu")
        lire_pendant 0.5
        [ "$(taille_de "$tmp/recu")" -eq "$avant" ] && break
    done
    [ "$avant" -lt "$(taille_de "$attendu")" ] || echouer "le programme est passé en entier avant le XOFF"
    if [ "$mode" = pause ]; then
        lire_pendant 2
        pendant=$(taille_de "$tmp/recu")
        [ "$pendant" -eq "$avant" ] || echouer "$((pendant - avant)) octets sont arrivés pendant la pause"
        printf '\021' >"$tmp/cn"
        lire_en_fond
        juger_scenario
        attendre_recu "$attendu"
        cmp "$attendu" "$tmp/recu" || echouer "les octets reçus après la reprise diffèrent de ceux attendus"
        echo "pause : rien pendant 2 s après les $avant premiers octets, puis $(taille_de "$attendu") octets à l'identique"
    else
        lire_en_fond
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
*)
    echouer "mode inconnu : $mode (pause ou arret)"
    ;;
esac
exit 0
