// What the copy knows of a command's change when the run ends inside the
// command: the change is marked before it is written, so a session end in a
// pause of the command keeps the copy with it, and a close asks about it.

#include "HAUPTFENSTERTEST.h"

#include "shell/DATENAUSTAUSCH.h"

#include <QTimer>

namespace {

// The copy's result of record 1, read beside the run.
QVariant ergebnis(const QString& kopie) {
    Connection verbindung(kopie);
    Recordset rs(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=1"), verbindung);
    return rs.Eof() ? QVariant() : rs.Fields(0).Value();
}

} // namespace

// Calculate First pauses with the main window enabled after it rewrote the
// results; the session ends, or the user closes the window, in that pause.
class KOPIEZUSTAND : public HAUPTFENSTERTEST {
protected:
    // Saved: nothing is unsaved until the command changes the copy.
    void SetUp() override {
        HAUPTFENSTERTEST::SetUp();
        f.mnuSPEICHERN_Click();
        ASSERT_FALSE(f.BOGEAENDERT());
    }
    void imPauseDerNeuberechnung(const std::function<void()>& tun) {
        // The bar full is the pause.
        QTimer inDerPause;
        QObject::connect(&inDerPause, &QTimer::timeout, &f, [&] {
            if (f.FORTSCHRITT() != 100) return;
            inDerPause.stop();
            tun();
        });
        inDerPause.start(0);
        f.mnuAUSWERTEN_Click();
        f.mnuNEUBERECHNEN->trigger();
        EXPECT_FALSE(inDerPause.isActive());
        EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
        EXPECT_NE(ergebnis(labor.ARBEITSKOPIE()).toDouble(), 30.0);
    }
};

TEST_F(KOPIEZUSTAND, TheSessionEndingInThePauseOfCalculateFirstKeepsTheNewResults) {
    imPauseDerNeuberechnung([this] { f.SITZUNGSENDE(); });
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(KOPIEZUSTAND, ClosingTheWindowInThePauseOfCalculateFirstAsksTheSaveQuestion) {
    boxen.expect(vbCancel, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
    imPauseDerNeuberechnung([this] { f.close(); });
    EXPECT_FALSE(f.ENTLADEN());
    EXPECT_EQ(boxen.boxes().size(), 1);
}

// An import commits while the exchange dialog stays open; the session ends
// before the dialog closes.
TEST_F(KOPIEZUSTAND, TheSessionEndingWithTheExchangeDialogOpenKeepsTheImport) {
    DATENAUSTAUSCH::ERSETZEEXPIMP([this](QWidget*) {
        f.DBPROJEKT()->Execute(
            QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (7,'IMPORT',1)"));
        f.SETZEAUSWAHLMODUS(QStringLiteral("OK"));
        f.SITZUNGSENDE();
    });
    f.mnuEXPIMP_Click();
    DATENAUSTAUSCH::ERSETZEEXPIMP({});
    EXPECT_TRUE(f.ENTLADEN());
    // No box: nothing read the closed copy afterwards.
    EXPECT_TRUE(boxen.boxes().isEmpty());
    ASSERT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1,IMPORT"));
}
