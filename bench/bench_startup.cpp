// Start-up of an installed run on a project of 1,000 records with 50
// readings each, to the first idle event loop, against its two unavoidable
// parts measured alone: the backup-API copy of the same project database
// (the working copy) and a bare main window shown on the same platform.
// The start-up should stay within twice their sum.
//
// File, Save of a working copy of 50 MB into the project (its check of the
// new project database included) against the engine's copy of the same
// file: it should stay within twice the copy.
//
// File, Save into a project of 2,000 records with 100 readings each that
// another user changed and saved since (one record changed, one added), the
// join of the two included, against the engine's copy of the same project:
// within three times the copy.

#include "BOXENZAEHLER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"
#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "shell/frmMAINFENSTER.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMainWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

void leerlauf() {
    QEventLoop schleife;
    QTimer::singleShot(0, &schleife, &QEventLoop::quit);
    schleife.exec();
}

// The laboratory, made once for all benchmarks.
struct Labor {
    QTemporaryDir wurzel;
    QString datenbank, projekte, programm, projektdatenbank;

    Labor() {
        // The settings value goes into the laboratory, never into the
        // user's own settings.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           wurzel.filePath(QStringLiteral("config")));
        datenbank = wurzel.filePath(QStringLiteral("DATENBANK"));
        projekte = wurzel.filePath(QStringLiteral("PROJEKTE"));
        programm = wurzel.filePath(QStringLiteral("PROGRAMM/VELD"));
        projektdatenbank = projekte + QStringLiteral("/TE0001.00/VELD.mdb");
        QDir().mkpath(datenbank);
        QDir().mkpath(projekte + QStringLiteral("/TE0001.00"));
        QDir().mkpath(programm);
        ARCHIVDATENBANKANLEGEN(datenbank + QStringLiteral("/ARCHIV.mdb"));
        VORGABEDATENBANKANLEGEN(datenbank + QStringLiteral("/VORGABE.mdb"));
        PROJEKTDATENBANKANLEGEN(programm + QStringLiteral("/VELD.mdb"));
        PROJEKTDATENBANKANLEGEN(projektdatenbank);
        {
            Connection archiv(datenbank + QStringLiteral("/ARCHIV.mdb"));
            archiv.Execute(
                QStringLiteral(
                    "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                    "VALUES ('BENCH','KORVA',?,'TE0001.00','Messer')"),
                {projekte});
        }
        Connection db(projektdatenbank);
        Transaction t(db);
        for (int id = 1; id <= 1000; ++id) {
            db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (?,?,?,?)"),
                       {id, QStringLiteral("V-%1").arg(id, 4, 10, QLatin1Char('0')),
                        QStringLiteral("Probe %1").arg(id), id == 1});
            db.Execute(
                QStringLiteral(
                    "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (?,0,2.0,0.5,1440)"),
                {id});
            for (int i = 1; i <= 50; ++i)
                db.Execute(QStringLiteral(
                               "INSERT INTO [E3] ([ID],[I1],[DATUM],[UHRZEIT],[DET],[V],[TEMP]) "
                               "VALUES (?,?,'11.03.2002','08:15',?,?,20.0)"),
                           {id, i, double(i * 30), 0.4 * (1.0 - 1.0 / (1.0 + i))});
        }
        t.Commit();
        SaveSetting(QStringLiteral("KORVA"), QStringLiteral("Extras"),
                    QStringLiteral("Datenbankpfad"), datenbank);
    }

    QString arbeitskopie() const {
        return wurzel.filePath(QStringLiteral("PROGRAMM/BENUTZER/BENCH/VELD.mdb"));
    }
};

Labor& labor() {
    static Labor l;
    return l;
}

// An installed German run of the laboratory's program for a user.
void installiert(SystemOverrides& system, const Labor& l, const QString& benutzer) {
    system.SetLoginName(benutzer);
    system.SetProgramDirectory(l.programm);
    system.SetLanguageName(QStringLiteral("de"));
    system.RecordStartedPrograms();
    system.SkipSleeps();
}

