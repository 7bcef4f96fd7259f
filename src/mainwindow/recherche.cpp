#include "mainwindow/recherche.h"

#include "platform/controles.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/statut.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace tarvex {

namespace {

constexpr int kLargeurTwips = 7200;
constexpr int kLignesVisibles = 12;

}  // namespace

Recherche::Recherche(QComboBox* phase, QWidget* fenetre, std::function<void(int)> choisir,
                     std::vector<QWidget*> commandes)
    : QObject(fenetre), phase_(phase), fenetre_(fenetre), choisir_(std::move(choisir)), commandes_(std::move(commandes))
{
    Propositions = new QListWidget(fenetre);
    Propositions->setObjectName(QStringLiteral("Propositions"));
    // The typing stays in Phase while the operator picks with the mouse.
    Propositions->setFocusPolicy(Qt::NoFocus);
    Propositions->hide();
    connect(Propositions, &QListWidget::itemClicked, this, &Recherche::choisirProposition);

    // Only what the operator types: the program setting the text (a choice,
    // the text at rest) opens nothing.
    connect(phase_->lineEdit(), &QLineEdit::textEdited, this, &Recherche::saisie);
    // Every change, the program's too: a choice, the text at rest, the list refilled.
    connect(phase_->lineEdit(), &QLineEdit::textChanged, this, &Recherche::suivreTexte);
    phase_->installEventFilter(this);
    phase_->lineEdit()->installEventFilter(this);
}

Recherche::~Recherche() = default;

void Recherche::invalider(std::vector<int> ordre)
{
    ordre_ = std::move(ordre);
    fiches_.reset();
    fermer();
}

QString Recherche::texteAuRepos() const
{
    const int i = phase_->currentIndex();
    return i >= 0 ? phase_->itemText(i) : QStringLiteral("Sélection de la phase");
}

void Recherche::suivreTexte()
{
    const int i = phase_->currentIndex();
    if (!tenues_.empty() && (i != indexTenu_ || phase_->model() != modeleTenu_)) {
        // Another sheet chosen, none, or the list filled again: the window
        // sets the commands for that itself; the held states are stale.
        tenues_.clear();
    }
    if (i < 0) return;
    const bool nomme = phase_->lineEdit()->text() == phase_->itemText(i);
    if (!nomme && tenues_.empty()) {
        indexTenu_ = i;
        modeleTenu_ = phase_->model();
        for (QWidget* c : commandes_) {
            tenues_.emplace_back(c, c->isEnabledTo(c->parentWidget()));
            c->setEnabled(false);
        }
    } else if (nomme && !tenues_.empty()) {
        for (const auto& [c, actif] : tenues_) c->setEnabled(actif);
        tenues_.clear();
    }
}

void Recherche::saisie(const QString& texte)
{
    if (texte.trimmed().isEmpty()) {
        fermer();
        return;
    }
    if (!fiches_) {
        // Read once for the typing that follows; the list was filled from
        // the same file, and a choice reads its record again anyway.
        const auto octets = fichiers::lire(kIndex);
        const std::string_view index = octets ? std::string_view(*octets) : std::string_view();
        fiches_ = std::make_unique<RechercheFiches>(index, ordre_, statut::statutsDesFiches(index));
    }
    const RechercheFiches::Resultat r = fiches_->chercher(texte.toStdString(), kMaximum);
    trouvees_ = r.trouvees;
    Propositions->setUpdatesEnabled(false);
    Propositions->clear();
    for (const auto& p : r.propositions) {
        auto* item = new QListWidgetItem(QString::fromStdString(p.texte));
        item->setData(Qt::UserRole, p.numero);
        Propositions->addItem(item);
    }
    Propositions->setUpdatesEnabled(true);
    if (r.propositions.empty()) {
        Propositions->hide();
        return;
    }
    const QPoint ou = phase_->mapTo(fenetre_, QPoint(0, phase_->height()));
    const int lignes = std::min<int>(kLignesVisibles, Propositions->count());
    const int hauteur = lignes * Propositions->sizeHintForRow(0) + 2 * Propositions->frameWidth();
    Propositions->setGeometry(ou.x(), ou.y(), std::max(phase_->width(), plateforme::px(kLargeurTwips)), hauteur);
    Propositions->raise();
    Propositions->show();
}

void Recherche::choisirProposition(QListWidgetItem* item)
{
    if (!item) return;
    const int numero = item->data(Qt::UserRole).toInt();
    fermer();
    for (int i = 0; i < phase_->count(); ++i) {
        if (phase_->itemData(i, Qt::UserRole).toInt() == numero) {
            phase_->setCurrentIndex(i);
            choisir_(i);
            return;
        }
    }
}

void Recherche::fermer()
{
    Propositions->hide();
    Propositions->clear();
    trouvees_ = 0;
}

bool Recherche::eventFilter(QObject* objet, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && Propositions->isVisible()) {
        auto* touche = static_cast<QKeyEvent*>(e);
        switch (touche->key()) {
        case Qt::Key_Escape:
            fermer();
            phase_->setEditText(texteAuRepos());
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Propositions->currentRow() >= 0)
                choisirProposition(Propositions->currentItem());
            else if (trouvees_ == 1)
                choisirProposition(Propositions->item(0));
            else
                // Several: none is taken for the operator, the first is
                // marked, for a second Enter or the arrows.
                Propositions->setCurrentRow(0);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Up: {
            const int n = Propositions->count();
            const int pas = touche->key() == Qt::Key_Down ? 1 : -1;
            Propositions->setCurrentRow(std::clamp(Propositions->currentRow() + pas, 0, n - 1));
            return true;
        }
        default: break;
        }
    } else if (e->type() == QEvent::FocusOut && objet == phase_ &&
               (Propositions->isVisible() || phase_->currentText() != texteAuRepos())) {
        // Leaving Phase gives it back the name of the sheet shown.
        fermer();
        phase_->setEditText(texteAuRepos());
    } else if (e->type() == QEvent::FocusIn && objet == phase_ && phase_->currentIndex() < 0) {
        // The text at rest is selected, so that typing replaces it; after the
        // click that gave the focus, which would unselect it.
        QTimer::singleShot(0, phase_, [p = phase_] {
            if (p->hasFocus() && p->currentIndex() < 0) p->lineEdit()->selectAll();
        });
    }
    return QObject::eventFilter(objet, e);
}

}  // namespace tarvex
