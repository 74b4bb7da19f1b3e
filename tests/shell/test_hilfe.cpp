// The ? menu: which items are enabled, the help window, the readme and
// notes documents, and the info box with the publisher's address block.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "shell/HILFEFENSTER.h"
#include "shell/clsADRESSE.h"
#include "shell/frmINFO.h"
#include "shell/frmMAINFENSTER.h"
#include "shell/mdiAUTOSTART.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
void anlegen(const QString& pfad, const QByteArray& inhalt = "x") {
    QFile datei(pfad);
    datei.open(QIODevice::WriteOnly);
    datei.write(inhalt);
}

const QByteArray kHilfe =
    "<html><body><a name=\"de_0\"></a><h1>Inhalt</h1><p>Text</p><a "
    "name=\"de_34\"></a><h2>Komprimieren</h2>"
    "<a name=\"en_0\"></a><h1>Contents</h1><a name=\"en_34\"></a><h2>Compacting</h2></body></html>";
} // namespace

TEST(Fragezeichen, ItemsFollowTheFilesBesideTheProgram) {
    SHELLLABOR labor;
    frmMAINFENSTER f;
    f.mnuFRAGEZEICHEN_Click();
    EXPECT_FALSE(f.mnuHILFE->isEnabled());
    EXPECT_FALSE(f.mnuREADME->isEnabled());
    EXPECT_FALSE(f.mnuHINWEISE->isEnabled());
    EXPECT_TRUE(f.mnuINFO->isEnabled());

    // The help file's name is found in any letter case.
    anlegen(labor.PROGRAMM() + QStringLiteral("/VELD.hlp"));
    anlegen(labor.PROGRAMM() + QStringLiteral("/VELD_H.doc"));
    f.mnuFRAGEZEICHEN_Click();
    EXPECT_TRUE(f.mnuHILFE->isEnabled());
    EXPECT_FALSE(f.mnuREADME->isEnabled());
    EXPECT_TRUE(f.mnuHINWEISE->isEnabled());

    QFile::remove(labor.PROGRAMM() + QStringLiteral("/VELD.hlp"));
    anlegen(labor.PROGRAMM() + QStringLiteral("/VELD.HLP"));
    anlegen(labor.PROGRAMM() + QStringLiteral("/VELD.doc"));
    f.mnuFRAGEZEICHEN_Click();
    EXPECT_TRUE(f.mnuHILFE->isEnabled());
    EXPECT_TRUE(f.mnuREADME->isEnabled());
}

TEST(Hilfe, OpensTheHelpWindowAtTheContentsInTheUsersLanguage) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        anlegen(labor.PROGRAMM() + QStringLiteral("/VELD.HLP"), kHilfe);
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        f.mnuHILFE_Click();
        HILFEFENSTER* hilfe = f.HILFE();
        EXPECT_TRUE(hilfe->isVisible());
        EXPECT_EQ(hilfe->windowTitle(), QStringLiteral("?/Hilfe"));
        EXPECT_EQ(hilfe->DATEI(), labor.PROGRAMM() + QStringLiteral("/VELD.HLP"));
        EXPECT_EQ(hilfe->ANKERNAME(), sprache + QStringLiteral("_0"));
        EXPECT_TRUE(hilfe->BROWSER()->toPlainText().contains(QStringLiteral("Compacting")));
        EXPECT_EQ(MousePointer(), vbDefault);
    }
}

TEST(Hilfe, TheHelpButtonOfTheSaveQuestionOpensItsTopic) {
    SHELLLABOR labor;
    anlegen(labor.PROGRAMM() + QStringLiteral("/VELD.HLP"), kHilfe);
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    QFile kopie(labor.ARBEITSKOPIE());
    kopie.open(QIODevice::ReadWrite);
    kopie.seek(kopie.size());
    kopie.write(QByteArray(int(10100000 - kopie.size()), '\0'));
    kopie.close();
    boxen.expectHelp(vbNo, QStringLiteral("Soll die Datei komprimiert werden?"));
    f.mnuSPEICHERN_Click();
    EXPECT_TRUE(boxen.boxes().first().helpPressed);
    EXPECT_TRUE(f.HILFE()->isVisible());
    EXPECT_EQ(f.HILFE()->ANKERNAME(), QStringLiteral("de_34"));
}

