// The data lock: taken, waited on, left by a stopped program here or elsewhere,
// damaged, and never removed once it is no longer ours.

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/poste.h"
#include "store/verrou.h"

#include "support.h"

namespace tarvex {
namespace {

using verrou::Prise;
using Etat = verrou::Prise::Etat;

const verrou::Identite kMoi{"ATELIER", "jean", 4242};
const archives::Instant kMaintenant{2026, 12, 6, 9, 30, 0};

std::string pose(const std::string& poste, const std::string& processus, const std::string& date, const std::string& op)
{
    return cp1252::depuisUtf8(poste + "\r\nmarie\r\n" + processus + "\r\n06/12/2026 " + date + "\r\n" + op + "\r\n");
}

const std::string kOccupe = pose("BUREAU", "77", "09:29:58", "Modification de la fiche PIVOT Phase 20");
const std::string kVieux = pose("BUREAU", "77", "09:15:00", "Suppression de la fiche AXE Phase 10");
const std::string kIllisible = "Le verrou data\\verrou.txt ne se lit pas : le poste qui l'a posé s'est sans doute "
                               "arrêté en l'écrivant. Le retirer ?";

class Verrou : public test::DossierDeTravail {
protected:
    // Sleeps by counting, on this computer's clock; the lock found goes after
    // `libereA` ms of waiting.
    Prise prendre(int libereA = -1)
    {
        attendu_ = 0;
        verrou::Attente a;
        a.patienter = [this, libereA](int ms) {
            attendu_ += ms;
            horloge_ += ms;
            if (attendu_ == libereA) std::filesystem::remove("data/verrou.txt");
        };
        // 77 runs only on another computer: its number says nothing here.
        a.processusActif = [](long long n) { return n == 78; };
        a.instant = [this] { return horloge_; };
        a.veille = &veille_;
        return verrou::prendre(kMoi, kMaintenant, "Création d'une fiche", a);
    }
    int attendu_ = 0;
    long long horloge_ = 1000000;
    verrou::Veille veille_;
};

TEST_F(Verrou, UnVerrouTrouveEstAttenduRetireOuOffertSelonSonPosteSonProcessusEtSonAge)
{
    const std::string mien = cp1252::depuisUtf8("ATELIER\r\njean\r\n4242\r\n06/12/2026 09:30:00\r\nCréation d'une fiche\r\n");
    // Locks of 4 KB, one byte more and 1 MB, their operation making up the length.
    const auto long_ = [n = verrou::kTailleMax - pose("B", "7", "09:29:00", "").size()](std::size_t plus) {
        return pose("B", "7", "09:29:00", std::string(n + plus, 'X'));
    };
    const std::string kLong = long_(0), kTrop = long_(1), kMo = long_(1 << 20);
    // trouve: nullptr for no lock. (This computer's, its program stopped: verrou/meme-poste.)
    struct Cas { const char* nom; const char* trouve; int libereA; Etat etat; int attendu; std::string message; } cas[] = {
        {"libre", nullptr, -1, Etat::Pris, 0, ""},
        {"libéré pendant l'attente", kOccupe.c_str(), 3000, Etat::Pris, 3000, ""},
        {"occupé 10 s", kOccupe.c_str(), -1, Etat::Occupe, 10000,
         "Les données sont en cours de modification sur le poste BUREAU (marie, depuis 09:29:58) : "
         "Modification de la fiche PIVOT Phase 20."},
        {"ce poste, ce processus", "atelier\r\njean\r\n4242\r\n06/12/2026 09:29:00\r\nX\r\n", -1, Etat::Pris, 0, ""},
        {"ce poste, processus actif", "ATELIER\r\nmarie\r\n78\r\n06/12/2026 09:29:00\r\nX\r\n", -1, Etat::Occupe, 10000,
         "Les données sont en cours de modification sur le poste ATELIER (marie, depuis 09:29:00) : X."},
        {"vide", "", -1, Etat::AOffrir, 10000, kIllisible},
        {"coupé", "BUREAU\r\nmarie\r\n77\r\n06/12/2026 09:29:58\r\nModif", -1, Etat::AOffrir, 10000, kIllisible},
        {"numéro abîmé", "ATELIER\r\nm\r\n7x\r\n06/12/2026 09:29:00\r\nX\r\n", -1, Etat::AOffrir, 10000, kIllisible},
        {"date abîmée", "BUREAU\r\nm\r\n77\r\n06/13/2026 09:29:00\r\nX\r\n", -1, Etat::AOffrir, 10000, kIllisible},
        {"4 Ko", kLong.c_str(), -1, Etat::Occupe, 10000, verrou::messageOccupe(verrou::lire(kLong).value_or(verrou::Contenu{}))},
        {"4 Ko et un octet", kTrop.c_str(), -1, Etat::AOffrir, 10000, kIllisible},
        {"1 Mo", kMo.c_str(), -1, Etat::AOffrir, 10000, kIllisible},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        std::filesystem::remove_all("data"), poser("data/data.txt", "");
        if (c.trouve) poser("data/verrou.txt", c.trouve);
        {
            const Prise p = prendre(c.libereA);
            EXPECT_TRUE(p.etat == c.etat && attendu_ == c.attendu) << attendu_;
            EXPECT_EQ(p.message, c.message);
            EXPECT_EQ(contenu("data/verrou.txt"), c.etat == Etat::Pris ? mien : c.trouve);
            EXPECT_LE(p.trouve.size(), verrou::kTailleMax + 1);  // no more read than a lock holds
            EXPECT_EQ(bool(p.verrou), c.etat == Etat::Pris);
            EXPECT_TRUE(c.etat != Etat::AOffrir || (verrou::retirer(p.trouve) && prendre().etat == Etat::Pris));
        }
        EXPECT_EQ(present("data/verrou.txt"), c.etat == Etat::Occupe);  // another's, in use
    }
}

// A lock, 15 minutes ahead or behind this clock, is offered once seen in place
// (same bytes, same stamp) for 10 minutes of this computer's own clock: `entre`
// ms between two tries of 10 s each, `remplace` the date of a lock put meanwhile.
TEST_F(Verrou, UnVerrouEstOffertVuDixMinutesEnPlaceQuelleQueSoitSaDate)
{
    struct Cas { const char* date; long long entre; const char* remplace; Etat etat; } cas[] = {
        {"09:45:00", 579999, nullptr, Etat::Occupe},   {"09:45:00", 580000, nullptr, Etat::AOffrir},
        {"09:15:00", 580000, nullptr, Etat::AOffrir},  {"09:45:00", 580000, "09:45:00", Etat::Occupe},
        {"09:45:00", 580000, "09:55:00", Etat::Occupe},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.date) + (c.remplace ? " puis " : " ") + std::to_string(c.entre));
        std::filesystem::remove_all("data"), poser("data/data.txt", "");
        poser("data/verrou.txt", pose("BUREAU", "77", c.date, "X")), veille_ = {};
        EXPECT_TRUE(prendre().etat == Etat::Occupe);
        horloge_ += c.entre;
        if (c.remplace) {
            const auto t = std::filesystem::last_write_time("data/verrou.txt");
            poser("data/verrou.txt", pose("BUREAU", "77", c.remplace, "X"));
            std::filesystem::last_write_time("data/verrou.txt", t + std::chrono::seconds(1));
        }
        EXPECT_TRUE(prendre().etat == c.etat);
    }
}

TEST_F(Verrou, SeulLeVerrouEncoreNotreEstRetireEtUnePanneNeLaissePasDeVerrou)
{
    poser("data/data.txt", "");
    {
        const Prise p = prendre();
        ASSERT_TRUE(p.verrou);
        // Offered as left behind and taken meanwhile by another computer.
        poser("data/verrou.txt", kOccupe);
        EXPECT_FALSE(verrou::retirer(kVieux));
    }
    EXPECT_EQ(contenu("data/verrou.txt"), kOccupe);

    std::filesystem::remove("data/verrou.txt");
    {
        test::Panne panne(1);
        const Prise p = prendre();
        EXPECT_TRUE(p.etat == Etat::Echec && p.message == "data\\verrou.txt : panne simulée") << p.message;
    }
    EXPECT_FALSE(present("data/verrou.txt"));
    // The system's own answer, which the Windows build asks differently.
    EXPECT_TRUE(poste::processusActif(poste::processus()) && !poste::processusActif(2147483000));
}

}  // namespace
}  // namespace tarvex
