#include "scenario.h"

#include "app/application.h"
#include "mainwindow/selectphase.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/fin.h"
#include "platform/imprimanteqt.h"
#include "platform/portqt.h"
#include "service/rangement.h"
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
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QThread>
#include <QTreeView>

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

QString texteDe(QObject* o)
{
    if (auto* w = qobject_cast<QLineEdit*>(o)) return w->text();
    if (auto* w = qobject_cast<QPlainTextEdit*>(o)) return w->toPlainText();
    if (auto* w = qobject_cast<QComboBox*>(o)) return w->currentText();
    if (auto* w = qobject_cast<QAbstractButton*>(o)) return w->text();
    if (auto* w = qobject_cast<QGroupBox*>(o)) return w->title();
    if (auto* w = qobject_cast<QLabel*>(o)) return w->text();
    if (auto* w = qobject_cast<QAbstractSpinBox*>(o)) return w->text();
    if (auto* w = qobject_cast<QListWidget*>(o)) return w->currentItem() ? w->currentItem()->text() : QString();
    return o->property("texte").toString();
}

// The words of the states a control is in (kOui) or not (kNon), pair by pair.
const QStringList kOui{"enabled", "visible", "selected", "checked", "locked"};
const QStringList kNon{"disabled", "hidden", "unselected", "unchecked", "unlocked"};
const char* const kSortesEtat[] = {"un contrôle visible", "un contrôle visible", "un bouton", "un bouton",
                                   "une zone de texte"};

std::optional<bool> etatDe(QObject* o, int k)
{
    auto* w = qobject_cast<QWidget*>(o);
    auto* b = qobject_cast<QAbstractButton*>(o);
    auto* e = qobject_cast<QLineEdit*>(o);
    auto* p = qobject_cast<QPlainTextEdit*>(o);
    if (k == 0 && w) return w->isEnabledTo(w->parentWidget() ? w->parentWidget() : w);
    if (k == 1 && w) return !w->isHidden();
    if ((k == 2 || k == 3) && b) return b->isChecked();
    if (k == 4 && (e || p)) return e ? e->isReadOnly() : p->isReadOnly();
    return std::nullopt;
}

using Lu = std::optional<QStringList>;

template <class T, class F>
Lu avec(QObject* o, F lire)
{
    auto* x = qobject_cast<T*>(o);
    return x ? Lu(lire(x)) : std::nullopt;
}

// The entries of a list (`role` Qt::DisplayRole), or the numbers stored with them (Qt::UserRole).
// A table or a tree over a model: one entry per row shown, its shown columns
// joined by " | ", as the service's table gives its rows; a list view over a model, its rows.
Lu lignesDeVue(QObject* o)
{
    auto* table = qobject_cast<QTableView*>(o);
    auto* arbre = qobject_cast<QTreeView*>(o);
    QAbstractItemView* v = table ? static_cast<QAbstractItemView*>(table) : arbre;
    if (!v) v = qobject_cast<QListView*>(o);
    if (!v || !v->model()) return std::nullopt;
    const QAbstractItemModel* m = v->model();
    const QModelIndex racine = v->rootIndex();
    QStringList r;
    for (int i = 0; i < m->rowCount(racine); ++i) {
        if (table ? table->isRowHidden(i) : arbre && arbre->isRowHidden(i, racine)) continue;
        QStringList cellules;
        for (int c = 0; c < m->columnCount(racine); ++c)
            if (!(table ? table->isColumnHidden(c) : arbre && arbre->isColumnHidden(c)))
                cellules << m->index(i, c, racine).data().toString();
        r << cellules.join(u" | "_s);
    }
    return r;
}

Lu entreesDe(QObject* o, int role = Qt::DisplayRole)
{
    auto* cb = qobject_cast<QComboBox*>(o);
    auto* lw = qobject_cast<QListWidget*>(o);
    if (!cb && !lw && role != Qt::DisplayRole) return std::nullopt;
    if (!cb && !lw) return o->property("entrees").isValid() ? Lu(o->property("entrees").toStringList()) : lignesDeVue(o);
    QStringList r;
    for (int i = 0; i < (cb ? cb->count() : lw->count()); ++i) {
        const QVariant v = cb ? cb->itemData(i, role) : lw->item(i)->data(role);
        r << (role == Qt::DisplayRole ? v.toString() : QString::number(v.toInt()));
    }
    return r;
}

// What `expect W.C PROPERTY …` reads of a control and how it compares with the expected words.
struct Propriete {
    std::size_t mots;  // the line's words, at least; with 4 or 5, the expected words are the ones up to there
    const char* sorte;  // what the control must be
    std::function<Lu(QObject*)> lire;
    std::function<bool(QObject*, const QStringList& vus, const QStringList& attendus)> egal = {};
    bool nombres = false;  // "A..B" stands for A, A+1, … B among the expected words
};

