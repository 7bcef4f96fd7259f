// The scenario runner itself: a fault here would let a failing scenario pass.

#include "scenario.h"
#include "script.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvex::scenario {
namespace {

// Runs a scenario written inline, in a fresh working folder that holds
// etape.etape for it to include.
Issue executer(const QString& texte)
{
    QTemporaryDir dossier;
    const QString avant = QDir::currentPath();
    QDir::setCurrent(dossier.path());
    QFile etape(QStringLiteral("etape.etape"));
    if (etape.open(QIODevice::WriteOnly)) etape.write("start\nkey D\xC3\xA9marrage\n");
    etape.close();
    Issue issue;
    {
        Scenario s(dossier.filePath(QStringLiteral("essai.scenario")), texte);
        issue = s.executer();
    }
    QDir::setCurrent(avant);
    return issue;
}

const char* kIndex = "file data/data.txt \"b,20,T,E,M,O,N,N,N,N,N,N,N,N,N,N\\r\\nA,10,T,E,M,O,N,N,N,N,N,N,N,N,N,N\\r\\n\"\n";

// Each scenario fails at its line: what passes is the scenarios' own business.
TEST(Executer, ChaqueFauteEstSignaleeASaLigne)
{
    struct Cas { const char* texte; int ligne; } cas[] = {
        // comments and blank lines are counted
        {"# titre\r\n\r\n  start\r\n\t# encore\nclick selectphase.quitter\n", 6},
        // a wrong expectation
        {"start\nkey Démarrage\nexpect selectphase.Phase items \"b Phase 20\" \"A Phase 10\"\n", 4},
        // a message line that no box meets
        {"start\nkey Démarrage\nmessage \"Voulez vous vraiment quitter ?\"\n", 4},
        // a box that appears where no message line waits (the line that caused it)
        {"start\nkey Démarrage\nclick selectphase.quitter\nexpect ended\n", 4},
        // the box's prompt, title, icon or buttons differ
        {"start\nkey Démarrage\nclick selectphase.quitter\nmessage \"Quitter ?\"\n", 5},
        {"start\nkey Démarrage\nclick selectphase.quitter\nmessage * title \"Infos\"\n", 5},
        {"start\nkey Démarrage\nclick selectphase.quitter\nmessage * icon critical\n", 5},
        {"start\nkey Démarrage\nclick selectphase.quitter\nmessage * answer OK\n", 5},
        // unknown commands, windows, controls
        {"start\nkey Démarrage\nfrobnicate\n", 4},
        {"start\nkey Démarrage\nexpect selectphase.Nothing text \"\"\n", 4},
        {"start\nkey Démarrage\nclick Zoom.Image1\n", 4},
        {"start\nkey Démarrage\nexpect selectphase.Phase history 1\n", 4},
        {"start\nkey Démarrage\nchoose selectphase.Phase \"C Phase 1\"\n", 4},
        {"start\nkey Démarrage\nexpect ended\n", 4},
        {"start\nkey Démarrage\nexpect file data/data.txt \"\"\n", 4},
        {"start\nkey Démarrage\nexpect nofile data/DATA.TXT\n", 4},
        {"start\nkey Démarrage\nsaveas \"x.txt\"\n", 4},
        {"start\nkey Démarrage\nexpect sent \"x\"\n", 4},
        // the system's printer is chosen before start, and records nothing
        {"start\nkey Démarrage\nprinter real\n", 4},
        {"printer real\nstart\nkey Démarrage\nexpect printout\n", 5},
        {"printer real\nprinter fails\n", 3},
        {"expect selectphase.Phase text \"\" extra \"unclosed\n", 2},
        {"message \"a\"b\n", 2},
        // a backslash that starts no escape is kept (the scenarios' own escapes are theirs)
        {"file f \"\\xZZ\\.\"\nexpect file f \"\\x5CxZZ\\x5C.\"\nexpect file f \"x\"\n", 4},
        // a table runs its body once for each row, each with its own values
        {"include etape.etape\ntable P\nA\nC\neach\nchoose selectphase.Phase \"{P} Phase 10\"\nend\n", 7},
        {"include etape.etape\ntable P\nA x\neach\nend\n", 4},
        {"include absente.etape\n", 2},
        {"include etape.etape\nchoose selectphase.Phase \"b Phase 20\"\nmessage *\nexpect selectphase.ProgressBar1 history 1..99 0\n", 5},
        {"include etape.etape\nexpect selectphase.Command1,Charger enabled\n", 3},
        {"include etape.etape\nexpect selectphase.Command1,Command2 text \"Créer\" \"Créer\"\n", 3},
        {"include etape.etape\nexpect selectphase.Phase item 0 \"A Phase 10\"\nexpect selectphase.Phase item 1 \"A Phase 10\"\n", 4},
        // a control in a hidden frame is out of the operator's reach
        {"include etape.etape\ntype selectphase.OrigineX \"1\"\n", 3},
    };
    for (const auto& c : cas) {
        const Issue i = executer(QString::fromUtf8(kIndex) + QString::fromUtf8(c.texte));
        EXPECT_EQ(i.reussi, c.ligne == 0) << c.texte;
        EXPECT_EQ(i.ligne, c.ligne) << c.texte << " -> " << i.message.toStdString();
    }
    // A window under a modal one is out of reach (a click there would raise a box at the same line).
    const QString couverte = executer(QString::fromUtf8(kIndex) + QStringLiteral("include etape.etape\nclick selectphase.Command1\nclick selectphase.quitter\n")).message;
    EXPECT_TRUE(couverte.contains(QStringLiteral("recouverte"))) << couverte.toStdString();
}

}  // namespace
}  // namespace tarvex::scenario
