#include "script.h"

#include "store/cp1252.h"

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
                    const QChar e = ligne[i + 1];
                    if (e == '"' || e == '\\') {
                        mot.texte += e;
                        i += 2;
                    } else if (e == 'r') {
                        mot.texte += '\r';
                        i += 2;
                    } else if (e == 'n') {
                        mot.texte += '\n';
                        i += 2;
                    } else if (e == 't') {
                        mot.texte += '\t';
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

std::vector<Ligne> lireScript(const QString& contenu, std::vector<ErreurSyntaxe>& erreurs)
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
        QString erreur;
        if (!decouper(l, ligne.mots, erreur)) {
            erreurs.push_back({k + 1, erreur});
            continue;
        }
        lignes.push_back(std::move(ligne));
    }
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
