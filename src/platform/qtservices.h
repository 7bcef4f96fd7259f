#pragma once
// The services as the program uses them at the workshop.

#include "platform/services.h"

namespace tarvex::plateforme {

class QtMessages : public Messages {
public:
    Reponse afficher(QWidget* parent, const QString& texte, const QString& titre, Icone icone,
                     Boutons boutons, const QString& detail) override;
};

class QtFenetres : public Fenetres {
public:
    void afficherModal(QDialog* fenetre) override;
    void montrer(QDialog* fenetre) override;
    void retirer(QDialog* fenetre) override;
};

class QtImages : public Images {
public:
    QImage charger(const QString& cheminData) override;
};

class QtHorloge : public Horloge {
public:
    QString maintenant() override;
    QDateTime dateHeure() override { return QDateTime::currentDateTime(); }
    void patienter(int microsecondes) override;
    long long instant() override;
};

class QtVisionneuse : public Visionneuse {
public:
    bool ouvrir(const QString& cheminData) override;
};

class QtDialogueEnregistrement : public DialogueEnregistrement {
public:
    std::optional<QString> demander(QWidget* parent, const QString& titre, const QString& nomPropose,
                                    const QString& filtre) override;
};

class QtPoste : public Poste {
public:
    QString nom() override;
    QString utilisateur() override;
};

class QtApplication : public Application {
public:
    void quitter() override;
};

// In the user's settings of this computer (the registry on Windows).
class QtMemoire : public Memoire {
public:
    bool serviceActif() override;
    void retenirService(bool actif) override;
    int delaiService() override;
    void retenirDelai(int secondes) override;
};

// Resolves a data-folder path ("data\Vue.jpg") to the file on disk.
QString fichierLocal(const QString& cheminData);

// The date and time as the system's general format writes them.
QString formatGeneral(const QDateTime& moment);

}  // namespace tarvex::plateforme