const QHash<QString, Propriete>& proprietes()
{
    static const QHash<QString, Propriete> table = [] {
        auto texte = [](QObject* o) -> Lu { return QStringList{texteDe(o)}; };
        auto aPixelPres = [](QObject*, const QStringList& v, const QStringList& a) {
            return qAbs(v[0].toInt() - qRound(a[0].toDouble())) <= plateforme::kTwipsParPixel &&
                   qAbs(v[1].toInt() - qRound(a[1].toDouble())) <= plateforme::kTwipsParPixel;
        };
        auto twips = [](bool taille) {
            return [taille](QObject* o) { return avec<plateforme::Image>(o, [taille](plateforme::Image* i) {
                const QRect r = i->twips();
                return QStringList{QString::number(taille ? r.width() : r.x()), QString::number(taille ? r.height() : r.y())};
            }); };
        };
        QHash<QString, Propriete> t{
            // A multi-line box is compared line by line, whatever ends its lines.
            {u"text"_s, {4, "", texte, [](QObject* o, const QStringList& v, const QStringList& a) {
                             return qobject_cast<QPlainTextEdit*>(o) ? lignesDe(v[0]) == lignesDe(a[0]) : v == a;
                         }}},
            {u"matches"_s, {4, "", texte, [](QObject*, const QStringList& v, const QStringList& a) {
                                const QRegularExpression re(a[0]);
                                return re.isValid() && re.match(v[0]).hasMatch();
                            }}},
            {u"tooltip"_s, {4, "un contrôle visible",
                            [](QObject* o) { return avec<QWidget>(o, [](QWidget* w) { return QStringList{w->toolTip()}; }); }}},
            {u"colour"_s, {4, "un contrôle visible", [](QObject* o) {
                               return avec<QWidget>(o, [](QWidget* w) {
                                   const QColor c = plateforme::fondTexte(w);
                                   return QStringList{c.rgb() == plateforme::kJauneClair.rgb()        ? u"yellow"_s
                                                      : c.rgb() == plateforme::faceBouton().rgb() ? u"buttonface"_s
                                                                                                  : c.name()};
                               });
                           }}},
            {u"items"_s, {3, "une liste", [](QObject* o) { return entreesDe(o); }}},
            // One entry of a long list (a report): "item N TEXT", N from 0.
            {u"item"_s, {5, "une liste", [](QObject* o) { return entreesDe(o); },
                         [](QObject*, const QStringList& v, const QStringList& a) {
                             const int n = a[0].toInt();
                             return n >= 0 && n < v.size() && v[n] == a[1];
                         }}},
            {u"data"_s, {3, "une liste", [](QObject* o) { return entreesDe(o, Qt::UserRole); }, {}, true}},
            {u"value"_s, {4, "une barre de progression", [](QObject* o) {
                              return avec<QProgressBar>(o, [](QProgressBar* b) { return QStringList{QString::number(b->value())}; });
                          }}},
            {u"history"_s, {3, "une barre qui garde son historique", [](QObject* o) {
                                return avec<plateforme::Vumetre>(o, [](plateforme::Vumetre* v) {
                                    QStringList r;
                                    for (int x : std::exchange(v->historique, {})) r << QString::number(x);
                                    return r;
                                });
                            }, {}, true}},
            {u"picture"_s, {4, "une image", [](QObject* o) {
                                return avec<plateforme::Image>(o, [](plateforme::Image* i) { return QStringList{i->chemin()}; });
                            }, [](QObject*, const QStringList& v, const QStringList& a) {
                                return cheminNormal(v[0]) == cheminNormal(a[0]);
                            }}},
            {u"size"_s, {5, "une image", twips(true), aPixelPres}},
            {u"position"_s, {5, "une image", twips(false), aPixelPres}},
        };
        for (int k = 0; k < kOui.size(); ++k)
            for (const QString& mot : {kOui[k], kNon[k]})
                t.insert(mot, {3, kSortesEtat[k], [k](QObject* o) -> Lu {
                                   const auto vu = etatDe(o, k);
                                   return vu ? Lu(QStringList{(*vu ? kOui : kNon)[k]}) : std::nullopt;
                               }});
        return t;
    }();
    return table;
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

bool copierDossier(const QString& source, const QString& cible)
{
    QDir src(source);
    if (!src.exists()) return false;
    QDir().mkpath(cible);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next(), vers = cible + '/' + src.relativeFilePath(p);
        if (it.fileInfo().isDir() ? !QDir().mkpath(vers) : (QFile::remove(vers), !QFile::copy(p, vers))) return false;
    }
    return true;
}

// A working-folder path on disk, as the program resolves it.
QString local(const QString& chemin)
{
    return QString::fromStdString(chemins::texte(chemins::resoudre(chemin.toStdString())));
}

QString fixture(const Ligne& l, QString chemin)
{
    return QDir(l.dossier).absoluteFilePath(chemin.replace(QChar('\\'), QChar('/')));
}

// Lets the program's events run until `assez` holds or `ms` have gone; returns `assez()`.
bool tourner(qint64 ms, const std::function<bool()>& assez)
{
    QElapsedTimer chrono;
    chrono.start();
    while (!assez() && chrono.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return assez();
}

}  // namespace

