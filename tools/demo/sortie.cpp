#include "sortie.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

namespace demo {

void echec(const QString& message)
{
    std::fprintf(stderr, "tarvex-demo-gen: %s\n", message.toUtf8().constData());
    std::exit(1);
}

namespace {

// Code points of the bytes 0x80 to 0x9F; 0 where the code page has none.
constexpr char16_t kPlage80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char octet(QChar c, const QString& texte)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kPlage80[i] != 0 && kPlage80[i] == u)
            return static_cast<char>(0x80 + i);
    echec(QStringLiteral("caractère U+%1 hors de Windows-1252 dans « %2 »")
              .arg(static_cast<int>(u), 4, 16, QLatin1Char('0'))
              .arg(texte));
}

}  // namespace

QByteArray cp1252(const QString& texte)
{
    QByteArray octets;
    octets.reserve(texte.size());
    for (QChar c : texte)
        octets.append(octet(c, texte));
    return octets;
}

void ecrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        echec(QStringLiteral("impossible d'écrire %1").arg(chemin));
    if (f.write(octets) != octets.size())
        echec(QStringLiteral("écriture incomplète de %1").arg(chemin));
}

void ecrireLignes(const QString& chemin, const QStringList& lignes)
{
    QByteArray octets;
    for (const QString& ligne : lignes) {
        if (ligne.contains(QLatin1Char('\r')) || ligne.contains(QLatin1Char('\n')))
            echec(QStringLiteral("fin de ligne dans une valeur de %1").arg(chemin));
        octets += cp1252(ligne);
        octets += "\r\n";
    }
    ecrireOctets(chemin, octets);
}

void ecrireJpeg(const QString& chemin, QImage image, int qualite)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    QImageWriter w(chemin, "jpeg");
    w.setQuality(qualite);
    w.setOptimizedWrite(true);
    if (!w.write(image))
        echec(QStringLiteral("JPEG %1 : %2").arg(chemin, w.errorString()));
}

void ecrireIcone(const QString& chemin, const QList<QImage>& tailles)
{
    // The icon writer stores one picture per file: write each size alone,
    // then gather the entries under one directory header.
    QList<QByteArray> entrees;
    QList<QByteArray> donnees;
    for (const QImage& image : tailles) {
        QBuffer tampon;
        tampon.open(QIODevice::WriteOnly);
        QImageWriter w(&tampon, "ico");
        if (!w.write(image.convertToFormat(QImage::Format_ARGB32)))
            echec(QStringLiteral("icône : %1").arg(w.errorString()));
        const QByteArray seul = tampon.data();
        if (seul.size() < 22 || qFromLittleEndian<quint16>(seul.constData() + 4) != 1)
            echec(QStringLiteral("icône : format inattendu"));
        const quint32 taille = qFromLittleEndian<quint32>(seul.constData() + 6 + 8);
        const quint32 debut = qFromLittleEndian<quint32>(seul.constData() + 6 + 12);
        entrees.append(seul.mid(6, 16));
        QByteArray dib = seul.mid(debut, taille);
        // The writer leaves the padding of the transparency mask rows
        // uninitialised: rebuild the mask from the alpha channel so that the
        // file is the same at every run.
        const int l = image.width();
        const int h = image.height();
        const int pas = ((l + 31) / 32) * 4;
        const qsizetype masque = qFromLittleEndian<quint32>(dib.constData()) + qsizetype(l) * h * 4;
        if (qFromLittleEndian<quint16>(dib.constData() + 14) != 32 || dib.size() < masque + pas * h)
            echec(QStringLiteral("icône : image de %1 x %2 inattendue").arg(l).arg(h));
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y) {
            char* rang = dib.data() + masque + qsizetype(h - 1 - y) * pas;
            std::fill(rang, rang + pas, '\0');
            for (int x = 0; x < l; ++x)
                if (qAlpha(argb.pixel(x, y)) == 0)
                    rang[x / 8] = static_cast<char>(rang[x / 8] | (0x80 >> (x % 8)));
        }
        donnees.append(dib);
    }
    QByteArray sortie(6, '\0');
    qToLittleEndian<quint16>(0, sortie.data());
    qToLittleEndian<quint16>(1, sortie.data() + 2);
    qToLittleEndian<quint16>(static_cast<quint16>(entrees.size()), sortie.data() + 4);
    quint32 position = 6 + 16 * entrees.size();
    for (int i = 0; i < entrees.size(); ++i) {
        QByteArray e = entrees[i];
        qToLittleEndian<quint32>(static_cast<quint32>(donnees[i].size()), e.data() + 8);
        qToLittleEndian<quint32>(position, e.data() + 12);
        position += donnees[i].size();
        sortie += e;
    }
    for (const QByteArray& d : donnees)
        sortie += d;
    ecrireOctets(chemin, sortie);
}

void creerDossier(const QString& chemin)
{
    if (!QDir().mkpath(chemin))
        echec(QStringLiteral("impossible de créer %1").arg(chemin));
}

}  // namespace demo
