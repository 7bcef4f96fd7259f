// The main window's commands of the CNC link.
#include "mainwindow/selectphase.h"

namespace tarvex {

void Selectphase::chargerVersCn() {}
void Selectphase::ouvrirTransfert() {}

}  // namespace tarvex
