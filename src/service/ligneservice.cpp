#include "service/ligneservice.h"

#include "cnclink/liaison.h"
#include "cnclink/reception.h"
#include "journal/consigner.h"
#include "platform/instant.h"
#include "service/recus.h"
#include "service/reponsereprise.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/liste.h"
#include "store/statut.h"

#include <QPointer>

namespace tarvex::dnc {

using namespace plateforme;

namespace {

constexpr int kSilenceMs = 10 * 1000;  // a control that stopped mid-program
constexpr int kReessaiMs = 30 * 1000;  // a port refused, tried again
constexpr std::size_t kEnvoisMax = 4;  // answers waiting on one line
constexpr long long kEnAttenteMax = 1024;  // bytes left waiting for the line, as Charger
constexpr long long kBruitMs = 60 * 1000;  // one journal line of noise a minute at most

QString u8(const std::string& s) { return QString::fromStdString(s); }

// Drip-feed of a sheet: its program file and Charger's blocks, read as the
// line takes them. What cannot be (a gauge table, blocks that fail, a file
// gone) is left to the ordinary answer, failure included.
std::unique_ptr<continu::Lecture> lectureContinu(const DemandeChargement& dc)
{
    Transfert blocs;
    const auto prog = programmeFiche(dc, blocs);
    if (!prog || blocs.echec) return nullptr;
    const continu::Source source{*prog, {}, blocs.texte()};
    if (continu::Lecture(source).ouvrir()) return nullptr;
    // Opened again when its turn comes: waiting behind a long drip-feed, it
    // does not hold the file that another computer may modify meanwhile
    // (Windows refuses to replace a file that is open).
    return std::make_unique<continu::Lecture>(source);
}

}  // namespace

LigneService::LigneService(Services& services, LigneDNC ligne, Rangement& rangement, QObject* parent)
    : QObject(parent),
      services_(services),
      ligne_(std::move(ligne)),
      port_(services.ports->creer(this)),
      lecture_(ligne_.fanuc),
      silence_(new Minuterie(this)),
      reessai_(new Minuterie(this)),
      bruitMinute_(new Minuterie(this)),
      etat_(QStringLiteral("Arrêté")),
      rangement_(rangement)
{
    const QString n = QString::number(ligne_.numero);
    setObjectName(QStringLiteral("Ligne") + n);
    port_->setObjectName(QStringLiteral("Port") + n);
    silence_->setObjectName(QStringLiteral("Silence") + n);
    reessai_->setObjectName(QStringLiteral("Reessai") + n);
    bruitMinute_->setObjectName(QStringLiteral("Bruit") + n);
    attente_.setSingleShot(true);

    connect(port_, &PortSerie::evenement, this, &LigneService::evenement);
    connect(port_, &PortSerie::partis, this, &LigneService::partis);
    connect(port_, &PortSerie::tousPartis, this, &LigneService::tousPartis);
    connect(port_, &PortSerie::echecEmission, this, &LigneService::echec);
    connect(silence_, &Minuterie::tic, this, &LigneService::couper);
    connect(bruitMinute_, &Minuterie::tic, this, [this] {
        bruitPrevu_ = false;
        noterBruit();
    });
    connect(reessai_, &Minuterie::tic, this, [this] {
        if (actif_ && !cede_ && !port_->estOuvert() && ouvrir()) suivante();
    });
    connect(&attente_, &QTimer::timeout, this, [this] {
        // A port lost meanwhile: the answer waits for it to be opened again.
        if (envois_.empty() || enRoute_ || cede_ || !port_->estOuvert()) return;
        Envoi& e = envois_.front();
        // The status read again: the answer may have waited behind others,
        // a long drip-feed perhaps, and a sheet blocked meanwhile goes no more.
        if (e.fiche && statut::avantEnvoi(*e.fiche).envoi == statut::Envoi::Refuse) {
            Envoi r;
            r.genre = "Réponse";
            r.objet = cp1252::versUtf8(e.demande.nom);
            r.affiche = QStringLiteral("réponse");
            r.resultat = statut::kResultatBloquee;
            r.transfert.etapes.push_back({reponse(e.demande, Issue::Bloquee), -1});
            e = std::move(r);
        }
        e.total = static_cast<long long>(e.transfert.texte().size());
        if (e.lecture) {
            // Measured once, then read again as the line takes it; the
            // control may hold the line for as long as a cut lasts.
            const continu::Lecture::Mesure m = e.lecture->mesurer();
            e.total = m.octets;
            const ParamCom& c = ligne_.com;
            e.suivi = std::make_unique<SuiviTransfert>(
                m.lignes, m.octets,
                caracteresParSeconde(reglageliaison(c.vitesse, c.parite, c.bits, c.arret)).value_or(9600.0 / 11),
                services_.horloge->instant());
            port_->regleAttenteSansLimite(true);
        }
        e.partis = 0;
        e.etape = 0;
        e.debut = services_.horloge->instant();
        enRoute_ = true;
        // The control may hold the answer with XOFF while its buffer is full.
        port_->regleControleFlux(PortSerie::ControleFlux::XonXoff);
        montrerEnvoi();
        etapeSuivante();
    });
}

LigneService::~LigneService() = default;

void LigneService::demarrer()
{
    actif_ = true;
    cede_ = false;
    lecture_ = Lecture(ligne_.fanuc);
    ouvrir();
}

void LigneService::arreter()
{
    if (!actif_) return;
    couper();
    if (enRoute_) {
        port_->interrompre();
        termine("Interrompu", false);
    }
    annulerEnAttente();
    // The noise of the last minute is journaled now: nothing is left unsaid.
    bruitMinute_->arreter();
    bruitPrevu_ = false;
    noterBruit();
    actif_ = false;
    fermer();
    reessai_->arreter();
    etat(QStringLiteral("Arrêté"));
}

void LigneService::ceder()
{
    if (!actif_ || cede_) return;
    couper();
    if (enRoute_) {
        port_->interrompre();
        termine("Interrompu", false);
    }
    annulerEnAttente();
    cede_ = true;
    fermer();
    reessai_->arreter();
    etat(QStringLiteral("Transfert manuel"));
}

void LigneService::annulerEnAttente()
{
    attente_.stop();
    std::deque<Envoi> annules;
    annules.swap(envois_);
    for (const Envoi& e : annules)
        noter(u8(e.genre) + QLatin1Char(' ') + u8(e.objet) + QStringLiteral(" : Annulé"), e.genre, e.objet, std::string_view(),
              "Annulé", services_.horloge->instant());
}

void LigneService::regleDernier(const QString& texte)
{
    if (dernier_ == texte) return;
    dernier_ = texte;
    emit change();
}

void LigneService::reprendre()
{
    if (!actif_ || !cede_) return;
    cede_ = false;
    if (ouvrir()) suivante();
}

bool LigneService::ouvrir()
{
    const ParamCom& c = ligne_.com;
    int r = port_->choisirPort(ligne_.numero);
    if (!r) r = port_->regler(u8(reglageliaison(c.vitesse, c.parite, c.bits, c.arret)));
    // Listening, the driver must let the DC3 that ends a program through;
    // XON/XOFF is honoured only while an answer goes out (envoyer).
    port_->regleControleFlux(PortSerie::ControleFlux::Aucun);
    if (!r) r = port_->ouvrir();
    if (r) {
        if (port_->estOuvert()) port_->fermer();
        etat(liaison::texteEchec(r));
        reessai_->demarrer(kReessaiMs);
        return false;
    }
    // No end-of-buffer event: it is not a line error, and would cut what
    // the control is sending while an answer goes out.
    port_->regleSeuils(1, 0);
    reessai_->arreter();
    etat(QStringLiteral("En écoute"));
    return true;
}

void LigneService::fermer()
{
    silence_->arreter();
    if (!port_->estOuvert()) return;
    port_->interrompre();
    port_->fermer();
}

void LigneService::evenement(int code)
{
    if (code != PortSerie::kRecu) {
        // A line error spoils what is coming: it is kept, as incomplete.
        if (!messageEvenement(code).isNull()) couper();
        // The device went away with the port (cable pulled, adapter
        // unplugged): the row says so and the port is tried again.
        if (actif_ && !cede_ && !port_->estOuvert()) {
            etat(QStringLiteral("Problème de connexion"));
            reessai_->demarrer(kReessaiMs);
        }
        return;
    }
    const QByteArray octets = port_->lire();
    if (octets.isEmpty()) return;
    if (!lecture_.enCours()) debutRecu_ = services_.horloge->instant();
    for (const ProgrammeRecu& p : lecture_.ajouter(std::string_view(octets.constData(), octets.size()))) recu(p);
    if (lecture_.enCours()) {
        silence_->demarrer(kSilenceMs);
        if (!enRoute_) etat(QStringLiteral("Réception"));
    } else {
        silence_->arreter();
        if (!enRoute_) etat(QStringLiteral("En écoute"));
    }
}

void LigneService::couper()
{
    silence_->arreter();
    if (const std::optional<ProgrammeRecu> p = lecture_.couper()) recu(*p);
    if (!enRoute_ && actif_ && !cede_ && port_->estOuvert()) etat(QStringLiteral("En écoute"));
}

void LigneService::recu(const ProgrammeRecu& p)
{
    // The journal counts what came on the line, the DC3 that ended it too.
    const std::string surLaLigne = p.dc3 ? p.octets + kDC3 : p.octets;
    if (const std::optional<Demande> d = lireDemande(p.octets)) {
        const std::string nom = cp1252::versUtf8(d->nom);
        if (!p.complet) {
            noter(QStringLiteral("Demande incomplète ") + u8(nom), "Demande", nom, surLaLigne, "Interrompu", debutRecu_);
            return;
        }
        demande(*d, surLaLigne);
        return;
    }
    if (!p.suite && !estProgramme(p.octets)) {
        bruit(p, surLaLigne);
        return;
    }
    // Written off the event loop: the other lines go on meanwhile, and the
    // row and the journal follow once the file is there.
    QPointer<LigneService> moi(this);
    rangement_.confier([moi, port = ligne_.port, quand = archives::instantDe(services_.horloge->dateHeure()),
                        octets = p.octets, complet = p.complet, surLaLigne, debut = debutRecu_]() mutable {
        Lu<std::string> chemin = recus::stocker(port, quand, octets, complet);
        return std::function<void()>([moi, chemin = std::move(chemin), surLaLigne = std::move(surLaLigne), complet, debut] {
            if (moi) moi->range(chemin, surLaLigne, complet, debut);
        });
    });
}

void LigneService::range(const Lu<std::string>& chemin, const std::string& surLaLigne, bool complet, long long debut)
{
    const std::string resultat = complet ? "OK" : "Interrompu";
    if (!chemin.ok()) {
        noter(QStringLiteral("Programme reçu non enregistré : ") + u8(joindreProblemes(chemin.problemes)),
              "Programme reçu", "(non enregistré)", surLaLigne, resultat, debut);
        return;
    }
    const std::string nom = chemin.valeur.substr(chemin.valeur.find_last_of('\\') + 1);
    noter((complet ? QStringLiteral("Programme reçu ") : QStringLiteral("Programme incomplet reçu ")) + u8(nom),
          "Programme reçu", nom, surLaLigne, resultat, debut);
}

void LigneService::bruit(const ProgrammeRecu& p, const std::string& surLaLigne)
{
    const std::string jour = archives::horodatage(archives::instantDe(services_.horloge->dateHeure())).substr(0, 8);
    const std::string nom = jour + "-bruit.txt";
    // A new day, a new file: what the last one gathered goes to its own file
    // and is journaled under its name.
    if (nom != fichierBruit_) {
        ecrireBruit(true);
        noterBruit();
    }
    fichierBruit_ = nom;
    bruitAEcrire_ += recus::texteStocke(p.octets);
    if (bruitANoter_.empty()) debutBruit_ = debutRecu_;
    bruitANoter_ += surLaLigne;
    ecrireBruit();
    if (bruitPrevu_) return;
    const long long maintenant = services_.horloge->instant();
    if (dernierBruit_ < 0 || maintenant - dernierBruit_ >= kBruitMs) {
        noterBruit();
    } else {
        bruitPrevu_ = true;
        bruitMinute_->demarrer(static_cast<int>(kBruitMs - (maintenant - dernierBruit_)));
    }
}

// One write on its way at a time: a burst of noise is a few appends, not
// one per piece.
void LigneService::ecrireBruit(bool toutDeSuite)
{
    if ((bruitEnEcriture_ > 0 && !toutDeSuite) || bruitAEcrire_.empty()) return;
    ++bruitEnEcriture_;
    const std::string dossier = std::string(recus::kDossierRecus) + ligne_.port;
    QPointer<LigneService> moi(this);
    rangement_.confier([moi, dossier, chemin = dossier + "\\" + fichierBruit_, texte = std::exchange(bruitAEcrire_, {})] {
        std::string echec;
        try {
            for (const std::string& d : {std::string("data\\recus"), dossier})
                if (!fichiers::estDossier(d)) fichiers::creerDossier(d);
            fichiers::ajouter(chemin, texte);
        } catch (const fichiers::ErreurFichier& e) {
            echec = e.chemin() + " : " + e.detail();
        }
        return std::function<void()>([moi, echec] {
            if (!moi) return;
            --moi->bruitEnEcriture_;
            if (!echec.empty()) moi->regleDernier(QStringLiteral("Bruit non enregistré : ") + u8(echec));
            moi->ecrireBruit();
        });
    });
}

void LigneService::noterBruit()
{
    if (bruitANoter_.empty()) return;
    dernierBruit_ = services_.horloge->instant();
    noter(QStringLiteral("Bruit ") + u8(fichierBruit_), "Bruit", fichierBruit_, bruitANoter_, "OK", debutBruit_);
    bruitANoter_.clear();
}

void LigneService::demande(const Demande& d, const std::string& octets)
{
    const std::string nom = cp1252::versUtf8(d.nom);
    // A control that keeps asking cannot make the answers waiting grow
    // without end: past a few, a request is noted and left unanswered.
    if (envois_.size() >= kEnvoisMax) {
        noter(QStringLiteral("Demande sans réponse (trop de demandes en attente) ") + u8(nom), "Demande", nom, octets,
              "Interrompu", debutRecu_);
        return;
    }
    noter(QStringLiteral("Demande ") + u8(nom), "Demande", nom, octets, "OK", debutRecu_);

    // Only the sheets of this port's machines: the same part may be made on
    // another machine whose control is elsewhere.
    const Lu<Index> index = lireIndex();
    Trouvaille t = chercherFiche(d, index.valeur, ligne_.machines);
    // Before anything else, a blocked sheet is refused, a program on trial
    // goes, and the row and the journal say so: nobody at the control was asked.
    statut::AvantEnvoi avant;
    if (t.numero >= 0) avant = statut::avantEnvoi(index.valeur.enregistrements[static_cast<std::size_t>(t.numero)]);
    if (avant.envoi == statut::Envoi::Refuse) t.issue = Issue::Bloquee;
    std::optional<FicheAffichee> fiche;
    if (t.issue == Issue::Trouvee) {
        Lu<std::optional<FicheAffichee>> lu = lireFicheAffichee(t.numero);
        if (lu.valeur) fiche = std::move(*lu.valeur);
        else t.issue = Issue::Inconnue;
    }
    Envoi e;
    int numero = 0;
    if (fiche && !d.reprise.empty()) {
        if (std::optional<ReponseReprise> r = repondreReprise(d, *fiche)) {
            e.genre = "Reprise";
            e.fiche = fiche->champs;
            e.demande = d;
            e.objet = std::move(r->objet);
            e.resultat = std::move(r->resultat);
            e.affiche = u8(e.objet);
            // Asked en continu, a restart of a long program goes as it is read.
            if (d.continu && !r->texte.empty()) {
                e.lecture = std::make_unique<continu::Lecture>(continu::Source{{}, std::move(r->texte), {}});
                if (e.lecture->ouvrir()) e.lecture.reset();
            }
            if (!e.lecture) e.transfert = std::move(r->transfert);
            // A restart follows the sheet's status as every sending does.
            if (e.resultat == "OK" && avant.envoi == statut::Envoi::Demander) {
                e.resultat = statut::kResultatEnEssai;
                e.affiche += QStringLiteral(" (en essai)");
            }
            envois_.push_back(std::move(e));
            if (envois_.size() == 1) suivante();
            return;
        }
        t.issue = Issue::SansProgramme;
        fiche.reset();
    }
    if (fiche) {
        const DemandeChargement dc = demandeDeFiche(*fiche, d.jauges);
        if (d.continu) e.lecture = lectureContinu(dc);
        if (!e.lecture) e.transfert = transfertFiche(dc);
    }
    // The whole answer is built before a byte leaves: one that fails half
    // way (a gauge file missing or malformed, a value out of range, a
    // program too long) would leave the control waiting in reception for
    // its DC3. It is told the failure Charger would show instead; a sheet
    // whose program file is gone, which would send nothing at all, is told so.
    if (fiche && e.transfert.echec) {
        numero = e.transfert.echec->numero;
        t.issue = numero == kErreurFichierIntrouvable && e.transfert.texte().empty() ? Issue::SansProgramme : Issue::Erreur;
        fiche.reset();
    }
    if (fiche) {
        const Enregistrement& champs = fiche->champs;
        e.genre = e.lecture ? "Envoi en continu" : "Envoi fiche";
        e.fiche = champs;
        e.demande = d;
        e.objet = nomComplet(champs);
        e.affiche = u8(champs[CPiece]).trimmed() + QStringLiteral(" Phase ") + u8(champs[CPhase]).trimmed();
        if (avant.envoi == statut::Envoi::Demander) {
            e.resultat = statut::kResultatEnEssai;
            e.affiche += QStringLiteral(" (en essai)");
        }
    } else {
        e.transfert = {};
        e.genre = "Réponse";
        e.objet = nom;
        e.affiche = QStringLiteral("réponse");
        e.resultat = resultatReponse(t.issue, numero);
        e.transfert.etapes.push_back({reponse(d, t.issue, numero), -1});
    }
    envois_.push_back(std::move(e));
    if (envois_.size() == 1) suivante();
}

// The operator needs the delay to put the control in reception: it runs
// from the request, or from the end of the answer before.
void LigneService::suivante()
{
    if (envois_.empty() || enRoute_ || cede_) return;
    attente_.start(delai_ * 1000);
}

void LigneService::etapeSuivante()
{
    if (!enRoute_ || envois_.empty()) return;
    Envoi& e = envois_.front();
    if (e.lecture) {
        std::string morceau;
        while (!e.lu && port_->enAttente() <= static_cast<long long>(continu::kMorceau)) {
            morceau.clear();
            if (!e.lecture->suite(morceau)) {
                if (const auto& f = e.lecture->echec()) {
                    // The file changed or went: what is queued is dropped
                    // and no DC3 goes, as when the service stops; the line
                    // listens again at once, nothing is wrong with it.
                    const int numero = f->numero;
                    port_->interrompre();
                    termine(journal::erreur(numero), false);
                    fermer();
                    if (actif_ && !cede_ && ouvrir()) suivante();
                    return;
                }
                e.lu = true;
                break;
            }
            if (const int r = port_->emettre(QByteArray(morceau.data(), static_cast<qsizetype>(morceau.size())))) {
                echec(r);
                return;
            }
            e.enRoute += morceau;
            e.suivi->ecrits(morceau);
        }
        if (e.lu && port_->enAttente() == 0) termine(e.resultat, true);
        return;
    }
    // As Charger does: the next steps are queued while less than a second of
    // line waits, so that the driver always has the next line at hand. One
    // step per drain left the line idle between every two lines.
    while (e.etape < e.transfert.etapes.size() && port_->enAttente() <= kEnAttenteMax) {
        const std::string& octets = e.transfert.etapes[e.etape++].octets;
        if (octets.empty()) continue;
        if (const int r = port_->emettre(QByteArray(octets.data(), static_cast<qsizetype>(octets.size())))) {
            echec(r);
            return;
        }
    }
    // Everything queued has left the PC (or there was nothing to send).
    if (e.etape == e.transfert.etapes.size() && port_->enAttente() == 0)
        termine(e.resultat, true);
}

void LigneService::partis(qint64 octets)
{
    if (!enRoute_) return;
    Envoi& e = envois_.front();
    e.partis += octets;
    // The journal counts what reached the line: a drip-feed stopped drops
    // the rest of what it had written.
    const auto n = std::min(e.enRoute.size(), static_cast<std::size_t>(std::max<qint64>(0, octets)));
    e.mesure.ajouter(std::string_view(e.enRoute).substr(0, n));
    e.enRoute.erase(0, n);
    if (e.suivi) e.suivi->relever(e.partis, services_.horloge->instant());
    montrerEnvoi();
    etapeSuivante();
}

void LigneService::tousPartis() { etapeSuivante(); }

void LigneService::echec(int numero)
{
    if (!enRoute_) return;
    port_->interrompre();
    termine(journal::erreur(numero), false);
    fermer();
    etat(QStringLiteral("Problème de connexion"));
    reessai_->demarrer(kReessaiMs);
}

void LigneService::termine(std::string resultat, bool toutParti)
{
    if (envois_.empty()) return;
    const Envoi e = std::move(envois_.front());
    envois_.pop_front();
    enRoute_ = false;
    port_->regleControleFlux(PortSerie::ControleFlux::Aucun);
    port_->regleAttenteSansLimite(false);
    // A drip-feed stopped or failed names the last line that left.
    if (e.suivi && !toutParti && (e.mesure.octets() > 0 || !e.enRoute.empty())) {
        resultat += " après la ligne " + std::to_string(e.suivi->lignesParties());
        if (!e.suivi->bloc().empty()) resultat += " " + e.suivi->bloc();
    }
    QString texte = u8(e.genre) + QLatin1Char(' ') + u8(e.objet);
    if (resultat != "OK") texte += QStringLiteral(" : ") + u8(resultat);
    // What went on the line: all of it, or what had left when it stopped;
    // a drip-feed's was measured as it left.
    journal::Mesure mesure = e.mesure;
    if (toutParti) mesure.ajouter(e.enRoute);
    if (!e.lecture) {
        std::string octets = e.transfert.texte();
        if (!toutParti) octets.resize(std::min<std::size_t>(octets.size(), static_cast<std::size_t>(std::max(0LL, e.partis))));
        mesure.ajouter(octets);
    }
    noter(texte, e.genre, e.objet, mesure, resultat, e.debut);
    if (actif_ && !cede_ && port_->estOuvert())
        etat(lecture_.enCours() ? QStringLiteral("Réception") : QStringLiteral("En écoute"));
    suivante();
}

void LigneService::montrerEnvoi()
{
    const Envoi& e = envois_.front();
    if (e.suivi) {
        // The line the control is at, and what is left at the measured pace.
        const SuiviTransfert& s = *e.suivi;
        etat(QStringLiteral("Envoi en continu %1 - %2 - %3")
                 .arg(e.affiche, u8(texteLigne(s.lignesParties(), s.bloc(), s.lignesTotal() - s.lignesParties())),
                      u8(texteRestant(s.secondesRestantes()))));
        return;
    }
    const long long pourcent = e.total > 0 ? std::min(100LL, e.partis * 100 / e.total) : 100;
    etat(QStringLiteral("Envoi %1 - %2 %").arg(e.affiche).arg(pourcent));
}

void LigneService::etat(const QString& texte)
{
    if (etat_ == texte) return;
    etat_ = texte;
    emit change();
}

void LigneService::noter(const QString& texte, const std::string& genre, const std::string& objet,
                         std::string_view octets, const std::string& resultat, long long debut)
{
    journal::Mesure m;
    m.ajouter(octets);
    noter(texte, genre, objet, m, resultat, debut);
}

void LigneService::noter(const QString& texte, const std::string& genre, const std::string& objet,
                         const journal::Mesure& mesure, const std::string& resultat, long long debut)
{
    dernier_ = services_.horloge->dateHeure().toString(QStringLiteral("HH:mm:ss ")) + texte;
    emit change();
    // The line is made now (its time, its seconds), appended off the loop.
    QPointer<LigneService> moi(this);
    rangement_.confier([moi, e = journal::entree(services_, {ligne_.port, ligne_.machines, genre, objet, resultat, debut},
                                                 mesure)] {
        const Resultat r = journal::ajouter(e);
        const std::string echec = r.ok() ? std::string() : joindreProblemes(r.problemes);
        return std::function<void()>([moi, echec] {
            // Said once: the transfers go on without their journal.
            if (!moi || echec.empty() || moi->journalSignale_) return;
            moi->journalSignale_ = true;
            moi->regleDernier(moi->dernier_ + QStringLiteral(" — journal non écrit : ") + u8(echec));
        });
    });
}

}  // namespace tarvex::dnc
