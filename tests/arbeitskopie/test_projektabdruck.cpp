// VELD.projekt beside the working copy: what it names, and that it is read
// whole or not at all.

#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Projektabdruck, TheProjectIsNamedByTheFolderOfItsDatabaseAndGarbageByNothing) {
    const struct {
        const char* herkunft;
        const char* name;
    } faelle[] = {
        {"/p/PROJEKTE/TE0001.00/VELD.mdb", "TE0001.00"},
        {"/p/PROJEKTE/Bau (2) A-1+B_c/VELD.mdb", "Bau (2) A-1+B_c"},
        {"PROJEKTE/TE0001.00/VELD.mdb", "fremd"},      // not absolute
        {"/p/PROJEKTE/TE0001.00/ANDERS.mdb", "fremd"}, // not a project database
        {"/p/PROJEKTE/.versteckt/VELD.mdb", "fremd"},  // not a letter or digit first
        {"/p/PROJEKTE/a;b/VELD.mdb", "fremd"},         // a character a name never has
        {"/VELD.mdb", "fremd"},                        // no folder
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(PROJEKTABDRUCK::PROJEKTNAME(QString::fromUtf8(fall.herkunft)),
                  QString::fromUtf8(fall.name))
            << fall.herkunft;
    EXPECT_EQ(PROJEKTABDRUCK::PROJEKTNAME(QStringLiteral("/p/") + QString(65, QLatin1Char('x')) +
                                          QStringLiteral("/VELD.mdb")),
              PROJEKTABDRUCK::FREMD);
}

TEST(Projektabdruck, WhatIsWrittenIsReadAgainAndAFailedWriteLeavesTheFileBefore) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("VELD.projekt"));
    DatabaseMark eins;
    eins.digest = QByteArray(16, '\x01');
    eins.known = true;
    DatabaseMark zwei;
    zwei.digest = QByteArray(16, '\x2f');
    zwei.known = true;
    PROJEKTABDRUCK::SCHREIBEN(datei, ordner.filePath(QStringLiteral("P/../P/VELD.mdb")),
                              {eins, zwei});
    QFile lesen(datei);
    ASSERT_TRUE(lesen.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(lesen.readAll()),
              QDir::cleanPath(ordner.filePath(QStringLiteral("P/VELD.mdb"))) +
                  QStringLiteral("\n01010101010101010101010101010101 "
                                 "2f2f2f2f2f2f2f2f2f2f2f2f2f2f2f2f\n"));
    EXPECT_EQ(PROJEKTABDRUCK::HERKUNFT(datei),
              QDir::cleanPath(ordner.filePath(QStringLiteral("P/VELD.mdb"))));
    const QList<DatabaseMark> gelesen = PROJEKTABDRUCK::ABDRUECKE(datei);
    ASSERT_EQ(gelesen.size(), 2);
    EXPECT_TRUE(gelesen[0].Same(eins));
    EXPECT_TRUE(gelesen[1].Same(zwei));

    // A file that cannot be written raises 75, and nothing is left beside.
    const QString fehlt = ordner.filePath(QStringLiteral("FEHLT/VELD.projekt"));
    try {
        PROJEKTABDRUCK::SCHREIBEN(fehlt, QStringLiteral("/p/VELD.mdb"), {eins});
        ADD_FAILURE() << "written into a missing folder";
    } catch (const RuntimeError& fehler) {
        EXPECT_EQ(fehler.Number(), 75);
    }
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("VELD.projekt")});
    // A file that is not there names nothing.
    EXPECT_EQ(PROJEKTABDRUCK::HERKUNFT(fehlt), QString());
    EXPECT_TRUE(PROJEKTABDRUCK::ABDRUECKE(fehlt).isEmpty());
}
