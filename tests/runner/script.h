#pragma once
// Reading a scenario file: lines of words, with double-quoted values and
// their escapes.

#include <QString>
#include <QStringList>

#include <vector>

namespace tarvex::scenario {

struct Mot {
    QString texte;       // \xHH escapes stand for the Windows-1252 character of that byte
    bool guillemets = false;
};

struct Ligne {
    int numero = 0;      // from 1, in the file
    std::vector<Mot> mots;
    const QString& commande() const { return mots.front().texte; }
    QString texte(std::size_t i) const { return i < mots.size() ? mots[i].texte : QString(); }
};

struct ErreurSyntaxe {
    int numero = 0;
    QString message;
};

// Splits one line into words. Returns false with a message on an unclosed quote.
bool decouper(const QString& ligne, std::vector<Mot>& mots, QString& erreur);

// Every command line of a file (blank lines and # comments left out).
std::vector<Ligne> lireScript(const QString& contenu, std::vector<ErreurSyntaxe>& erreurs);

// The bytes a text stands for in a data file or on the serial line (Windows-1252).
QByteArray octets(const QString& texte);

// The text that bytes of a data file or of the serial line stand for.
QString depuisOctets(const QByteArray& octets);

// Lines of a multi-line text, split at CR LF, CR or LF, one empty last line dropped.
QStringList lignesDe(const QString& texte);

// Bytes shown to a person: printable text, with \r, \n, \t and \xHH for the rest.
QString lisible(const QByteArray& octets);

// A path of the working folder as the scenarios and the program compare them:
// "/" or "\" alike, letter case ignored.
QString cheminNormal(const QString& chemin);

}  // namespace tarvex::scenario
