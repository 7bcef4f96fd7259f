#include "scenario.h"

#include "app/application.h"
#include "mainwindow/selectphase.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/imprimanteqt.h"
#include "platform/portqt.h"
#include "store/chemins.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QThread>

namespace tarvex::scenario {

using namespace Qt::StringLiterals;
using plateforme::Boutons;
using plateforme::Icone;
using plateforme::Reponse;

namespace {

QString q(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

const std::pair<Icone, const char*> kIcones[] = {{Icone::Information, "information"}, {Icone::Question, "question"},
                                                  {Icone::Exclamation, "exclamation"}, {Icone::Critique, "critical"}};
const std::pair<Reponse, const char*> kReponses[] = {
    {Reponse::Ok, "OK"}, {Reponse::Annuler, "Cancel"}, {Reponse::Oui, "Yes"}, {Reponse::Non, "No"}};

template <class T, std::size_t N>
QString nomDe(const std::pair<T, const char*> (&noms)[N], T v)
{
    for (const auto& [x, nom] : noms)
        if (x == v) return QString::fromLatin1(nom);
    return u"none"_s;
}

// The answers a box offers, the one that changes nothing last: it is given
// once the scenario has failed or ended.
QList<Reponse> reponsesPossibles(Boutons b)
{
    if (b == Boutons::Ok) return {Reponse::Ok};
    if (b == Boutons::OkAnnuler) return {Reponse::Ok, Reponse::Annuler};
    return {Reponse::Oui, Reponse::Non};
}

QString texteDe(QObject* o, bool* multiligne = nullptr)
{
    if (multiligne) *multiligne = qobject_cast<QPlainTextEdit*>(o) != nullptr;
    if (auto* w = qobject_cast<QLineEdit*>(o)) return w->text();
    if (auto* w = qobject_cast<QPlainTextEdit*>(o)) return w->toPlainText();
    if (auto* w = qobject_cast<QComboBox*>(o)) return w->currentText();
    if (auto* w = qobject_cast<QAbstractButton*>(o)) return w->text();
    if (auto* w = qobject_cast<QGroupBox*>(o)) return w->title();
    if (auto* w = qobject_cast<QLabel*>(o)) return w->text();
    if (auto* w = qobject_cast<QListWidget*>(o)) return w->currentItem() ? w->currentItem()->text() : QString();
    return o->property("texte").toString();
}

// The words of the states a control is in (kOui) or not (kNon), pair by pair.
const QStringList kOui{"enabled", "visible", "selected", "checked", "locked"};
const QStringList kNon{"disabled", "hidden", "unselected", "unchecked", "unlocked"};
// The expectations and actions that take one value: several controls may each take their own.
const QStringList kUneValeur{"text", "matches", "tooltip", "colour", "picture", "type", "choose"};

QStringList entreesDe(QObject* o, bool& ok)
{
    ok = true;
    QStringList r;
    if (auto* w = qobject_cast<QComboBox*>(o))
        for (int i = 0; i < w->count(); ++i) r << w->itemText(i);
    else if (auto* w = qobject_cast<QListWidget*>(o))
        for (int i = 0; i < w->count(); ++i) r << w->item(i)->text();
    else if (const QVariant v = o->property("entrees"); v.isValid())
        r = v.toStringList();
    else
        ok = false;
    return r;
}

// The words of a line from word `depuis`; in a list of numbers, "A..B" stands for A, A+1, … B.
QStringList mots(const Ligne& l, std::size_t depuis, bool nombres = false)
{
    static const QRegularExpression plage(u"^(-?\\d+)\\.\\.(-?\\d+)$"_s);
    QStringList r;
    for (std::size_t i = depuis; i < l.mots.size(); ++i) {
        const auto m = plage.match(l.mots[i].texte);
        if (!nombres || !m.hasMatch() || l.mots[i].guillemets) {
            r << l.mots[i].texte;
            continue;
        }
        const int a = m.captured(1).toInt(), b = m.captured(2).toInt();
        for (int k = a;; k += b >= a ? 1 : -1) {
            r << QString::number(k);
            if (k == b) break;
        }
    }
    return r;
}

QString liste(const QStringList& l)
{
    QStringList r;
    for (const auto& s : l) r << q(s);
    return r.isEmpty() ? u"(aucune)"_s : r.join(' ');
}

// Bytes expected and found, shown from where they differ.
QString difference(const QByteArray& attendu, const QByteArray& trouve)
{
    int i = 0;
    while (i < trouve.size() && i < attendu.size() && trouve[i] == attendu[i]) ++i;
    return u"attendu \"%1\", trouvé \"%2\" (différence à l'octet %3)"_s.arg(lisible(attendu).left(2000),
                                                                          lisible(trouve).left(2000))
        .arg(i);
}

bool ecrireFichier(const QString& chemin, const QByteArray& octets)
{
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(octets) == octets.size();
}

bool copierDossier(const QString& source, const QString& cible)
{
    QDir src(source);
    if (!src.exists()) return false;
    QDir().mkpath(cible);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        const QString vers = cible + '/' + src.relativeFilePath(p);
        if (it.fileInfo().isDir()) {
            QDir().mkpath(vers);
            continue;
        }
        QFile::remove(vers);
        if (!QFile::copy(p, vers)) return false;
    }
    return true;
}

void cacherTout()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->hide();
}

// The line as the i-th of n controls takes it: "W.A,B text x y" is A's text x
// and B's text y; with one value (or a list), every control takes the line whole.
Ligne pourControle(const Ligne& l, std::size_t avant, const QString& sorte, std::size_t i, std::size_t n)
{
    if (n < 2 || l.mots.size() != avant + n || !kUneValeur.contains(sorte)) return l;
    Ligne r = l;
    r.mots.resize(avant);
    r.mots.push_back(l.mots[avant + i]);
    return r;
}

}  // namespace

