#!/bin/sh
# Two programs started at once on one data folder, poste1.MODE and poste2.MODE:
# both scenarios pass. course: both create the same sheet, each is told what
# became of its creation, and the folder holds the sheet once, whole, as one
# of them typed it. perime: they wait on each other's marks.
# Usage: course.sh RUNNER FIXTURES course|perime
set -eu
runner=$1 fixtures=$2 mode=$3 ici=$(dirname "$0")
travail=$(mktemp -d) && trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/$mode/photos" && cp -r "$fixtures/atelier" "$travail/$mode/data"
cp "$fixtures/atelier/tournage.jpg" "$travail/$mode/photos/vue.jpg"
cd "$travail"
"$runner" "$ici/poste1.$mode" > 1.txt & un=$!
"$runner" "$ici/poste2.$mode" > 2.txt & deux=$!
ok=0; wait $un || ok=1; wait $deux || ok=1
cat 1.txt 2.txt
[ $ok = 0 ] || { echo "un des deux postes a échoué"; exit 1; }
[ "$mode" = course ] || exit 0
data=course/data
n=$(grep -c '^ARBRE,10,TOUR NUM,BRAS,ACIER,' $data/data.txt || true)
[ "$n" = 1 ] || { echo "la fiche est enregistrée $n fois"; exit 1; }
jauge=$(tr -d "\r" < "$data/ARBRE_Phase 10_BRAS_TOUR NUM/jauge.txt")
case "$jauge" in "POSTE1"|"POSTE2") echo "enregistrée par $jauge" ;; *) echo "jauges : $jauge"; exit 1 ;; esac
[ ! -e $data/verrou.txt ] || { echo "verrou resté"; exit 1; }
