// The session ends (SIGTERM, log-off) in a box, dialog or pause of a command
// of the File, Evaluate and Extras menus: the command stops there. No box
// follows, and nothing is written into the copy or its state afterwards.

#include "HAUPTFENSTERTEST.h"

#include "shell/DATENAUSTAUSCH.h"

#include <QCryptographicHash>
#include <QDir>
#include <QMenu>
#include <QTimer>

namespace {

// What the run has written: the copy's bytes and the files of its state.
QStringList stand(const SHELLLABOR& labor) {
    QFile kopie(labor.ARBEITSKOPIE());
    const QString inhalt =
        kopie.open(QIODevice::ReadOnly)
            ? QCryptographicHash::hash(kopie.readAll(), QCryptographicHash::Sha1).toHex()
            : QStringLiteral("-");
    return QStringList{inhalt} +
           QDir(QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand"))
               .entryList(QDir::Files);
}

// Where the session ends: in a box (the first containing `box`, after
// `davor` boxes answered OK), in the comment's input box, in the command's
// dialog (which the user confirmed), or in a pause (the progress bar full,
// or the input window loaded).
enum Ort { BOX, EINGABE, DIALOG, PAUSE };
struct FALL {
    const char* name;
    const char* befehl; // the menu item; an Evaluate item after the menu opened
    Ort ort;
    const char* vorher = ""; // statements run on the copy before
    const char* box = "";
    int antwort = vbOK;
    int davor = 0;
};
void PrintTo(const FALL& fall, std::ostream* aus) {
    *aus << fall.name;
}

#define ZWEITER                                                                                    \
    "INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'P-2',1);"                                      \
    "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (2,0,2,100,1440);"
#define AUSGEWERTET "INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (2,0,30);"
#define KOMMENTAR "INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,'Serie');"

const FALL faelle[] = {
    {"Oeffnen", "mnuOEFFNEN", DIALOG},
    {"OeffnenOhneDatensatz", "mnuOEFFNEN", BOX, "UPDATE [E1] SET [AKT]=0", "keinen aktuellen"},
    {"OeffnenPause", "mnuOEFFNEN", PAUSE},
    {"Auswahl", "mnuAUSWAHL", DIALOG},
    {"ExportImport", "mnuEXPIMP", DIALOG},
    {"ExportInf", "mnuEXPINF", DIALOG},
    {"Loeschen", "mnuLOESCHEN", DIALOG},
    {"LoeschenFrage", "mnuLOESCHEN", BOX, ZWEITER, "Datensatz P-1 wird gelöscht!"},
    {"SpeichernKomprimierfrage", "mnuSPEICHERN", BOX,
     "INSERT INTO [M1] ([IDM],[KOM]) VALUES (5,zeroblob(10100000))", "komprimiert werden?", vbYes},
    {"BeendenFrage", "mnuBEENDEN", BOX, ZWEITER, "gespeichert werden?", vbYes},
    {"Komprimieren", "mnuKOMPRIMIEREN", BOX, "", "komprimiert !"},
    {"BerechnenPause", "mnuBERECHNEN", PAUSE},
    // The page's load fails: the command's own box.
    {"BerechnenSeitenfehler", "mnuBERECHNEN", BOX, "UPDATE [E2] SET [MS]='x'", "VB-Error: 13"},
    // A figure's box in the page's load, after the box of its scales.
    {"BerechnenSeite", "mnuBERECHNEN", BOX,
     "INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN]) VALUES (1,11,'x')", "VB-Fehler: 13", vbOK, 1},
    {"NeuberechnenPause", "mnuNEUBERECHNEN", PAUSE},
    // Two readings at the reference time: the interpolation divides by zero.
    {"NeuberechnenAuswertung", "mnuNEUBERECHNEN", BOX, "UPDATE [E3] SET [DET]=1440",
     "Division durch Null!"},
    {"MBerechnenZuerstEinzeln", "mnuMBERECHNEN", BOX, ZWEITER, "zuerst einzeln"},
    {"MBerechnenKommentar", "mnuMBERECHNEN", EINGABE, ZWEITER AUSGEWERTET},
    {"MBerechnenSeite", "mnuMBERECHNEN", BOX,
     ZWEITER AUSGEWERTET KOMMENTAR "INSERT INTO [A1] ([ID],[BONEU]) VALUES (0,0);"
                                   "INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN]) VALUES (0,110,'x')",
     "VB-Fehler: 13", vbOK, 1},
    {"MBerechnenPause", "mnuMBERECHNEN", PAUSE, ZWEITER AUSGEWERTET KOMMENTAR},
};

class Sitzungsende : public HAUPTFENSTERTEST, public ::testing::WithParamInterface<FALL> {
protected:
    void TearDown() override {
        AUSWAHLDIALOG::ERSETZEN({});
        DATENAUSTAUSCH::ERSETZEEXPIMP({});
        DATENAUSTAUSCH::ERSETZEEXPINF({});
        HAUPTFENSTERTEST::TearDown();
    }
};

} // namespace

TEST_P(Sitzungsende, NoBoxFollowsAndNothingIsWrittenAfter) {
    const FALL& fall = GetParam();
    if (*fall.vorher) f.DBPROJEKT()->Execute(QString::fromUtf8(fall.vorher));
    QStringList danach;
    const auto ende = [&] {
        f.SITZUNGSENDE();
        danach = stand(labor);
    };
    const auto dialog = [&](QWidget*) {
        f.SETZEAUSWAHLMODUS(QStringLiteral("OK"));
        if (fall.ort == DIALOG) ende();
    };
    AUSWAHLDIALOG::ERSETZEN(dialog);
    DATENAUSTAUSCH::ERSETZEEXPIMP(dialog);
    DATENAUSTAUSCH::ERSETZEEXPINF(dialog);
    for (int i = 0; i < fall.davor; ++i)
        boxen.expect(vbOK);
    if (fall.ort == BOX) boxen.expect(fall.antwort, QString::fromUtf8(fall.box));
    if (fall.ort == EINGABE) boxen.expectInput(QStringLiteral("Serie"));
    int davor = fall.davor;
    std::function<void()> zaehlen = [&] {
        if (davor-- > 0)
            boxen.waehrend = zaehlen;
        else
            ende();
    };
    if (fall.ort == BOX || fall.ort == EINGABE) boxen.waehrend = zaehlen;
    QTimer pause;
    QObject::connect(&pause, &QTimer::timeout, &f, [&] {
        if (f.FORTSCHRITT() != 100 && !EINGABEFENSTER::GELADEN()) return;
        pause.stop();
        ende();
    });
    if (fall.ort == PAUSE) pause.start(0);

    QAction* befehl = f.findChild<QAction*>(QString::fromLatin1(fall.befehl));
    if (f.mnuAUSWERTEN->actions().contains(befehl)) f.mnuAUSWERTEN_Click();
    befehl->trigger();
    ASSERT_FALSE(danach.isEmpty()) << "the session did not end";
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(boxen.boxes().size(), fall.ort == BOX || fall.ort == EINGABE ? fall.davor + 1 : 0);
    EXPECT_EQ(stand(labor), danach);
}

INSTANTIATE_TEST_SUITE_P(Befehle, Sitzungsende, ::testing::ValuesIn(faelle),
                         [](const auto& fall) { return std::string(fall.param.name); });