Scenario::Scenario(const QString& fichier, const QString& contenu)
    : fichier_(fichier), dossierScenario_(QFileInfo(fichier).absolutePath())
{
    lignes_ = lireScript(contenu, erreursSyntaxe_, dossierScenario_.absolutePath());
    doubles_.messages.repondre = [this](const plateforme::MessageDemande& d) { return repondreMessage(d); };
    doubles_.fenetres.pendant = [this](QDialog* f) { pendantModal(f); };
    doubles_.fenetres.pendantTravail = [this](QDialog* f) { pendantTravail(f); };
    suiviTravail_.setInterval(10);
    QObject::connect(&suiviTravail_, &QTimer::timeout, [this] { suivreTravail(); });
    doubles_.enregistrement.repondre = [this](const QString& nom) { return repondreEnregistrement(nom); };
}

Scenario::~Scenario()
{
    fini_ = true;
    cacherTout();
    programme_.reset();
}

Issue Scenario::executer()
{
    if (!erreursSyntaxe_.empty()) return issue_ = {false, erreursSyntaxe_.front().numero, erreursSyntaxe_.front().message};
    executerJusqua([] { return false; });
    fini_ = true;
    cacherTout();
    return issue_;
}

void Scenario::executerJusqua(const std::function<bool()>& condition)
{
    while (!arrete() && !condition()) {
        if (curseur_ >= lignes_.size()) {
            fini_ = true;
            break;
        }
        const Ligne& l = lignes_[curseur_++];
        const Ligne* precedente = courante_;
        courante_ = &l;
        pas(l);
        courante_ = precedente;
    }
}

void Scenario::echouer(const Ligne* l, const QString& message)
{
    if (!issue_.reussi) return;
    issue_ = {false, l ? l->numero : 0, l && !l->lieu.isEmpty() ? message + u" (%1)"_s.arg(l->lieu) : message};
}

bool Scenario::exiger(const Ligne& l, bool ok, const QString& message)
{
    if (!ok) echouer(l, message);
    return ok;
}

bool Scenario::besoin(const Ligne& l, std::size_t mots)
{
    return exiger(l, l.mots.size() >= mots, u"ligne incomplète : %1 mots attendus au moins"_s.arg(mots));
}

void Scenario::pas(const Ligne& l)
{
    using Commande = void (Scenario::*)(const Ligne&);
    static const QHash<QString, Commande> commandes{
        {"data", &Scenario::commandeScene}, {"file", &Scenario::commandeScene}, {"copy", &Scenario::commandeScene},
        {"picture", &Scenario::commandeScene}, {"remove", &Scenario::commandeScene}, {"start", &Scenario::demarrer},
        {"click", &Scenario::agir}, {"choose", &Scenario::agir}, {"type", &Scenario::agir}, {"key", &Scenario::agir},
        {"close", &Scenario::agir}, {"tick", &Scenario::agir}, {"message", &Scenario::ligneMessage},
        {"expect", &Scenario::attendre}, {"port", &Scenario::serie}, {"cnc", &Scenario::serie},
        {"printer", &Scenario::imprimante}, {"wait", &Scenario::patienter}};
    if (l.commande() == "saveas")
        echouer(l, u"aucune demande d'enregistrement n'a eu lieu"_s);
    else if (const Commande c = commandes.value(l.commande()))
        (this->*c)(l);
    else
        echouer(l, u"commande inconnue : %1"_s.arg(l.commande()));
}

// ---------------------------------------------------------------------------
// Setting the stage

QString Scenario::fixture(const Ligne& l, const QString& chemin) const
{
    QString c = chemin;
    c.replace(QChar('\\'), QChar('/'));
    return QDir(l.dossier.isEmpty() ? dossierScenario_.absolutePath() : l.dossier).absoluteFilePath(c);
}

bool Scenario::lireFixture(const Ligne& l, const QString& chemin, QByteArray& octets)
{
    QFile f(fixture(l, chemin));
    if (f.open(QIODevice::ReadOnly)) octets = f.readAll();
    return exiger(l, f.isOpen(), u"fixture introuvable : %1"_s.arg(f.fileName()));
}

QString Scenario::local(const QString& chemin) const
{
    return QString::fromStdString(chemins::texte(chemins::resoudre(chemin.toStdString())));
}

