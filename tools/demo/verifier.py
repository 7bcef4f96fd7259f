#!/usr/bin/env python3
"""Checks that a Tarvex data folder (by default demo/data) is complete and
consistent: every sheet of the index can be shown and sent without a missing
file, and every text file follows the data file conventions (Windows-1252,
CR LF after every line).

    python3 tools/demo/verifier.py [data folder]

Prints one line per problem and a summary; the exit status is 1 when a
problem was found.
"""

import os
import re
import struct
import sys

PICTURE_FILES = {  # flag index in the record -> picture file
    6: "Vue.jpg", 7: "mont1.jpg", 8: "mont2.jpg", 9: "inst.jpg", 10: "bride.jpg",
    11: "butée.jpg", 12: "prefx.jpg", 13: "prefy.jpg", 14: "prefz.jpg",
}
MILLING_ONLY = {8, 10, 11, 12, 13}
FLAG_NAMES = ["vue", "mont1", "mont2", "inst", "bride", "butee", "prefx", "prefy", "prefz",
              "dossier", "programme"]
PORTS = {"COM1", "COM2", "COM3", "COM4", "COM5"}
SPEEDS = {"9600", "4800", "2400", "1200", "600", "300"}
PARITIES = {"E(ven)", "N(one)", "O(dd)"}
DATA_BITS = {"5", "6", "7", "8"}
STOP_BITS = {"1", "2"}
KINDS = {"1": "tournage", "2": "fraisage"}
CNC_TYPES = {"1": "NUM", "2": "FAGOR", "3": "FANUC", "10": "autre"}
FORBIDDEN_IN_NAMES = set('_/\\:;,*?<>')
UNDEFINED_CP1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
MAX_PICTURE = 80 * 1024
MAX_TOTAL = 3 * 1024 * 1024
NUMBER = re.compile(r"^-?\d+(\.\d+)?$")


class Report:
    def __init__(self):
        self.problems = []

    def error(self, where, message):
        self.problems.append(f"{where}: {message}")


R = Report()


# --------------------------------------------------------------------------
# Text conventions and the item reader.

def read_text(path, where):
    """The file's text decoded from Windows-1252, after checking the
    conventions; None when the file is missing."""
    if not os.path.isfile(path):
        R.error(where, "fichier absent")
        return None
    data = open(path, "rb").read()
    if not data:
        R.error(where, "fichier vide")
        return None
    bad = sorted({b for b in data if b in UNDEFINED_CP1252})
    if bad:
        R.error(where, "octets hors Windows-1252: " + ", ".join(f"0x{b:02X}" for b in bad))
    if not data.endswith(b"\r\n"):
        R.error(where, "la dernière ligne ne finit pas par CR LF")
    stripped = data.replace(b"\r\n", b"")
    if b"\r" in stripped or b"\n" in stripped:
        R.error(where, "CR ou LF isolé (toute ligne doit finir par CR LF)")
    controls = sorted({b for b in stripped if b < 0x20 and b != 0x09})
    if controls:
        R.error(where, "caractères de contrôle: " + ", ".join(f"0x{b:02X}" for b in controls))
    try:
        data.decode("utf-8")
        if any(b >= 0x80 for b in data):
            R.error(where, "texte en UTF-8 (il doit être en Windows-1252)")
    except UnicodeDecodeError:
        pass
    return data.decode("cp1252", errors="replace")


def lines_of(text):
    return text.split("\r\n")[:-1]


def items(text):
    """The item reader: commas and line ends separate items, blanks around an
    unquoted item are dropped, double quotes group an item."""
    result = []
    i, n = 0, len(text)
    while i < n:
        while i < n and text[i] in " \t":
            i += 1
        if i >= n:
            break
        if text[i] == '"':
            j = text.find('"', i + 1)
            j = n if j < 0 else j
            result.append(text[i + 1:j])
            i = j + 1
            while i < n and text[i] not in ",\r\n":
                i += 1
        else:
            j = i
            while j < n and text[j] not in ",\r\n":
                j += 1
            result.append(text[i:j].rstrip(" \t"))
            i = j
        if i < n:
            if text[i] == "\r" and i + 1 < n and text[i + 1] == "\n":
                i += 2
            else:
                i += 1
    return result


def read_number(text):
    """The number reading of the program: blanks ignored, optional sign,
    digits with one decimal point, optional exponent; 0 without a number."""
    t = re.sub(r"[ \t\r\n]", "", text)
    m = re.match(r"[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?", t)
    return float(m.group(0)) if m else 0.0


