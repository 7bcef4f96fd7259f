#!/bin/sh
# The DNC service through the program's own serial code, COM1-COM4 each a
# socat pair with a fake control: four sheets asked at once, byte for byte; a
# program in two pieces kept, a cable dying mid-program kept incomplete; noise
# on COM1 not delaying COM3's answer; over 16 KB kept whole; SIGTERM mid-program
# kept incomplete; every transfer journaled.
#   service-reelle.sh TARVEX_SCENARIO        exits 77 (skipped) without socat

set -u
executable=${1:?chemin de tarvex-scenario}
ici=$(cd "$(dirname "$0")" && pwd)
attendus="$ici/../scenarios/cnc/attendus"
programme="$ici/fixtures/programme-cn.bin"
. "$ici/commun.sh"
socat_requis
dossier_tmp
for n in 1 2 3 4; do
    socat pty,raw,echo=0,link="$tmp/cn$n" pty,raw,echo=0,link="$tmp/pc$n" 2>/dev/null &
    pids="$pids $!"
    eval "socat$n=$!"
    export "TARVEX_COM$n=$tmp/pc$n"
done
paires() { for n in 1 2 3 4; do [ -e "$tmp/cn$n" ] && [ -e "$tmp/pc$n" ] || return 1; done; }
attendre 5 paires || echouer "socat n'a pas créé les pseudo-terminaux en 5 s"
# Held open all along: a CNC end closed between two writes would hang up.
exec 3<>"$tmp/cn1" 4<>"$tmp/cn2" 5<>"$tmp/cn3" 6<>"$tmp/cn4"
export QT_QPA_PLATFORM=offscreen
cd "$tmp" && lancer_scenario "$ici/service-reelle.scenario"
tient_les_ports() { for n in 1 2 3 4; do tient "$tmp/pc$n" || return 1; done; }
attendre 20 tient_les_ports || { cat "$tmp/sortie"; echouer "le service n'a pas ouvert les quatre ports en 20 s"; }

# Control n asks with $2 and must read back the file $3 exactly.
demander() {
    timeout 10 head -c "$(taille_de "$3")" "$tmp/cn$1" >"$tmp/recu$1" &
    lecteur=$!
    printf "$2" >"$tmp/cn$1"
    wait "$lecteur"
    cmp "$3" "$tmp/recu$1" >>"$tmp/echecs" 2>&1 || echo "COM$1 : réponse différente de $(basename "$3")" >>"$tmp/echecs"
}
moitie=12 controles=
: >"$tmp/echecs"
{ demander 1 '%%9999 (pivot  20)\n\023' "$attendus/pivot-20.txt"
  sleep 0.5; head -n "$moitie" "$programme" >"$tmp/cn1"; sleep 1.5; tail -n +"$((moitie + 1))" "$programme" >"$tmp/cn1"; } &
controles="$controles $!"
{ demander 2 '%%\r\n%%9999 (FLASQUE 10)\r\n\023' "$attendus/flasque-10.txt"
  sleep 0.5; head -n "$moitie" "$programme" >"$tmp/cn2"; sleep 1; kill "$socat2"; } &
controles="$controles $!"
demander 3 '%%\nO9999 (BAGUE 20)\n%%\n' "$attendus/bague-20.txt" &
controles="$controles $!"
demander 4 'O9999 (platine 40 )\n%%\n' "$attendus/platine-40.txt" &
wait $controles $!

# Delai 5 now: a request on COM3 in the middle of the noise on COM1.
attendre 30 test -e "$tmp/travail/pret" || { cat "$tmp/sortie"; echouer "le scénario n'a pas atteint le bruit"; }
awk 'BEGIN { for (i = 0; i < 20480; i++) printf "X\023" }' >"$tmp/bruit"
cat "$tmp/bruit" >"$tmp/cn1" &
bruiteur=$!
timeout 6 head -c "$(taille_de "$attendus/bague-20.txt")" "$tmp/cn3" >"$tmp/recu3b" &
lecteur=$!
printf '%%\nO9999 (BAGUE 20)\n%%\n' >"$tmp/cn3"
wait "$lecteur" "$bruiteur"
cmp "$attendus/bague-20.txt" "$tmp/recu3b" >>"$tmp/echecs" 2>&1 ||
    echo "COM3 : pas de réponse en 6 s pendant le bruit sur COM1" >>"$tmp/echecs"
awk 'BEGIN { printf "%%\r\n"; for (i = 1; i <= 1500; i++) printf "N%d G1 X%d.5 Z-%d\r\n", i * 10, i % 97, i % 13 }' >"$tmp/long"
printf '\023' | cat "$tmp/long" - >"$tmp/cn3"
head -n "$moitie" "$programme" >"$tmp/cn4"
sleep 0.5 && kill -TERM "$programme_pid"
juger_scenario
[ -s "$tmp/echecs" ] && { cat "$tmp/echecs"; echouer "des contrôles n'ont pas reçu leur fiche"; }

donnees="$tmp/travail/data"
cmp "$ici/fixtures/programme-recu.txt" "$donnees/recus/COM1/20261206-093000.txt" ||
    echouer "le programme de COM1 n'est pas enregistré à l'identique"
head -n "$moitie" "$programme" | cmp - "$donnees/recus/COM2/20261206-093000-incomplet.txt" ||
    echouer "le début du programme de COM2 n'est pas gardé comme incomplet"
head -n "$moitie" "$programme" | cmp - "$donnees/recus/COM4/20261206-093000-incomplet.txt" ||
    echouer "le début du programme de COM4 n'est pas gardé comme incomplet à SIGTERM"
[ "$(taille_de "$tmp/long")" -gt 16384 ] && cmp "$tmp/long" "$donnees/recus/COM3/20261206-093000.txt" ||
    echouer "le long programme de COM3 n'est pas gardé en entier"
[ "$(grep -c '^X' "$donnees/recus/COM1/20261206-bruit.txt")" -eq 20480 ] ||
    echouer "le bruit de COM1 n'est pas gardé en entier"
# Every transfer journaled; the seconds, real time, aside. The noise as it
# came in one or two lines (the first piece at once, the rest at the stop).
grep -a ';Bruit;' "$donnees/journal.txt" | awk -F ';' '{ n++; o += $8 } END { exit !(n >= 1 && n <= 2 && o == 40960) }' ||
    { cat "$donnees/journal.txt"; echouer "le bruit n'est pas journalisé une fois, ses 40960 octets comptés"; }
grep -av ';Bruit;' "$donnees/journal.txt" | cut -d ";" -f 1-10,12 | LC_ALL=C sort |
    cmp - "$ici/fixtures/journal-service.txt" ||
    { cat "$donnees/journal.txt"; echouer "le journal diffère de celui attendu"; }
echo "service : quatre fiches servies à l'identique, un programme gardé, un câble coupé gardé incomplet," \
    "une réponse à l'heure malgré le bruit, un programme gardé incomplet à SIGTERM"
exit 0
