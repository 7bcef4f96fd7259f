#!/bin/sh
# poste1.statut and poste2.statut at once on one folder, each waiting for the
# other's marks: both pass, the history holds the one change stored.
# Usage: deux-postes.sh RUNNER FIXTURES
set -eu
runner=$1 ici=$(dirname "$0") travail=$(mktemp -d) && trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/statut" && cp -r "$2/atelier" "$travail/statut/data" && cd "$travail"
"$runner" "$ici/poste1.statut" > 1.txt & un=$!
"$runner" "$ici/poste2.statut" > 2.txt & deux=$!
ok=0; wait $un || ok=1; wait $deux || ok=1; cat 1.txt 2.txt
[ $ok = 0 ] && [ ! -e statut/data/verrou.txt ] || exit 1
[ "$(cut -d';' -f3,4 "statut/data/PIVOT_Phase 20_BRAS_TOUR NUM/statut.txt")" = "$(printf 'Bloqu\351e;POSTE2')" ]