# --------------------------------------------------------------------------
# Binary files.

def jpeg_size(path, where):
    data = open(path, "rb").read()
    if not data.startswith(b"\xff\xd8"):
        R.error(where, "pas un JPEG")
        return None
    if len(data) > MAX_PICTURE:
        R.error(where, f"{len(data)} octets (> {MAX_PICTURE})")
    i = 2
    while i + 9 < len(data):
        if data[i] != 0xFF:
            i += 1
            continue
        marker = data[i + 1]
        if marker in (0xC0, 0xC1, 0xC2):
            h, w = struct.unpack(">HH", data[i + 5:i + 9])
            return w, h
        length = struct.unpack(">H", data[i + 2:i + 4])[0]
        i += 2 + length
    R.error(where, "dimensions introuvables")
    return None


def check_picture(path, where):
    if not os.path.isfile(path):
        R.error(where, "image absente")
        return None
    return jpeg_size(path, where)


def check_icon(path, where):
    if not os.path.isfile(path):
        R.error(where, "icône absente")
        return
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if reserved != 0 or kind != 1:
        R.error(where, "pas une icône")
        return
    sizes = set()
    for k in range(count):
        w, h = data[6 + 16 * k], data[7 + 16 * k]
        size, offset = struct.unpack("<II", data[14 + 16 * k:22 + 16 * k])
        if offset + size > len(data):
            R.error(where, f"image {k} hors du fichier")
        sizes.add((w or 256, h or 256))
    for s in (16, 32, 48):
        if (s, s) not in sizes:
            R.error(where, f"pas de taille {s}x{s}")


def check_pdf(path, where):
    if not os.path.isfile(path):
        R.error(where, "dossier technique absent")
        return
    data = open(path, "rb").read()
    if not data.startswith(b"%PDF-") or b"%%EOF" not in data[-64:]:
        R.error(where, "pas un PDF complet")
    pages = len(re.findall(rb"/Type\s*/Page[^s]", data))
    if pages not in (1, 2):
        R.error(where, f"{pages} pages (1 ou 2 attendues)")


# --------------------------------------------------------------------------
# Sheet contents.

def check_gauges(text, kind, cnc, where):
    values = items(text)
    raw_lines = lines_of(text)
    if any(not l.strip() for l in raw_lines):
        R.error(where, "ligne vide")
    if len(values) > 100:
        R.error(where, f"{len(values)} jauges (100 au plus)")
    letters = "DXZRC" if kind == "1" else "DLR"
    for g in values:
        if g == "A compléter":
            if cnc == "1":
                R.error(where, "jauges à compléter sur une machine NUM (elles sont transmises)")
            continue
        pos = {c: g.rfind(c) for c in letters}
        missing = [c for c in letters if pos[c] < 0]
        if missing:
            R.error(where, f"« {g} » : lettre(s) {''.join(missing)} absente(s)")
            continue
        order = [pos[c] for c in letters]
        if order != sorted(order) or len(set(order)) != len(order):
            R.error(where, f"« {g} » : lettres hors de l'ordre {letters}")
            continue
        if not g.startswith("D"):
            R.error(where, f"« {g} » ne commence pas par D")
        bounds = order + [len(g)]
        for k, c in enumerate(letters):
            part = g[bounds[k] + 1:bounds[k + 1]].strip()
            if c == "C":
                tail = g[pos["C"] + 1:]
                if not 1 <= len(tail) <= 2:
                    R.error(where, f"« {g} » : C doit être suivi d'un ou deux caractères")
                continue
            if not NUMBER.match(part):
                R.error(where, f"« {g} » : valeur {c} « {part} » non numérique")


def check_program(text, cnc, where):
    lines = lines_of(text)
    n_items = len(items(text))
    if n_items > 10000:
        R.error(where, f"{n_items} éléments (10000 au plus)")
    if not lines:
        R.error(where, "programme vide")
        return
    if cnc == "3":
        if lines[0] != "%":
            R.error(where, "un programme FANUC commence par une ligne « % »")
        if len(lines) < 2 or not re.match(r"^O\d{1,5}\b", lines[1]):
            R.error(where, "deuxième ligne FANUC attendue : O<numéro> (commentaire)")
        if lines[-1] != "%" or "M30" not in text:
            R.error(where, "un programme FANUC finit par M30 puis « % »")
    elif cnc == "1":
        if not re.match(r"^%\d+$", lines[0]):
            R.error(where, f"première ligne NUM attendue %<numéro>, lue « {lines[0]} »")
        if not any(re.match(r"^N\d+ ", l) for l in lines):
            R.error(where, "aucun bloc N")
    elif not lines[0].startswith("%"):
        R.error(where, "la première ligne n'ouvre pas le programme (%)")


