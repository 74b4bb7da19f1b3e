// The project's history of Saves: which tests a chain of Saves changed
// between two contents, and nothing where no chain leads from one to the
// other, the file is not one of ours, or the oldest entries were dropped.

#include "arbeitskopie/PROJEKTVERLAUF.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

DatabaseMark inhalt(char c) {
    return DatabaseMark::FromText(QString(32, QLatin1Char(c)));
}

} // namespace

TEST(Projektverlauf, AChainOfSavesTellsWhatChangedBetweenTwoContents) {
    QTemporaryDir ordner;
    const QString projekt = ordner.filePath(QStringLiteral("VELD.mdb"));
    using S = QSet<QString>;
    // a -> b -> c -> a (the content of a again), and a Save that changed
    // nothing (c -> d); e is written by another program.
    PROJEKTVERLAUF::EINTRAGEN(projekt, inhalt('a'), inhalt('b'), {"P1", "P 2,x"});
    PROJEKTVERLAUF::EINTRAGEN(projekt, inhalt('b'), inhalt('c'), {"P3"});
    PROJEKTVERLAUF::EINTRAGEN(projekt, inhalt('c'), inhalt('a'), {"P4"});
    PROJEKTVERLAUF::EINTRAGEN(projekt, inhalt('c'), inhalt('d'), {});
    const struct {
        char von, nach;
        std::optional<S> geaendert;
    } faelle[] = {
        {'a', 'b', S{"P1", "P 2,x"}},
        {'a', 'c', S{"P1", "P 2,x", "P3"}},
        {'b', 'a', S{"P3", "P4"}},
        {'a', 'a', S{}},
        {'c', 'd', S{}},
        {'b', 'd', S{"P3"}},
        {'d', 'a', std::nullopt},
        {'a', 'e', std::nullopt},
        {'e', 'b', std::nullopt},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE((std::string{fall.von, ' ', fall.nach}));
        EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, inhalt(fall.von), inhalt(fall.nach)),
                  fall.geaendert);
    }
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, DatabaseMark(), inhalt('a')), std::nullopt);

    // A file that is not one of ours tells nothing.
    QFile datei(PROJEKTVERLAUF::DATEI(projekt));
    ASSERT_EQ(datei.fileName(), ordner.filePath(QStringLiteral("VELD.verlauf")));
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
    datei.write("garbage\n" + inhalt('a').ToText().toLatin1() + ' ' +
                inhalt('b').ToText().toLatin1() + " -\n");
    datei.close();
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, inhalt('a'), inhalt('b')), std::nullopt);
}

TEST(Projektverlauf, OnlyTheNewestSavesAreKept) {
    QTemporaryDir ordner;
    const QString projekt = ordner.filePath(QStringLiteral("VELD.mdb"));
    const auto marke = [](int i) {
        return DatabaseMark::FromText(QStringLiteral("%1").arg(i, 32, 16, QLatin1Char('0')));
    };
    for (int i = 0; i < 201; ++i)
        PROJEKTVERLAUF::EINTRAGEN(projekt, marke(i), marke(i + 1), {QString::number(i)});
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, marke(0), marke(201)), std::nullopt);
    const std::optional<QSet<QString>> neueste =
        PROJEKTVERLAUF::GEAENDERT(projekt, marke(1), marke(201));
    ASSERT_TRUE(neueste.has_value());
    EXPECT_EQ(neueste->size(), 200);
    // A Save of very many tests (an import) leaves room for few others.
    QSet<QString> viele;
    for (int i = 0; i < 60000; ++i)
        viele.insert(QStringLiteral("IMPORT-%1").arg(i, 8, 10, QLatin1Char('0')));
    PROJEKTVERLAUF::EINTRAGEN(projekt, marke(201), marke(202), viele);
    PROJEKTVERLAUF::EINTRAGEN(projekt, marke(202), marke(203), {"P1"});
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, marke(200), marke(202)), std::nullopt);
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, marke(202), marke(203)), QSet<QString>{"P1"});
    EXPECT_LT(QFileInfo(PROJEKTVERLAUF::DATEI(projekt)).size(), 1 << 20);
}

// An entry cut short after its first name (a write broken off), with one bit
// of a name flipped, or from a file of the first kind (no digest) is no
// entry: the chain through it breaks, and the join reads the project whole.
TEST(Projektverlauf, AnEntryThatIsNotWholeAndAsWrittenBreaksTheChain) {
    const struct {
        const char* name;
        std::function<QByteArray(QByteArray)> schaden;
    } faelle[] = {
        {"cut after its first name", [](QByteArray z) { return z.left(z.indexOf(',') + 1); }},
        {"a bit flipped in a name",
         [](QByteArray z) {
             z[z.lastIndexOf(',') + 2] = char(z[z.lastIndexOf(',') + 2] ^ 0x04);
             return z;
         }},
        {"no digest", [](QByteArray z) { return z.left(z.lastIndexOf(' ')); }},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QTemporaryDir ordner;
        const QString projekt = ordner.filePath(QStringLiteral("VELD.mdb"));
        PROJEKTVERLAUF::EINTRAGEN(projekt, inhalt('a'), inhalt('b'), {"P1"});
        PROJEKTVERLAUF::EINTRAGEN(projekt, inhalt('b'), inhalt('c'), {"P2", "P3", "P4"});
        ASSERT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, inhalt('a'), inhalt('c')),
                  (QSet<QString>{"P1", "P2", "P3", "P4"}));
        QFile datei(PROJEKTVERLAUF::DATEI(projekt));
        ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
        QList<QByteArray> zeilen = datei.readAll().split('\n');
        datei.close();
        zeilen[2] = fall.schaden(zeilen[2]);
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
        datei.write(zeilen.join('\n'));
        datei.close();
        EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, inhalt('a'), inhalt('c')), std::nullopt);
        EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, inhalt('a'), inhalt('b')),
                  QSet<QString>{"P1"});
    }
}
