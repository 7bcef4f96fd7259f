#!/bin/sh
# The DNC service end to end through the program's own serial code: the demo
# machines' ports COM1-COM4, each its own pair of pseudo-terminals joined by
# socat, a fake control at each CNC end. All four ask for a sheet at once and
# must get the bytes Charger sends for it (tests/scenarios/cnc/attendus). COM1
# then sends a program in two pieces, kept under data\recus\COM1\ byte for
# byte; meanwhile COM2's cable dies in the middle of its program, kept as
# incomplete. The journal must hold every transfer.
#
#   service-reelle.sh TARVEX_SCENARIO        exits 77 (skipped) without socat

set -u
executable=${1:?chemin de tarvex-scenario}
ici=$(cd "$(dirname "$0")" && pwd)
attendus="$ici/../scenarios/cnc/attendus"
programme="$ici/fixtures/programme-cn.bin"
. "$ici/commun.sh"
command -v socat >/dev/null 2>&1 || { echo "socat est introuvable : test sauté."; exit 77; }

tmp=$(mktemp -d)
socats= programme_pid=
nettoyer() {
    for p in $programme_pid $socats; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap nettoyer EXIT
trap 'exit 1' INT TERM

for n in 1 2 3 4; do
    socat pty,raw,echo=0,link="$tmp/cn$n" pty,raw,echo=0,link="$tmp/pc$n" 2>/dev/null &
    socats="$socats $!"
    eval "socat$n=$!"
    export "TARVEX_COM$n=$tmp/pc$n"
done
paires() { for n in 1 2 3 4; do [ -e "$tmp/cn$n" ] && [ -e "$tmp/pc$n" ] || return 1; done; }
attendre 5 paires || echouer "socat n'a pas créé les pseudo-terminaux en 5 s"
# Held open all along: a CNC end closed between two writes would hang up.
exec 3<>"$tmp/cn1" 4<>"$tmp/cn2" 5<>"$tmp/cn3" 6<>"$tmp/cn4"
export QT_QPA_PLATFORM=offscreen
cd "$tmp" && lancer_scenario "$ici/service-reelle.scenario"
tient_les_ports() {
    for n in 1 2 3 4; do
        ls -l "/proc/$programme_pid/fd" 2>/dev/null | grep -q " $(readlink -f "$tmp/pc$n")\$" || return 1
    done
}
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
juger_scenario
[ -s "$tmp/echecs" ] && { cat "$tmp/echecs"; echouer "des contrôles n'ont pas reçu leur fiche"; }

donnees="$tmp/travail/data"
cmp "$ici/fixtures/programme-recu.txt" "$donnees/recus/COM1/20261206-093000.txt" ||
    echouer "le programme de COM1 n'est pas enregistré à l'identique"
head -n "$moitie" "$programme" | cmp - "$donnees/recus/COM2/20261206-093000-incomplet.txt" ||
    echouer "le début du programme de COM2 n'est pas gardé comme incomplet"
# Every transfer journaled; the seconds, real time, aside.
cut -d ";" -f 1-10,12 "$donnees/journal.txt" | LC_ALL=C sort | cmp - "$ici/fixtures/journal-service.txt" ||
    { cat "$donnees/journal.txt"; echouer "le journal diffère de celui attendu"; }
echo "service : quatre fiches servies à l'identique, un programme gardé, un câble coupé gardé incomplet"
exit 0