TEST(Dokumente, ReadmeAndNotesOpenWithTheDesktopsProgram) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    f.mnuREADME_Click();
    f.mnuHINWEISE_Click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(labor.SYSTEM.OpenedDocuments(),
              QStringList({labor.PROGRAMM() + QStringLiteral("/VELD.doc"),
                           labor.PROGRAMM() + QStringLiteral("/VELD_H.doc")}));
    EXPECT_EQ(MousePointer(), vbDefault);
}

TEST(Dokumente, NothingToOpenThemSaysSo) {
    SHELLLABOR labor;
    SystemOverrides scheitern;
    scheitern.RecordStartedPrograms(false);
    ScriptedDialogs boxen;
    boxen.expect(vbOK, QStringLiteral("VELD.doc"));
    boxen.expect(vbOK, QStringLiteral("VELD_H.doc"));
    frmMAINFENSTER f;
    f.mnuREADME_Click();
    f.mnuHINWEISE_Click();
    ASSERT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(boxen.boxes().at(0).title, QStringLiteral("?/ReadMe"));
    EXPECT_EQ(boxen.boxes().at(1).title, QStringLiteral("?/Hinweise"));
    EXPECT_EQ(boxen.boxes().at(0).style, 48);
    EXPECT_TRUE(boxen.boxes().at(0).prompt.startsWith(
        QString::fromUtf8("Auf diesem Rechner ist kein Programm")));
}

TEST(Info, DevelopersTextIsCutAfterTheFirstCommaFromCharacterFifty) {
    EXPECT_EQ(frmINFO::ENTWICKLERTEXT(QStringLiteral("A, B")), QStringLiteral("A, B"));
    const QString fuenfzig = QString(49, QLatin1Char('a')) + QLatin1Char(',');
    EXPECT_EQ(frmINFO::ENTWICKLERTEXT(fuenfzig), fuenfzig); // 50 characters: whole
    // A comma at character 50 of a longer text is the cut.
    EXPECT_EQ(frmINFO::ENTWICKLERTEXT(fuenfzig + QStringLiteral(" b, c")),
              fuenfzig + QStringLiteral(" ..."));
    // A comma before character 50 does not count.
    const QString frueh = QString(48, QLatin1Char('a')) + QStringLiteral(",bbbbbbbb, c");
    EXPECT_EQ(frmINFO::ENTWICKLERTEXT(frueh),
              QString(48, QLatin1Char('a')) + QStringLiteral(",bbbbbbbb, ..."));
    // No comma from character 50 on: whole.
    const QString ohne =
        QString(48, QLatin1Char('a')) + QStringLiteral(",") + QString(20, QLatin1Char('b'));
    EXPECT_EQ(frmINFO::ENTWICKLERTEXT(ohne), ohne);
}

namespace {
struct InfoTexte {
    QString titel;
    QStringList info;
    QStringList adresse;
    QString knopf;
};

InfoTexte infoLesen(int16_t sprache) {
    TESTHAUPTFENSTER haupt;
    haupt.SETZESPRACHE(sprache);
    mdiAUTOSTART start;
    start.Form_Load();
    frmINFO info(&start);
    InfoTexte t;
    t.titel = info.windowTitle();
    for (QLabel* l : info.lblINFO)
        t.info << l->text();
    for (QLabel* l : info.lblADRESSE)
        t.adresse << l->text();
    t.knopf = info.cmdSCHLIESSEN->text();
    return t;
}
} // namespace