Scenario::Scenario(const QString& fichier, const QString& contenu, const QString& depart) : depart_(depart)
{
    lignes_ = lireScript(contenu, erreursSyntaxe_, QFileInfo(fichier).absolutePath());
    doubles_.messages.repondre = [this](const plateforme::MessageDemande& d) { return repondreMessage(d); };
    doubles_.fenetres.pendant = [this](QDialog* f) {
        executerJusqua([f] { return !f->isVisible(); });
        if (f->isVisible()) f->hide();
    };
    doubles_.fenetres.pendantTravail = [this](QDialog* f) {
        travail_ = f;
        suiviTravail_.start();
    };
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
    if (!erreursSyntaxe_.empty()) return issue_ = {false, erreursSyntaxe_.front().numero, erreursSyntaxe_.front().message};
    executerJusqua([] { return false; });
    return issue_;  // what is left open is hidden as the scenario goes
}

void Scenario::executerJusqua(const std::function<bool()>& condition)
{
    while (!arrete() && !condition()) {
        if (curseur_ >= lignes_.size()) {
            fini_ = true;
            break;
        }
        const Ligne& l = lignes_[curseur_++];
        const Ligne* precedente = std::exchange(courante_, &l);
        pas(l);
        courante_ = precedente;
    }
}

bool Scenario::exiger(const Ligne* l, bool ok, const QString& message)
{
    if (!ok && issue_.reussi) issue_ = {false, l ? l->numero : 0, l ? avecLieu(*l, message) : message};
    return ok;
}

bool Scenario::besoin(const Ligne& l, std::size_t mots)
{
    return exiger(l, l.mots.size() >= mots, u"ligne incomplète : %1 mots attendus au moins"_s.arg(mots));
}

bool Scenario::seulementDouble(const Ligne& l, bool imprimante, const QString& quoi)
{
    return exiger(l, !(imprimante ? imprimanteReelle_ : portReel_),
                  u"%1 n'existe pas avec %2"_s.arg(quoi, imprimante ? u"l'imprimante réelle"_s : u"le port réel"_s));
}

bool Scenario::lireFixture(const Ligne& l, const QString& chemin, QByteArray& octets)
{
    QFile f(fixture(l, chemin));
    if (f.open(QIODevice::ReadOnly)) octets = f.readAll();
    return exiger(l, f.isOpen(), u"fixture introuvable : %1"_s.arg(f.fileName()));
}

void Scenario::pas(const Ligne& l)
{
    // What the service writes goes to disk off the event loop: each step
    // sees it written, as it saw it when it was written on the loop.
    tourner(10000, [] { return dnc::Rangement::auRepos(); });
    // Each handler with its commands; "expect WHAT" where WHAT is not a window has its own entry.
    using Commande = void (Scenario::*)(const Ligne&);
    static const QHash<QString, Commande> commandes = [] {
        const std::pair<const char*, Commande> groupes[] = {
            {"data,file,copy,picture,remove,workdir,computer,user,remember", &Scenario::commandeScene},
            {"start", &Scenario::demarrer},
            {"click,choose,type,key,close,tick", &Scenario::agir},
            {"message,saveas", &Scenario::ligneMessage},
            {"port,cnc,printer", &Scenario::serie},
            {"wait", &Scenario::patienter},
            {"expect", &Scenario::attendreFenetre},
            {"expect file,expect nofile,expect folder,expect nofolder,expect files", &Scenario::attendreFichier},
            {"expect sent,expect port", &Scenario::attendreSerie},
            {"expect ended,expect opened,expect printout", &Scenario::attendreSortie}};
        QHash<QString, Commande> t;
        for (const auto& [noms, c] : groupes)
            for (const QString& nom : QString::fromLatin1(noms).split(QChar(','))) t.insert(nom, c);
        return t;
    }();
    const Commande c = commandes.value(l.commande() + QLatin1Char(' ') + l.texte(1), commandes.value(l.commande()));
    if (exiger(l, c, u"commande inconnue : %1"_s.arg(l.commande()))) (this->*c)(l);
}

