#pragma once
// Finding a sheet by typing in the main window's list Phase: under it, the
// entries whose part, phase, assembly, material or machine hold every typed
// word (RechercheFiches). Choosing one is choosing that entry in the list.
// The list itself, its order and its text at rest are left as they are.
//
// While the text of Phase does not name the sheet shown, the commands that
// act on that sheet are disabled: the operator could not tell which sheet
// they would send, print or modify. They come back as they were once the
// text names it again (Escape, the focus leaving Phase) or another sheet is
// chosen.

#include "store/liste.h"

#include <QComboBox>
#include <QListWidget>
#include <QObject>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tarvex {

class Recherche : public QObject {
    Q_OBJECT
public:
    // `choisir`: what choosing the list's entry at this position does;
    // `commandes`: the buttons that act on the sheet shown.
    Recherche(QComboBox* phase, QWidget* fenetre, std::function<void(int)> choisir, std::vector<QWidget*> commandes);
    ~Recherche() override;

    // The proposals, a list over the main window under Phase.
    QListWidget* Propositions;

    // The list was filled again, with the records of these numbers in this
    // order: the next search reads the index anew.
    void invalider(std::vector<int> ordre);

    // The operator is finding a sheet: proposals shown, or a text typed in
    // Phase that does not name the sheet shown.
    bool enCours() const { return Propositions->isVisible() || !tenues_.empty(); }

    // So many proposals at most; the operator types more to narrow them.
    static constexpr std::size_t kMaximum = 100;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void saisie(const QString& texte);
    void choisirProposition(QListWidgetItem* item);
    void fermer();
    QString texteAuRepos() const;
    // Holds or gives back the commands as the text names the sheet or not.
    void suivreTexte();

    QComboBox* phase_;
    QWidget* fenetre_;
    std::function<void(int)> choisir_;
    std::vector<int> ordre_;
    std::unique_ptr<RechercheFiches> fiches_;
    std::size_t trouvees_ = 0;
    std::vector<QWidget*> commandes_;
    // The commands held, each with the state it had; empty: none held.
    std::vector<std::pair<QWidget*, bool>> tenues_;
    // The entry shown, and the list it belonged to, when they were held.
    int indexTenu_ = -1;
    const QAbstractItemModel* modeleTenu_ = nullptr;
};

}  // namespace tarvex