void BM_StartupToIdle(benchmark::State& state) {
    Labor& l = labor();
    SystemOverrides system;
    installiert(system, l, QStringLiteral("bench"));
    Boxenzaehler antworten;
    for (auto _ : state) {
        auto fenster = std::make_unique<frmMAINFENSTER>();
        if (!fenster->MDIForm_Load()) state.SkipWithError("the start-up ended");
        leerlauf();
        state.PauseTiming();
        fenster->close();
        fenster.reset();
        leerlauf();
        state.ResumeTiming();
    }
    if (antworten.anzahl) state.SkipWithError("the start-up showed message boxes");
    if (QFile::exists(l.arbeitskopie())) state.SkipWithError("the working copy was left behind");
}
BENCHMARK(BM_StartupToIdle)->Unit(benchmark::kMillisecond);

// A second project of the laboratory, of 50 MB (its records and a table of
// pictures), for the user BENCH50; made when first needed.
QString projekt50() {
    static const QString datei = [] {
        Labor& l = labor();
        const QString projekt = l.projekte + QStringLiteral("/TE0050.00");
        QDir().mkpath(projekt);
        const QString datenbank = projekt + QStringLiteral("/VELD.mdb");
        QFile::copy(l.projektdatenbank, datenbank);
        Connection db(datenbank);
        db.Execute(QStringLiteral("CREATE TABLE [BILDER] ([X] BLOB)"));
        db.Execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<4500) "
            "INSERT INTO [BILDER] SELECT randomblob(10000) FROM n"));
        Connection archiv(l.datenbank + QStringLiteral("/ARCHIV.mdb"));
        archiv.Execute(
            QStringLiteral(
                "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                "VALUES ('BENCH50','KORVA',?,'TE0050.00','Messer')"),
            {l.projekte});
        return datenbank;
    }();
    return datei;
}

void BM_SPEICHERN(benchmark::State& state) {
    Labor& l = labor();
    const QString projekt = projekt50();
    SystemOverrides system;
    installiert(system, l, QStringLiteral("bench50"));
    // The compaction question of a copy above 10 MB is answered No.
    Boxenzaehler antworten;
    frmMAINFENSTER fenster;
    if (!fenster.MDIForm_Load()) state.SkipWithError("the start-up ended");
    for (auto _ : state)
        fenster.mnuSPEICHERN_Click();
    if (antworten.anzahl != int(state.iterations()))
        state.SkipWithError("the Save showed other boxes than its compaction question");
    fenster.close();
}
BENCHMARK(BM_SPEICHERN)->Unit(benchmark::kMillisecond);

// The engine's copy of the project database (argument 0) or of the 50 MB
// project (argument 50) into a new file.
void BM_BackupCopy(benchmark::State& state) {
    Labor& l = labor();
    const QString quelle = state.range(0) == 50 ? projekt50() : l.projektdatenbank;
    const QString ziel = l.wurzel.filePath(QStringLiteral("kopie.mdb"));
    for (auto _ : state) {
        CopyDatabase(quelle, ziel);
        state.PauseTiming();
        QFile::remove(ziel);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BackupCopy)->Arg(0)->Arg(50)->Unit(benchmark::kMillisecond);

// A project of 2,000 (or 5,000) records with 100 readings each, for the
// user BENCH2000 (BENCH5000); made when first needed.
QString projektN(int anzahl) {
    static QHash<int, QString> dateien;
    if (dateien.contains(anzahl)) return dateien.value(anzahl);
    Labor& l = labor();
    const QString name = QStringLiteral("TE%1.00").arg(anzahl);
    const QString projekt = l.projekte + QLatin1Char('/') + name;
    QDir().mkpath(projekt);
    const QString datenbank = projekt + QStringLiteral("/VELD.mdb");
    PROJEKTDATENBANKANLEGEN(datenbank);
    Connection db(datenbank);
    Transaction t(db);
    for (int id = 1; id <= anzahl; ++id) {
        db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                   {id, QStringLiteral("V-%1").arg(id, 4, 10, QLatin1Char('0'))});
        db.Execute(QStringLiteral(
                       "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (?,0,2.0,0.5,1440)"),
                   {id});
        db.Execute(QStringLiteral(
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE "
                       "i<100) INSERT INTO [E3] ([ID],[I1],[DATUM],[UHRZEIT],[DET],[V],[TEMP]) "
                       "SELECT ?, i, '11.03.2002', '08:15', i*30, "
                       "round(4096*0.4*(1.0-1.0/(1.0+i)))/4096.0, 20.0 FROM n"),
                   {id});
        // Values as the program keeps them (single precision).
        db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (?,false,0.25)"),
                   {id});
    }
    t.Commit();
    Connection archiv(l.datenbank + QStringLiteral("/ARCHIV.mdb"));
    archiv.Execute(
        QStringLiteral(
            "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
            "VALUES (?,'KORVA',?,?,'Messer')"),
        {QStringLiteral("BENCH%1").arg(anzahl), l.projekte, name});
    dateien.insert(anzahl, datenbank);
    return datenbank;
}