void Scenario::commandeScene(const Ligne& l)
{
    const QString c = l.commande();
    if (!besoin(l, c == "picture" ? 4 : c == "file" || c == "copy" ? 3 : 2)) return;
    const QString nom = l.texte(c == "copy" ? 2 : 1), chemin = local(nom);
    if (c == "file" || c == "copy" || c == "picture") QDir().mkpath(QFileInfo(chemin).path());
    if (c == "remember") {  // remember service on|off, remember delay N: what this computer kept from its last run
        if (nom == "delay") doubles_.memoire.delai = l.texte(2).toInt();
        else doubles_.memoire.service = l.texte(2) == "on";
    } else if (c == "computer" || c == "user") {
        (c == "computer" ? doubles_.poste.nomPoste : doubles_.poste.nomUtilisateur) = nom;
    } else if (c == "workdir") {
        // The program takes its folders from the current one as it starts.
        const QString dossier = QDir(depart_).absoluteFilePath(QString(nom).replace(QChar('\\'), QChar('/')));
        if (exiger(l, !programme_, u"workdir doit précéder start"_s))
            exiger(l, QDir().mkpath(dossier) && QDir::setCurrent(dossier), u"dossier de travail impossible : %1"_s.arg(dossier));
    } else if (c == "data") {
        QDir("data").removeRecursively();
        exiger(l, copierDossier(fixture(l, nom), u"data"_s), u"dossier de données introuvable : %1"_s.arg(fixture(l, nom)));
    } else if (c == "file" || c == "copy") {
        QByteArray contenu = octets(l.texte(2));
        if (c == "copy" && !lireFixture(l, l.texte(1), contenu)) return;
        QFile f(chemin);
        exiger(l, f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(contenu) == contenu.size(),
               u"impossible d'écrire %1"_s.arg(nom));
    } else if (c == "picture") {
        QImage image(qMax(1, qRound(l.texte(2).toDouble() / plateforme::kTwipsParPixel)),
                     qMax(1, qRound(l.texte(3).toDouble() / plateforme::kTwipsParPixel)), QImage::Format_RGB32);
        image.fill(QColor(90, 120, 150));
        exiger(l, image.save(chemin, "JPG", 90), u"impossible d'écrire l'image %1"_s.arg(nom));
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
        auto ports = std::make_unique<plateforme::QtPorts>();
        ports->delaiSansProgres = std::chrono::milliseconds(delaiSansProgresMs_);
        doubles_.services.ports = (portsReels_ = std::move(ports)).get();
    }
    if (imprimanteReelle_)
        doubles_.services.imprimante = (imprimanteSysteme_ = std::make_unique<plateforme::QtImprimante>()).get();
    programme_ = std::make_unique<Programme>(doubles_.services);
    // "start menu": as from the desktop menu, with the first start's window
    // when the working folder holds no data folder yet.
    if (l.texte(1) == "menu" && !programme_->preparerDonnees(QDir::currentPath(), dossierPartage())) {
        doubles_.application.terminee = true;
        return;
    }
    // Over real lines, SIGTERM ends the program as it ends the program itself.
    if (portReel_)
        plateforme::surveillerFin(qApp, [this] {
            if (programme_ && programme_->principale()) programme_->principale()->terminerService();
            doubles_.application.quitter();
        });
    programme_->demarrer();
}

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

QWidget* Scenario::fenetrePourAgir(const Ligne& l, const QString& nom)
{
    QWidget* f = fenetre(nom, true);
    const auto& pile = doubles_.fenetres.pile;
    QWidget* active = !pile.isEmpty() ? static_cast<QWidget*>(pile.last()) : programme_ ? programme_->principale() : nullptr;
    // A window that is not modal (the DNC service) is reached while no modal one is up.
    if (f && pile.isEmpty() && !f->isModal() && f->windowModality() == Qt::NonModal) active = f;
    if (!exiger(l, f, u"la fenêtre %1 n'est pas ouverte"_s.arg(nom)) ||
        !exiger(l, f == active, u"la fenêtre %1 est recouverte par la fenêtre modale %2"_s.arg(
                                    nom, active ? active->objectName() : u"?"_s)))
        return nullptr;
    return f;
}

void Scenario::pourChaqueControle(const Ligne& l, std::size_t avant, const Faire& faire)
{
    const QString cible = l.texte(1), sorte = avant == 2 ? l.commande() : l.texte(2);
    const int point = cible.indexOf(QChar('.'));
    if (!exiger(l, point > 0, u"%1 : fenêtre.contrôle attendu"_s.arg(cible))) return;
    const QString nf = cible.left(point);
    QWidget* f = avant == 2 ? fenetrePourAgir(l, nf) : fenetre(nf, false);
    if (!exiger(l, f || avant == 2, u"la fenêtre %1 n'existe pas"_s.arg(nf)) || !f) return;
    // W.A,B,C: the same line for each control in turn, or, with one value per
    // control where the line takes one value, each its own.
    const QStringList noms = cible.mid(point + 1).split(QChar(','));
    const auto p = proprietes().constFind(sorte);
    const bool uneValeur = sorte == "type" || sorte == "choose" || (p != proprietes().cend() && p->mots == 4);
    const bool chacun = noms.size() > 1 && uneValeur && l.mots.size() == avant + noms.size();
    for (int i = 0; i < noms.size() && issue_.reussi; ++i) {
        // A control of this window, never a window it owns that bears the
        // same name (the toolpath window "Trajectoire" beside its button).
        QObject* o = nullptr;
        for (QObject* c : f->findChildren<QObject*>(noms[i])) {
            auto* w = qobject_cast<QWidget*>(c);
            if (!w || w->window() == f) {
                o = c;
                break;
            }
        }
        if (!exiger(l, o, u"la fenêtre %1 n'a pas de contrôle %2"_s.arg(nf, noms[i]))) return;
        Ligne pourLui = l;
        if (chacun) pourLui.mots.resize(avant), pourLui.mots.push_back(l.mots[avant + i]);
        faire(pourLui, f, o, nf + QLatin1Char('.') + noms[i]);
    }
}