def check_values(folder, kind, cnc, where):
    axes = 3 if kind == "2" else 2
    if cnc == "1":
        text = read_text(os.path.join(folder, "pref.txt"), where + "/pref.txt")
        if text is not None:
            vals = lines_of(text)
            if len(vals) != 2 * axes:
                R.error(where + "/pref.txt", f"{len(vals)} lignes ({2 * axes} attendues)")
            for v in vals:
                if not NUMBER.match(v):
                    R.error(where + "/pref.txt", f"valeur « {v} » non numérique")
        return "pref.txt"
    if cnc == "3":
        text = read_text(os.path.join(folder, "origine.txt"), where + "/origine.txt")
        if text is not None:
            vals = lines_of(text)
            if len(vals) != axes + 1:
                R.error(where + "/origine.txt", f"{len(vals)} lignes ({axes + 1} attendues)")
            elif not re.match(r"^G5[4-9]$", vals[0]):
                R.error(where + "/origine.txt", f"décalage « {vals[0]} » (G54 à G59 attendu)")
            for v in vals[1:]:
                if not NUMBER.match(v):
                    R.error(where + "/origine.txt", f"valeur « {v} » non numérique")
        return "origine.txt"
    if cnc == "2":
        text = read_text(os.path.join(folder, "info.txt"), where + "/info.txt")
        if text is not None:
            content = text[:-2]
            if not content or content != content.strip():
                R.error(where + "/info.txt", "texte vide, ou blancs en début ou en fin de texte")
        return "info.txt"
    return None


# --------------------------------------------------------------------------