QString projekt2000() {
    return projektN(2000);
}

// Another user of the project, with a working copy of their own: their
// run's Save answers the compaction question No and asks nothing else.
struct AndererBenutzer : ARBEITSKOPIEDIALOG {
    QString projektdatenbank, arbeitskopie;
    int boxen = 0;
    std::shared_ptr<Connection> verbindung = std::make_shared<Connection>();
    std::unique_ptr<ARBEITSKOPIE> kopie;

    AndererBenutzer(const QString& projekt, const QString& ordner)
        : projektdatenbank(projekt), arbeitskopie(ordner + QStringLiteral("/VELD.mdb")) {
        QDir().mkpath(ordner);
        kopie = std::make_unique<ARBEITSKOPIE>(*this, verbindung);
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        kopie->VORBEREITEN(eh);
    }
    ~AndererBenutzer() override {
        kopie.reset();
        verbindung->Close();
    }
    bool speichern() {
        return kopie->SPEICHERN(QStringLiteral("Speichern"), QString(), [] { return false; });
    }
    int FRAGEN(const QString&, int, const QString&, const QString&, int) override {
        ++boxen;
        return vbNo;
    }
    bool GELADEN() override { return true; }
    bool ENTLADEN() const override { return false; }
    bool SITZUNGENDET() const override { return false; }
    int16_t SPRACHE() override { return 3; }
    QString PROJEKT() override { return QFileInfo(projektdatenbank).dir().dirName(); }
    QString PROJEKTDATENBANK() const override { return projektdatenbank; }
    QString XMDBPFAD() override { return arbeitskopie; }
};