void Scenario::agir(const Ligne& l)
{
    const QString c = l.commande();
    if (!exiger(l, programme_ != nullptr, u"le programme n'est pas démarré (start)"_s) || !besoin(l, 2)) return;
    if (c == "key" || c == "close") {
        QWidget* f = fenetrePourAgir(l, l.texte(1));
        if (!f || c == "close") {
            if (f) f->close();
            return;
        }
        static const QMap<QString, int> touches{{"Escape", Qt::Key_Escape}, {"Enter", Qt::Key_Return},
                                                {"Down", Qt::Key_Down}, {"Up", Qt::Key_Up}, {"Space", Qt::Key_Space}};
        const QString nom = l.mots.size() >= 3 ? l.texte(2) : u"Space"_s;  // any key where the window tells none apart
        if (!exiger(l, touches.contains(nom), u"touche inconnue : %1 (Escape, Enter, Down, Up, Space)"_s.arg(nom)))
            return;
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(t, touches[nom], Qt::NoModifier, nom == "Space" ? u" "_s : QString());
            QCoreApplication::sendEvent(f->focusWidget() ? f->focusWidget() : f, &e);
        }
        return;
    }
    pourChaqueControle(l, 2, [this](const Ligne& l, QWidget* f, QObject* o, const QString& n) { agirSur(l, f, o, n); });
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
        // A disabled control does not react, as for the operator; any other
        // control takes the click and does nothing with it.
        auto* b = qobject_cast<QAbstractButton*>(o);
        if (actif && b) b->click();
        else if (actif && o->metaObject()->indexOfMethod("cliquer()") >= 0) QMetaObject::invokeMethod(o, "cliquer", Qt::DirectConnection);
        else if (actif) exiger(l, w, u"%1 ne se clique pas"_s.arg(cible));
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
        const Lu entrees = entreesDe(o);
        if (!exiger(l, entrees.has_value(), u"%1 n'est pas une liste"_s.arg(cible))) return;
        const bool position = !valeur.guillemets && valeur.texte.startsWith('#');
        const int index = position ? valeur.texte.mid(1).toInt(&ok) : int(entrees->indexOf(valeur.texte));
        if (!exiger(l, !position || (ok && index >= 0 && index < entrees->size()),
                    u"%1 : pas d'entrée à la position %2 (%3 entrées)"_s.arg(cible, valeur.texte.mid(1)).arg(entrees->size())) ||
            !exiger(l, index >= 0, u"%1 : pas d'entrée %2 ; entrées : %3"_s.arg(cible, q(valeur.texte), liste(*entrees))))
            return;
        if (auto* cb = qobject_cast<QComboBox*>(o)) cb->setCurrentIndex(index), emit cb->activated(index);
        if (auto* lw = qobject_cast<QListWidget*>(o)) lw->setCurrentRow(index), emit lw->itemClicked(lw->item(index));
        return;
    }
    // A spin box takes what is typed as the operator leaving it: a text
    // that is not a number in its range is refused and its value kept.
    if (auto* sb = qobject_cast<QSpinBox*>(o)) {
        auto* texte = sb->findChild<QLineEdit*>();
        if (!exiger(l, texte, u"%1 n'a pas de zone de texte"_s.arg(cible))) return;
        texte->setText(valeur.texte);
        if (sb->hasAcceptableInput()) sb->interpretText();
        else texte->setText(sb->prefix() + QString::number(sb->value()) + sb->suffix());
        return;
    }
    auto* e = qobject_cast<QLineEdit*>(o);
    auto* p = qobject_cast<QPlainTextEdit*>(o);
    auto* cb = qobject_cast<QComboBox*>(o);
    if (!exiger(l, e || p || (cb && cb->isEditable()), u"%1 n'est pas une zone de texte"_s.arg(cible)) ||
        !exiger(l, etatDe(o, 4) != true, u"%1 est verrouillé"_s.arg(cible)))
        return;
    if (e) e->setText(valeur.texte);
    if (p) p->setPlainText(valeur.texte);
    if (e || p) return;
    // As typed by the operator, who has clicked into the box first.
    cb->setFocus(), cb->setEditText(valeur.texte), emit cb->lineEdit()->textEdited(valeur.texte);
}

// A "message" or "saveas" line met by no box or dialog.
void Scenario::ligneMessage(const Ligne& l)
{
    if (l.commande() == "saveas" || !portReel_) {
        exiger(l, false, l.commande() == "saveas" ? u"aucune demande d'enregistrement n'a eu lieu"_s
                                                  : u"aucun message n'est apparu (attendu : %1)"_s.arg(q(l.texte(1))));
        return;
    }
    // The box comes from the program's own events (the serial line):
    // let them run until it has met this line.
    const std::size_t attendu = curseur_--;
    tourner(20000, [&] { return curseur_ >= attendu || arrete(); });
    if (curseur_ < attendu) {
        curseur_ = attendu;
        exiger(l, false, u"aucun message n'est apparu en 20 secondes (attendu : %1)"_s.arg(q(l.texte(1))));
    }
}

const Ligne* Scenario::prochaine(const QString& commande, const QString& inattendue)
{
    if (arrete() || !exiger(courante_, curseur_ < lignes_.size() && lignes_[curseur_].commande() == commande, inattendue))
        return nullptr;
    return &lignes_[curseur_++];
}

