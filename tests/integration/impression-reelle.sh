#!/bin/sh
# Printing through the program's own printer code on a CUPS server of the
# test's own (all in a temporary folder) with a cups-pdf default queue: a demo
# sheet with a long listing, its PDF checked; then, without any printer, the
# same sheet saved as a PDF file.
#   impression-reelle.sh TARVEX_SCENARIO
# Exits 77 (skipped) without cups, printer-driver-cups-pdf or poppler-utils,
# or when not root (the cups-pdf backend runs only under a root server).

set -u
executable=${1:?chemin de tarvex-scenario}
ici=$(cd "$(dirname "$0")" && pwd)
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
. "$ici/commun.sh"

for outil in /usr/sbin/cupsd lpadmin lpstat pdfinfo pdftotext pdftoppm pdffonts; do
    command -v "$outil" >/dev/null 2>&1 || sauter "$outil est introuvable (paquets cups et poppler-utils)"
done
{ [ -e /usr/lib/cups/backend/cups-pdf ] && [ -e "$ppd" ]; } || sauter "cups-pdf est introuvable (paquet printer-driver-cups-pdf)"
[ "$(id -u)" -eq 0 ] || sauter "le serveur CUPS du test doit être lancé en root pour le pilote cups-pdf"

tmp=$(mktemp -d)
chmod 755 "$tmp"
journal="$tmp/log/error_log"
cupsd_pid= programme_pid=
# Not the job owner's PDF folder, where a file left by an earlier run (jobs
# are numbered from 1 again) or by another program may bear the same name:
# the queue has a configuration of its own, which cups-pdf reads only from
# /etc/cups under the queue's name in the device URI, for this run alone.
sortie_pdf="$tmp/pdf"
file_pdf="tarvex-$(basename "$tmp")"
conf_pdf="/etc/cups/cups-pdf-$file_pdf.conf"
nettoyer() {
    for p in $programme_pid $cupsd_pid; do kill "$p" 2>/dev/null; done
    for p in $programme_pid $cupsd_pid; do wait "$p" 2>/dev/null; done
    rm -f "$conf_pdf"
    rm -rf "$tmp"
}
trap nettoyer EXIT
trap 'exit 1' INT TERM HUP

mkdir -p "$tmp/etc" "$tmp/spool/tmp" "$tmp/cache" "$tmp/state" "$tmp/log" "$sortie_pdf"
printf 'Out %s\n' "$sortie_pdf" >"$conf_pdf" || echouer "$conf_pdf n'a pas pu être écrit"
for f in cupsd.conf cups-files.conf; do sed "s|@TMP@|$tmp|g" "$ici/fixtures/$f" >"$tmp/etc/$f"; done

/usr/sbin/cupsd -f -c "$tmp/etc/cupsd.conf" -s "$tmp/etc/cups-files.conf" >"$tmp/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER="$tmp/cups.sock"
repond() {
    kill -0 "$cupsd_pid" 2>/dev/null || { cat "$tmp/log/cupsd.out"; echouer "le serveur CUPS s'est arrêté au démarrage"; }
    lpstat -r >/dev/null 2>&1
}
attendre 10 repond || echouer "le serveur CUPS ne répond pas en 10 s"
# The server answers lpstat before its first full reload is over; a request
# that meets the reload is refused ("Bad file descriptor"), so try again.
file_creee() { lpadmin -p TarvexPDF -E -v "cups-pdf:/$file_pdf" -P "$ppd" 2>"$tmp/log/lpadmin"; }
attendre 5 file_creee || { cat "$tmp/log/lpadmin"; echouer "la file PDF n'a pas pu être créée"; }
lpadmin -d TarvexPDF || echouer "la file PDF n'a pas pu devenir l'imprimante par défaut"
export PRINTER=TarvexPDF
export QT_QPA_PLATFORM=offscreen

