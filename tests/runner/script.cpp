#include "script.h"

#include "store/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace tarvex::scenario {

bool decouper(const QString& ligne, std::vector<Mot>& mots, QString& erreur)
{
    mots.clear();
    const int n = ligne.size();
    int i = 0;
    while (i < n) {
        while (i < n && (ligne[i] == ' ' || ligne[i] == '\t')) ++i;
        if (i >= n) break;
        Mot mot;
        if (ligne[i] == '"') {
            mot.guillemets = true;
            ++i;
            bool ferme = false;
            while (i < n) {
                const QChar c = ligne[i];
                if (c == '"') {
                    ferme = true;
                    ++i;
                    break;
                }
                if (c == '\\' && i + 1 < n) {
                    static const QHash<QChar, QChar> simples{
                        {'"', '"'}, {'\\', '\\'}, {'r', '\r'}, {'n', '\n'}, {'t', '\t'}};
                    const QChar e = ligne[i + 1];
                    if (simples.contains(e)) {
                        mot.texte += simples[e];
                        i += 2;
                    } else if (e == 'x' && i + 3 < n) {
                        const QString hex = ligne.mid(i + 2, 2);
                        auto estHex = [](QChar h) { return h.isDigit() || (h.toLower() >= 'a' && h.toLower() <= 'f'); };
                        const int octet = hex.toInt(nullptr, 16);
                        if (estHex(hex[0]) && estHex(hex[1])) {
                            const char b = static_cast<char>(octet);
                            mot.texte += QString::fromStdString(cp1252::versUtf8(std::string_view(&b, 1)));
                            i += 4;
                        } else {
                            mot.texte += c;
                            ++i;
                        }
                    } else {
                        // Any other backslash is kept, so that a regular
                        // expression needs no doubling.
                        mot.texte += c;
                        ++i;
                    }
                    continue;
                }
                mot.texte += c;
                ++i;
            }
            if (!ferme) {
                erreur = QStringLiteral("guillemet non fermé");
                return false;
            }
            if (i < n && ligne[i] != ' ' && ligne[i] != '\t') {
                erreur = QStringLiteral("un blanc doit suivre le guillemet fermant");
                return false;
            }
        } else {
            while (i < n && ligne[i] != ' ' && ligne[i] != '\t') mot.texte += ligne[i++];
        }
        mots.push_back(mot);
    }
    return true;
}

