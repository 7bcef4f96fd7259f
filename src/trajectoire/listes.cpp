#include "trajectoire/listes.h"

#include <QColor>
#include <QFontMetrics>

namespace tarvex::trajectoire {
namespace {

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The characters of a UTF-8 text: every byte but those that continue one.
int caracteres(const std::string& s)
{
    int n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

}  // namespace

QString raison(Raison r)
{
    switch (r) {
    case Raison::Cycle: return QStringLiteral("cycle");
    case Raison::SousProgramme: return QStringLiteral("appel ou saut de programme");
    case Raison::Variables: return QStringLiteral("paramètres ou variables");
    case Raison::CodeInconnu: return QStringLiteral("code G inconnu");
    case Raison::HorsRepere: return QStringLiteral("hors du repère de la pièce");
    case Raison::MotInconnu: return QStringLiteral("mot dont l'effet est inconnu");
    case Raison::ArcImpossible: return QStringLiteral("aucun cercle ne joint le départ et l'arrivée");
    case Raison::CorpsSousProgramme: return QStringLiteral("corps de sous-programme, exécuté à son appel");
    case Raison::HorsLimites: return QStringLiteral("valeur hors des limites de la commande");
    }
    return {};
}

ModeleListing::ModeleListing(const Programme& p, QObject* parent)
    : ModeleLignes(p, parent), nonTracee_(p.lignes.size(), -1)
{
    for (std::size_t i = 0; i < p.nonTracees.size(); ++i) {
        const auto l = static_cast<std::size_t>(p.nonTracees[i].ligne);
        if (l < nonTracee_.size()) nonTracee_[l] = static_cast<int>(i);
    }
    for (const std::string& l : p.lignes) colonnes_ = std::max(colonnes_, caracteres(l));
}

int ModeleListing::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(programme_.lignes.size());
}

QVariant ModeleListing::data(const QModelIndex& index, int role) const
{
    const auto i = static_cast<std::size_t>(index.row());
    if (!index.isValid() || i >= programme_.lignes.size()) return {};
    const int n = nonTracee_[i];
    switch (role) {
    case Qt::DisplayRole: return q(programme_.lignes[i]);
    case Qt::ForegroundRole: return n < 0 ? QVariant() : QVariant(QColor(170, 0, 0));
    case Qt::ToolTipRole: {
        // The whole line however narrow the list, and why it is not drawn.
        const QString texte = q(programme_.lignes[i]);
        return n < 0 ? texte : texte + QStringLiteral("\nNon tracée : ") + raison(programme_.nonTracees[static_cast<std::size_t>(n)].raison);
    }
    case Qt::SizeHintRole: return taille();
    default: return {};
    }
}

ModeleNonTracees::ModeleNonTracees(const Programme& p, QObject* parent) : ModeleLignes(p, parent)
{
    for (const LigneNonTracee& n : p.nonTracees)
        colonnes_ = std::max(colonnes_, 16 + caracteres(n.texte));  // "Ligne 1000000 : "
}

int ModeleNonTracees::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(programme_.nonTracees.size());
}

QVariant ModeleNonTracees::data(const QModelIndex& index, int role) const
{
    const auto i = static_cast<std::size_t>(index.row());
    if (!index.isValid() || i >= programme_.nonTracees.size()) return {};
    const LigneNonTracee& n = programme_.nonTracees[i];
    const QString texte = QStringLiteral("Ligne %1 : %2").arg(n.ligne + 1).arg(q(n.texte));
    switch (role) {
    case Qt::DisplayRole: return texte;
    case Qt::ToolTipRole: return raison(n.raison) + QLatin1Char('\n') + texte;
    case Qt::UserRole: return n.ligne + 1;
    case Qt::SizeHintRole: return taille();
    default: return {};
    }
}

ListeLignes::ListeLignes(QWidget* parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

QStringList ListeLignes::entrees() const
{
    QStringList r;
    for (int i = 0; model() && i < model()->rowCount(); ++i) r << model()->index(i, 0).data().toString();
    return r;
}

QString ListeLignes::texte() const { return currentIndex().data().toString(); }

bool ListeLignes::choisir(const QString& texte)
{
    if (!model()) return false;
    bool numero = false;
    int rang = texte.startsWith(QLatin1Char('#')) ? texte.mid(1).toInt(&numero) : -1;
    for (int i = 0; !numero && i < model()->rowCount(); ++i)
        if (model()->index(i, 0).data().toString() == texte) {
            rang = i;
            break;
        }
    if (rang < 0 || rang >= model()->rowCount()) return false;
    montrerRang(rang);
    return true;
}

void ListeLignes::montrerRang(int rang)
{
    const QModelIndex i = model() ? model()->index(rang, 0) : QModelIndex();
    setCurrentIndex(i);
    if (i.isValid()) scrollTo(i, QAbstractItemView::PositionAtCenter);
}

QSize ListeLignes::tailleLigne(int colonnes) const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(QLatin1Char('M')) * colonnes + 8, fm.height() + 2};
}

void ListeLignes::currentChanged(const QModelIndex& courant, const QModelIndex& avant)
{
    QListView::currentChanged(courant, avant);
    emit rangChoisi(courant.isValid() ? courant.row() : -1);
}

}  // namespace tarvex::trajectoire
