#include "platform/ecran.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace tarvex::plateforme {
namespace {

// The window manager's frame is not known before the window is shown: a
// title bar and borders of this size are kept free around it.
constexpr int kCadreLargeur = 16;
constexpr int kCadreHauteur = 40;

// What a title bar needs for `titre`: the text in a title font (larger and
// bolder than the dialogs' 8 points) and room for three buttons.
int largeurTitre(const QWidget* fenetre)
{
    QFont police = QApplication::font();
    police.setPointSizeF(10);
    police.setBold(true);
    return QFontMetrics(police).horizontalAdvance(fenetre->windowTitle()) + 3 * 32 + 24;
}

// Moves the window's own controls (never the windows it owns) into a
// scrolling area of the same size.
void defilerContenu(QWidget* fenetre, QSize taille)
{
    auto* contenu = new QWidget;
    contenu->setObjectName(QStringLiteral("contenuDefilant"));
    contenu->setFixedSize(taille);
    contenu->setAutoFillBackground(false);
    const auto enfants = fenetre->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* enfant : enfants) {
        if (enfant->isWindow()) continue;
        const QRect place = enfant->geometry();
        const bool visible = !enfant->isHidden();
        enfant->setParent(contenu);
        enfant->setGeometry(place);
        enfant->setVisible(visible);
    }
    auto* zone = new QScrollArea(fenetre);
    zone->setObjectName(QStringLiteral("defilement"));
    zone->setFrameShape(QFrame::NoFrame);
    zone->setWidget(contenu);
    auto* disposition = new QVBoxLayout(fenetre);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(zone);
    // Made while the window is being shown: shown by hand, as a control
    // added to a window already shown would have to be.
    contenu->show();
    zone->show();
    fenetre->setProperty("tarvexDefile", true);
}

}  // namespace

void tenirDansEcran(QWidget* fenetre)
{
    QScreen* ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (!ecran) return;
    const QRect libre = ecran->availableGeometry();
    const QSize place(std::max(libre.width() - kCadreLargeur, 1), std::max(libre.height() - kCadreHauteur, 1));
    const bool fixe = fenetre->minimumSize() == fenetre->maximumSize();
    QSize taille = fenetre->size();

    if (fixe && !fenetre->layout()) {
        const int titre = largeurTitre(fenetre);
        if (taille.width() < titre && titre <= place.width()) {
            taille.setWidth(titre);
            fenetre->setFixedSize(taille);
        }
    }
    if (taille.width() > place.width() || taille.height() > place.height()) {
        if (fixe && !fenetre->layout() && !fenetre->property("tarvexDefile").toBool()) defilerContenu(fenetre, taille);
        const int barre = fenetre->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QSize ajustee(std::min(taille.width() + barre, place.width()), std::min(taille.height() + barre, place.height()));
        fenetre->setMinimumSize(QSize(std::min(fenetre->minimumWidth(), ajustee.width()),
                                      std::min(fenetre->minimumHeight(), ajustee.height())));
        if (fixe) fenetre->setFixedSize(ajustee);
        else fenetre->resize(ajustee);
        taille = ajustee;
    }
    // Within the free area, the frame included.
    QPoint coin = fenetre->pos();
    coin.setX(std::clamp(coin.x(), libre.left(), std::max(libre.left(), libre.right() - taille.width() - kCadreLargeur)));
    coin.setY(std::clamp(coin.y(), libre.top(), std::max(libre.top(), libre.bottom() - taille.height() - kCadreHauteur)));
    if (coin != fenetre->pos()) fenetre->move(coin);
}

bool TenueEcran::eventFilter(QObject* objet, QEvent* evenement)
{
    if (evenement->type() == QEvent::Show && objet->isWidgetType()) {
        auto* w = static_cast<QWidget*>(objet);
        const Qt::WindowType sorte = w->windowType();
        if (w->isWindow() && (sorte == Qt::Window || sorte == Qt::Dialog)) tenirDansEcran(w);
    }
    return QObject::eventFilter(objet, evenement);
}

}  // namespace tarvex::plateforme
