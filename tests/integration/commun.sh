# Sourced by the end-to-end scripts: failing, waiting, running a scenario.
# They set $executable (tarvex-scenario) and $tmp, their scratch folder.

echouer() {
    echo "ÉCHEC : $*"
    [ -n "${journal:-}" ] && [ -f "$journal" ] && tail -20 "$journal"
    exit 1
}

# Runs the command every 50 ms until it succeeds; fails (1) after $1 seconds.
attendre() {
    limite=$(($1 * 20))
    shift
    n=0
    until "$@"; do
        n=$((n + 1))
        [ "$n" -gt "$limite" ] && return 1
        sleep 0.05
    done
}

# The scenario $1 run in the background, its output in $tmp/sortie.
lancer_scenario() {
    "$executable" "$1" >"$tmp/sortie" 2>&1 &
    programme_pid=$!
}
scenario_fini() { ! kill -0 "$programme_pid" 2>/dev/null; }

# Waits up to 60 s for the scenario and fails with its output unless it passed.
juger_scenario() {
    attendre 60 scenario_fini || { cat "$tmp/sortie"; echouer "le scénario ne s'est pas terminé en 60 s"; }
    wait "$programme_pid"
    statut=$?
    programme_pid=
    cat "$tmp/sortie"
    [ "$statut" -eq 0 ] || echouer "le scénario a échoué"
}

taille_de() { wc -c <"$1" | tr -d ' '; }
# True once file $1 holds at least $2 bytes.
au_moins() { [ "$(taille_de "$1")" -ge "$2" ]; }

# Exits 77 (the test skipped), saying why; where socat is missing, for one.
sauter() { echo "$* : test sauté."; exit 77; }
socat_requis() { command -v socat >/dev/null 2>&1 || sauter "socat est introuvable"; }
# $tmp made, and removed at the end with the scenario and every process of $pids.
pids= programme_pid=
dossier_tmp() {
    tmp=$(mktemp -d)
    trap 'for p in $programme_pid $pids; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$tmp"' EXIT
    trap 'exit 1' INT TERM
}
# True while the scenario's program holds the file $1 open.
tient() { ls -l "/proc/$programme_pid/fd" 2>/dev/null | grep -q " $(readlink -f "$1")\$"; }
