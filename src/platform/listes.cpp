#include "platform/listes.h"

#include "store/chemins.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace tarvex::plateforme {

namespace {

QString natif(const QString& chemin) { return QDir::toNativeSeparators(chemin); }

bool memeLecteur(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A drive that answers: its root exists and its entries can be read. A
// drive the system does not list has no medium as far as the program knows.
bool lecteurPret(const QString& lecteur)
{
#if defined(Q_OS_WIN)
    const QDir racine(lecteur + QLatin1Char('/'));
    return racine.exists() && racine.isReadable();
#else
    return lecteur == QLatin1String("/");
#endif
}

}  // namespace

// ---------------------------------------------------------------------------

ListeLecteurs::ListeLecteurs(QWidget* parent) : QComboBox(parent)
{
#if defined(Q_OS_WIN)
    for (const QFileInfo& d : QDir::drives()) addItem(lecteurDe(d.absoluteFilePath()));
#else
    addItem(QStringLiteral("/"));
#endif
    montrer(QDir::currentPath());
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) {
        if (memeLecteur(currentText(), precedent_)) return;
        precedent_ = currentText();
        emit change();
    });
}

QString ListeLecteurs::lecteurDe(const QString& dossier)
{
#if defined(Q_OS_WIN)
    const QString d = natif(dossier);
    if (d.size() >= 2 && d[1] == QLatin1Char(':')) return d.left(2).toUpper();
    // A network folder: its server and share stand for the drive.
    if (d.startsWith(QLatin1String("\\\\"))) return d.section(QLatin1Char('\\'), 0, 3);
    return d.left(2);
#else
    Q_UNUSED(dossier);
    return QStringLiteral("/");
#endif
}

QString ListeLecteurs::dossierDuLecteur(const QString& lecteur)
{
    const QString courant = QDir::currentPath();
    if (memeLecteur(lecteurDe(courant), lecteur)) return natif(courant);
#if defined(Q_OS_WIN)
    return lecteur + QLatin1Char('\\');
#else
    return lecteur;
#endif
}

void ListeLecteurs::montrer(const QString& dossier)
{
    const QString l = lecteurDe(dossier);
    int i = findText(l, Qt::MatchFixedString);
    if (i < 0) {
        addItem(l);
        i = count() - 1;
    }
    setCurrentIndex(i);
    precedent_ = currentText();
}

bool ListeLecteurs::choisir(const QString& lecteur)
{
    QString l = lecteur.trimmed();
#if defined(Q_OS_WIN)
    if (l.size() >= 2 && l[1] == QLatin1Char(':')) l = l.left(2).toUpper();
#endif
    if (l.isEmpty()) return false;
    int i = findText(l, Qt::MatchFixedString);
    if (i < 0) {
        addItem(l);
        i = count() - 1;
    }
    setCurrentIndex(i);
    emit activated(i);
    return true;
}

// ---------------------------------------------------------------------------

ListeDossiers::ListeDossiers(QWidget* parent) : QListWidget(parent), chemin_(natif(QDir::currentPath()))
{
    remplir();
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item) aller(item->data(Qt::UserRole).toString());
    });
}

bool ListeDossiers::aller(const QString& dossier)
{
    QString d = dossier;
#if !defined(Q_OS_WIN)
    d.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    if (d.isEmpty()) return false;
    d = QDir::cleanPath(QDir::current().absoluteFilePath(d));
    QFileInfo info(d);
    if (!info.isDir()) {
        // Typed with another letter case than the disk's, as the workshop's
        // system would accept it.
        const QString trouve = QString::fromStdString(chemins::texte(chemins::resoudre(d.toStdString())));
        info = QFileInfo(trouve);
        if (!info.isDir()) return false;
        d = QDir::cleanPath(info.absoluteFilePath());
    }
    if (!QDir(d).isReadable()) return false;

    const QString nouveau = natif(d);
    const bool autre = nouveau != chemin_;
    chemin_ = nouveau;
    remplir();
    if (autre) emit change();
    return true;
}

