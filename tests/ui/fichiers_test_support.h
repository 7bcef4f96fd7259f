#pragma once
// Files of a window test's working folder, written and read back as bytes.

#include <QByteArray>
#include <QString>

namespace tarvex::test {

// Writes the bytes, making the folders the path needs.
void poser(const QString& chemin, const QByteArray& octets);
// The bytes of a file, or "<absent>" when it cannot be read.
QByteArray lire(const QString& chemin);

}  // namespace tarvex::test