def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "demo", "data")
    if not os.path.isdir(data):
        print(f"{data}: dossier absent")
        return 1

    # Files delivered with the program.
    for name in ("tarvex.jpg", "tournage.jpg", "fraisage.jpg", "pasdimage.jpg"):
        check_picture(os.path.join(data, name), name)
    check_icon(os.path.join(data, "icon.ico"), "icon.ico")
    read_text(os.path.join(data, "pasdeprogramme.txt"), "pasdeprogramme.txt")
    code_text = read_text(os.path.join(data, "code.tvx"), "code.tvx")
    code = items(code_text)[0].strip() if code_text and items(code_text) else ""
    if not code:
        R.error("code.tvx", "pas de code")
    for stray in ("data.tmp", "machinetemp.txt"):
        if os.path.exists(os.path.join(data, stray)):
            R.error(stray, "fichier temporaire laissé")

    # Machines.
    machines = {}
    text = read_text(os.path.join(data, "machine.txt"), "machine.txt")
    names = items(text) if text else []
    seen = set()
    for name in names:
        key = name.strip().upper()
        if key in seen:
            R.error("machine.txt", f"« {name} » en double")
        seen.add(key)
        where = f"machine/{name}"
        folder = os.path.join(data, "machine", name)
        if not os.path.isdir(folder):
            R.error(where, "dossier absent")
            continue
        com = read_text(os.path.join(folder, "com.txt"), where + "/com.txt")
        values = lines_of(com) if com else []
        if com is not None and len(values) != 7:
            R.error(where + "/com.txt", f"{len(values)} lignes (7 attendues)")
        if len(values) == 7:
            for v, allowed, label in zip(values, (PORTS, SPEEDS, PARITIES, DATA_BITS, STOP_BITS, KINDS, CNC_TYPES),
                                         ("port", "vitesse", "parité", "bits", "stop", "type", "directeur")):
                if v not in allowed:
                    R.error(where + "/com.txt", f"{label} « {v} » hors liste")
        size = check_picture(os.path.join(folder, "image.jpg"), where + "/image.jpg")
        read_text(os.path.join(folder, "dossier.txt"), where + "/dossier.txt")
        machines[name] = (values, size)

    # Sheets.
    text = read_text(os.path.join(data, "data.txt"), "data.txt")
    records = []
    if text:
        for n, line in enumerate(lines_of(text), 1):
            fields = items(line)
            if len(fields) != 16:
                R.error(f"data.txt:{n}", f"{len(fields)} champs (16 attendus)")
                continue
            if line != ",".join(fields):
                R.error(f"data.txt:{n}", "blancs ou guillemets autour des champs")
            records.append((n, fields))
        if len(items(text)) % 16:
            R.error("data.txt", "le nombre d'éléments n'est pas un multiple de 16")
    used_machines = set()
    keys = set()
    summary = []
    for n, f in records:
        piece, phase, machine, ensemble, matiere = f[:5]
        flags = f[5:]
        where = f"data.txt:{n} ({piece} Phase {phase})"
        for label, value in (("pièce", piece), ("ensemble", ensemble), ("matière", matiere)):
            if not value or set(value) & FORBIDDEN_IN_NAMES:
                R.error(where, f"{label} « {value} » vide ou avec un caractère interdit")
        if read_number(phase) == 0:
            R.error(where, f"phase « {phase} » non numérique ou nulle")
        for k, flag in enumerate(flags):
            if flag not in ("O", "N"):
                R.error(where, f"drapeau {FLAG_NAMES[k]} « {flag} »")
        if flags[0] != "O":
            R.error(where, "pas de vue de la pièce")
        if machine not in machines:
            R.error(where, f"machine « {machine} » inconnue")
            continue
        used_machines.add(machine)
        com, _ = machines[machine]
        if len(com) != 7:
            R.error(where, f"machine « {machine} » sans com.txt complet")
            continue
        kind, cnc = com[5], com[6]
        folder_name = f"{piece}_Phase {phase}_{ensemble}_{machine}"
        if folder_name in keys:
            R.error(where, "deux fiches pour le même dossier")
        keys.add(folder_name)
        folder = os.path.join(data, folder_name)
        where = folder_name
        if not os.path.isdir(folder):
            R.error(where, "dossier de fiche absent")
            continue
        expected = {"jauge.txt"}
        pictures = []
        for index, file in PICTURE_FILES.items():
            flag = f[index - 1]
            if flag == "O":
                if kind == "1" and index in MILLING_ONLY:
                    R.error(where, f"{file} : photo de fraisage sur un tour")
                size = check_picture(os.path.join(folder, file), f"{where}/{file}")
                pictures.append(f"{file[:-4]} {size[0]}x{size[1]}" if size else file)
                expected.add(file)
        if f[14] == "O":
            check_pdf(os.path.join(folder, "dossier.pdf"), where + "/dossier.pdf")
            expected.add("dossier.pdf")
        if f[15] == "O":
            prog = read_text(os.path.join(folder, "prog.txt"), where + "/prog.txt")
            if prog is not None:
                check_program(prog, cnc, where + "/prog.txt")
            expected.add("prog.txt")
        value_file = check_values(folder, kind, cnc, where)
        if value_file:
            expected.add(value_file)
        gauges = read_text(os.path.join(folder, "jauge.txt"), where + "/jauge.txt")
        if gauges is not None:
            check_gauges(gauges, kind, cnc, where + "/jauge.txt")
        extra = set(os.listdir(folder)) - expected
        if extra:
            R.error(where, "fichiers en trop : " + ", ".join(sorted(extra)))
        summary.append(f"  {piece} Phase {phase} / {machine} ({KINDS[kind]}, {CNC_TYPES[cnc]}) : "
                       f"programme {f[15]}, dossier {f[14]}, {len(pictures)} image(s)")

    # Folders that no record names.
    for entry in sorted(os.listdir(data)):
        path = os.path.join(data, entry)
        if os.path.isdir(path) and entry != "machine" and entry not in keys:
            R.error(entry, "dossier de fiche sans enregistrement dans data.txt")
    for entry in sorted(os.listdir(os.path.join(data, "machine"))):
        if entry not in names:
            R.error(f"machine/{entry}", "dossier sans ligne dans machine.txt")

    total = sum(os.path.getsize(os.path.join(d, x)) for d, _, fs in os.walk(data) for x in fs)
    if total > MAX_TOTAL:
        R.error(data, f"{total} octets au total (> {MAX_TOTAL})")

    print(f"{data}")
    print(f"  code d'autorisation : {code}")
    print(f"  {len(names)} machines ({len(used_machines)} utilisées), {len(records)} fiches, {total} octets")
    for line in summary:
        print(line)
    for p in R.problems:
        print("ERREUR " + p)
    print("OK" if not R.problems else f"{len(R.problems)} problème(s)")
    return 1 if R.problems else 0


if __name__ == "__main__":
    sys.exit(main())