void ListeDossiers::remplir()
{
    clear();
    const QIcon ouvert = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon ferme = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The folders above, from the root down to the current one.
    QStringList chaine;
    QDir d(chemin_);
    for (;;) {
        chaine.prepend(d.absolutePath());
        if (!d.cdUp()) break;
    }
    QListWidgetItem* courant = nullptr;
    for (const QString& c : chaine) {
        const QString nom = QDir(c).isRoot() ? natif(c) : QFileInfo(c).fileName();
        auto* item = new QListWidgetItem(ouvert, nom, this);
        item->setData(Qt::UserRole, natif(c));
        courant = item;
    }
    const auto sous = QDir(chemin_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& s : sous) {
        // The filter lets through a link whose end it cannot look into.
        if (!s.isDir()) continue;
        auto* item = new QListWidgetItem(ferme, s.fileName(), this);
        item->setData(Qt::UserRole, natif(s.absoluteFilePath()));
    }
    if (courant) setCurrentItem(courant);
}

void ListeDossiers::relire()
{
    QString d = chemin_;
    for (QFileInfo info(d); !(info.isDir() && info.isReadable()); info = QFileInfo(d)) {
        const QString dessus = info.absolutePath();
        if (QDir::cleanPath(dessus) == QDir::cleanPath(info.absoluteFilePath())) break;  // the root
        d = dessus;
    }
    if (natif(d) != chemin_ && aller(d)) return;
    remplir();
}

// ---------------------------------------------------------------------------

ListeFichiers::ListeFichiers(const QString& motif, QWidget* parent)
    : QListWidget(parent), motif_(motif), dossier_(natif(QDir::currentPath()))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    rafraichir();
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit clique(); });
}

void ListeFichiers::allerDans(const QString& dossier)
{
    dossier_ = dossier;
    rafraichir();
}

void ListeFichiers::rafraichir()
{
    clear();
    QStringList noms;
    for (const QFileInfo& f :
         QDir(dossier_).entryInfoList(QStringList{motif_}, QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (f.isFile()) noms << f.fileName();
    addItems(noms);
    setCurrentRow(-1);
}

void ListeFichiers::relire()
{
    const QString garde = nom();
    rafraichir();
    if (garde.isEmpty()) return;
    const auto items = findItems(garde, Qt::MatchExactly);
    if (!items.isEmpty()) setCurrentItem(items.front());
}

QString ListeFichiers::nom() const
{
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QString ListeFichiers::chemin() const
{
    const QString n = nom();
    return n.isEmpty() ? QString() : dossier_ + QLatin1Char('\\') + n;
}

void ListeFichiers::keyPressEvent(QKeyEvent* e)
{
    const int avant = currentRow();
    QListWidget::keyPressEvent(e);
    if (currentRow() != avant && currentRow() >= 0) emit clique();
}

bool ListeFichiers::choisir(const QString& nom)
{
    auto trouver = [this, &nom]() -> QListWidgetItem* {
        const auto exacts = findItems(nom, Qt::MatchExactly);
        if (!exacts.isEmpty()) return exacts.front();
        const auto proches = findItems(nom, Qt::MatchFixedString);
        return proches.isEmpty() ? nullptr : proches.front();
    };
    QListWidgetItem* item = trouver();
    if (!item) {
        // Written since the list was last read.
        rafraichir();
        item = trouver();
    }
    if (!item) return false;
    setCurrentItem(item);
    emit clique();
    return true;
}

// ---------------------------------------------------------------------------

void relierListes(ListeLecteurs* lecteurs, ListeDossiers* dossiers, ListeFichiers* fichiers, Messages& messages,
                  QWidget* fenetre)
{
    fichiers->allerDans(dossiers->chemin());
    lecteurs->montrer(dossiers->chemin());
    QObject::connect(lecteurs, &ListeLecteurs::change, fenetre, [=, &messages] {
        const QString l = lecteurs->lecteur();
        if (!lecteurPret(l) || !dossiers->aller(ListeLecteurs::dossierDuLecteur(l)))
            messages.afficher(fenetre, QStringLiteral("Lecteur non prêt"), QString(), Icone::Critique, Boutons::Ok);
    });
    QObject::connect(dossiers, &ListeDossiers::change, fenetre, [=] { fichiers->allerDans(dossiers->chemin()); });
}

}  // namespace tarvex::plateforme
