#!/bin/sh
# The Debian package, end to end. One step per call:
#   paquet.sh construction BUILD DOSSIER VERSION
#   paquet.sh contenu|menu|demarrage|lintian BUILD DOSSIER VERSION SOURCES SONDE
# construction builds the package once with CPack into DOSSIER and unpacks it
# into DOSSIER/racine; the other steps look at what it built. Exit 77: the
# tool a step needs is missing, the step is skipped.
set -eu
etape=$1 build=$2 dossier=$3 version=$4
sources=${5:-} sonde=${6:-}
racine=$dossier/racine
deb=$dossier/tarvex.deb

echec() { echo "ÉCHEC : $*" >&2; exit 1; }
outil() { command -v "$1" >/dev/null 2>&1 || { echo "$1 absent : étape sautée" >&2; exit 77; }; }

case $etape in
construction)
    outil dpkg-deb
    outil dpkg-shlibdeps
    outil cpack
    rm -rf "$dossier"
    mkdir -p "$dossier/sortie"
    (cd "$build" && cpack -G DEB -B "$dossier/sortie" --config CPackConfig.cmake) >"$dossier/cpack.log" 2>&1 ||
        { cat "$dossier/cpack.log" >&2; echec "cpack"; }
    nom=tarvex_${version}_$(dpkg --print-architecture).deb
    [ -f "$dossier/sortie/$nom" ] || { ls "$dossier/sortie" >&2; echec "$nom n'a pas été construit"; }
    mv "$dossier/sortie/$nom" "$deb"
    rm -rf "$dossier/sortie"
    dpkg -x "$deb" "$racine"
    echo "$nom construit et déballé dans $racine"
    ;;

contenu)
    outil dpkg-deb
    # Every file, and the one empty folder, exactly: nothing of the build
    # or the tests, the whole demo data.
    attendu=$dossier/contenu-attendu.txt
    trouve=$dossier/contenu-trouve.txt
    {
        cat "$sources/tests/paquet/attendu.txt"
        (cd "$sources/demo/data" && find . -type f) | sed 's|^\./|./usr/share/tarvex/demo/data/|'
    } | LC_ALL=C sort >"$attendu"
    dpkg-deb --fsys-tarfile "$deb" | tar -t | while IFS= read -r entree; do
        case $entree in
        */) grep -qxF "$entree" "$sources/tests/paquet/attendu.txt" && printf '%s\n' "$entree" ;;
        *) printf '%s\n' "$entree" ;;
        esac
    done | LC_ALL=C sort >"$trouve"
    diff -u "$attendu" "$trouve" || echec "contenu du paquet (- attendu, + trouvé)"
    [ -z "$(find "$racine" -perm /022)" ] || { find "$racine" -perm /022 >&2; echec "fichiers modifiables par d'autres"; }
    [ -x "$racine/usr/bin/tarvex" ] || echec "usr/bin/tarvex n'est pas exécutable"
    # The control fields: the version of CMakeLists.txt, and dependencies
    # found by dpkg-shlibdeps in the program.
    [ "$(dpkg-deb -f "$deb" Package)" = tarvex ] || echec "Package"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || echec "Version : $(dpkg-deb -f "$deb" Version)"
    depend=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6; do
        case ", $depend" in *", $lib "*|*", $lib,"*) ;; *) echec "Depends sans $lib : $depend" ;; esac
    done
    echo "contenu conforme : $(wc -l <"$trouve") entrées ; Depends: $depend"
    ;;

menu)
    outil desktop-file-validate
    entree=$racine/usr/share/applications/tarvex.desktop
    desktop-file-validate "$entree" || echec "desktop-file-validate"
    champ() { sed -n "s/^$1=//p" "$entree"; }
    [ "$(champ Name)" = Tarvex ] || echec "Name"
    [ "$(champ Comment)" = "Fiches de réglage d'usinage et liaison PC - CN" ] || echec "Comment"
    for c in Office Engineering; do
        case ";$(champ Categories)" in *";$c;"*) ;; *) echec "Categories sans $c" ;; esac
    done
    [ -x "$racine/usr/bin/$(champ Exec)" ] || echec "Exec : $(champ Exec) absent de usr/bin"
    # The icon at each size, a PNG of that size.
    for taille in 16 22 24 32 48 64 128 256; do
        png=$racine/usr/share/icons/hicolor/${taille}x${taille}/apps/$(champ Icon).png
        [ -f "$png" ] || echec "icône $taille absente"
        l=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4, $7 * 256 + $8 }')
        [ "$l" = "$taille $taille" ] || echec "icône $taille : $l"
    done
    echo "entrée de menu valide"
    ;;

demarrage)
    # The installed program, started from elsewhere as the menu starts it: its
    # first start (the probe acting as the operator) makes a new empty folder
    # with its code, then the demo copy; started again on the new folder it
    # comes up and stays up, finds its libraries and plugins, writes nothing.
    ailleurs=$dossier/demarrage/ailleurs
    rm -rf "$dossier/demarrage"
    mkdir -p "$ailleurs"
    premier() {
        (cd "$ailleurs" && TARVEX_HOME=$1 HOME=$ailleurs QT_QPA_PLATFORM=offscreen LD_PRELOAD=$sonde \
            TARVEX_SONDE_CODE="Clé 2026" timeout 60 "$racine/usr/bin/tarvex")
    }
    vu=$(premier "$dossier/demarrage/vide/tarvex") || echec "premier démarrage : $vu"
    [ "$vu" = "sonde : selectphase ouverte, 0 fiche(s) dans la liste" ] || echec "$vu"
    fiches=$(grep -c . "$racine/usr/share/tarvex/demo/data/data.txt")
    vu=$(export TARVEX_SONDE_DEMO=1; premier "$dossier/demarrage/demo/tarvex") || echec "premier démarrage : $vu"
    [ "$vu" = "sonde : selectphase ouverte, $fiches fiche(s) dans la liste" ] || echec "$vu"
    # Every entry with its type, and every file's bytes.
    instantane() { (cd "$1" && find . -printf '%y %p\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort); }
    lancer() {
        (cd "$ailleurs" && TARVEX_HOME=$1 HOME=$ailleurs QT_QPA_PLATFORM=offscreen \
            exec "$racine/usr/bin/tarvex" >"$dossier/demarrage/sortie.txt" 2>&1) &
        pid=$!
        sleep 3
        kill -0 "$pid" 2>/dev/null || { cat "$dossier/demarrage/sortie.txt" >&2; echec "le programme s'est arrêté"; }
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        if grep -Ei "could not|cannot|failed|erreur" "$dossier/demarrage/sortie.txt" >&2; then
            echec "messages au démarrage"
        fi
    }
    travail=$dossier/demarrage/vide/tarvex
    avant=$(instantane "$travail")
    lancer "$travail"
    [ "$avant" = "$(instantane "$travail")" ] || echec "le démarrage a écrit dans le dossier de travail"
    # Without a data folder the first start's window waits for a choice:
    # nothing is written meanwhile, not even the working folder.
    lancer "$dossier/demarrage/neuf/tarvex"
    [ ! -e "$dossier/demarrage/neuf" ] || echec "la première fenêtre a écrit avant d'être confirmée"
    echo "le programme installé démarre"
    ;;

lintian)
    outil lintian
    # Errors fail the step; the warnings are listed.
    rc=0
    rapport=$(lintian --fail-on error "$deb" 2>&1) || rc=$?
    printf '%s\n' "$rapport" | grep -v "running with root privileges" || true
    [ "$rc" -eq 0 ] || echec "lintian signale une erreur"
    ;;

*)
    echec "étape inconnue : $etape"
    ;;
esac
