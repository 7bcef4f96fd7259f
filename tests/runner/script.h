#pragma once
// A scenario file as lines of words; `include` and `table` unfolded before
// anything runs, each line keeping the number of the one that brought it in.

#include <QString>
#include <QStringList>

#include <vector>

namespace tarvex::scenario {

struct Mot {
    QString texte;  // \xHH escapes stand for the Windows-1252 character of that byte
    bool guillemets = false;
};

struct Ligne {
    int numero = 0;  // from 1, in the scenario file
    std::vector<Mot> mots;
    QString dossier;  // the folder its fixtures are relative to
    QString lieu;     // the included file and line, the table row; empty in the scenario's own lines
    const QString& commande() const { return mots.front().texte; }
    QString texte(std::size_t i) const { return i < mots.size() ? mots[i].texte : QString(); }
};

struct ErreurSyntaxe {
    int numero = 0;
    QString message;
};

// Every command line (blank lines and # comments left out), includes and
// tables unfolded; `dossier` is the scenario file's folder.
std::vector<Ligne> lireScript(const QString& contenu, std::vector<ErreurSyntaxe>& erreurs,
                              const QString& dossier = QString());
// The message about a line, with where it came from.
QString avecLieu(const Ligne& l, const QString& message);

// The bytes a text stands for in a data file or on the serial line (Windows-1252).
QByteArray octets(const QString& texte);
// Lines of a multi-line text, split at CR LF, CR or LF, one empty last line dropped.
QStringList lignesDe(const QString& texte);
// Bytes shown to a person: printable text, with \r, \n, \t and \xHH for the rest.
QString lisible(const QByteArray& octets);
// A working-folder path as the scenarios and the program compare them:
// "/" or "\" alike, letter case ignored.
QString cheminNormal(const QString& chemin);

}  // namespace tarvex::scenario