Reponse Scenario::repondreMessage(const plateforme::MessageDemande& d)
{
    // The answers the box offers, the one that changes nothing last: it is
    // given once the scenario has failed or ended.
    const QList<Reponse> possibles = d.boutons == Boutons::Ok          ? QList{Reponse::Ok}
                                     : d.boutons == Boutons::OkAnnuler ? QList{Reponse::Ok, Reponse::Annuler}
                                                                       : QList{Reponse::Oui, Reponse::Non};
    const QString vu = u"%1 (titre %2, icône %3)"_s.arg(q(d.texte), q(d.titre), nomDe(kIcones, d.icone));
    const Ligne* l = prochaine(u"message"_s, u"message inattendu : %1"_s.arg(vu));
    if (!l || !exiger(l, l->mots.size() >= 2, u"message sans texte"_s)) return possibles.last();
    const Mot& attendu = l->mots[1];
    bool ok = exiger(l, (attendu.texte == "*" && !attendu.guillemets) || lignesDe(attendu.texte) == lignesDe(d.texte),
                     u"message attendu %1, trouvé %2"_s.arg(q(attendu.texte), vu));
    Reponse reponse = possibles.front();
    for (std::size_t i = 2; ok && i < l->mots.size(); i += 2) {
        const QString cle = l->texte(i), valeur = l->texte(i + 1);
        const auto* r = std::find_if(std::begin(kReponses), std::end(kReponses), [&](const auto& x) {
            return valeur.compare(QLatin1String(x.second), Qt::CaseInsensitive) == 0;
        });
        ok = exiger(l, i + 1 < l->mots.size(), u"valeur manquante après %1"_s.arg(cle)) &&
             (cle == "title"  ? exiger(l, valeur == d.titre, u"titre attendu %1, trouvé %2"_s.arg(q(valeur), vu))
              : cle == "icon" ? exiger(l, valeur == nomDe(kIcones, d.icone), u"icône attendue %1, trouvé %2"_s.arg(valeur, vu))
                              : exiger(l, cle == "answer", u"mot inconnu dans message : %1"_s.arg(cle)) &&
                                    exiger(l, r != std::end(kReponses), u"réponse inconnue : %1"_s.arg(valeur)));
        if (ok && cle == "answer") reponse = r->first;
    }
    QStringList noms;
    for (Reponse r : possibles) noms << nomDe(kReponses, r);
    ok = ok && exiger(l, possibles.contains(reponse), u"la boîte %1 n'a pas de bouton %2 (boutons : %3)"_s.arg(
                                                          vu, nomDe(kReponses, reponse), noms.join(' ')));
    return ok ? reponse : possibles.last();
}

std::optional<QString> Scenario::repondreEnregistrement(const QString& nomPropose)
{
    const Ligne* l = prochaine(u"saveas"_s, u"demande d'enregistrement inattendue (nom proposé %1)"_s.arg(q(nomPropose)));
    if (!l || !exiger(l, l->mots.size() >= 2, u"saveas sans chemin"_s) ||
        !exiger(l, l->texte(2) != "offered" || l->texte(3) == nomPropose,
                u"nom proposé attendu %1, trouvé %2"_s.arg(q(l->texte(3)), q(nomPropose))) ||
        (l->texte(1) == "cancel" && !l->mots[1].guillemets))
        return std::nullopt;
    QString chemin = l->texte(1);
    chemin.replace(QChar('\\'), QChar('/'));
    return QDir::isAbsolutePath(chemin) ? chemin : QDir::current().absoluteFilePath(chemin);
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
        // Nobody will take the line up again: the program is let go (the close button stops a transfer).
        suiviTravail_.stop();
        for (QWidget* w : QApplication::topLevelWidgets())
            for (auto* p : w->findChildren<plateforme::PortSerie*>()) p->interrompre();
        f->close();
        return;
    }
    dansTravail_ = true;
    executerJusqua([this, f] {
        const QString suivante = curseur_ < lignes_.size() ? lignes_[curseur_].commande() : QString();
        return !f->isVisible() || suivante == "message" || suivante == "saveas";
    });
    dansTravail_ = false;
    if (arrete()) suivreTravail();
}

void Scenario::patienter(const Ligne& l)
{
    // "wait for PATH": two computers on one folder, each going on once the
    // other has written its mark (a `file` line), up to 30 s.
    if (l.texte(1) == "for" && !l.mots[1].guillemets) {
        const QString chemin = local(l.texte(2));
        exiger(l, tourner(30000, [&] { return QFileInfo::exists(chemin); }),
               u"wait for : %1 n'est pas venu en 30 s"_s.arg(l.texte(2)));
        return;
    }
    bool ok = false;
    const int ms = l.texte(1).toInt(&ok);
    if (exiger(l, ok && ms >= 0, u"wait : un nombre de millisecondes est attendu"_s)) tourner(ms, [] { return false; });
}

// "on COMn" after the first words names the fake line; without it the line
// of the port opened last is meant. The words are returned without it, and
// the line named (null when none, or on a mistake, then reported).
std::pair<Ligne, plateforme::LigneSerie*> Scenario::ligneNommee(const Ligne& l, std::size_t position)
{
    Ligne sans = l;
    if (l.texte(position) != "on" || l.mots[position].guillemets) return {sans, nullptr};
    const QString port = l.texte(position + 1);
    const int numero = port.startsWith(u"COM"_s) ? port.mid(3).toInt() : 0;
    if (!exiger(l, numero >= 1, u"on COMn attendu, trouvé %1"_s.arg(q(port))) || !seulementDouble(l, false, u"on COMn"_s))
        return {sans, nullptr};
    const auto debut = sans.mots.begin() + static_cast<std::ptrdiff_t>(position);
    sans.mots.erase(debut, debut + 2);
    return {sans, &doubles_.ports.ligne(numero)};
}

