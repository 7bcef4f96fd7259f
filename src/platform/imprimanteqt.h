#pragma once
// The system's default printer (CUPS on Linux, the spooler on Windows) on
// QPrinter, or a PDF file with the same pages where the system has none.

#include "platform/services.h"

#include <QFont>

#include <memory>

class QPainter;
class QPrinter;

namespace tarvex::plateforme {

class QtImprimante : public Imprimante {
public:
    QtImprimante();
    ~QtImprimante() override;

    bool installee() override;
    void versPdf(const QString& fichier) override;
    bool commencer() override;
    void image(double x, double y, double largeur, double hauteur, const QString& cheminData) override;
    void dessin(double x, double largeur, double hauteur, const Peintre& peindre) override;
    void hauteur(double y) override;
    void texte(double x, double taille, bool gras, const QString& texte) override;
    void ligneVide() override;
    bool terminer() override;
    void abandonner() override;

    // Pages of the job under way, or of the last one.
    int pages() const { return pages_; }

private:
    double unites(double millimetres) const;
    // Moves down one line of the current font, on the next page first when
    // the line would pass the bottom of this one; returns the line's top.
    double ligne();
    void liberer();

    std::unique_ptr<QPrinter> imprimante_;
    std::unique_ptr<QPainter> peintre_;
    QString pdf_;       // the next job's PDF file; empty: the printer
    QString pdfEnCours_;
    QFont police_;
    double y_ = 0;      // device units from the printable area's top
    int pages_ = 0;
};

}  // namespace tarvex::plateforme
