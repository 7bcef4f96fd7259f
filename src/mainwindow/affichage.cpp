// Showing the selected sheet: the handlers of the list, the picture options,
// the preview, the machine file and the technical file.
#include "mainwindow/selectphase.h"

namespace tarvex {

void Selectphase::phaseChoisie(int) {}
void Selectphase::optionPhotoCliquee(QRadioButton*) {}
void Selectphase::ouvrirZoom() {}
void Selectphase::ouvrirInfoMachine() {}
void Selectphase::ouvrirDossierTechnique() {}

}  // namespace tarvex
