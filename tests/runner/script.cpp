#include "script.h"

#include "store/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace tarvex::scenario {

using namespace Qt::StringLiterals;

namespace {

// Splits one line into words; false with a message on an unclosed quote.
bool decouper(const QString& ligne, std::vector<Mot>& mots, QString& erreur)
{
    static const QHash<QChar, QChar> simples{{'"', '"'}, {'\\', '\\'}, {'r', '\r'}, {'n', '\n'}, {'t', '\t'}};
    static const QRegularExpression hex(u"^x[0-9A-Fa-f]{2}$"_s);
    auto blanc = [&](int i) { return ligne[i] == ' ' || ligne[i] == '\t'; };
    mots.clear();
    const int n = ligne.size();
    for (int i = 0; i < n;) {
        if (blanc(i)) { ++i; continue; }
        Mot mot;
        if (ligne[i] != '"') {
            while (i < n && !blanc(i)) mot.texte += ligne[i++];
            mots.push_back(mot);
            continue;
        }
        mot.guillemets = true;
        for (++i; i < n && ligne[i] != '"'; ++i) {
            const QChar e = i + 1 < n ? ligne[i + 1] : QChar();
            if (ligne[i] == '\\' && simples.contains(e)) {
                mot.texte += simples[e], ++i;
            } else if (ligne[i] == '\\' && hex.match(ligne.mid(i + 1, 3)).hasMatch()) {
                const char b = static_cast<char>(ligne.mid(i + 2, 2).toInt(nullptr, 16));
                mot.texte += QString::fromStdString(cp1252::versUtf8(std::string_view(&b, 1)));
                i += 3;
            } else {
                // Any other backslash is kept, so that a regular expression
                // needs no doubling.
                mot.texte += ligne[i];
            }
        }
        const bool ferme = i < n;
        if (!ferme || (++i < n && !blanc(i))) {
            erreur = ferme ? u"un blanc doit suivre le guillemet fermant"_s : u"guillemet non fermé"_s;
            return false;
        }
        mots.push_back(mot);
    }
    return true;
}

std::vector<Ligne> lignesDuTexte(const QString& contenu, const QString& dossier, std::vector<ErreurSyntaxe>& erreurs)
{
    std::vector<Ligne> lignes;
    const QStringList brutes = contenu.split(QChar('\n'));
    for (int k = 0; k < brutes.size(); ++k) {
        const QString l = brutes[k].endsWith(QChar('\r')) ? brutes[k].chopped(1) : brutes[k];
        if (l.trimmed().isEmpty() || l.trimmed().startsWith(QChar('#'))) continue;
        Ligne ligne{k + 1, {}, dossier, {}};
        QString erreur;
        decouper(l, ligne.mots, erreur) ? lignes.push_back(std::move(ligne)) : erreurs.push_back({k + 1, erreur});
    }
    return lignes;
}

// Where a line came from, the innermost place first.
QString lieu(const QString& ici, const QString& dehors) { return dehors.isEmpty() ? ici : ici + u", "_s + dehors; }

// Unfolds includes and tables of `lignes` into `sortie`. An include that
// includes itself stops at a depth no real stage reaches.
void deplier(const std::vector<Ligne>& lignes, std::vector<Ligne>& sortie, std::vector<ErreurSyntaxe>& erreurs, int profondeur = 0)
{
    auto erreur = [&](const Ligne& l, const QString& m) { erreurs.push_back({l.numero, avecLieu(l, m)}); };
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const Ligne& l = lignes[i];
        if (l.commande() == "include") {
            const QString chemin = QDir(l.dossier).absoluteFilePath(l.texte(1));
            QFile f(chemin);
            if (l.mots.size() != 2 || profondeur > 20 || !f.open(QIODevice::ReadOnly)) {
                erreur(l, u"include : fichier illisible ou inclus sans fin : %1"_s.arg(chemin));
                continue;
            }
            std::vector<ErreurSyntaxe> siennes;
            std::vector<Ligne> incluses = lignesDuTexte(QString::fromUtf8(f.readAll()), QFileInfo(chemin).absolutePath(), siennes);
            for (const auto& e : siennes) erreur(l, u"%1:%2: %3"_s.arg(l.texte(1)).arg(e.numero).arg(e.message));
            for (Ligne& x : incluses) x.lieu = lieu(u"%1:%2"_s.arg(l.texte(1)).arg(x.numero), l.lieu), x.numero = l.numero;
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
                erreur(l, u"table : des noms, des rangs, each, le corps et end sont attendus"_s);
                return;
            }
            for (std::size_t r = i + 1; r < each; ++r) {
                const Ligne& rang = lignes[r];
                if (rang.mots.size() != l.mots.size() - 1) {
                    erreur(rang, u"rang de %1 mots, %2 attendus"_s.arg(rang.mots.size()).arg(l.mots.size() - 1));
                    continue;
                }
                std::vector<Ligne> corps(lignes.begin() + long(each) + 1, lignes.begin() + long(fin));
                for (Ligne& x : corps) {
                    for (Mot& m : x.mots)
                        for (std::size_t n = 1; n < l.mots.size(); ++n) {
                            const QString nom = QLatin1Char('{') + l.mots[n].texte + QLatin1Char('}');
                            // A placeholder alone takes the row's word whole, quoting included.
                            m.texte == nom && !m.guillemets ? void(m = rang.mots[n - 1]) : void(m.texte.replace(nom, rang.mots[n - 1].texte));
                        }
                    x.lieu = lieu(u"rang %1"_s.arg(r - i), x.lieu);
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

QString avecLieu(const Ligne& l, const QString& message) { return l.lieu.isEmpty() ? message : message + u" (%1)"_s.arg(l.lieu); }
QByteArray octets(const QString& texte) { return QByteArray::fromStdString(cp1252::depuisUtf8(texte.toStdString())); }

QStringList lignesDe(const QString& texte)
{
    QStringList l = QString(texte).replace(u"\r\n"_s, u"\n"_s).replace(QChar('\r'), QChar('\n')).split(QChar('\n'));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

QString lisible(const QByteArray& octets)
{
    static const QHash<char, QString> noms{{'\r', u"\\r"_s}, {'\n', u"\\n"_s}, {'\t', u"\\t"_s}, {'"', u"\\\""_s}, {'\\', u"\\\\"_s}};
    QString r;
    for (char c : octets) {
        const auto o = static_cast<unsigned char>(c);
        r += noms.contains(c) ? noms[c]
             : o < 0x20 || o == 0x7F || o >= 0x80 ? u"\\x"_s + QString::number(o, 16).rightJustified(2, QChar('0')).toUpper()
                                                  : QString(QChar(c));
    }
    return r;
}

QString cheminNormal(const QString& chemin)
{
    QString c = chemin;
    c.replace(QChar('\\'), QChar('/'));
    while (c.contains(u"//"_s)) c.replace(u"//"_s, u"/"_s);
    if (c.startsWith(u"./"_s)) c.remove(0, 2);
    return c.toLower();
}

}  // namespace tarvex::scenario