// File, Save into a project of 2,000 (5,000) tests that another user changed
// since (one test changed, one added) and saved with this program, while
// this user changed another: what the join reads grows with what changed.
// With the argument's sign turned (-2,000), the other's work is written
// into the project by another program: no history of the project tells what
// changed, and the join reads the project whole.
void BM_SPEICHERN_Zusammenfuehrung(benchmark::State& state) {
    Labor& l = labor();
    const int anzahl = int(std::abs(state.range(0)));
    const bool fremdesProgramm = state.range(0) < 0;
    const QString projekt = projektN(anzahl);
    SystemOverrides system;
    installiert(system, l, QStringLiteral("bench%1").arg(anzahl));
    // The compaction question of a copy above 10 MB is answered No.
    Boxenzaehler antworten;
    frmMAINFENSTER fenster;
    if (!fenster.MDIForm_Load()) state.SkipWithError("the start-up ended");
    AndererBenutzer anderer(projekt, l.wurzel.filePath(QStringLiteral("ANDERER%1").arg(anzahl)));
    // The rounds count on over the benchmark's repeated calls: each round's
    // test of the other user is a new one.
    static QHash<int, int> runden;
    int& runde = runden[anzahl];
    for (auto _ : state) {
        state.PauseTiming();
        ++runde;
        // This user changes one test; another user changes another one and
        // adds a test.
        fenster.DBPROJEKT()->Execute(
            QStringLiteral("UPDATE [E3] SET [V]=? WHERE [ID]=1 AND [I1]=1"), {double(runde)});
        fenster.SETZEBOGEAENDERT(true);
        const int id = anzahl + runde;
        const QVariantList neu = {id, QStringLiteral("N-%1").arg(runde)};
        if (fremdesProgramm) {
            Connection fremd(projekt);
            Transaction t(fremd);
            fremd.Execute(QStringLiteral("UPDATE [E3] SET [V]=? WHERE [ID]=2 AND [I1]=1"),
                          {double(runde)});
            fremd.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                          neu);
            fremd.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,1,0.5)"),
                          {id});
            t.Commit();
        } else {
            Connection& db = *anderer.verbindung;
            {
                Transaction t(db);
                db.Execute(QStringLiteral("UPDATE [E3] SET [V]=? WHERE [ID]=2 AND [I1]=1"),
                           {double(runde)});
                db.Execute(
                    QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"), neu);
                db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,1,0.5)"),
                           {id});
                t.Commit();
            }
            if (!anderer.speichern()) state.SkipWithError("the other user's Save failed");
        }
        state.ResumeTiming();
        fenster.mnuSPEICHERN_Click();
    }
    // Both users' work is in the project: this user's reading and the other's
    // tests.
    {
        Connection db(projekt);
        Recordset neu(QStringLiteral("SELECT Count(*) FROM [E1] WHERE [KEN] LIKE 'N-%'"), db);
        Recordset eigen(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=1 AND [I1]=1"), db);
        if (neu.Fields(0).Value().toInt() != runde || eigen.Fields(0).Value().toInt() != runde)
            state.SkipWithError("the Save lost work of one side");
    }
    if (antworten.anzahl != int(state.iterations()))
        state.SkipWithError("the Save showed other boxes than its compaction question");
    fenster.close();
}
BENCHMARK(BM_SPEICHERN_Zusammenfuehrung)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(-2000)
    ->Unit(benchmark::kMillisecond);

// The engine's copy of the project of 2,000 (5,000) tests into a new file.
void BM_BackupCopy2000(benchmark::State& state) {
    Labor& l = labor();
    const QString quelle = projektN(int(state.range(0)));
    const QString ziel = l.wurzel.filePath(QStringLiteral("kopie2000.mdb"));
    for (auto _ : state) {
        CopyDatabase(quelle, ziel);
        state.PauseTiming();
        QFile::remove(ziel);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BackupCopy2000)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_EmptyQtWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto fenster = std::make_unique<QMainWindow>();
        fenster->show();
        leerlauf();
        state.PauseTiming();
        fenster.reset();
        leerlauf();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EmptyQtWindow)->Unit(benchmark::kMillisecond);

// The store of a test of 10 readings into the copy of the project of 2,000
// tests, as the first change after a Save and as the second: the first
// should cost what the second does (what the copy was before is kept by the
// change itself, not read whole at the first one). A Save before each
// round: a fixed number of rounds.
void aenderung(benchmark::State& state, bool zweite) {
    Labor& l = labor();
    projekt2000();
    SystemOverrides system;
    installiert(system, l, QStringLiteral("bench2000"));
    Boxenzaehler antworten;
    frmMAINFENSTER fenster;
    if (!fenster.MDIForm_Load()) state.SkipWithError("the start-up ended");
    Connection& db = *fenster.DBPROJEKT();
    const auto speichern = [&](int id) {
        Transaction t(db);
        db.Execute(QStringLiteral("DELETE FROM [E3] WHERE [ID]=?"), {id});
        for (int i = 1; i <= 10; ++i)
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,?,?)"),
                       {id, i, 0.01 * i});
        t.Commit();
    };
    int runde = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++runde;
        fenster.mnuSPEICHERN_Click();
        if (zweite) speichern(3);
        state.ResumeTiming();
        speichern(10 + runde % 1900);
    }
    fenster.close();
}
void BM_ErsteAenderung(benchmark::State& state) {
    aenderung(state, false);
}
void BM_ZweiteAenderung(benchmark::State& state) {
    aenderung(state, true);
}
BENCHMARK(BM_ErsteAenderung)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZweiteAenderung)->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace
