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
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QThread>

namespace tarvex::scenario {

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
    return QStringLiteral("none");
}

// The answers a box offers, the one that changes nothing last: it is given
// once the scenario has failed or ended.
QList<Reponse> reponsesPossibles(Boutons b)
{
    if (b == Boutons::Ok) return {Reponse::Ok};
    if (b == Boutons::OkAnnuler) return {Reponse::Ok, Reponse::Annuler};
    return {Reponse::Oui, Reponse::Non};
}

Reponse prudente(Boutons b) { return reponsesPossibles(b).last(); }

QString texteDe(QObject* o, bool* multiligne = nullptr)
{
    if (multiligne) *multiligne = false;
    if (auto* w = qobject_cast<QLineEdit*>(o)) return w->text();
    if (auto* w = qobject_cast<QPlainTextEdit*>(o)) {
        if (multiligne) *multiligne = true;
        return w->toPlainText();
    }
    if (auto* w = qobject_cast<QComboBox*>(o)) return w->currentText();
    if (auto* w = qobject_cast<QAbstractButton*>(o)) return w->text();
    if (auto* w = qobject_cast<QGroupBox*>(o)) return w->title();
    if (auto* w = qobject_cast<QLabel*>(o)) return w->text();
    if (auto* w = qobject_cast<QListWidget*>(o)) return w->currentItem() ? w->currentItem()->text() : QString();
    const QVariant t = o->property("texte");
    if (t.isValid()) return t.toString();
    return {};
}

// The words of the states a control is in (kOui) or not (kNon), pair by pair.
const QStringList kOui{"enabled", "visible", "selected", "checked", "locked"};
const QStringList kNon{"disabled", "hidden", "unselected", "unchecked", "unlocked"};

QStringList entreesDe(QObject* o, bool& ok)
{
    ok = true;
    QStringList r;
    if (auto* w = qobject_cast<QComboBox*>(o)) {
        for (int i = 0; i < w->count(); ++i) r << w->itemText(i);
    } else if (auto* w = qobject_cast<QListWidget*>(o)) {
        for (int i = 0; i < w->count(); ++i) r << w->item(i)->text();
    } else {
        const QVariant v = o->property("entrees");
        if (v.isValid())
            r = v.toStringList();
        else
            ok = false;
    }
    return r;
}

// The numbers of a list from word `depuis`, "A..B" standing for A, A+1, … B.
QStringList nombres(const Ligne& l, std::size_t depuis)
{
    static const QRegularExpression plage(QStringLiteral("^(-?\\d+)\\.\\.(-?\\d+)$"));
    QStringList r;
    for (std::size_t i = depuis; i < l.mots.size(); ++i) {
        const auto m = plage.match(l.mots[i].texte);
        if (!m.hasMatch() || l.mots[i].guillemets) {
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
    return r.isEmpty() ? QStringLiteral("(aucune)") : r.join(' ');
}

bool ecrireFichier(const QString& chemin, const QByteArray& octets)
{
    const QFileInfo info(chemin);
    QDir().mkpath(info.path());
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(octets) == octets.size();
}

bool copierDossier(const QString& source, const QString& cible)
{
    QDir src(source);
    if (!src.exists()) return false;
    QDir().mkpath(cible);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        const QString rel = src.relativeFilePath(p);
        if (it.fileInfo().isDir())
            QDir().mkpath(cible + '/' + rel);
        else {
            QFile::remove(cible + '/' + rel);
            if (!QFile::copy(p, cible + '/' + rel)) return false;
        }
    }
    return true;
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
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->hide();
    programme_.reset();
}

Issue Scenario::executer()
{
    if (!erreursSyntaxe_.empty()) {
        issue_ = {false, erreursSyntaxe_.front().numero, erreursSyntaxe_.front().message};
        return issue_;
    }
    executerJusqua([] { return false; });
    fini_ = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->hide();
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
    issue_ = {false, l ? l->numero : 0, l && !l->lieu.isEmpty() ? message + QStringLiteral(" (%1)").arg(l->lieu) : message};
}

bool Scenario::besoin(const Ligne& l, std::size_t mots)
{
    if (l.mots.size() >= mots) return true;
    echouer(l, QStringLiteral("ligne incomplète : %1 mots attendus au moins").arg(mots));
    return false;
}

void Scenario::pas(const Ligne& l)
{
    const QString c = l.commande();
    if (c == "data" || c == "file" || c == "copy" || c == "picture" || c == "remove")
        commandeScene(l);
    else if (c == "start")
        demarrer(l);
    else if (c == "click" || c == "choose" || c == "type" || c == "key" || c == "close" || c == "tick")
        agir(l);
    else if (c == "message")
        ligneMessage(l);
    else if (c == "expect")
        attendre(l);
    else if (c == "port" || c == "cnc")
        serie(l);
    else if (c == "saveas")
        echouer(l, QStringLiteral("aucune demande d'enregistrement n'a eu lieu"));
    else if (c == "printer")
        imprimante(l);
    else if (c == "wait")
        patienter(l);
    else
        echouer(l, QStringLiteral("commande inconnue : %1").arg(c));
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
    if (f.open(QIODevice::ReadOnly)) {
        octets = f.readAll();
        return true;
    }
    echouer(l, QStringLiteral("fixture introuvable : %1").arg(f.fileName()));
    return false;
}

QString Scenario::local(const QString& chemin) const
{
    return QString::fromStdString(chemins::texte(chemins::resoudre(chemin.toStdString())));
}

void Scenario::commandeScene(const Ligne& l)
{
    const QString c = l.commande();
    if (c == "data") {
        if (!besoin(l, 2)) return;
        QDir("data").removeRecursively();
        if (!copierDossier(fixture(l, l.texte(1)), QStringLiteral("data")))
            echouer(l, QStringLiteral("dossier de données introuvable : %1").arg(fixture(l, l.texte(1))));
    } else if (c == "file") {
        if (!besoin(l, 3)) return;
        if (!ecrireFichier(local(l.texte(1)), octets(l.texte(2))))
            echouer(l, QStringLiteral("impossible d'écrire %1").arg(l.texte(1)));
    } else if (c == "copy") {
        if (!besoin(l, 3)) return;
        QByteArray source;
        if (!lireFixture(l, l.texte(1), source)) return;
        if (!ecrireFichier(local(l.texte(2)), source))
            echouer(l, QStringLiteral("impossible d'écrire %1").arg(l.texte(2)));
    } else if (c == "picture") {
        if (!besoin(l, 4)) return;
        const int largeur = qMax(1, qRound(l.texte(2).toDouble() / plateforme::kTwipsParPixel));
        const int hauteur = qMax(1, qRound(l.texte(3).toDouble() / plateforme::kTwipsParPixel));
        QImage image(largeur, hauteur, QImage::Format_RGB32);
        image.fill(QColor(90, 120, 150));
        QPainter p(&image);
        p.setPen(QColor(230, 200, 60));
        p.drawLine(0, 0, largeur - 1, hauteur - 1);
        p.drawLine(0, hauteur - 1, largeur - 1, 0);
        p.end();
        const QString chemin = local(l.texte(1));
        QDir().mkpath(QFileInfo(chemin).path());
        if (!image.save(chemin, "JPG", 90)) echouer(l, QStringLiteral("impossible d'écrire l'image %1").arg(l.texte(1)));
    } else if (c == "remove") {
        if (!besoin(l, 2)) return;
        const QString chemin = local(l.texte(1));
        const QFileInfo info(chemin);
        if (info.isDir())
            QDir(chemin).removeRecursively();
        else
            QFile::remove(chemin);
    }
}

void Scenario::demarrer(const Ligne& l)
{
    if (programme_) {
        echouer(l, QStringLiteral("le programme est déjà démarré"));
        return;
    }
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
    if (l.mots.size() > 1 && l.texte(1) == QLatin1String("menu") &&
        !programme_->preparerDonnees(QDir::currentPath(), dossierPartage())) {
        doubles_.application.terminee = true;
        return;
    }
    programme_->demarrer();
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
    if (!f) {
        echouer(l, QStringLiteral("la fenêtre %1 n'est pas ouverte").arg(nom));
        return nullptr;
    }
    QWidget* active = fenetreActive();
    if (f != active) {
        echouer(l, QStringLiteral("la fenêtre %1 est recouverte par la fenêtre modale %2")
                       .arg(nom, active ? active->objectName() : QStringLiteral("?")));
        return nullptr;
    }
    return f;
}

QObject* Scenario::controle(const Ligne& l, QWidget* f, const QString& nom)
{
    QObject* c = f->findChild<QObject*>(nom);
    if (!c) echouer(l, QStringLiteral("la fenêtre %1 n'a pas de contrôle %2").arg(f->objectName(), nom));
    return c;
}

bool Scenario::separer(const Ligne& l, const QString& cible, QString& f, QString& c)
{
    const int point = cible.indexOf(QChar('.'));
    if (point <= 0) {
        echouer(l, QStringLiteral("%1 : fenêtre.contrôle attendu").arg(cible));
        return false;
    }
    f = cible.left(point);
    c = cible.mid(point + 1);
    return true;
}

void Scenario::agir(const Ligne& l)
{
    const QString c = l.commande();
    if (!programme_) {
        echouer(l, QStringLiteral("le programme n'est pas démarré (start)"));
        return;
    }
    if (!besoin(l, 2)) return;
    const QString cible = l.texte(1);

    if (c == "key" || c == "close") {
        QWidget* f = fenetrePourAgir(l, cible);
        if (!f) return;
        if (c == "key") {
            // Any key by default; a named one where the window tells keys apart.
            static const QMap<QString, int> touches{{"Escape", Qt::Key_Escape}, {"Enter", Qt::Key_Return},
                                                    {"Down", Qt::Key_Down}, {"Up", Qt::Key_Up}, {"Space", Qt::Key_Space}};
            const QString nom = l.mots.size() >= 3 ? l.texte(2) : QStringLiteral("Space");
            if (!touches.contains(nom)) {
                echouer(l, QStringLiteral("touche inconnue : %1 (Escape, Enter, Down, Up, Space)").arg(nom));
                return;
            }
            const int touche = touches[nom];
            const QString texte = touche == Qt::Key_Space ? QStringLiteral(" ") : QString();
            QKeyEvent appui(QEvent::KeyPress, touche, Qt::NoModifier, texte);
            QWidget* destinataire = f->focusWidget() ? f->focusWidget() : f;
            QCoreApplication::sendEvent(destinataire, &appui);
            QKeyEvent relache(QEvent::KeyRelease, touche, Qt::NoModifier, texte);
            QCoreApplication::sendEvent(destinataire, &relache);
        } else {
            f->close();
        }
        return;
    }

    QString nf, nc;
    if (!separer(l, cible, nf, nc)) return;
    QWidget* f = fenetrePourAgir(l, nf);
    // W.A,B,C: the same action on each control in turn.
    for (const QString& nom : nc.split(QChar(','))) {
        QObject* o = f ? controle(l, f, nom) : nullptr;
        if (!o) return;
        agirSur(l, f, o, nf + QLatin1Char('.') + nom);
        if (!issue_.reussi) return;
    }
}

void Scenario::agirSur(const Ligne& l, QWidget* f, QObject* o, const QString& cible)
{
    const QString c = l.commande();
    if (c == "tick") {
        auto* m = qobject_cast<plateforme::Minuterie*>(o);
        if (!m) {
            echouer(l, QStringLiteral("%1 n'est pas une minuterie").arg(cible));
            return;
        }
        m->declencher();
        return;
    }
    // Only what the operator sees can be reached: the control and every
    // frame around it shown; enabled means enabled along its parents too.
    auto* w = qobject_cast<QWidget*>(o);
    if (w && !w->isVisibleTo(f)) {
        echouer(l, QStringLiteral("%1 n'est pas visible : l'opérateur ne peut pas l'atteindre").arg(cible));
        return;
    }
    const bool actif = !w || w->isEnabled();
    if (c == "click") {
        if (!actif) return;  // a disabled control does not react, as for the operator
        if (auto* b = qobject_cast<QAbstractButton*>(o))
            b->click();
        else if (o->metaObject()->indexOfMethod("cliquer()") >= 0)
            QMetaObject::invokeMethod(o, "cliquer", Qt::DirectConnection);
        else if (!w)
            echouer(l, QStringLiteral("%1 ne se clique pas").arg(cible));
        // Any other control takes the click and does nothing with it.
    } else if (c == "choose") {
        if (!besoin(l, 3)) return;
        const Mot& choix = l.mots[2];
        if (!actif) {
            echouer(l, QStringLiteral("%1 est désactivé").arg(cible));
            return;
        }
        if (w) w->setFocus();  // the operator's click gives the list the keys
        if (o->metaObject()->indexOfMethod("choisir(QString)") >= 0) {
            bool ok = false;
            QMetaObject::invokeMethod(o, "choisir", Qt::DirectConnection, Q_RETURN_ARG(bool, ok),
                                      Q_ARG(QString, choix.texte));
            if (!ok && !arrete()) echouer(l, QStringLiteral("%1 : impossible de choisir %2").arg(cible, q(choix.texte)));
            return;
        }
        bool ok = false;
        const QStringList entrees = entreesDe(o, ok);
        if (!ok) {
            echouer(l, QStringLiteral("%1 n'est pas une liste").arg(cible));
            return;
        }
        int index = -1;
        if (!choix.guillemets && choix.texte.startsWith('#')) {
            bool num = false;
            index = choix.texte.mid(1).toInt(&num);
            if (!num || index < 0 || index >= entrees.size()) {
                echouer(l, QStringLiteral("%1 : pas d'entrée à la position %2 (%3 entrées)")
                               .arg(cible, choix.texte.mid(1)).arg(entrees.size()));
                return;
            }
        } else {
            index = entrees.indexOf(choix.texte);
            if (index < 0) {
                echouer(l, QStringLiteral("%1 : pas d'entrée %2 ; entrées : %3").arg(cible, q(choix.texte), liste(entrees)));
                return;
            }
        }
        if (auto* cb = qobject_cast<QComboBox*>(o)) {
            cb->setCurrentIndex(index);
            emit cb->activated(index);
        } else if (auto* lw = qobject_cast<QListWidget*>(o)) {
            lw->setCurrentRow(index);
            emit lw->itemClicked(lw->item(index));
        }
    } else if (c == "type") {
        if (!besoin(l, 3)) return;
        const QString t = l.texte(2);
        if (!actif) {
            echouer(l, QStringLiteral("%1 est désactivé").arg(cible));
            return;
        }
        if (auto* e = qobject_cast<QLineEdit*>(o)) {
            if (e->isReadOnly()) {
                echouer(l, QStringLiteral("%1 est verrouillé").arg(cible));
                return;
            }
            e->setText(t);
        } else if (auto* e = qobject_cast<QPlainTextEdit*>(o)) {
            if (e->isReadOnly()) {
                echouer(l, QStringLiteral("%1 est verrouillé").arg(cible));
                return;
            }
            e->setPlainText(t);
        } else if (auto* cb = qobject_cast<QComboBox*>(o); cb && cb->isEditable()) {
            // As typed by the operator, who has clicked into the box first.
            cb->setFocus();
            cb->setEditText(t);
            emit cb->lineEdit()->textEdited(t);
        } else {
            echouer(l, QStringLiteral("%1 n'est pas une zone de texte").arg(cible));
        }
    }
}

// ---------------------------------------------------------------------------
// Message boxes, modal windows, save dialogs

void Scenario::ligneMessage(const Ligne& l)
{
    if (portReel_) {
        // The box comes from the program's own events (the serial line):
        // let them run until it has met this line.
        --curseur_;
        const std::size_t attendu = curseur_ + 1;
        QElapsedTimer chrono;
        chrono.start();
        while (curseur_ < attendu && !arrete() && chrono.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(5);
        }
        if (curseur_ < attendu) {
            curseur_ = attendu;
            echouer(l, QStringLiteral("aucun message n'est apparu en 20 secondes (attendu : %1)").arg(q(l.texte(1))));
        }
        return;
    }
    echouer(l, QStringLiteral("aucun message n'est apparu (attendu : %1)").arg(q(l.texte(1))));
}

Reponse Scenario::repondreMessage(const plateforme::MessageDemande& d)
{
    if (arrete()) return prudente(d.boutons);
    const QString vu = QStringLiteral("%1 (titre %2, icône %3)").arg(q(d.texte), q(d.titre), nomDe(kIcones, d.icone));
    if (curseur_ >= lignes_.size() || lignes_[curseur_].commande() != "message") {
        echouer(courante_, QStringLiteral("message inattendu : %1").arg(vu));
        return prudente(d.boutons);
    }
    const Ligne& l = lignes_[curseur_++];
    if (l.mots.size() < 2) {
        echouer(l, QStringLiteral("message sans texte"));
        return prudente(d.boutons);
    }
    const Mot& attendu = l.mots[1];
    if (!(attendu.texte == "*" && !attendu.guillemets) && lignesDe(attendu.texte) != lignesDe(d.texte)) {
        echouer(l, QStringLiteral("message attendu %1, trouvé %2").arg(q(attendu.texte), vu));
        return prudente(d.boutons);
    }
    std::optional<Reponse> reponse;
    for (std::size_t i = 2; i < l.mots.size(); i += 2) {
        const QString cle = l.texte(i);
        if (i + 1 >= l.mots.size()) {
            echouer(l, QStringLiteral("valeur manquante après %1").arg(cle));
            return prudente(d.boutons);
        }
        const QString valeur = l.texte(i + 1);
        if (cle == "title") {
            if (valeur != d.titre) {
                echouer(l, QStringLiteral("titre attendu %1, trouvé %2").arg(q(valeur), vu));
                return prudente(d.boutons);
            }
        } else if (cle == "icon") {
            if (valeur != nomDe(kIcones, d.icone)) {
                echouer(l, QStringLiteral("icône attendue %1, trouvé %2").arg(valeur, vu));
                return prudente(d.boutons);
            }
        } else if (cle == "answer") {
            for (const auto& [r, n] : kReponses)
                if (valeur.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) reponse = r;
            if (!reponse) {
                echouer(l, QStringLiteral("réponse inconnue : %1").arg(valeur));
                return prudente(d.boutons);
            }
        } else {
            echouer(l, QStringLiteral("mot inconnu dans message : %1").arg(cle));
            return prudente(d.boutons);
        }
    }
    const QList<Reponse> possibles = reponsesPossibles(d.boutons);
    if (!reponse) reponse = possibles.front();
    if (!possibles.contains(*reponse)) {
        QStringList noms;
        for (Reponse r : possibles) noms << nomDe(kReponses, r);
        echouer(l, QStringLiteral("la boîte %1 n'a pas de bouton %2 (boutons : %3)")
                       .arg(vu, nomDe(kReponses, *reponse), noms.join(' ')));
        return prudente(d.boutons);
    }
    return *reponse;
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
        if (curseur_ >= lignes_.size()) return false;
        const QString c = lignes_[curseur_].commande();
        return c == "message" || c == "saveas";
    };
    dansTravail_ = true;
    executerJusqua([f, attendUneBoite] { return !f->isVisible() || attendUneBoite(); });
    dansTravail_ = false;
    if (arrete()) suivreTravail();
}

void Scenario::patienter(const Ligne& l)
{
    if (!besoin(l, 2)) return;
    bool ok = false;
    const int ms = l.texte(1).toInt(&ok);
    if (!ok || ms < 0) {
        echouer(l, QStringLiteral("wait : un nombre de millisecondes est attendu"));
        return;
    }
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
        echouer(courante_, QStringLiteral("demande d'enregistrement inattendue (nom proposé %1)").arg(q(nomPropose)));
        return std::nullopt;
    }
    const Ligne& l = lignes_[curseur_++];
    if (l.mots.size() < 2) {
        echouer(l, QStringLiteral("saveas sans chemin"));
        return std::nullopt;
    }
    if (l.texte(2) == "offered" && l.texte(3) != nomPropose) {
        echouer(l, QStringLiteral("nom proposé attendu %1, trouvé %2").arg(q(l.texte(3)), q(nomPropose)));
        return std::nullopt;
    }
    if (l.texte(1) == "cancel" && !l.mots[1].guillemets) return std::nullopt;
    QString chemin = l.texte(1);
    chemin.replace(QChar('\\'), QChar('/'));
    return QDir::isAbsolutePath(chemin) ? chemin : QDir::current().absoluteFilePath(chemin);
}

// ---------------------------------------------------------------------------
// The printer

void Scenario::imprimante(const Ligne& l)
{
    const QString quoi = l.texte(1);
    if (quoi == "real") {
        if (programme_) {
            echouer(l, QStringLiteral("printer real doit précéder start"));
            return;
        }
        imprimanteReelle_ = true;
    } else if (quoi == "none") {
        doubles_.imprimante.installe = false;
    } else if (quoi == "fails") {
        if (imprimanteReelle_)
            echouer(l, QStringLiteral("printer fails n'existe pas avec l'imprimante réelle"));
        else
            doubles_.imprimante.echouerAuProchain = true;
    } else {
        echouer(l, QStringLiteral("commande inconnue : printer %1").arg(quoi));
    }
}

// ---------------------------------------------------------------------------
// The serial line

void Scenario::serie(const Ligne& l)
{
    const QString c = l.commande();
    if (!besoin(l, 2)) return;
    if (c == "port") {
        if (l.texte(1) == "real") {
            if (programme_) {
                echouer(l, QStringLiteral("port real doit précéder start"));
                return;
            }
            portReel_ = true;
        } else if (l.texte(1) == "fails") {
            if (!besoin(l, 4)) return;
            if (l.texte(2) != "open") {
                echouer(l, QStringLiteral("commande inconnue : port fails %1").arg(l.texte(2)));
                return;
            }
            if (portReel_) {
                echouer(l, QStringLiteral("port fails n'existe pas avec le port réel"));
                return;
            }
            doubles_.ports.ligne.panneOuverture = l.texte(3).toInt();
        } else {
            echouer(l, QStringLiteral("commande inconnue : port %1").arg(l.texte(1)));
        }
        return;
    }
    // cnc
    if (portReel_) {
        echouer(l, QStringLiteral("cnc n'existe pas avec le port réel"));
        return;
    }
    // The line's state, open port or not: a CNC may hold it before the transfer.
    if (l.texte(1) == "xoff") {
        doubles_.ports.ligne.xoff = true;
        return;
    }
    if (l.texte(1) == "xon") {
        doubles_.ports.ligne.reprendre();
        return;
    }
    if (!besoin(l, 3)) return;
    plateforme::PortEnregistre* ouvert = nullptr;
    for (auto* p : doubles_.ports.ligne.ports)
        if (p->estOuvert()) ouvert = p;
    if (!ouvert) {
        echouer(l, QStringLiteral("aucun port n'est ouvert"));
        return;
    }
    if (l.texte(1) == "sends")
        ouvert->recevoir(octets(l.texte(2)));
    else if (l.texte(1) == "event")
        ouvert->signaler(l.texte(2).toInt());
    else
        echouer(l, QStringLiteral("commande inconnue : cnc %1").arg(l.texte(1)));
}

void Scenario::attendreSerie(const Ligne& l)
{
    const QString quoi = l.texte(2);
    if (l.texte(1) == "port" && (quoi == "open" || quoi == "closed")) {
        bool ouvert = doubles_.ports.ligne.ouvert();
        for (QWidget* w : QApplication::topLevelWidgets())
            for (auto* p : w->findChildren<plateforme::PortSerie*>())
                if (portReel_ && p->estOuvert()) ouvert = true;
        if (ouvert != (quoi == "open"))
            echouer(l, QStringLiteral("port attendu %1").arg(quoi == "open" ? QStringLiteral("ouvert") : QStringLiteral("fermé")));
        return;
    }
    if (portReel_) {
        // The real ports only tell whether they are open: what was written
        // went down the cable, and what was set on them is theirs.
        echouer(l, QStringLiteral("expect %1 %2 n'existe pas avec le port réel").arg(l.texte(1), quoi));
        return;
    }
    auto& ligne = doubles_.ports.ligne;
    if (l.texte(1) == "sent") {
        if (!besoin(l, 3)) return;
        QByteArray attendu;
        if (l.texte(2) == "same" && !l.mots[2].guillemets) {
            if (!besoin(l, 4) || !lireFixture(l, l.texte(3), attendu)) return;
        } else {
            attendu = octets(l.texte(2));
        }
        const QByteArray envoye = ligne.envoye;
        ligne.envoye.clear();
        if (envoye != attendu) {
            int i = 0;
            while (i < envoye.size() && i < attendu.size() && envoye[i] == attendu[i]) ++i;
            echouer(l, QStringLiteral("envoyé attendu \"%1\", trouvé \"%2\" (différence à l'octet %3)")
                           .arg(lisible(attendu).left(2000), lisible(envoye).left(2000))
                           .arg(i));
        }
        return;
    }
    // expect port ...
    if (quoi == "number") {
        if (!besoin(l, 4)) return;
        if (ligne.numero != l.texte(3).toInt())
            echouer(l, QStringLiteral("numéro de port attendu %1, trouvé %2").arg(l.texte(3)).arg(ligne.numero));
    } else if (quoi == "settings") {
        if (!besoin(l, 4)) return;
        if (ligne.reglage != l.texte(3))
            echouer(l, QStringLiteral("réglage attendu %1, trouvé %2").arg(q(l.texte(3)), q(ligne.reglage)));
    } else {
        echouer(l, QStringLiteral("commande inconnue : expect port %1").arg(quoi));
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
        return;
    }
    if (quoi == "sent" || quoi == "port") {
        attendreSerie(l);
        return;
    }
    if (quoi == "ended") {
        if (!doubles_.application.terminee) echouer(l, QStringLiteral("le programme n'est pas terminé"));
        return;
    }
    if (quoi == "opened") {
        if (!besoin(l, 3)) return;
        if (doubles_.visionneuse.ouverts.isEmpty()) {
            echouer(l, QStringLiteral("aucun document n'a été ouvert"));
            return;
        }
        if (cheminNormal(doubles_.visionneuse.ouverts.last()) != cheminNormal(l.texte(2)))
            echouer(l, QStringLiteral("document attendu %1, ouvert %2").arg(q(l.texte(2)), q(doubles_.visionneuse.ouverts.last())));
        return;
    }
    if (quoi == "printout") {
        if (imprimanteReelle_) {
            echouer(l, QStringLiteral("expect printout n'existe pas avec l'imprimante réelle"));
            return;
        }
        QStringList attendu;
        if (l.texte(2) == "same" && l.mots.size() >= 4 && !l.mots[2].guillemets) {
            QByteArray f;
            if (!lireFixture(l, l.texte(3), f)) return;
            attendu = lignesDe(QString::fromUtf8(f));
        } else {
            for (std::size_t i = 2; i < l.mots.size(); ++i) attendu << l.mots[i].texte;
        }
        const QStringList imprime = doubles_.imprimante.lignes;
        doubles_.imprimante.lignes.clear();
        if (imprime != attendu) {
            int i = 0;
            while (i < imprime.size() && i < attendu.size() && imprime[i] == attendu[i]) ++i;
            echouer(l, QStringLiteral("impression différente à la ligne %1 : attendu %2, trouvé %3")
                           .arg(i + 1)
                           .arg(i < attendu.size() ? q(attendu[i]) : QStringLiteral("(fin)"),
                                i < imprime.size() ? q(imprime[i]) : QStringLiteral("(fin)")));
        }
        return;
    }

    const int point = quoi.indexOf(QChar('.'));
    if (point < 0) {
        // A window.
        if (!besoin(l, 3)) return;
        QWidget* f = fenetre(quoi, false);
        const QString etat = l.texte(2);
        const bool ouverte = f && f->isVisible();
        if (etat == "open") {
            if (!ouverte) echouer(l, QStringLiteral("la fenêtre %1 n'est pas ouverte").arg(quoi));
        } else if (etat == "closed") {
            if (ouverte) echouer(l, QStringLiteral("la fenêtre %1 est ouverte").arg(quoi));
        } else if (etat == "title") {
            if (!besoin(l, 4)) return;
            if (!f) {
                echouer(l, QStringLiteral("la fenêtre %1 n'existe pas").arg(quoi));
                return;
            }
            if (f->windowTitle() != l.texte(3))
                echouer(l, QStringLiteral("titre attendu %1, trouvé %2").arg(q(l.texte(3)), q(f->windowTitle())));
        } else {
            echouer(l, QStringLiteral("attente inconnue pour une fenêtre : %1").arg(etat));
        }
        return;
    }
    QString nf, nc;
    if (!separer(l, quoi, nf, nc)) return;
    QWidget* f = fenetre(nf, false);
    if (!f) {
        echouer(l, QStringLiteral("la fenêtre %1 n'existe pas").arg(nf));
        return;
    }
    // W.A,B,C: the same expectation of each control.
    for (const QString& nom : nc.split(QChar(','))) {
        QObject* o = controle(l, f, nom);
        if (!o) return;
        attendreControle(l, f, o, nf + QLatin1Char('.') + nom);
        if (!issue_.reussi) return;
    }
}

void Scenario::attendreControle(const Ligne& l, QWidget*, QObject* o, const QString& nom)
{
    if (!besoin(l, 3)) return;
    const QString etat = l.texte(2);
    auto* w = qobject_cast<QWidget*>(o);
    auto exigeWidget = [&]() {
        if (!w) echouer(l, QStringLiteral("%1 n'est pas un contrôle visible").arg(nom));
        return w != nullptr;
    };

    if (etat == "text" || etat == "matches") {
        if (!besoin(l, 4)) return;
        bool multiligne = false;
        const QString texte = texteDe(o, &multiligne);
        const QString attendu = l.texte(3);
        if (etat == "text") {
            const bool egal = multiligne ? lignesDe(texte) == lignesDe(attendu) : texte == attendu;
            if (!egal) echouer(l, QStringLiteral("%1 : texte attendu %2, trouvé %3").arg(nom, q(attendu), q(texte)));
        } else {
            const QRegularExpression re(attendu);
            if (!re.isValid()) {
                echouer(l, QStringLiteral("expression régulière invalide : %1").arg(re.errorString()));
                return;
            }
            if (!re.match(texte).hasMatch())
                echouer(l, QStringLiteral("%1 : %2 ne correspond pas à %3").arg(nom, q(texte), q(attendu)));
        }
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
        if (!vu)
            echouer(l, QStringLiteral("%1 ne peut être %2").arg(nom, etat));
        else if (*vu != kOui.contains(etat))
            echouer(l, QStringLiteral("%1 : %2 attendu, trouvé %3").arg(nom, etat, (*vu ? kOui : kNon)[k]));
    } else if (etat == "colour") {
        if (!besoin(l, 4) || !exigeWidget()) return;
        const QColor vue = plateforme::fondTexte(w);
        QColor attendue;
        if (l.texte(3) == "yellow")
            attendue = plateforme::kJauneClair;
        else if (l.texte(3) == "buttonface")
            attendue = plateforme::faceBouton();
        else {
            echouer(l, QStringLiteral("couleur inconnue : %1").arg(l.texte(3)));
            return;
        }
        if (vue.rgb() != attendue.rgb())
            echouer(l, QStringLiteral("%1 : couleur attendue %2 (%3), trouvée %4")
                           .arg(nom, l.texte(3), attendue.name(), vue.name()));
    } else if (etat == "tooltip") {
        if (!besoin(l, 4) || !exigeWidget()) return;
        if (w->toolTip() != l.texte(3))
            echouer(l, QStringLiteral("%1 : bulle attendue %2, trouvée %3").arg(nom, q(l.texte(3)), q(w->toolTip())));
    } else if (etat == "items" || etat == "data") {
        // The entries of a list, or the numbers stored with them.
        bool ok = false;
        QStringList vus = entreesDe(o, ok), attendus;
        for (std::size_t i = 3; i < l.mots.size(); ++i) attendus << l.mots[i].texte;
        if (etat == "data") {
            auto* cb = qobject_cast<QComboBox*>(o);
            auto* lw = qobject_cast<QListWidget*>(o);
            ok = cb || lw;
            vus.clear();
            for (int i = 0; ok && i < (cb ? cb->count() : lw->count()); ++i)
                vus << QString::number((cb ? cb->itemData(i) : lw->item(i)->data(Qt::UserRole)).toInt());
            attendus = nombres(l, 3);
        }
        if (!ok)
            echouer(l, QStringLiteral("%1 n'est pas une liste").arg(nom));
        else if (vus != attendus)
            echouer(l, QStringLiteral("%1 : %2 attendu %3, trouvé %4").arg(nom, etat, liste(attendus), liste(vus)));
    } else if (etat == "value" || etat == "history") {
        auto* p = qobject_cast<QProgressBar*>(o);
        if (!p) {
            echouer(l, QStringLiteral("%1 n'est pas une barre de progression").arg(nom));
            return;
        }
        if (etat == "value") {
            if (!besoin(l, 4)) return;
            if (p->value() != l.texte(3).toInt())
                echouer(l, QStringLiteral("%1 : valeur attendue %2, trouvée %3").arg(nom, l.texte(3)).arg(p->value()));
            return;
        }
        auto* v = qobject_cast<plateforme::Vumetre*>(o);
        if (!v) {
            echouer(l, QStringLiteral("%1 ne garde pas son historique").arg(nom));
            return;
        }
        QStringList vus;
        for (int x : std::exchange(v->historique, {})) vus << QString::number(x);
        if (vus != nombres(l, 3))
            echouer(l, QStringLiteral("%1 : valeurs attendues %2, trouvées %3").arg(nom, nombres(l, 3).join(' '), vus.join(' ')));
    } else if (etat == "picture") {
        if (!besoin(l, 4)) return;
        auto* im = qobject_cast<plateforme::Image*>(o);
        if (!im) {
            echouer(l, QStringLiteral("%1 n'est pas une image").arg(nom));
            return;
        }
        if (l.texte(3) == "none" && !l.mots[3].guillemets) {
            if (!im->chemin().isEmpty()) echouer(l, QStringLiteral("%1 montre %2").arg(nom, q(im->chemin())));
        } else if (cheminNormal(im->chemin()) != cheminNormal(l.texte(3))) {
            echouer(l, QStringLiteral("%1 : image attendue %2, trouvée %3")
                           .arg(nom, q(l.texte(3)), im->chemin().isEmpty() ? QStringLiteral("aucune") : q(im->chemin())));
        }
    } else if (etat == "size" || etat == "position") {
        if (!besoin(l, 5)) return;
        auto* im = qobject_cast<plateforme::Image*>(o);
        if (!im) {
            echouer(l, QStringLiteral("%1 n'est pas une image").arg(nom));
            return;
        }
        const QRect r = im->twips();
        const int a = etat == "size" ? r.width() : r.x();
        const int b = etat == "size" ? r.height() : r.y();
        const int x = qRound(l.texte(3).toDouble()), y = qRound(l.texte(4).toDouble());
        if (qAbs(a - x) > plateforme::kTwipsParPixel || qAbs(b - y) > plateforme::kTwipsParPixel)
            echouer(l, QStringLiteral("%1 : %2 attendue %3 %4, trouvée %5 %6").arg(nom, etat).arg(x).arg(y).arg(a).arg(b));
    } else {
        echouer(l, QStringLiteral("attente inconnue : %1").arg(etat));
    }
}

