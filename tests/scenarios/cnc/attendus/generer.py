#!/usr/bin/env python3
"""Writes the expected serial bytes of the cnc scenarios, computed here apart
from the program from the demo data folder.

    python3 tests/scenarios/cnc/attendus/generer.py

Run again after the demo data changes; the files are committed.
"""

import decimal
import os
import struct

ICI = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.normpath(os.path.join(ICI, "..", "..", "..", "..", "demo", "data"))
DC3_LF = b"\x13\n"


def items(octets):
    """The items of a data file: an item ends at a comma or a line end and
    loses the blanks around it (the demo files hold no quotes)."""
    texte = octets.replace(b"\r\n", b"\n")
    if texte.endswith(b"\n"):
        texte = texte[:-1]
    r = []
    for ligne in texte.split(b"\n"):
        r.extend(i.strip(b" \t") for i in ligne.split(b","))
    return r


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def general(valeur, chiffres):
    """The number as the CNC reads it: rounded to its significant digits,
    written without exponent, no decimal part when whole."""
    if valeur == 0:
        return "0"
    d = decimal.Decimal(repr(valeur))
    arrondi = decimal.Context(prec=chiffres).plus(d)
    texte = format(arrondi.normalize(), "f")
    if "." in texte:
        texte = texte.rstrip("0").rstrip(".")
    return texte


def double(texte):
    return general(float(texte) * 1000.0, 15)


def lignes_jauge(item, type_):
    """The parameter lines of one gauge item (letters at their last place)."""
    s = item.decode("cp1252")
    pos = {c: s.rfind(c) for c in "DXZRCL"}

    def entre(a, b):
        return f32(float(s[pos[a] + 1:pos[b]].strip()))

    if type_ == 1:
        n, x, z = entre("D", "X"), entre("X", "Z"), entre("Z", "R")
        r, c = entre("R", "C"), f32(float(s[pos["C"] + 1:pos["C"] + 3].strip()))
        mille = f32(1000.0)
        valeurs = [(50000, f32(x * mille)), (51000, f32(z * mille)), (52000, f32(r * mille)), (55000, c)]
    else:
        n, l = entre("D", "L"), entre("L", "R")
        r = f32(float(s[pos["R"] + 1:].strip()))
        mille = f32(1000.0)
        valeurs = [(50000, f32(l * mille)), (52000, f32(r * mille))]
    return [("E%s=%s" % (general(f32(base + n), 7), general(v, 7))).encode() for base, v in valeurs]


def lire(dossier, nom):
    with open(os.path.join(DEMO, dossier, nom), "rb") as f:
        return f.read()


def programme_num(dossier, type_):
    prog = items(lire(dossier, "prog.txt"))
    v = [i.decode() for i in items(lire(dossier, "pref.txt"))]
    lignes = [prog[0]]
    if type_ == 1:
        px, pz, dx, dz = v[:4]
        lignes += [b"$ PREF XZ", b"E60000=" + double(px).encode(), b"E61000=" + double(pz).encode()]
        lignes += [b"$ DEC XZ", b"E60001=" + double(dx).encode(), b"E61001=" + double(dz).encode()]
    else:
        px, py, pz, dx, dy, dz = v[:6]
        lignes += [b"$ PREF XYZ"] + [b"E6%d000=%s" % (i, double(t).encode()) for i, t in enumerate((px, py, pz))]
        lignes += [b"$ DEC XYZ"] + [b"E6%d001=%s" % (i, double(t).encode()) for i, t in enumerate((dx, dy, dz))]
    lignes.append(b"$ JAUGES")
    for jauge in items(lire(dossier, "jauge.txt")):
        lignes += lignes_jauge(jauge, type_)
    lignes += prog[1:]
    return b"".join(l + b"\n" for l in lignes) + DC3_LF


def jauges_seules(dossier):
    lignes = [b"%"] + items(lire(dossier, "jauge.txt"))
    return b"".join(l + b"\n" for l in lignes) + DC3_LF


def programme_seul(octets):
    return b"".join(l + b"\n" for l in items(octets)) + DC3_LF


def ecrire(nom, octets):
    with open(os.path.join(ICI, nom), "wb") as f:
        f.write(octets)


def main():
    ecrire("pivot-20.txt", programme_num("PIVOT_Phase 20_BRAS_TOUR 1", 1))
    ecrire("flasque-10.txt", programme_num("FLASQUE_Phase 10_CARTER_CU 3 AXES", 2))
    ecrire("axe-010-jauges.txt", jauges_seules("AXE_Phase 010_Bâti_TOUR 1"))
    ecrire("pivot-30-jauges.txt", jauges_seules("PIVOT_Phase 30_BRAS_CU 3 AXES"))
    ecrire("bague-20.txt", programme_seul(lire("BAGUE_Phase 20_BRAS_TOUR T2", "prog.txt")))
    ecrire("platine-40.txt", programme_seul(lire("PLATINE_Phase 40_CARTER_FRAISEUSE F4", "prog.txt")))

    # The 10,000-item programs are written by longs.cmake when the build is configured.


if __name__ == "__main__":
    main()
