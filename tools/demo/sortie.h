#pragma once
// Writing the demo files: Windows-1252 text with CR LF line ends, JPEG
// pictures at 96 dpi, a multi-size icon, and the clean-up of a folder before
// it is regenerated.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace demo {

// The Windows-1252 bytes of a text; aborts on a character the code page
// cannot hold, so that a typing mistake in the demo texts is seen at once.
QByteArray cp1252(const QString& texte);

// Every line followed by CR LF, encoded in Windows-1252.
void ecrireLignes(const QString& chemin, const QStringList& lignes);

// Raw bytes, as they are.
void ecrireOctets(const QString& chemin, const QByteArray& octets);

// JPEG at the given quality; the resolution is set to 96 dpi (15 twips per
// pixel), which is how the program measures a picture's natural size.
void ecrireJpeg(const QString& chemin, QImage image, int qualite = 80);

// One .ico file holding every given size.
void ecrireIcone(const QString& chemin, const QList<QImage>& tailles);

// Creates the folder and its parents.
void creerDossier(const QString& chemin);

[[noreturn]] void echec(const QString& message);

}  // namespace demo