void Scenario::commandeScene(const Ligne& l)
{
    const QString c = l.commande();
    if (!besoin(l, c == "picture" ? 4 : c == "file" || c == "copy" ? 3 : 2)) return;
    const QString nom = l.texte(c == "copy" ? 2 : 1), chemin = c == "data" ? QString() : local(nom);
    if (c == "data") {
        QDir("data").removeRecursively();
        exiger(l, copierDossier(fixture(l, l.texte(1)), u"data"_s),
               u"dossier de données introuvable : %1"_s.arg(fixture(l, l.texte(1))));
    } else if (c == "file" || c == "copy") {
        QByteArray contenu = octets(l.texte(2));
        if (c == "copy" && !lireFixture(l, l.texte(1), contenu)) return;
        exiger(l, ecrireFichier(chemin, contenu), u"impossible d'écrire %1"_s.arg(nom));
    } else if (c == "picture") {
        const int largeur = qMax(1, qRound(l.texte(2).toDouble() / plateforme::kTwipsParPixel));
        const int hauteur = qMax(1, qRound(l.texte(3).toDouble() / plateforme::kTwipsParPixel));
        QImage image(largeur, hauteur, QImage::Format_RGB32);
        image.fill(QColor(90, 120, 150));
        QPainter p(&image);
        p.setPen(QColor(230, 200, 60));
        p.drawLine(0, 0, largeur - 1, hauteur - 1);
        p.drawLine(0, hauteur - 1, largeur - 1, 0);
        p.end();
        QDir().mkpath(QFileInfo(chemin).path());
        exiger(l, image.save(chemin, "JPG", 90), u"impossible d'écrire l'image %1"_s.arg(l.texte(1)));
    } else if (QFileInfo(chemin).isDir()) {  // remove
        QDir(chemin).removeRecursively();
    } else {
        QFile::remove(chemin);
    }
}

void Scenario::demarrer(const Ligne& l)
{
    if (!exiger(l, !programme_, u"le programme est déjà démarré"_s)) return;
    if (portReel_) {
        portsReels_ = std::make_unique<plateforme::QtPorts>();
        doubles_.services.ports = portsReels_.get();
    }
    if (imprimanteReelle_) {
        imprimanteSysteme_ = std::make_unique<plateforme::QtImprimante>();
        doubles_.services.imprimante = imprimanteSysteme_.get();
    }
    programme_ = std::make_unique<Programme>(doubles_.services);
    // "start menu": as from the desktop menu, with the first start's window
    // when the working folder holds no data folder yet.
    if (l.texte(1) == "menu" && !programme_->preparerDonnees(QDir::currentPath(), dossierPartage())) {
        doubles_.application.terminee = true;
        return;
    }
    programme_->demarrer();
}

// Before start only: the program's own serial port or printer instead of the double.
bool Scenario::avantDemarrage(const Ligne& l, bool& reel)
{
    if (!exiger(l, !programme_, u"%1 real doit précéder start"_s.arg(l.commande()))) return false;
    reel = true;
    return true;
}

// Where the program's own port or printer is used, what only the double can do fails.
bool Scenario::seulementDouble(const Ligne& l, const bool& reel, const QString& quoi)
{
    const QString avec = &reel == &imprimanteReelle_ ? u"l'imprimante réelle"_s : u"le port réel"_s;
    return exiger(l, !reel, u"%1 n'existe pas avec %2"_s.arg(quoi, avec));
}

// ---------------------------------------------------------------------------
// Windows and controls

QWidget* Scenario::fenetre(const QString& nom, bool visibleSeulement) const
{
    QWidget* trouvee = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != nom) continue;
        if (w->isVisible()) return w;
        if (!visibleSeulement) trouvee = w;
    }
    return trouvee;
}

QWidget* Scenario::fenetreActive() const
{
    if (!doubles_.fenetres.pile.isEmpty()) return doubles_.fenetres.pile.last();
    return programme_ ? programme_->principale() : nullptr;
}

QWidget* Scenario::fenetrePourAgir(const Ligne& l, const QString& nom)
{
    QWidget* f = fenetre(nom, true);
    if (!exiger(l, f, u"la fenêtre %1 n'est pas ouverte"_s.arg(nom))) return nullptr;
    QWidget* active = fenetreActive();
    if (!exiger(l, f == active, u"la fenêtre %1 est recouverte par la fenêtre modale %2"_s.arg(
                                    nom, active ? active->objectName() : u"?"_s)))
        return nullptr;
    return f;
}

QObject* Scenario::controle(const Ligne& l, QWidget* f, const QString& nom)
{
    QObject* c = f->findChild<QObject*>(nom);
    exiger(l, c, u"la fenêtre %1 n'a pas de contrôle %2"_s.arg(f->objectName(), nom));
    return c;
}

bool Scenario::separer(const Ligne& l, const QString& cible, QString& f, QString& c)
{
    const int point = cible.indexOf(QChar('.'));
    f = cible.left(point);
    c = cible.mid(point + 1);
    return exiger(l, point > 0, u"%1 : fenêtre.contrôle attendu"_s.arg(cible));
}

