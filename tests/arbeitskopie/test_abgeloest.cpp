// The files that runs kept when their working copy went: offered on their
// own project, by content, until the project holds them.

#include "KOPIELABOR.h"

#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <gtest/gtest.h>

namespace {
// A kept file beside the copy: the project with `ken` commented `kom`,
// naming `projekt` (none: a file kept before files named their project).
QString ablegen(KOPIELABOR& labor, const QString& name, const QString& ken, const QString& kom,
                const std::optional<QString>& projekt) {
    const QString datei = QFileInfo(labor.ARBEITSKOPIEPFAD()).path() + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(datei).path());
    EXPECT_TRUE(QFile::copy(labor.PROJEKTDATENBANK(), datei));
    Connection db(datei);
    db.Execute(QStringLiteral("DELETE FROM [E1] WHERE [KEN]=?"), {ken});
    db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (9,?,?,false)"),
               {ken, kom});
    if (projekt) {
        db.Execute(QStringLiteral("CREATE TABLE [VELD_HERKUNFT] ([PROJEKT] TEXT)"));
        db.Execute(QStringLiteral("INSERT INTO [VELD_HERKUNFT] VALUES (?)"), {*projekt});
    }
    return datei;
}
} // namespace

// A kept file is offered only on its own project (one that cannot tell its
// project is offered saying so); a record it holds otherwise than project
// and copy is offered as a change and Ja takes its version; the file stays
// until the project holds all of it, and a Save puts it aside.
TEST(Abgeloest, AKeptFileIsOfferedOnItsProjectByContentUntilTheProjectHoldsIt) {
    KOPIELABOR labor;
    KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
    const QString fremd = ablegen(labor, QStringLiteral("VELD_ersetzt.mdb"), QStringLiteral("F"),
                                  QStringLiteral("x"), QStringLiteral("/anderswo/VELD.mdb"));
    const QString eigen = ablegen(labor, QStringLiteral("VELD_ersetzt_2.mdb"), QStringLiteral("P1"),
                                  QStringLiteral("neue Lesung"), labor.PROJEKTDATENBANK());
    const QString alt = ablegen(labor, QStringLiteral("VELD_ersetzt_3.mdb"), QStringLiteral("ALT"),
                                QString(), std::nullopt);
    labor.DIALOG.ANTWORTEN({vbYes});
    const auto lauf = labor.GESTARTET();
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
    const QString text = labor.DIALOG.BOXEN()[0].text;
    EXPECT_FALSE(text.contains(QDir::toNativeSeparators(fremd))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Von welchem Projekt diese Dateien stammen, lässt "
                                                "sich nicht feststellen")) &&
                text.contains(QDir::toNativeSeparators(alt)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("fehlen daraus die Datensätze ALT.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Diese Datensätze enthalten sie anders als das "
                                                "Projekt und die Arbeitskopie: P1.")))
        << text.toStdString();
    // Ja: the kept versions are the copy's unsaved changes; every file stays.
    EXPECT_EQ(KOPIELABOR::KOMMENTAR(labor.ARBEITSKOPIEPFAD()), QStringLiteral("neue Lesung"));
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("P1,ALT"));
    EXPECT_TRUE(lauf->kopie->BOGEAENDERT());
    EXPECT_TRUE(QFileInfo::exists(fremd) && QFileInfo::exists(eigen) && QFileInfo::exists(alt));
    // The Save puts aside the file of this project that the project now
    // holds; the one that cannot tell its project, and the other project's,
    // stay.
    EXPECT_TRUE(lauf->kopie->SPEICHERN(QStringLiteral("Speichern"), QString(),
                                       [] { return false; }));
    EXPECT_TRUE(QFileInfo::exists(fremd) && QFileInfo::exists(alt));
    EXPECT_FALSE(QFileInfo::exists(eigen));
    EXPECT_EQ(labor.DIALOG.m_hinweise.last(),
              QStringLiteral("Als erledigt beiseitegelegt: VELD_uebernommen.mdb"));
}
