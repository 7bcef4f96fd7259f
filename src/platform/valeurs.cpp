#include "platform/valeurs.h"

#include "platform/construction.h"
#include "store/machines.h"

namespace tarvex {

using namespace plateforme;

namespace {

// One frame of three offsets, X Y Z, each caption beside its box.
struct Axes {
    const char* boites[3];
    const char* etiquettes[3];
    const char* legendes[3];
    int largeurLegende;
};

void construireAxes(Cadre* cadre, const Axes& a, std::array<QLineEdit**, 3> boites, std::array<QLabel**, 3> etiquettes)
{
    for (int i = 0; i < 3; ++i) {
        *etiquettes[i] = etiquette(cadre, a.etiquettes[i], a.legendes[i], 120, 360 + 390 * i, a.largeurLegende);
        *boites[i] = boiteValeur(cadre, a.boites[i], 1440, 330 + 390 * i, 1080);
    }
}

void texteMultiligne(QPlainTextEdit* t, const char* texte)
{
    t->setPlainText(QString::fromUtf8(texte));
    fondTexte(t, kJauneClair);
}

}  // namespace

void CadresValeurs::construireValeurs(QWidget* parent, int x, int y, const std::function<void(Cadre*)>& origine,
                                      int largeurJauge)
{
    Frame7 = cadre(parent, "Frame7", "PREF/DEC1/Jauges/Origine", x, y, kLargeurValeurs, 5880);
    Frame9 = cadre(Frame7, "Frame9", "PREF", 120, 300, 2640, 1440);
    construireAxes(Frame9, {{"Prefx", "Prefy", "Prefz"}, {"Prefxtext", "Prefytext", "Prefztext"},
                            {"PREF suivant X", "PREF suivant Y", "PREF suivant Z"}, 1320},
                   {&Prefx, &Prefy, &Prefz}, {&Prefxtext, &Prefytext, &Prefztext});
    Frame10 = cadre(Frame7, "Frame10", "DEC1", 2880, 300, 2640, 1440);
    construireAxes(Frame10, {{"Decx", "Decy", "Decz"}, {"Decxtext", "Decytext", "Decztext"},
                             {"DEC1 suivant X", "DEC 1suivant Y", "DEC1 suivant Z"}, 1320},
                   {&Decx, &Decy, &Decz}, {&Decxtext, &Decytext, &Decztext});
    Frame17 = cadre(Frame7, "Frame17", "Origine", 120, 300, 2640, 1440);
    origine(Frame17);
    Frame19 = cadre(Frame7, "Frame19", "Décalage d'origine", 2880, 300, 2640, 1440);
    construireAxes(Frame19, {{"OrigineX", "OrigineY", "OrigineZ"}, {"OrigineXtext", "OrigineYtext", "OrigineZtext"},
                             {"Suivant X", "Suivant Y", "Suivant Z"}, 1200},
                   {&OrigineX, &OrigineY, &OrigineZ}, {&OrigineXtext, &OrigineYtext, &OrigineZtext});
    Frame21 = cadre(Frame7, "Frame21", "Données", 120, 300, 5400, 1440);
    Infovrac = creer<QPlainTextEdit>(Frame21, "Infovrac", 120, 300, 5160, 1020);
    texteMultiligne(Infovrac, "Infos à compléter");
    Frame8 = cadre(Frame7, "Frame8", "Jauge Outil", 120, 1860, 5400, 3900);
    Jauge = creer<QPlainTextEdit>(Frame8, "Jauge", 120, 300, largeurJauge, 3480);
    Jauge->setLineWrapMode(QPlainTextEdit::NoWrap);
    texteMultiligne(Jauge, "A compléter");
}

bool CadresValeurs::appliquer(int type, int directeur)
{
    if ((type != kTournage && type != kFraisage) ||
        (directeur != kNum && directeur != kFagor && directeur != kFanuc && directeur != kAutre))
        return false;
    const bool tour = type == kTournage;
    Frame9->setVisible(directeur == kNum);
    Frame10->setVisible(directeur == kNum);
    Frame19->setVisible(directeur == kFanuc);
    Frame17->setVisible(directeur == kFanuc);
    Frame21->setVisible(directeur == kFagor);
    if (directeur == kNum) {
        verrouillerAxe(Prefy, Prefytext, tour);
        verrouillerAxe(Decy, Decytext, tour);
    } else if (directeur == kFanuc) {
        verrouillerAxe(OrigineY, OrigineYtext, tour);
    }
    return true;
}

void CadresValeurs::masquer()
{
    for (Cadre* c : {Frame9, Frame10, Frame19, Frame17, Frame21}) c->hide();
}

std::array<QLineEdit*, 9> CadresValeurs::boitesDecalages() const
{
    return {Prefx, Prefy, Prefz, Decx, Decy, Decz, OrigineX, OrigineY, OrigineZ};
}

QLineEdit* boiteValeur(QWidget* parent, const char* nom, int x, int y, int l)
{
    auto* b = creer<QLineEdit>(parent, nom, x, y, l, 315);
    fondTexte(b, kJauneClair);
    debutVisible(b);
    return b;
}

void verrouillerAxe(QLineEdit* boite, QLabel* etiquette, bool verrouille)
{
    boite->setReadOnly(verrouille);
    boite->setEnabled(!verrouille);
    fondTexte(boite, verrouille ? faceBouton() : kJauneClair);
    etiquette->setEnabled(!verrouille);
}

}  // namespace tarvex