void Scenario::agir(const Ligne& l)
{
    const QString c = l.commande();
    if (!exiger(l, programme_ != nullptr, u"le programme n'est pas démarré (start)"_s) || !besoin(l, 2)) return;
    const QString cible = l.texte(1);

    if (c == "key" || c == "close") {
        QWidget* f = fenetrePourAgir(l, cible);
        if (!f) return;
        if (c == "close") {
            f->close();
            return;
        }
        // Any key by default; a named one where the window tells keys apart.
        static const QMap<QString, int> touches{{"Escape", Qt::Key_Escape}, {"Enter", Qt::Key_Return},
                                                {"Down", Qt::Key_Down}, {"Up", Qt::Key_Up}, {"Space", Qt::Key_Space}};
        const QString nom = l.mots.size() >= 3 ? l.texte(2) : u"Space"_s;
        if (!exiger(l, touches.contains(nom), u"touche inconnue : %1 (Escape, Enter, Down, Up, Space)"_s.arg(nom)))
            return;
        const int touche = touches[nom];
        const QString texte = touche == Qt::Key_Space ? u" "_s : QString();
        QWidget* destinataire = f->focusWidget() ? f->focusWidget() : f;
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(t, touche, Qt::NoModifier, texte);
            QCoreApplication::sendEvent(destinataire, &e);
        }
        return;
    }

    QString nf, nc;
    if (!separer(l, cible, nf, nc)) return;
    QWidget* f = fenetrePourAgir(l, nf);
    // W.A,B,C: the same action on each control in turn, or each its own value.
    const QStringList noms = nc.split(QChar(','));
    for (int i = 0; i < noms.size() && issue_.reussi; ++i) {
        QObject* o = f ? controle(l, f, noms[i]) : nullptr;
        if (!o) return;
        agirSur(pourControle(l, 2, c, i, noms.size()), f, o, nf + QLatin1Char('.') + noms[i]);
    }
}

void Scenario::agirSur(const Ligne& l, QWidget* f, QObject* o, const QString& cible)
{
    const QString c = l.commande();
    if (c == "tick") {
        auto* m = qobject_cast<plateforme::Minuterie*>(o);
        if (exiger(l, m, u"%1 n'est pas une minuterie"_s.arg(cible))) m->declencher();
        return;
    }
    // Only what the operator sees can be reached: the control and every
    // frame around it shown; enabled means enabled along its parents too.
    auto* w = qobject_cast<QWidget*>(o);
    if (!exiger(l, !w || w->isVisibleTo(f), u"%1 n'est pas visible : l'opérateur ne peut pas l'atteindre"_s.arg(cible)))
        return;
    const bool actif = !w || w->isEnabled();
    if (c == "click") {
        if (!actif) return;  // a disabled control does not react, as for the operator
        if (auto* b = qobject_cast<QAbstractButton*>(o))
            b->click();
        else if (o->metaObject()->indexOfMethod("cliquer()") >= 0)
            QMetaObject::invokeMethod(o, "cliquer", Qt::DirectConnection);
        else
            exiger(l, w, u"%1 ne se clique pas"_s.arg(cible));
        // Any other control takes the click and does nothing with it.
        return;
    }
    if (!besoin(l, 3) || !exiger(l, actif, u"%1 est désactivé"_s.arg(cible))) return;
    const Mot& valeur = l.mots[2];
    if (c == "choose") {
        if (w) w->setFocus();  // the operator's click gives the list the keys
        bool ok = false;
        if (o->metaObject()->indexOfMethod("choisir(QString)") >= 0) {
            QMetaObject::invokeMethod(o, "choisir", Qt::DirectConnection, Q_RETURN_ARG(bool, ok),
                                      Q_ARG(QString, valeur.texte));
            if (!arrete()) exiger(l, ok, u"%1 : impossible de choisir %2"_s.arg(cible, q(valeur.texte)));
            return;
        }
        const QStringList entrees = entreesDe(o, ok);
        if (!exiger(l, ok, u"%1 n'est pas une liste"_s.arg(cible))) return;
        int index = entrees.indexOf(valeur.texte);
        if (!valeur.guillemets && valeur.texte.startsWith('#')) {
            index = valeur.texte.mid(1).toInt(&ok);
            if (!exiger(l, ok && index >= 0 && index < entrees.size(), u"%1 : pas d'entrée à la position %2 (%3 entrées)"_s
                                                                      .arg(cible, valeur.texte.mid(1))
                                                                      .arg(entrees.size())))
                return;
        } else if (!exiger(l, index >= 0, u"%1 : pas d'entrée %2 ; entrées : %3"_s.arg(cible, q(valeur.texte), liste(entrees)))) {
            return;
        }
        if (auto* cb = qobject_cast<QComboBox*>(o)) {
            cb->setCurrentIndex(index);
            emit cb->activated(index);
        } else if (auto* lw = qobject_cast<QListWidget*>(o)) {
            lw->setCurrentRow(index);
            emit lw->itemClicked(lw->item(index));
        }
    } else if (c == "type") {
        auto* e = qobject_cast<QLineEdit*>(o);
        auto* p = qobject_cast<QPlainTextEdit*>(o);
        auto* cb = qobject_cast<QComboBox*>(o);
        if (!exiger(l, e || p || (cb && cb->isEditable()), u"%1 n'est pas une zone de texte"_s.arg(cible)) ||
            !exiger(l, !(e ? e->isReadOnly() : p && p->isReadOnly()), u"%1 est verrouillé"_s.arg(cible)))
            return;
        if (e) {
            e->setText(valeur.texte);
        } else if (p) {
            p->setPlainText(valeur.texte);
        } else {
            // As typed by the operator, who has clicked into the box first.
            cb->setFocus();
            cb->setEditText(valeur.texte);
            emit cb->lineEdit()->textEdited(valeur.texte);
        }
    }
}

// ---------------------------------------------------------------------------
// Message boxes, modal windows, save dialogs

