#pragma once
// Finding a sheet by typing in the main window's list Phase: under it, the
// entries whose part, phase, assembly, material or machine hold every typed
// word (RechercheFiches). Choosing one is choosing that entry in the list.
// The list itself, its order and its text at rest are left as they are.

#include "mainwindow/liste.h"

#include <QComboBox>
#include <QListWidget>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace tarvex {

class Recherche : public QObject {
    Q_OBJECT
public:
    // `choisir`: what choosing the list's entry at this position does.
    Recherche(QComboBox* phase, QWidget* fenetre, std::function<void(int)> choisir);
    ~Recherche() override;

    // The proposals, a list over the main window under Phase.
    QListWidget* Propositions;

    // The list was filled again, with the records of these numbers in this
    // order: the next search reads the index anew.
    void invalider(std::vector<int> ordre);

    // So many proposals at most; the operator types more to narrow them.
    static constexpr std::size_t kMaximum = 100;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void saisie(const QString& texte);
    void choisirProposition(QListWidgetItem* item);
    void fermer();
    QString texteAuRepos() const;

    QComboBox* phase_;
    QWidget* fenetre_;
    std::function<void(int)> choisir_;
    std::vector<int> ordre_;
    std::unique_ptr<RechercheFiches> fiches_;
    std::size_t trouvees_ = 0;
};

}  // namespace tarvex
