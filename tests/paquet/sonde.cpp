// A probe loaded into the installed program (LD_PRELOAD) by the package
// test: it does what the operator would at a first start — types the code
// twice in the first start's window and presses "Créer", closes the splash —
// then prints how many sheets the main window lists and ends the program.
// Any message box that appears is printed and ends it with a failure.
//   TARVEX_SONDE_CODE  the code to type
//   TARVEX_SONDE_DEMO  when set: the copy of the demo data instead

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

QWidget* visible(const char* nom)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QString::fromUtf8(nom)) return w;
    return nullptr;
}

[[noreturn]] void finir(int code, const QString& texte)
{
    std::fprintf(code == 0 ? stdout : stderr, "sonde : %s\n", texte.toUtf8().constData());
    std::fflush(nullptr);
    std::_Exit(code);
}

// Pressed once the current event is over: the click runs its own waits.
void presser(QWidget* fenetre, const char* bouton)
{
    auto* b = fenetre->findChild<QPushButton*>(QString::fromUtf8(bouton));
    if (!b) finir(1, QStringLiteral("pas de bouton %1 dans %2").arg(QString::fromUtf8(bouton), fenetre->objectName()));
    QTimer::singleShot(0, b, &QPushButton::click);
}

void regarder()
{
    const bool demo = qEnvironmentVariableIsSet("TARVEX_SONDE_DEMO");
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* m = qobject_cast<QMessageBox*>(w);
        if (!m || !m->isVisible()) continue;
        // A new empty folder asks for its first machine: the operator would
        // read it and go on; the probe leaves the machine window at once.
        if (m->windowTitle() != QStringLiteral("Première machine") || demo)
            finir(1, QStringLiteral("message « %1 » (%2)").arg(m->text(), m->informativeText()));
        m->accept();
        return;
    }
    if (QWidget* machine = visible("MachineCréation")) {
        presser(machine, "quitter");
    } else if (QWidget* premier = visible("PremierDémarrage")) {
        if (auto* option = premier->findChild<QAbstractButton*>(QStringLiteral("Option2")); option && demo) option->click();
        for (const char* boite : {"Text1", "Text2"})
            if (auto* b = premier->findChild<QLineEdit*>(QString::fromUtf8(boite)))
                b->setText(qEnvironmentVariable("TARVEX_SONDE_CODE"));
        presser(premier, "Créer");
    } else if (QWidget* splash = visible("Démarrage")) {
        splash->hide();
    } else if (QWidget* principale = visible("selectphase")) {
        auto* phase = principale->findChild<QComboBox*>(QStringLiteral("Phase"));
        if (!phase) finir(1, QStringLiteral("pas de liste Phase"));
        finir(0, QStringLiteral("selectphase ouverte, %1 fiche(s) dans la liste").arg(phase->count()));
    }
}

void installer()
{
    auto* minuterie = new QTimer(QCoreApplication::instance());
    minuterie->setInterval(100);
    QObject::connect(minuterie, &QTimer::timeout, regarder);
    minuterie->start();
    QTimer::singleShot(30000, [] { finir(1, QStringLiteral("rien au bout de 30 secondes")); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installer)
