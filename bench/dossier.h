#pragma once
// The working folder of a benchmark that writes a data folder: a scratch one
// holding data\, the folder it started in given back at the end.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace tarvex::bench {

class DossierDeTravail {
public:
    DossierDeTravail() : avant_(QDir::currentPath())
    {
        QDir::setCurrent(dossier_.path());
        QDir().mkpath(QStringLiteral("data"));
    }
    ~DossierDeTravail() { QDir::setCurrent(avant_); }
    DossierDeTravail(const DossierDeTravail&) = delete;
    DossierDeTravail& operator=(const DossierDeTravail&) = delete;

private:
    QTemporaryDir dossier_;
    QString avant_;
};

}  // namespace tarvex::bench