namespace {

std::vector<Ligne> lignesDuTexte(const QString& contenu, const QString& dossier, std::vector<ErreurSyntaxe>& erreurs)
{
    std::vector<Ligne> lignes;
    const QStringList brutes = contenu.split(QChar('\n'));
    for (int k = 0; k < brutes.size(); ++k) {
        QString l = brutes[k];
        if (l.endsWith(QChar('\r'))) l.chop(1);
        const QString t = l.trimmed();
        if (t.isEmpty() || t.startsWith(QChar('#'))) continue;
        Ligne ligne;
        ligne.numero = k + 1;
        ligne.dossier = dossier;
        QString erreur;
        if (!decouper(l, ligne.mots, erreur))
            erreurs.push_back({k + 1, erreur});
        else
            lignes.push_back(std::move(ligne));
    }
    return lignes;
}

// Where a line came from, the innermost place first.
QString lieu(const QString& ici, const QString& dehors)
{
    return dehors.isEmpty() ? ici : ici + QStringLiteral(", ") + dehors;
}

// Unfolds includes and tables of `lignes` into `sortie`. An include that
// includes itself stops at a depth no real stage reaches.
void deplier(const std::vector<Ligne>& lignes, std::vector<Ligne>& sortie, std::vector<ErreurSyntaxe>& erreurs,
             int profondeur = 0)
{
    auto erreur = [&](const Ligne& l, const QString& m) {
        erreurs.push_back({l.numero, l.lieu.isEmpty() ? m : m + QStringLiteral(" (%1)").arg(l.lieu)});
    };
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const Ligne& l = lignes[i];
        if (l.commande() == "include") {
            const QString chemin = QDir(l.dossier).absoluteFilePath(l.texte(1));
            QFile f(chemin);
            if (l.mots.size() != 2 || profondeur > 20 || !f.open(QIODevice::ReadOnly)) {
                erreur(l, QStringLiteral("include : fichier illisible ou inclus sans fin : %1").arg(chemin));
                continue;
            }
            std::vector<ErreurSyntaxe> siennes;
            std::vector<Ligne> incluses = lignesDuTexte(QString::fromUtf8(f.readAll()), QFileInfo(chemin).absolutePath(), siennes);
            for (const auto& e : siennes) erreur(l, QStringLiteral("%1:%2: %3").arg(l.texte(1)).arg(e.numero).arg(e.message));
            for (Ligne& x : incluses) {
                x.lieu = lieu(QStringLiteral("%1:%2").arg(l.texte(1)).arg(x.numero), l.lieu);
                x.numero = l.numero;
            }
            deplier(incluses, sortie, erreurs, profondeur + 1);
        } else if (l.commande() == "table") {
            // The rows up to "each", the body up to the "end" of this table.
            std::size_t each = 0, fin = 0;
            int ouvertes = 0;
            for (std::size_t j = i + 1; j < lignes.size() && !fin; ++j) {
                const QString c = lignes[j].commande();
                if (c == "each" && ouvertes == 0 && !each) each = j;
                else if (c == "table" && each) ++ouvertes;
                else if (c == "end" && each && ouvertes-- == 0) fin = j;
            }
            if (!fin || l.mots.size() < 2) {
                erreur(l, QStringLiteral("table : des noms, des rangs, each, le corps et end sont attendus"));
                return;
            }
            for (std::size_t r = i + 1; r < each; ++r) {
                const Ligne& rang = lignes[r];
                if (rang.mots.size() != l.mots.size() - 1) {
                    erreur(rang, QStringLiteral("rang de %1 mots, %2 attendus").arg(rang.mots.size()).arg(l.mots.size() - 1));
                    continue;
                }
                std::vector<Ligne> corps(lignes.begin() + long(each) + 1, lignes.begin() + long(fin));
                for (Ligne& x : corps) {
                    for (Mot& m : x.mots)
                        for (std::size_t n = 1; n < l.mots.size(); ++n) {
                            const QString nom = QLatin1Char('{') + l.mots[n].texte + QLatin1Char('}');
                            if (m.texte == nom && !m.guillemets)
                                m = rang.mots[n - 1];
                            else
                                m.texte.replace(nom, rang.mots[n - 1].texte);
                        }
                    x.lieu = lieu(QStringLiteral("rang %1").arg(r - i), x.lieu);
                }
                deplier(corps, sortie, erreurs, profondeur);
            }
            i = fin;
        } else {
            sortie.push_back(l);
        }
    }
}

}  // namespace

std::vector<Ligne> lireScript(const QString& contenu, std::vector<ErreurSyntaxe>& erreurs, const QString& dossier)
{
    std::vector<Ligne> lignes;
    deplier(lignesDuTexte(contenu, dossier, erreurs), lignes, erreurs);
    return lignes;
}

QByteArray octets(const QString& texte)
{
    return QByteArray::fromStdString(cp1252::depuisUtf8(texte.toStdString()));
}

QString depuisOctets(const QByteArray& octets)
{
    return QString::fromStdString(cp1252::versUtf8(octets.toStdString()));
}

QStringList lignesDe(const QString& texte)
{
    QString t = texte;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    QStringList l = t.split(QChar('\n'));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

QString lisible(const QByteArray& octets)
{
    QString r;
    for (char c : octets) {
        const auto o = static_cast<unsigned char>(c);
        if (c == '\r')
            r += QStringLiteral("\\r");
        else if (c == '\n')
            r += QStringLiteral("\\n");
        else if (c == '\t')
            r += QStringLiteral("\\t");
        else if (c == '"')
            r += QStringLiteral("\\\"");
        else if (c == '\\')
            r += QStringLiteral("\\\\");
        else if (o < 0x20 || o == 0x7F || o >= 0x80)
            r += QStringLiteral("\\x%1").arg(o, 2, 16, QChar('0')).toUpper().replace(QStringLiteral("\\X"), QStringLiteral("\\x"));
        else
            r += QChar(c);
    }
    return r;
}

QString cheminNormal(const QString& chemin)
{
    QString c = chemin;
    c.replace(QChar('\\'), QChar('/'));
    while (c.contains(QStringLiteral("//"))) c.replace(QStringLiteral("//"), QStringLiteral("/"));
    if (c.startsWith(QStringLiteral("./"))) c.remove(0, 2);
    return c.toLower();
}

}  // namespace tarvex::scenario