void Scenario::ligneMessage(const Ligne& l)
{
    if (!portReel_) {
        echouer(l, u"aucun message n'est apparu (attendu : %1)"_s.arg(q(l.texte(1))));
        return;
    }
    // The box comes from the program's own events (the serial line):
    // let them run until it has met this line.
    const std::size_t attendu = curseur_--;
    QElapsedTimer chrono;
    chrono.start();
    while (curseur_ < attendu && !arrete() && chrono.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    if (curseur_ < attendu) {
        curseur_ = attendu;
        echouer(l, u"aucun message n'est apparu en 20 secondes (attendu : %1)"_s.arg(q(l.texte(1))));
    }
}

Reponse Scenario::repondreMessage(const plateforme::MessageDemande& d)
{
    const QList<Reponse> possibles = reponsesPossibles(d.boutons);
    if (arrete()) return possibles.last();
    const QString vu = u"%1 (titre %2, icône %3)"_s.arg(q(d.texte), q(d.titre), nomDe(kIcones, d.icone));
    if (curseur_ >= lignes_.size() || lignes_[curseur_].commande() != "message") {
        echouer(courante_, u"message inattendu : %1"_s.arg(vu));
        return possibles.last();
    }
    const Ligne& l = lignes_[curseur_++];
    if (!exiger(l, l.mots.size() >= 2, u"message sans texte"_s)) return possibles.last();
    const Mot& attendu = l.mots[1];
    bool ok = exiger(l, (attendu.texte == "*" && !attendu.guillemets) || lignesDe(attendu.texte) == lignesDe(d.texte),
                     u"message attendu %1, trouvé %2"_s.arg(q(attendu.texte), vu));
    Reponse reponse = possibles.front();
    for (std::size_t i = 2; ok && i < l.mots.size(); i += 2) {
        const QString cle = l.texte(i), valeur = l.texte(i + 1);
        if (!exiger(l, i + 1 < l.mots.size(), u"valeur manquante après %1"_s.arg(cle)))
            ok = false;
        else if (cle == "title")
            ok = exiger(l, valeur == d.titre, u"titre attendu %1, trouvé %2"_s.arg(q(valeur), vu));
        else if (cle == "icon")
            ok = exiger(l, valeur == nomDe(kIcones, d.icone), u"icône attendue %1, trouvé %2"_s.arg(valeur, vu));
        else if (cle != "answer")
            ok = exiger(l, false, u"mot inconnu dans message : %1"_s.arg(cle));
        else {
            const auto* r = std::find_if(std::begin(kReponses), std::end(kReponses), [&](const auto& x) {
                return valeur.compare(QLatin1String(x.second), Qt::CaseInsensitive) == 0;
            });
            if ((ok = exiger(l, r != std::end(kReponses), u"réponse inconnue : %1"_s.arg(valeur)))) reponse = r->first;
        }
    }
    if (ok) {
        QStringList noms;
        for (Reponse r : possibles) noms << nomDe(kReponses, r);
        ok = exiger(l, possibles.contains(reponse), u"la boîte %1 n'a pas de bouton %2 (boutons : %3)"_s.arg(
                                                        vu, nomDe(kReponses, reponse), noms.join(' ')));
    }
    return ok ? reponse : possibles.last();
}

void Scenario::pendantModal(QDialog* f)
{
    executerJusqua([f] { return !f->isVisible(); });
    if (f->isVisible()) f->hide();
}

void Scenario::pendantTravail(QDialog* f)
{
    travail_ = f;
    suiviTravail_.start();
}

void Scenario::suivreTravail()
{
    if (dansTravail_) return;
    QDialog* f = travail_;
    if (!f || !f->isVisible()) {
        suiviTravail_.stop();
        return;
    }
    if (arrete()) {
        // Nobody will take the line up again: the program is let go.
        suiviTravail_.stop();
        for (QWidget* w : QApplication::topLevelWidgets())
            for (auto* p : w->findChildren<plateforme::PortSerie*>()) p->interrompre();
        return;
    }
    auto attendUneBoite = [this] {
        return curseur_ < lignes_.size() &&
               (lignes_[curseur_].commande() == "message" || lignes_[curseur_].commande() == "saveas");
    };
    dansTravail_ = true;
    executerJusqua([f, attendUneBoite] { return !f->isVisible() || attendUneBoite(); });
    dansTravail_ = false;
    if (arrete()) suivreTravail();
}

void Scenario::patienter(const Ligne& l)
{
    bool ok = false;
    const int ms = l.texte(1).toInt(&ok);
    if (!exiger(l, ok && ms >= 0, u"wait : un nombre de millisecondes est attendu"_s)) return;
    QElapsedTimer chrono;
    chrono.start();
    while (chrono.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
}

std::optional<QString> Scenario::repondreEnregistrement(const QString& nomPropose)
{
    if (arrete()) return std::nullopt;
    if (curseur_ >= lignes_.size() || lignes_[curseur_].commande() != "saveas") {
        echouer(courante_, u"demande d'enregistrement inattendue (nom proposé %1)"_s.arg(q(nomPropose)));
        return std::nullopt;
    }
    const Ligne& l = lignes_[curseur_++];
    if (!exiger(l, l.mots.size() >= 2, u"saveas sans chemin"_s) ||
        !exiger(l, l.texte(2) != "offered" || l.texte(3) == nomPropose,
                u"nom proposé attendu %1, trouvé %2"_s.arg(q(l.texte(3)), q(nomPropose))) ||
        (l.texte(1) == "cancel" && !l.mots[1].guillemets))
        return std::nullopt;
    QString chemin = l.texte(1);
    chemin.replace(QChar('\\'), QChar('/'));
    return QDir::isAbsolutePath(chemin) ? chemin : QDir::current().absoluteFilePath(chemin);
}

// ---------------------------------------------------------------------------
// The printer and the serial line

void Scenario::imprimante(const Ligne& l)
{
    const QString quoi = l.texte(1);
    if (quoi == "real")
        avantDemarrage(l, imprimanteReelle_);
    else if (quoi == "none")
        doubles_.imprimante.installe = false;
    else if (quoi == "fails" && seulementDouble(l, imprimanteReelle_, u"printer fails"_s))
        doubles_.imprimante.echouerAuProchain = true;
    else if (quoi != "fails")
        echouer(l, u"commande inconnue : printer %1"_s.arg(quoi));
}

void Scenario::serie(const Ligne& l)
{
    if (!besoin(l, 2)) return;
    const QString quoi = l.texte(1);
    if (l.commande() == "port") {
        if (quoi == "real")
            avantDemarrage(l, portReel_);
        else if (quoi != "fails")
            echouer(l, u"commande inconnue : port %1"_s.arg(quoi));
        else if (besoin(l, 4) && exiger(l, l.texte(2) == "open", u"commande inconnue : port fails %1"_s.arg(l.texte(2))) &&
                 seulementDouble(l, portReel_, u"port fails"_s))
            doubles_.ports.ligne.panneOuverture = l.texte(3).toInt();
        return;
    }
    // cnc. The line's state, open port or not: a CNC may hold it before the transfer.
    if (!seulementDouble(l, portReel_, u"cnc"_s)) return;
    if (quoi == "xoff" || quoi == "xon") {
        if (quoi == "xoff")
            doubles_.ports.ligne.xoff = true;
        else
            doubles_.ports.ligne.reprendre();
        return;
    }
    if (!besoin(l, 3)) return;
    plateforme::PortEnregistre* ouvert = nullptr;
    for (auto* p : doubles_.ports.ligne.ports)
        if (p->estOuvert()) ouvert = p;
    if (!exiger(l, ouvert, u"aucun port n'est ouvert"_s)) return;
    if (quoi == "sends")
        ouvert->recevoir(octets(l.texte(2)));
    else if (quoi == "event")
        ouvert->signaler(l.texte(2).toInt());
    else
        echouer(l, u"commande inconnue : cnc %1"_s.arg(quoi));
}

void Scenario::attendreSerie(const Ligne& l)
{
    const QString quoi = l.texte(2);
    if (l.texte(1) == "port" && (quoi == "open" || quoi == "closed")) {
        bool ouvert = doubles_.ports.ligne.ouvert();
        for (QWidget* w : QApplication::topLevelWidgets())
            for (auto* p : w->findChildren<plateforme::PortSerie*>()) ouvert = ouvert || (portReel_ && p->estOuvert());
        exiger(l, ouvert == (quoi == "open"), u"port attendu %1"_s.arg(quoi == "open" ? u"ouvert"_s : u"fermé"_s));
        return;
    }
    // The real ports only tell whether they are open: what was written
    // went down the cable, and what was set on them is theirs.
    if (!seulementDouble(l, portReel_, u"expect %1 %2"_s.arg(l.texte(1), quoi)) || !besoin(l, 3)) return;
    auto& ligne = doubles_.ports.ligne;
    if (l.texte(1) == "sent") {
        QByteArray attendu = octets(quoi);
        if (quoi == "same" && !l.mots[2].guillemets && (!besoin(l, 4) || !lireFixture(l, l.texte(3), attendu))) return;
        const QByteArray envoye = std::exchange(ligne.envoye, {});
        exiger(l, envoye == attendu, u"envoyé "_s + difference(attendu, envoye));
    } else if (quoi == "number" && besoin(l, 4)) {
        exiger(l, ligne.numero == l.texte(3).toInt(),
               u"numéro de port attendu %1, trouvé %2"_s.arg(l.texte(3)).arg(ligne.numero));
    } else if (quoi == "settings" && besoin(l, 4)) {
        exiger(l, ligne.reglage == l.texte(3), u"réglage attendu %1, trouvé %2"_s.arg(q(l.texte(3)), q(ligne.reglage)));
    } else if (quoi != "number" && quoi != "settings") {
        echouer(l, u"commande inconnue : expect port %1"_s.arg(quoi));
    }
}

// ---------------------------------------------------------------------------
// Expectations

void Scenario::attendre(const Ligne& l)
{
    if (!besoin(l, 2)) return;
    const QString quoi = l.texte(1);
    if (quoi == "file" || quoi == "nofile" || quoi == "folder" || quoi == "nofolder" || quoi == "files") {
        attendreFichier(l);
    } else if (quoi == "sent" || quoi == "port") {
        attendreSerie(l);
    } else if (quoi == "ended") {
        exiger(l, doubles_.application.terminee, u"le programme n'est pas terminé"_s);
    } else if (quoi == "opened") {
        const QStringList& ouverts = doubles_.visionneuse.ouverts;
        if (besoin(l, 3) && exiger(l, !ouverts.isEmpty(), u"aucun document n'a été ouvert"_s))
            exiger(l, cheminNormal(ouverts.last()) == cheminNormal(l.texte(2)),
                   u"document attendu %1, ouvert %2"_s.arg(q(l.texte(2)), q(ouverts.last())));
    } else if (quoi == "printout") {
        if (!seulementDouble(l, imprimanteReelle_, u"expect printout"_s)) return;
        QStringList attendu = mots(l, 2);
        if (l.texte(2) == "same" && l.mots.size() >= 4 && !l.mots[2].guillemets) {
            QByteArray f;
            if (!lireFixture(l, l.texte(3), f)) return;
            attendu = lignesDe(QString::fromUtf8(f));
        }
        const QStringList imprime = std::exchange(doubles_.imprimante.lignes, {});
        int i = 0;
        while (i < imprime.size() && i < attendu.size() && imprime[i] == attendu[i]) ++i;
        exiger(l, imprime == attendu, u"impression différente à la ligne %1 : attendu %2, trouvé %3"_s.arg(i + 1).arg(
                                          i < attendu.size() ? q(attendu[i]) : u"(fin)"_s,
                                          i < imprime.size() ? q(imprime[i]) : u"(fin)"_s));
    } else if (!quoi.contains(QChar('.'))) {
        // A window.
        if (!besoin(l, 3)) return;
        QWidget* f = fenetre(quoi, false);
        const QString etat = l.texte(2);
        const bool ouverte = f && f->isVisible();
        if (etat == "open" || etat == "closed")
            exiger(l, ouverte == (etat == "open"), u"la fenêtre %1 %2"_s.arg(quoi, ouverte ? u"est ouverte"_s : u"n'est pas ouverte"_s));
        else if (etat != "title")
            echouer(l, u"attente inconnue pour une fenêtre : %1"_s.arg(etat));
        else if (besoin(l, 4) && exiger(l, f, u"la fenêtre %1 n'existe pas"_s.arg(quoi)))
            exiger(l, f->windowTitle() == l.texte(3), u"titre attendu %1, trouvé %2"_s.arg(q(l.texte(3)), q(f->windowTitle())));
    } else {
        QString nf, nc;
        if (!separer(l, quoi, nf, nc) || !besoin(l, 3)) return;
        QWidget* f = fenetre(nf, false);
        if (!exiger(l, f, u"la fenêtre %1 n'existe pas"_s.arg(nf))) return;
        // W.A,B,C: the same expectation of each control, or each its own value.
        const QStringList noms = nc.split(QChar(','));
        for (int i = 0; i < noms.size() && issue_.reussi; ++i)
            if (QObject* o = controle(l, f, noms[i]))
                attendreControle(pourControle(l, 3, l.texte(2), i, noms.size()), o, nf + QLatin1Char('.') + noms[i]);
    }
}

void Scenario::attendreControle(const Ligne& l, QObject* o, const QString& nom)
{
    const QString etat = l.texte(2);
    auto* w = qobject_cast<QWidget*>(o);
    auto* image = qobject_cast<plateforme::Image*>(o);
    auto* barre = qobject_cast<QProgressBar*>(o);
    if (!besoin(l, etat == "size" || etat == "position" ? 5 : kUneValeur.contains(etat) || etat == "value" ? 4 : 3))
        return;
    const QString v = l.texte(3);

    if (etat == "text" || etat == "matches") {
        bool multiligne = false;
        const QString texte = texteDe(o, &multiligne);
        if (etat == "text") {
            exiger(l, multiligne ? lignesDe(texte) == lignesDe(v) : texte == v,
                   u"%1 : texte attendu %2, trouvé %3"_s.arg(nom, q(v), q(texte)));
            return;
        }
        const QRegularExpression re(v);
        if (exiger(l, re.isValid(), u"expression régulière invalide : %1"_s.arg(re.errorString())))
            exiger(l, re.match(texte).hasMatch(), u"%1 : %2 ne correspond pas à %3"_s.arg(nom, q(texte), q(v)));
    } else if (const int k = std::max(kOui.indexOf(etat), kNon.indexOf(etat)); k >= 0) {
        // A state the control is in or not: enabled, visible, selected or
        // checked, locked.
        auto* b = qobject_cast<QAbstractButton*>(o);
        auto* e = qobject_cast<QLineEdit*>(o);
        auto* p = qobject_cast<QPlainTextEdit*>(o);
        std::optional<bool> vu;
        if (k == 0 && w) vu = w->isEnabledTo(w->parentWidget() ? w->parentWidget() : w);
        if (k == 1 && w) vu = !w->isHidden();
        if ((k == 2 || k == 3) && b) vu = b->isChecked();
        if (k == 4 && (e || p)) vu = e ? e->isReadOnly() : p->isReadOnly();
        if (exiger(l, vu.has_value(), u"%1 ne peut être %2"_s.arg(nom, etat)))
            exiger(l, *vu == kOui.contains(etat), u"%1 : %2 attendu, trouvé %3"_s.arg(nom, etat, (*vu ? kOui : kNon)[k]));
    } else if (etat == "colour" || etat == "tooltip") {
        if (!exiger(l, w, u"%1 n'est pas un contrôle visible"_s.arg(nom))) return;
        if (etat == "tooltip") {
            exiger(l, w->toolTip() == v, u"%1 : bulle attendue %2, trouvée %3"_s.arg(nom, q(v), q(w->toolTip())));
            return;
        }
        const QColor vue = plateforme::fondTexte(w);
        const QColor attendue = v == "yellow" ? plateforme::kJauneClair : v == "buttonface" ? plateforme::faceBouton() : QColor();
        if (exiger(l, attendue.isValid(), u"couleur inconnue : %1"_s.arg(v)))
            exiger(l, vue.rgb() == attendue.rgb(),
                   u"%1 : couleur attendue %2 (%3), trouvée %4"_s.arg(nom, v, attendue.name(), vue.name()));
    } else if (etat == "items" || etat == "data") {
        // The entries of a list, or the numbers stored with them.
        bool ok = false;
        QStringList vus = entreesDe(o, ok);
        if (etat == "data") {
            auto* cb = qobject_cast<QComboBox*>(o);
            auto* lw = qobject_cast<QListWidget*>(o);
            ok = cb || lw;
            vus.clear();
            for (int i = 0; ok && i < (cb ? cb->count() : lw->count()); ++i)
                vus << QString::number((cb ? cb->itemData(i) : lw->item(i)->data(Qt::UserRole)).toInt());
        }
        const QStringList attendus = mots(l, 3, etat == "data");
        if (exiger(l, ok, u"%1 n'est pas une liste"_s.arg(nom)))
            exiger(l, vus == attendus, u"%1 : %2 attendu %3, trouvé %4"_s.arg(nom, etat, liste(attendus), liste(vus)));
    } else if (etat == "value" || etat == "history") {
        if (!exiger(l, barre, u"%1 n'est pas une barre de progression"_s.arg(nom))) return;
        if (etat == "value") {
            exiger(l, barre->value() == v.toInt(), u"%1 : valeur attendue %2, trouvée %3"_s.arg(nom, v).arg(barre->value()));
            return;
        }
        auto* vumetre = qobject_cast<plateforme::Vumetre*>(o);
        if (!exiger(l, vumetre, u"%1 ne garde pas son historique"_s.arg(nom))) return;
        QStringList vus;
        for (int x : std::exchange(vumetre->historique, {})) vus << QString::number(x);
        exiger(l, vus == mots(l, 3, true),
               u"%1 : valeurs attendues %2, trouvées %3"_s.arg(nom, mots(l, 3, true).join(' '), vus.join(' ')));
    } else if (etat == "picture" || etat == "size" || etat == "position") {
        if (!exiger(l, image, u"%1 n'est pas une image"_s.arg(nom))) return;
        if (etat == "picture" && v == "none" && !l.mots[3].guillemets) {
            exiger(l, image->chemin().isEmpty(), u"%1 montre %2"_s.arg(nom, q(image->chemin())));
        } else if (etat == "picture") {
            exiger(l, cheminNormal(image->chemin()) == cheminNormal(v),
                   u"%1 : image attendue %2, trouvée %3"_s.arg(nom, q(v), image->chemin().isEmpty() ? u"aucune"_s : q(image->chemin())));
        } else {
            const QRect r = image->twips();
            const int a = etat == "size" ? r.width() : r.x(), b = etat == "size" ? r.height() : r.y();
            const int x = qRound(v.toDouble()), y = qRound(l.texte(4).toDouble());
            exiger(l, qAbs(a - x) <= plateforme::kTwipsParPixel && qAbs(b - y) <= plateforme::kTwipsParPixel,
                   u"%1 : %2 attendue %3 %4, trouvée %5 %6"_s.arg(nom, etat).arg(x).arg(y).arg(a).arg(b));
        }
    } else {
        echouer(l, u"attente inconnue : %1"_s.arg(etat));
    }
}

void Scenario::attendreFichier(const Ligne& l)
{
    if (!besoin(l, 3)) return;
    const QString quoi = l.texte(1), nom = l.texte(2);
    const QString chemin = local(nom);
    const QFileInfo info(chemin);
    if (quoi == "nofile") {
        exiger(l, !info.exists() || info.isDir(), u"le fichier %1 existe"_s.arg(nom));
    } else if (quoi == "nofolder") {
        exiger(l, !info.isDir(), u"le dossier %1 existe"_s.arg(nom));
    } else if (!exiger(l, quoi == "file" || info.isDir(), u"le dossier %1 n'existe pas"_s.arg(nom)) || quoi == "folder") {
        return;
    } else if (quoi == "files") {
        auto normal = [](QStringList s) {
            for (auto& x : s) x = x.toLower();
            s.sort();
            return s;
        };
        const QStringList vus = QDir(chemin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        exiger(l, normal(vus) == normal(mots(l, 3)), u"%1 contient %2 au lieu de %3"_s.arg(nom, liste(vus), liste(mots(l, 3))));
    } else if (besoin(l, 4)) {  // file
        QFile f(chemin);
        if (!exiger(l, info.exists() && !info.isDir() && f.open(QIODevice::ReadOnly), u"le fichier %1 n'existe pas"_s.arg(nom)))
            return;
        QByteArray attendu = octets(l.texte(3));
        if (l.texte(3) == "same" && !l.mots[3].guillemets && (!besoin(l, 5) || !lireFixture(l, l.texte(4), attendu)))
            return;
        const QByteArray contenu = f.readAll();
        exiger(l, contenu == attendu, nom + u" : contenu "_s + difference(attendu, contenu));
    }
}

}  // namespace tarvex::scenario
