#include "store/photos.h"

#include "store/index.h"

namespace tarvex {

const std::array<PhotoModele, kPhotos> kModelesPhotos{{
    // The part view is written with a capital V, as every sheet made so far
    // has it; the other windows find it as the file of its flag.
    {"Option11", "textvue", "Vue de la pièce", "Vue.jpg", true},
    {"Option10", "Textmont1", "Montage d'usinage 1", fichierDuDrapeau(CMont1), true},
    {"Option3", "Textmont2", "Montage d'usinage 2", fichierDuDrapeau(CMont2), false},
    {"Option4", "Textinst", "Installation / machine", fichierDuDrapeau(CInst), true},
    {"Option5", "Textbutée", "Mise en butée", fichierDuDrapeau(CButee), false},
    {"Option6", "Textbride", "Bridage", fichierDuDrapeau(CBride), false},
    {"Option7", "Textprefx", "Palpage X", fichierDuDrapeau(CPrefx), false},
    {"Option8", "Textprefy", "Palpage Y", fichierDuDrapeau(CPrefy), false},
    {"Option9", "Textprefz", "Palpage Z", fichierDuDrapeau(CPrefz), true},
}};

}  // namespace tarvex
