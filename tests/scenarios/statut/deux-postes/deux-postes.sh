#!/bin/sh
# Two computers on one data folder change a sheet's status: poste1.statut
# and poste2.statut run at once and wait on each other's marks; both must
# pass, and the history holds the one change that was stored.
# Usage: deux-postes.sh RUNNER FIXTURES
set -eu
runner=$1 fixtures=$2 ici=$(dirname "$0")
travail=$(mktemp -d) && trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/statut" && cp -r "$fixtures/atelier" "$travail/statut/data"
cd "$travail"
"$runner" "$ici/poste1.statut" > 1.txt & un=$!
"$runner" "$ici/poste2.statut" > 2.txt & deux=$!
ok=0; wait $un || ok=1; wait $deux || ok=1
cat 1.txt 2.txt
[ $ok = 0 ] || { echo "un des deux postes a échoué"; exit 1; }
historique=$(tr -d "\r" < "statut/data/PIVOT_Phase 20_BRAS_TOUR NUM/statut.txt" | cut -d';' -f3-)
[ "$historique" = "$(printf 'Bloqu\351e;POSTE2;atelier;cote 25 hors tol\351rance')" ] || { echo "historique : $historique"; exit 1; }
[ ! -e statut/data/verrou.txt ] || { echo "verrou resté"; exit 1; }
