// The port's settings as the transfers and the DNC service write them.

#include "store/reglageport.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvex::reglageport {
namespace {

TEST(ReglagePort, CeQueLaLigneAccepte)
{
    using P = Parite;
    using A = Arret;
    const std::pair<const char*, Reglage> cas[] = {
        {"9600,e,7,2", {9600, P::Paire, 7, A::Deux}},
        {"4800,O,8,1", {4800, P::Impaire, 8, A::Un}},
        {"110,n,5,1.5", {110, P::Aucune, 5, A::UnEtDemi}},
        {"19200, s ,6,2", {19200, P::Espace, 6, A::Deux}},
        {"0001200,M,8,1", {1200, P::Marque, 8, A::Un}},
        // Spaces typed in a combo box, a no-break or an ideographic one included.
        {" 9999999\t,\xC2\xA0N\r,8 ,1\xE3\x80\x80", {9999999, P::Aucune, 8, A::Un}},
    };
    for (const auto& [texte, attendu] : cas) EXPECT_EQ(analyser(texte), attendu) << texte;
    // 1.5 stop bits only with 5 data bits, 2 only with more; a zero-width space is no space.
    for (const char* refuse : {"", "9600", "9600,e,7", "9600,e,7,2,1", "9600;e;7;2", "96OO,e,7,2", "96 00,e,7,2",
                               "0,e,7,2", "-9600,e,7,2", "10000000,e,7,2", "9600,,7,2", "9600,x,7,2", "9600,ee,7,2",
                               "9600,\xC3\xA9,7,2", "9600,e,4,2", "9600,e,9,2", "9600,e,7,3", "9600,e,7,0",
                               "9600,e,7,1.5", "9600,n,5,2", "9600,e,7,2\xE2\x80\x8B"})
        EXPECT_FALSE(analyser(refuse)) << refuse;
}

}  // namespace
}  // namespace tarvex::reglageport