lancer() {
    lancer_scenario "$1"
    juger_scenario
}
# Checks the pages of a PDF: count, A4, and ink on the first one.
verifier_pages() {
    pages=$(pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p')
    [ -n "$pages" ] || echouer "$1 n'est pas un PDF lisible"
    [ "$pages" -ge 2 ] || echouer "$1 : $pages page, le listing devait continuer sur la page suivante"
    pdfinfo "$1" | grep -q 'A4' || echouer "$1 : les pages ne sont pas au format A4"
    pdftoppm -f 1 -l 1 -r 20 -gray -singlefile "$1" "$tmp/page" 2>/dev/null || echouer "$1 : la page 1 ne se dessine pas"
    encre=$(tail -c 20000 "$tmp/page.pgm" | od -An -v -tu1 | tr -s ' ' '\n' | awk '$1 != "" && $1 < 128' | wc -l)
    [ "$encre" -gt 100 ] || echouer "$1 : la page 1 est blanche"
}
# The headings and values of the sheet in the PDF's text.
verifier_texte() {
    pdftotext -layout "$1" "$tmp/texte.txt" 2>/dev/null
    for attendu in "FLASQUE Phase 10" "- Désignation -" "Pièce : FLASQUE" "Machine : CU 3 AXES" \
        "- Valeurs des PREF -" "Suivant Y : -180.125" "- Valeurs des DEC -" "- Valeurs des Jauges -" \
        "D1 L120.5 R31.5" "- Annotations programme -" "SERRER LA PIECE EN BUTEE CONTRE LE TAQUET" \
        "- Listing programme -" "N390 M2" "- Dossier Machine -" "Cône de broche : ISO 40"; do
        grep -qF -- "$attendu" "$tmp/texte.txt" || echouer "$1 : « $attendu » manque au texte du PDF"
    done
}

# 1. On the default printer, the CUPS PDF queue.
etape="include \"$ici/fixtures/imprimer-flasque.etape\""
printf '%s\n' "$etape" 'message "Transfert imprimante effectué" title "Impression" icon information' >"$tmp/imprimante.scenario"
lancer "$tmp/imprimante.scenario"
termine() { lpstat -W completed -o TarvexPDF 2>/dev/null | grep -q TarvexPDF; }
attendre 60 termine || echouer "le travail d'impression n'est pas terminé en 60 s"
imprime=$(find "$sortie_pdf" -name '*.pdf' | head -n 1)
[ -n "$imprime" ] || echouer "la file PDF n'a rien produit dans $sortie_pdf"
verifier_pages "$imprime"
pages_cups=$pages
pdffonts "$imprime" 2>/dev/null | tail -n +3 | grep -q . || echouer "$imprime : aucune police n'y est incorporée"
if pdftotext "$imprime" - 2>/dev/null | grep -qF "Désignation"; then
    verifier_texte "$imprime"
    echo "imprimante : $pages_cups pages, titres et valeurs retrouvés dans le PDF"
else
    # cups-pdf rebuilds the job through PostScript and Ghostscript, which
    # turns Qt's fonts into Type 3 glyphs without a usable Unicode map.
    echo "imprimante : $pages_cups pages A4 dessinées ; le texte du PDF de cups-pdf n'est pas extractible" \
        "(polices Type 3 refaites par Ghostscript), les titres et valeurs sont vérifiés sur le PDF enregistré"
fi

# 2. No printer at all: the sheet saved as a PDF file, same pages.
{ echo "$etape"
  printf '%s\n' 'message "Aucune imprimante n'"'"'est installée sur cet ordinateur.\nEnregistrer la fiche dans un fichier PDF ?" title "Impression" icon question answer Yes'
  echo "saveas \"$tmp/fiche\""
  echo 'message "Transfert imprimante effectué" title "Impression" icon information'; } >"$tmp/pdf.scenario"
CUPS_SERVER="$tmp/aucun.sock" lancer "$tmp/pdf.scenario"
[ -f "$tmp/fiche.pdf" ] || echouer "le fichier PDF choisi n'a pas été écrit"
verifier_pages "$tmp/fiche.pdf"
verifier_texte "$tmp/fiche.pdf"
[ "$pages" -eq "$pages_cups" ] || echouer "fichier PDF : $pages pages, l'imprimante en a eu $pages_cups"
echo "sans imprimante : $pages pages dans le fichier PDF, titres et valeurs retrouvés"
exit 0