TEST(Info, GermanBox) {
    const InfoTexte t = infoLesen(3);
    EXPECT_EQ(t.titel, QStringLiteral("Info zu VELD"));
    EXPECT_EQ(t.info.at(0), QStringLiteral("Korvalind"));
    EXPECT_EQ(t.info.at(1), QStringLiteral("Varmikon"));
    EXPECT_EQ(t.info.at(2), QString());
    EXPECT_EQ(t.info.at(3), QStringLiteral("(VELD.exe)"));
    EXPECT_EQ(t.info.at(4), QString::fromUtf8("Version März 2002"));
    EXPECT_EQ(t.info.at(6), QStringLiteral("Programmentwicklung: ") +
                                frmINFO::ENTWICKLERTEXT(frmINFO::VERSIONSMARKEN()));
    // The developers' names of this program are long enough to be cut.
    EXPECT_TRUE(t.info.at(6).endsWith(QStringLiteral(", ...")));
    EXPECT_TRUE(t.adresse.at(3).startsWith(QStringLiteral("Vorsitzender: ")));
    EXPECT_TRUE(t.adresse.at(4).startsWith(QStringLiteral("Telefon: ")));
    EXPECT_TRUE(t.adresse.at(5).startsWith(QStringLiteral("Fax: ")));
    EXPECT_TRUE(t.adresse.at(6).startsWith(QStringLiteral("E-Mail: ")));
    EXPECT_TRUE(t.adresse.at(7).startsWith(QStringLiteral("Internet: ")));
    EXPECT_EQ(t.knopf, QString::fromUtf8("Schließen"));
}

TEST(Info, EnglishBox) {
    const InfoTexte t = infoLesen(1);
    EXPECT_EQ(t.titel, QStringLiteral("Info of VELD"));
    EXPECT_EQ(t.info.at(4), QStringLiteral("Version March 2002"));
    EXPECT_TRUE(t.info.at(6).startsWith(QStringLiteral("Program developed by: ")));
    EXPECT_TRUE(t.adresse.at(3).startsWith(QStringLiteral("Head of Found.: ")));
    EXPECT_TRUE(t.adresse.at(4).startsWith(QStringLiteral("Phone: ")));
    EXPECT_EQ(t.knopf, QStringLiteral("Done"));
}

TEST(Info, AnotherLanguageCodeFillsOnlyTheFixedAddressLines) {
    const InfoTexte t = infoLesen(2);
    EXPECT_EQ(t.adresse.at(0), QString());
    EXPECT_EQ(t.adresse.at(1), QString());
    EXPECT_TRUE(t.adresse.at(2).startsWith(QStringLiteral(", ")));
    EXPECT_EQ(t.adresse.at(3), QString());
    EXPECT_EQ(t.adresse.at(4), QString());
    EXPECT_FALSE(t.adresse.at(5).isEmpty());
    EXPECT_FALSE(t.adresse.at(7).isEmpty());
    for (const QString& zeile : t.info)
        EXPECT_EQ(zeile, QString());
}

TEST(Info, AddressBlockFollowsTheLanguageOnEveryRead) {
    TESTHAUPTFENSTER haupt;
    clsADRESSE a;
    haupt.SETZESPRACHE(3);
    const QString deutsch = a.FIRMA1();
    haupt.SETZESPRACHE(1);
    const QString englisch = a.FIRMA1();
    EXPECT_FALSE(deutsch.isEmpty());
    EXPECT_FALSE(englisch.isEmpty());
    EXPECT_NE(deutsch, englisch);
    EXPECT_NE(a.PLZ(), QString());
    haupt.SETZESPRACHE(0);
    EXPECT_EQ(a.FIRMA1(), QString());
    EXPECT_EQ(a.FIRMA2(), QString());
    EXPECT_EQ(a.PLZ(), QString());
    EXPECT_FALSE(a.STR().isEmpty());
    EXPECT_FALSE(a.TEL().isEmpty());
}

TEST(Info, TheInfoCommandShowsTheBoxModally) {
    SHELLLABOR labor(QStringLiteral("en"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    QString titel;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* info = qobject_cast<frmINFO*>(QApplication::activeModalWidget());
        ASSERT_NE(info, nullptr);
        titel = info->windowTitle();
        modal = info->isModal();
        info->cmdSCHLIESSEN->click();
    });
    f.mnuINFO_Click();
    EXPECT_EQ(titel, QStringLiteral("Info of VELD"));
    EXPECT_TRUE(modal);
}
