#pragma once
// cadrerimage on the screen: a picture file fitted into a box of a window.

#include "platform/controles.h"
#include "platform/services.h"

namespace tarvex {

// The limit of the part and machine pictures of the main, creation and
// modification windows, in twips.
inline constexpr int kLimiteApercu = 1400;

// Loads the file into the measuring picture M, which takes its natural size,
// then gives the shown picture S its fitted size, centres it in the frame F
// and loads the file into it. An empty path, or a file that cannot be read as
// a picture, leaves S without a picture; the latter returns false.
bool cadrerimage(plateforme::Images& images, const QString& cheminData, plateforme::Image* M, plateforme::Image* S,
                 plateforme::Cadre* F, int limite);

}  // namespace tarvex