// port real|fails open CODE|limit MS, cnc xoff|xon|sends BYTES|event CODE|unplugged, printer real|none|fails;
// port and cnc take "on COMn" after their first word.
void Scenario::serie(const Ligne& ligneLue)
{
    const auto [l, nommee] = ligneNommee(ligneLue, 1);
    if (!issue_.reussi || !besoin(l, 2)) return;
    const QString c = l.commande(), quoi = l.texte(1);
    auto& banc = doubles_.ports;
    // Unnamed, as on a single cable: what the CNC does while no port is open
    // waits for the next one opened.
    plateforme::LigneSerie& ligne = nommee ? *nommee : banc.courante();
    if (quoi == "real" && c != "cnc" && !nommee) {
        // Before start only: the program's own serial port or printer instead of the double.
        if (exiger(l, !programme_, u"%1 real doit précéder start"_s.arg(c))) (c == "port" ? portReel_ : imprimanteReelle_) = true;
    } else if (c == "port" && quoi == "limit" && !nommee && besoin(l, 3)) {
        // How long a held line may take nothing before the ordinary sending gives up.
        delaiSansProgresMs_ = banc.delaiSansProgresMs = l.texte(2).toInt();
    } else if (c == "printer" && quoi == "none") {
        doubles_.imprimante.installe = false;
    } else if (!seulementDouble(l, c == "printer", c == "cnc" ? c : c + QLatin1Char(' ') + quoi)) {
    } else if (c == "printer" && quoi == "fails") {
        doubles_.imprimante.echouerAuProchain = true;
    } else if (c == "port" && quoi == "fails" && l.texte(2) == "open" && besoin(l, 4)) {
        ligne.panneOuverture = l.texte(3).toInt();
    } else if (c == "cnc" && quoi == "xoff") {
        ligne.xoff = true;
    } else if (c == "cnc" && quoi == "xon") {
        ligne.reprendre();
        if (!nommee && banc.derniere) banc.derniere->reprendre();
    } else if (c == "cnc" && (quoi == "sends" || quoi == "event" || quoi == "unplugged") && besoin(l, quoi == "unplugged" ? 2 : 3)) {
        // The line's state, open port or not: a CNC may hold it before the transfer.
        plateforme::PortEnregistre* ouvert = nullptr;
        for (auto* p : (nommee ? nommee : banc.derniere ? banc.derniere : &banc.prochaine)->ports)
            if (p->estOuvert()) ouvert = p;
        if (!exiger(l, ouvert, u"aucun port n'est ouvert"_s)) return;
        quoi == "sends"   ? ouvert->recevoir(octets(l.texte(2)))
        : quoi == "event" ? ouvert->signaler(l.texte(2).toInt())
                          : ouvert->debrancher();
    } else {
        exiger(l, false, u"commande inconnue : %1"_s.arg(mots(l, 0).join(' ')));
    }
}

// expect sent …, expect port …; both take "on COMn" after their second word.
void Scenario::attendreSerie(const Ligne& ligneLue)
{
    const auto [l, nommee] = ligneNommee(ligneLue, 2);
    if (!issue_.reussi || !besoin(l, 3)) return;
    const QString quoi = l.texte(2);
    auto& banc = doubles_.ports;
    plateforme::LigneSerie* ligne = nommee ? nommee : banc.derniere;
    if (l.texte(1) == "port" && (quoi == "open" || quoi == "closed")) {
        bool ouvert = ligne && ligne->ouvert();
        for (QWidget* w : QApplication::topLevelWidgets())
            for (auto* p : w->findChildren<plateforme::PortSerie*>()) ouvert = ouvert || (portReel_ && p->estOuvert());
        exiger(l, ouvert == (quoi == "open"), u"port attendu %1"_s.arg(quoi == "open" ? u"ouvert"_s : u"fermé"_s));
        return;
    }
    // The real ports only tell whether they are open: what was written
    // went down the cable, and what was set on them is theirs.
    if (!seulementDouble(l, false, u"expect %1 %2"_s.arg(l.texte(1), quoi))) return;
    if (l.texte(1) == "sent") {
        QByteArray attendu = octets(quoi);
        if (quoi == "same" && !l.mots[2].guillemets && (!besoin(l, 4) || !lireFixture(l, l.texte(3), attendu))) return;
        // Unnamed: everything sent on any line since the last look, as on a single cable.
        // The service and the transfers write as the port takes the bytes:
        // what is expected may still be on its way, on a loaded machine too.
        QByteArray envoye = banc.prendreEnvoye(nommee);
        tourner(10000, [&] {
            envoye += banc.prendreEnvoye(nommee);
            return envoye.size() >= attendu.size();
        });
        exiger(l, envoye == attendu, u"envoyé "_s + difference(attendu, envoye));
    } else if (quoi == "number" && besoin(l, 4)) {
        exiger(l, banc.numero == l.texte(3).toInt(), u"numéro de port attendu %1, trouvé %2"_s.arg(l.texte(3)).arg(banc.numero));
    } else if (quoi == "settings" && besoin(l, 4)) {
        exiger(l, banc.reglage == l.texte(3), u"réglage attendu %1, trouvé %2"_s.arg(q(l.texte(3)), q(banc.reglage)));
    } else {
        exiger(l, false, u"commande inconnue : expect port %1"_s.arg(quoi));
    }
}

