#include "platform/construction.h"

namespace tarvex::plateforme {

Cadre* cadre(QWidget* parent, const char* nom, const char* titre, int x, int y, int l, int h, const char* bulle)
{
    auto* c = creer<Cadre>(parent, nom, x, y, l, h);
    c->setTitle(QString::fromUtf8(titre));
    c->tailleTwips(l, h);
    if (bulle) c->setToolTip(QString::fromUtf8(bulle));
    return c;
}

QLabel* etiquette(QWidget* parent, const char* nom, const char* texte, int x, int y, int l, int h)
{
    auto* e = creer<QLabel>(parent, nom, x, y, l, h);
    e->setText(QString::fromUtf8(texte));
    return e;
}

QPushButton* bouton(QWidget* parent, const char* nom, const char* texte, int x, int y, int l, int h)
{
    auto* b = creer<QPushButton>(parent, nom, x, y, l, h);
    b->setText(QString::fromUtf8(texte));
    b->setAutoDefault(false);
    return b;
}

QComboBox* liste(QWidget* parent, const char* nom, const QStringList& entrees, int x, int y, int l)
{
    auto* c = creer<QComboBox>(parent, nom, x, y, l, 315);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(entrees);
    debutVisible(c->lineEdit());
    return c;
}

QLineEdit* boiteCachee(QWidget* parent, const char* nom)
{
    auto* b = nommer(new QLineEdit(parent), nom);
    b->hide();
    return b;
}

Image* image(QWidget* parent, const char* nom) { return nommer(new Image(parent, true), nom); }

Image* imageNaturelle(QWidget* parent, const char* nom)
{
    auto* i = nommer(new Image(parent, false), nom);
    i->hide();
    return i;
}

QListWidget* listeDeCadre(QWidget* cadre, const char* nom, int l, int h)
{
    return creer<QListWidget>(cadre, nom, 120, 300, l - 240, h - 420);
}

QPlainTextEdit* listingDeCadre(QWidget* cadre, const char* nom, int l, int h)
{
    auto* t = creer<QPlainTextEdit>(cadre, nom, 120, 300, l - 240, h - 420);
    t->setReadOnly(true);
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    return t;
}

void remplirListe(QListWidget* liste, const std::vector<std::string>& lignes)
{
    liste->clear();
    QStringList t;
    for (const auto& x : lignes) t << QString::fromStdString(x);
    liste->addItems(t);
}

}  // namespace tarvex::plateforme
