#include "platform/verrouillage.h"

#include "platform/instant.h"
#include "platform/textes.h"
#include "store/poste.h"
#include "store/verrou.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <optional>

namespace tarvex::plateforme {

namespace {

constexpr int kTrancheMs = 20;  // a redraw at least this often while waiting

// The wait cursor while a lock is waited on, whatever ends the wait.
class CurseurAttente {
public:
    CurseurAttente() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CurseurAttente() { QGuiApplication::restoreOverrideCursor(); }
    CurseurAttente(const CurseurAttente&) = delete;
    CurseurAttente& operator=(const CurseurAttente&) = delete;
};

}  // namespace

statut::Auteur auteur(Services& services)
{
    return {services.poste->nom().toStdString(), services.poste->utilisateur().toStdString()};
}

archives::Instant maintenant(Services& services) { return archives::instantDe(services.horloge->dateHeure()); }

bool sousVerrou(Services& services, QWidget* parent, const QString& operation, Problemes& problemes,
                const std::function<void()>& stocker)
{
    const verrou::Identite moi{services.poste->nom().toStdString(), services.poste->utilisateur().toStdString(),
                               poste::processus()};
    // The wait goes through the platform's clock, which the scenarios do
    // not let sleep: a lock in use reaches its message at once there. It
    // goes in short slices between which the windows are redrawn (the
    // operator sees a program that waits, not one that hangs) but take no
    // input: nothing is started or closed while a storing waits its turn.
    verrou::Attente attente;
    // A lock is dated by how long this computer sees it in place, never by
    // another computer's clock.
    attente.instant = [&services] { return services.horloge->instant(); };
    std::optional<CurseurAttente> curseur;
    attente.patienter = [&services, &curseur](int ms) {
        if (!curseur) curseur.emplace();
        for (int fait = 0; fait < ms; fait += kTrancheMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            services.horloge->patienter(std::min(kTrancheMs, ms - fait) * 1000);
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    for (;;) {
        const verrou::Prise p = verrou::prendre(moi, archives::instantDe(services.horloge->dateHeure()),
                                                operation.toStdString(), attente);
        curseur.reset();
        switch (p.etat) {
        case verrou::Prise::Etat::Pris:
            stocker();
            return true;  // the lock goes with `p`
        case verrou::Prise::Etat::Occupe:
            services.messages->afficher(parent, q(p.message), QStringLiteral("Infos"), Icone::Exclamation);
            return false;
        case verrou::Prise::Etat::AOffrir:
            if (services.messages->afficher(parent, q(p.message), QStringLiteral("Confirmation"), Icone::Question,
                                            Boutons::OuiNon) != Reponse::Oui)
                return false;
            verrou::retirer(p.trouve);
            continue;
        case verrou::Prise::Etat::Echec:
            break;
        }
        // "data\verrou.txt : why", as the store words its failures.
        const std::string::size_type deux = p.message.find(" : ");
        if (deux == std::string::npos)
            problemes.push_back({verrou::kVerrou, p.message});
        else
            problemes.push_back({p.message.substr(0, deux), p.message.substr(deux + 3)});
        return true;
    }
}

}  // namespace tarvex::plateforme