// expect ended, expect opened PATH, expect printout …
void Scenario::attendreSortie(const Ligne& l)
{
    const QString quoi = l.texte(1);
    if (quoi == "ended") {
        exiger(l, doubles_.application.terminee, u"le programme n'est pas terminé"_s);
    } else if (quoi == "opened") {
        const QStringList& ouverts = doubles_.visionneuse.ouverts;
        if (besoin(l, 3) && exiger(l, !ouverts.isEmpty(), u"aucun document n'a été ouvert"_s))
            exiger(l, cheminNormal(ouverts.last()) == cheminNormal(l.texte(2)),
                   u"document attendu %1, ouvert %2"_s.arg(q(l.texte(2)), q(ouverts.last())));
    } else if (seulementDouble(l, true, u"expect printout"_s)) {
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
    }
}

// expect W open|closed|title "TITLE", expect W.C PROPERTY …
void Scenario::attendreFenetre(const Ligne& l)
{
    if (!besoin(l, 3)) return;
    const QString nom = l.texte(1), etat = l.texte(2);
    if (nom.contains(QChar('.'))) {
        pourChaqueControle(l, 3, [this](const Ligne& l, QWidget*, QObject* o, const QString& n) { attendreControle(l, o, n); });
        return;
    }
    QWidget* f = fenetre(nom, false);
    const bool ouverte = f && f->isVisible();
    if (etat == "open" || etat == "closed")
        exiger(l, ouverte == (etat == "open"), u"la fenêtre %1 %2"_s.arg(nom, ouverte ? u"est ouverte"_s : u"n'est pas ouverte"_s));
    else if (exiger(l, etat == "title", u"attente inconnue pour une fenêtre : %1"_s.arg(etat)) && besoin(l, 4) &&
             exiger(l, f, u"la fenêtre %1 n'existe pas"_s.arg(nom)))
        exiger(l, f->windowTitle() == l.texte(3), u"titre attendu %1, trouvé %2"_s.arg(q(l.texte(3)), q(f->windowTitle())));
}

void Scenario::attendreControle(const Ligne& l, QObject* o, const QString& nom)
{
    const QString etat = l.texte(2);
    const auto p = proprietes().constFind(etat);
    if (!exiger(l, p != proprietes().cend(), u"attente inconnue : %1"_s.arg(etat)) || !besoin(l, p->mots)) return;
    Lu vus = p->lire(o);
    if (!exiger(l, vus.has_value(), u"%1 n'est pas %2"_s.arg(nom, QString::fromUtf8(p->sorte)))) return;
    const bool etatSeul = kOui.contains(etat) || kNon.contains(etat);
    QStringList attendus = etatSeul ? QStringList{etat} : mots(l, 3, p->nombres).mid(0, p->mots > 3 ? p->mots - 3 : -1);
    if (etat == "picture" && l.texte(3) == "none" && !l.mots[3].guillemets) attendus = {QString()};
    const auto egal = [&] { return vus && (p->egal ? p->egal(o, *vus, attendus) : *vus == attendus); };
    // What follows a serial line (the service's rows) changes as the port's
    // signals come: a row may still be one event behind on a loaded machine.
    if (!egal()) {
        const QPointer<QObject> garde(o);
        tourner(2000, [&] {
            if (!garde) return true;
            vus = p->lire(o);
            return egal();
        });
        if (!garde) return void(exiger(l, false, u"%1 a disparu"_s.arg(nom)));
    }
    if (!exiger(l, vus.has_value(), u"%1 n'est pas %2"_s.arg(nom, QString::fromUtf8(p->sorte)))) return;
    exiger(l, egal(),
           u"%1 : attendu %2, trouvé %3"_s.arg(nom, etatSeul ? etat : etat + QLatin1Char(' ') + liste(attendus), liste(*vus)));
}

// expect file|nofile|folder|nofolder|files PATH …
void Scenario::attendreFichier(const Ligne& l)
{
    if (!besoin(l, 3)) return;
    const QString quoi = l.texte(1), nom = l.texte(2), chemin = local(nom);
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
        QByteArray attendu = octets(l.texte(3));
        if (!exiger(l, info.exists() && !info.isDir() && f.open(QIODevice::ReadOnly), u"le fichier %1 n'existe pas"_s.arg(nom)) ||
            (l.texte(3) == "same" && !l.mots[3].guillemets && (!besoin(l, 5) || !lireFixture(l, l.texte(4), attendu))))
            return;
        const QByteArray contenu = f.readAll();
        exiger(l, contenu == attendu, nom + u" : contenu "_s + difference(attendu, contenu));
    }
}

}  // namespace tarvex::scenario
