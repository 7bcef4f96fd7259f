#include "platform/imprimanteqt.h"

#include "platform/qtservices.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tarvex::plateforme {

QtImprimante::QtImprimante() = default;

QtImprimante::~QtImprimante()
{
    // A job still open when the program ends would come out half printed.
    if (peintre_) abandonner();
}

bool QtImprimante::installee() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void QtImprimante::versPdf(const QString& fichier) { pdf_ = fichier; }

bool QtImprimante::commencer()
{
    liberer();
    pdfEnCours_ = pdf_;
    pdf_.clear();
    imprimante_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    imprimante_->setDocName(QStringLiteral("Tarvex - Fiche technique"));
    if (!pdfEnCours_.isEmpty()) {
        imprimante_->setOutputFormat(QPrinter::PdfFormat);
        imprimante_->setOutputFileName(pdfEnCours_);
        imprimante_->setPageSize(QPageSize(QPageSize::A4));
    } else {
        // The default printer; where the system names none, the first one
        // it has, rather than refusing to print.
        QPrinterInfo choisie = QPrinterInfo::defaultPrinter();
        if (choisie.isNull()) {
            const auto toutes = QPrinterInfo::availablePrinters();
            if (toutes.isEmpty()) {
                liberer();
                return false;
            }
            choisie = toutes.front();
        }
        imprimante_->setPrinterName(choisie.printerName());
    }
    peintre_ = std::make_unique<QPainter>();
    if (!peintre_->begin(imprimante_.get())) {
        liberer();
        return false;
    }
    police_ = peintre_->font();
    y_ = 0;
    pages_ = 1;
    return true;
}

double QtImprimante::unites(double millimetres) const { return millimetres * imprimante_->resolution() / 25.4; }

double QtImprimante::ligne()
{
    const QFontMetricsF mesure(police_, imprimante_.get());
    if (y_ > 0 && y_ + mesure.height() > imprimante_->height()) {
        imprimante_->newPage();
        ++pages_;
        y_ = 0;
    }
    const double haut = y_;
    y_ += mesure.lineSpacing();
    return haut;
}

void QtImprimante::image(double x, double y, double largeur, double hauteur, const QString& cheminData)
{
    if (!peintre_) return;
    QImageReader lecteur(fichierLocal(cheminData));
    lecteur.setAutoTransform(false);
    const QImage image = lecteur.read();
    if (image.isNull()) return;
    peintre_->drawImage(QRectF(unites(x), unites(y), unites(largeur), unites(hauteur)), image);
}

void QtImprimante::dessin(double x, double, double hauteur, const Peintre& peindre)
{
    if (!peintre_) return;
    const double haut = unites(hauteur);
    if (y_ > 0 && y_ + haut > imprimante_->height()) {
        imprimante_->newPage();
        ++pages_;
        y_ = 0;
    }
    peintre_->save();
    peintre_->translate(unites(x), y_);
    peintre_->scale(unites(0.1), unites(0.1));
    peindre(*peintre_);
    peintre_->restore();
    y_ += haut;
}

void QtImprimante::hauteur(double y)
{
    if (peintre_) y_ = unites(y);
}

void QtImprimante::texte(double x, double taille, bool gras, const QString& texte)
{
    if (!peintre_) return;
    police_.setPointSizeF(taille);
    police_.setBold(gras);
    peintre_->setFont(police_);
    const double haut = ligne();
    const QFontMetricsF mesure(police_, imprimante_.get());
    peintre_->drawText(QPointF(unites(x), haut + mesure.ascent()), texte);
}

void QtImprimante::ligneVide()
{
    if (peintre_) ligne();
}

bool QtImprimante::terminer()
{
    if (!peintre_) return false;
    const bool fini = peintre_->end();
    const bool ok = fini && imprimante_->printerState() != QPrinter::Error;
    liberer();
    return ok;
}

void QtImprimante::abandonner()
{
    if (!peintre_) return;
    imprimante_->abort();
    peintre_->end();
    // Half a sheet in a file would pass for the whole one.
    if (!pdfEnCours_.isEmpty()) QFile::remove(pdfEnCours_);
    liberer();
}

void QtImprimante::liberer()
{
    peintre_.reset();
    imprimante_.reset();
    pdfEnCours_.clear();
}

}  // namespace tarvex::plateforme
