#include "platform/doubles.h"

#include "platform/portqt.h"
#include "platform/qtservices.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QImageReader>

namespace tarvex::plateforme {

Reponse MessagesEnregistres::afficher(QWidget*, const QString& texte, const QString& titre, Icone icone,
                                      Boutons boutons, const QString& detail)
{
    MessageDemande d{texte, titre, icone, boutons, detail};
    demandes.push_back(d);
    if (repondre) return repondre(d);
    switch (boutons) {
    case Boutons::OuiNon: return Reponse::Oui;
    default: return Reponse::Ok;
    }
}

void FenetresEnregistrees::afficherModal(QDialog* fenetre)
{
    pile.append(fenetre);
    fenetre->show();
    if (pendant)
        pendant(fenetre);
    else
        fenetre->hide();
    pile.removeAll(fenetre);
}

void FenetresEnregistrees::montrer(QDialog* fenetre)
{
    pile.append(fenetre);
    fenetre->show();
    if (pendantTravail) pendantTravail(fenetre);
}

void FenetresEnregistrees::retirer(QDialog* fenetre)
{
    fenetre->hide();
    pile.removeAll(fenetre);
}

long long HorlogeFixe::instant()
{
    static const QElapsedTimer depart = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return depart.elapsed() + avance;
}

QImage ImagesEnregistrees::charger(const QString& cheminData)
{
    demandes.append(cheminData);
    QImageReader lecteur(fichierLocal(cheminData));
    lecteur.setAutoTransform(false);
    return lecteur.read();
}

bool VisionneuseEnregistree::ouvrir(const QString& cheminData)
{
    ouverts.append(cheminData);
    return true;
}

std::optional<QString> DialogueEnregistrementEnregistre::demander(QWidget*, const QString&, const QString& nomPropose,
                                                                  const QString&)
{
    propositions.append(nomPropose);
    if (repondre) return repondre(nomPropose);
    return std::nullopt;
}

void ApplicationEnregistree::quitter() { terminee = true; }

bool ImprimanteEnregistree::commencer()
{
    if (echouerAuProchain) {
        echouerAuProchain = false;
        return false;
    }
    return true;
}

namespace {
QString nombre(double v) { return QString::number(v, 'g', 15); }
}  // namespace

void ImprimanteEnregistree::image(double x, double y, double largeur, double hauteur, const QString&)
{
    lignes.append(QStringLiteral("picture %1 %2 %3 %4").arg(nombre(x), nombre(y), nombre(largeur), nombre(hauteur)));
}

void ImprimanteEnregistree::dessin(double x, double largeur, double hauteur, const Peintre&)
{
    lignes.append(QStringLiteral("drawing %1 %2 %3").arg(nombre(x), nombre(largeur), nombre(hauteur)));
}

void ImprimanteEnregistree::texte(double x, double taille, bool gras, const QString& texte)
{
    QString t = texte;
    t.replace(QChar('\\'), QStringLiteral("\\\\")).replace(QChar('"'), QStringLiteral("\\\""));
    lignes.append(QStringLiteral("text %1 %2 %3 \"%4\"").arg(nombre(x), nombre(taille),
                                                              gras ? QStringLiteral("bold") : QStringLiteral("plain"), t));
}

void ImprimanteEnregistree::ligneVide() { lignes.append(QStringLiteral("empty")); }
bool ImprimanteEnregistree::terminer()
{
    lignes.append(QStringLiteral("end"));
    return true;
}

bool LigneSerie::ouvert() const
{
    for (auto* p : ports)
        if (p->estOuvert()) return true;
    return false;
}

void LigneSerie::reprendre()
{
    xoff = false;
    for (auto* p : ports) p->reprendre();
}

PortEnregistre::PortEnregistre(PortsEnregistres& banc, QObject* parent) : PortSerie(parent), banc_(banc)
{
    sansProgres_.setSingleShot(true);
    connect(&sansProgres_, &QTimer::timeout, this, [this] {
        if (!ouvert_ || attente_.isEmpty() || sansLimite_) return;
        attente_.clear();
        emit echecEmission(kLigneBloquee);
    });
}

PortEnregistre::~PortEnregistre()
{
    if (ligne_) ligne_->ports.removeAll(this);
}

int PortEnregistre::choisirPort(int numero)
{
    if (ouvert_) return kPortDejaOuvert;
    numero_ = numero;
    banc_.numero = numero;
    return 0;
}

int PortEnregistre::regler(const QString& parametres)
{
    banc_.reglage = parametres;
    return 0;
}

int PortEnregistre::ouvrir()
{
    for (int* panne : {&banc_.prochaine.panneOuverture, numero_ >= 1 ? &banc_.ligne(numero_).panneOuverture : nullptr})
        if (panne && *panne != 0) return std::exchange(*panne, 0);
    if (ouvert_) return kPortDejaOuvert;
    if (numero_ < 1) return kPortInexistant;
    LigneSerie& ligne = banc_.ligne(numero_);
    if (ligne_ != &ligne) {
        if (ligne_) ligne_->ports.removeAll(this);
        ligne_ = &ligne;
        ligne.ports.append(this);
    }
    ligne.xoff = ligne.xoff || std::exchange(banc_.prochaine.xoff, false);
    banc_.derniere = &ligne;
    ouvert_ = true;
    recu_.clear();
    attente_.clear();
    interrompu_ = false;
    sansLimite_ = false;
    aDire_ = 0;
    return 0;
}

void PortEnregistre::prendre(const QByteArray& octets)
{
    banc_.noterEnvoi(*ligne_, octets);
    aDire_ += octets.size();
    if (!direPrevu_) {
        direPrevu_ = true;
        QTimer::singleShot(0, this, &PortEnregistre::dire);
    }
}

void PortEnregistre::dire()
{
    direPrevu_ = false;
    if (!ouvert_ || interrompu_) return;
    const bool vide = attente_.isEmpty();
    if (const qint64 n = std::exchange(aDire_, 0)) emit partis(n);
    // A handler that wrote again is told of it at the next turn.
    if (vide && ouvert_ && !interrompu_ && aDire_ == 0) emit tousPartis();
}

int PortEnregistre::emettre(const QByteArray& octets)
{
    if (!ouvert_) return kPortFerme;
    if (interrompu_) return kArrete;
    if (!ligne_->xoff && attente_.isEmpty()) {
        prendre(octets);
    } else {
        attente_ += octets;
        if (!sansProgres_.isActive()) sansProgres_.start(banc_.delaiSansProgresMs);
    }
    return 0;
}

void PortEnregistre::reprendre()
{
    if (!ouvert_ || attente_.isEmpty()) return;
    sansProgres_.stop();
    prendre(std::exchange(attente_, {}));
}

void PortEnregistre::interrompre()
{
    interrompu_ = true;
    attente_.clear();
    sansProgres_.stop();
}

QByteArray PortEnregistre::lire()
{
    QByteArray r;
    r.swap(recu_);
    return r;
}

int PortEnregistre::fermer()
{
    // As the real port, never waiting: what still waits is dropped.
    const int r = ouvert_ && (interrompu_ || !attente_.isEmpty()) ? kArrete : 0;
    ouvert_ = false;
    attente_.clear();
    sansProgres_.stop();
    return r;
}

void PortEnregistre::regleSeuils(int reception, int emission)
{
    seuilReception = reception;
    seuilEmission = emission;
}

void PortEnregistre::recevoir(const QByteArray& octets)
{
    if (!ouvert_) return;
    recu_ += octets;
    if (seuilReception > 0) emit evenement(kRecu);
}

void PortEnregistre::signaler(int code)
{
    if (ouvert_) emit evenement(code);
}

void PortEnregistre::debrancher()
{
    if (!ouvert_) return;
    const bool enEmission = !attente_.isEmpty() || aDire_ > 0;
    ouvert_ = false;
    attente_.clear();
    sansProgres_.stop();
    if (enEmission) emit echecEmission(kPortFerme);
    emit evenement(kEvPeripherique);
}

PortSerie* PortsEnregistres::creer(QObject* parent) { return new PortEnregistre(*this, parent); }

LigneSerie& PortsEnregistres::ligne(int numero)
{
    LigneSerie& l = lignes_[numero];
    l.numero = numero;
    return l;
}

void PortsEnregistres::noterEnvoi(LigneSerie& ligne, const QByteArray& octets)
{
    ligne.envoye += octets;
    envois_.append({ligne.numero, octets});
}

QByteArray PortsEnregistres::prendreEnvoye(LigneSerie* ligne)
{
    if (ligne) {
        envois_.removeIf([ligne](const auto& e) { return e.first == ligne->numero; });
        return std::exchange(ligne->envoye, {});
    }
    QByteArray tout;
    for (const auto& e : std::exchange(envois_, {})) tout += e.second;
    for (auto& e : lignes_) e.second.envoye.clear();
    return tout;
}

LigneSerie& PortsEnregistres::courante()
{
    if (derniere && derniere->ouvert()) return *derniere;
    return prochaine;
}

DoublesDeServices::DoublesDeServices()
    : services{&messages,   &fenetres,    &images,         &horloge,     &ports,
               &imprimante, &visionneuse, &enregistrement, &application, &poste}
{
    services.memoire = &memoire;
    services.occupation = &occupation;
}

}  // namespace tarvex::plateforme
