#!/bin/sh
# Two computers on one data folder: poste1.perime and poste2.perime run at
# once and wait on each other's marks; both must pass.
# Usage: perime.sh RUNNER FIXTURES
set -eu
runner=$1 fixtures=$2 ici=$(dirname "$0")
travail=$(mktemp -d) && trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/perime" && cp -r "$fixtures/atelier" "$travail/perime/data"
cd "$travail"
"$runner" "$ici/poste1.perime" > 1.txt & un=$!
"$runner" "$ici/poste2.perime" > 2.txt & deux=$!
ok=0; wait $un || ok=1; wait $deux || ok=1
cat 1.txt 2.txt
[ $ok = 0 ] || { echo "un des deux postes a échoué"; exit 1; }
