#pragma once
// Building the windows' controls as their designs give them: each named as
// in the design (the name the scenarios and the other windows find it by),
// placed in twips, its texts in UTF-8.

#include "platform/controles.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include <string>
#include <vector>

namespace tarvex::plateforme {

// `w` under its name in the design.
template <class W>
W* nommer(W* w, const char* nom)
{
    w->setObjectName(QString::fromUtf8(nom));
    return w;
}

// A child control of `parent`, named and placed.
template <class W>
W* creer(QWidget* parent, const char* nom, int x, int y, int l, int h)
{
    auto* w = nommer(new W(parent), nom);
    placer(w, x, y, l, h);
    return w;
}

// `w` with its tooltip.
template <class W>
W* avecBulle(W* w, const char* bulle)
{
    w->setToolTip(QString::fromUtf8(bulle));
    return w;
}

// An option button or a check box with its caption.
template <class W>
W* choix(QWidget* parent, const char* nom, const char* texte, int x, int y, int l, int h = 285)
{
    auto* w = creer<W>(parent, nom, x, y, l, h);
    w->setText(QString::fromUtf8(texte));
    return w;
}

// A frame with its caption (and its tooltip, when given).
Cadre* cadre(QWidget* parent, const char* nom, const char* titre, int x, int y, int l, int h,
             const char* bulle = nullptr);
QLabel* etiquette(QWidget* parent, const char* nom, const char* texte, int x, int y, int l, int h = 255);
// A button that Enter does not press: only a click does.
QPushButton* bouton(QWidget* parent, const char* nom, const char* texte, int x, int y, int l = 1215, int h = 375);
// A combo box of settings: the operator may pick or type, and what is typed
// is not added to the list; a long value shows its start.
QComboBox* liste(QWidget* parent, const char* nom, const QStringList& entrees, int x, int y, int l);
// A hidden text box that carries a path or a code between windows.
QLineEdit* boiteCachee(QWidget* parent, const char* nom);
// A picture scaled to its box, and the hidden one at its natural size that
// picture fitting measures.
Image* image(QWidget* parent, const char* nom);
Image* imageNaturelle(QWidget* parent, const char* nom);
// A report's list filling its frame of l x h twips, and its lines.
QListWidget* listeDeCadre(QWidget* cadre, const char* nom, int l, int h);
// A listing filling its frame of l x h twips: read-only, its lines not
// wrapped.
QPlainTextEdit* listingDeCadre(QWidget* cadre, const char* nom, int l, int h);
void remplirListe(QListWidget* liste, const std::vector<std::string>& lignes);

}  // namespace tarvex::plateforme