void Scenario::attendreFichier(const Ligne& l)
{
    if (!besoin(l, 3)) return;
    const QString quoi = l.texte(1);
    const QString chemin = local(l.texte(2));
    const QFileInfo info(chemin);
    if (quoi == "nofile") {
        if (info.exists() && !info.isDir()) echouer(l, QStringLiteral("le fichier %1 existe").arg(l.texte(2)));
    } else if (quoi == "folder") {
        if (!info.isDir()) echouer(l, QStringLiteral("le dossier %1 n'existe pas").arg(l.texte(2)));
    } else if (quoi == "nofolder") {
        if (info.isDir()) echouer(l, QStringLiteral("le dossier %1 existe").arg(l.texte(2)));
    } else if (quoi == "files") {
        if (!info.isDir()) {
            echouer(l, QStringLiteral("le dossier %1 n'existe pas").arg(l.texte(2)));
            return;
        }
        QStringList vus = QDir(chemin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QStringList attendus;
        for (std::size_t i = 3; i < l.mots.size(); ++i) attendus << l.mots[i].texte;
        auto normal = [](QStringList s) {
            for (auto& x : s) x = x.toLower();
            s.sort();
            return s;
        };
        if (normal(vus) != normal(attendus))
            echouer(l, QStringLiteral("%1 contient %2 au lieu de %3").arg(l.texte(2), liste(vus), liste(attendus)));
    } else {  // file
        if (!besoin(l, 4)) return;
        QFile f(chemin);
        if (!info.exists() || info.isDir() || !f.open(QIODevice::ReadOnly)) {
            echouer(l, QStringLiteral("le fichier %1 n'existe pas").arg(l.texte(2)));
            return;
        }
        const QByteArray contenu = f.readAll();
        QByteArray attendu;
        if (l.texte(3) == "same" && !l.mots[3].guillemets) {
            if (!besoin(l, 5) || !lireFixture(l, l.texte(4), attendu)) return;
        } else {
            attendu = octets(l.texte(3));
        }
        if (contenu != attendu)
            echouer(l, QStringLiteral("%1 : contenu attendu \"%2\", trouvé \"%3\"")
                           .arg(l.texte(2), lisible(attendu).left(2000), lisible(contenu).left(2000)));
    }
}

}  // namespace tarvex::scenario
