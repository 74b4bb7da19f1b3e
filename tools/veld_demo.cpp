// Prepares a demo laboratory for a VELD installation: veld_demo <demo dir>.
//
//   <demo>/Datenbank/ARCHIV.mdb    the ADMIN row of the current user (as the
//                                  frame program leaves it)
//   <demo>/Datenbank/VORGABE.mdb   the presets database
//   <demo>/Datenbank/TALVIR.mdb    the suite's information system, empty
//   <demo>/Projekte/TE0001.00/VELD.mdb   a project with sample tests
//   <demo>/Projekte/TE0002.00/VELD.mdb   a second project, to exchange
//                                        records with
//
// and the settings value "Datenbankpfad" of KORVA in the settings folder of
// the environment (run it with XDG_CONFIG_HOME inside the demo, so that the
// user's own settings are never touched). A project database that exists is
// kept, so what was saved in the demo stays; the ADMIN row is written anew.

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "platform/database/Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
struct Versuch {
    const char* ken;
    const char* kom;
    int geraet; // 0 Enslin, 1 Neff
    double dmax;
    double ms;
    double endwert; // water volume the curve approaches, cm³
    double tempo;   // minutes to reach about two thirds of it
    bool aktiv;
};

const std::vector<Versuch> kVersuche = {
    {"BS-01", "Schluff, tonig, Entnahmetiefe 1,2 m", 0, 2.0, 0.50, 0.42, 45.0, true},
    {"BS-02", "Ton, schluffig, Entnahmetiefe 2,5 m", 0, 0.5, 0.50, 0.61, 120.0, false},
    {"BS-03", "Sand, schwach schluffig", 1, 4.0, 1.00, 0.28, 8.0, false},
    {"KL-17", "Kalkmergel, verwittert", 0, 2.0, 0.80, 0.55, 70.0, false},
};

const std::vector<Versuch> kNachbarVersuche = {
    {"NB-05", "Geschiebelehm", 0, 2.0, 0.60, 0.38, 60.0, true},
    {"NB-06", "Beckenton", 1, 0.5, 0.40, 0.66, 150.0, false},
};

// A value of a Single column as the program writes it: the float, widened.
double einfach(double wert) {
    return double(float(wert));
}

// Minutes after the start of the test at which the readings were taken.
const double kZeiten[] = {0, 1, 2, 3, 5, 10, 15, 30, 60, 120, 240, 480, 1440};

void projektAnlegen(const QString& pfad, const std::vector<Versuch>& versuche) {
    const QString neu = pfad + QStringLiteral(".neu");
    QFile::remove(neu);
    PROJEKTDATENBANKANLEGEN(neu);
    {
        Connection db(neu);
        Transaction t(db);
        int id = 0;
        for (const Versuch& v : versuche) {
            ++id;
            db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (?,?,?,?)"),
                       {id, QString::fromUtf8(v.ken), QString::fromUtf8(v.kom), v.aktiv});
            db.Execute(QStringLiteral(
                           "INSERT INTO [E2] ([ID],[VT],[DMAX],[MS],[TMAX]) VALUES (?,?,?,?,?)"),
                       {id, v.geraet, einfach(v.dmax), einfach(v.ms), 1440.0});
            // Running numbers from 0, as the input window numbers its rows;
            // every value as the input window writes it (two decimals, its
            // date and time patterns, Single columns as floats), so a record
            // stored unchanged stays unchanged.
            int nummer = -1;
            const QDateTime beginn(QDate(2002, 3, 11), QTime(8, 15), Qt::UTC);
            for (double minuten : kZeiten) {
                ++nummer;
                const QDateTime zeitpunkt = beginn.addSecs(qint64(minuten) * 60);
                const double volumen =
                    einfach(Round(v.endwert * (1.0 - std::exp(-minuten / v.tempo)), 2));
                db.Execute(QStringLiteral(
                               "INSERT INTO [E3] ([ID],[I1],[DATUM],[UHRZEIT],[DET],[V],[TEMP]) "
                               "VALUES (?,?,?,?,?,?,?)"),
                           {id, nummer, Format(zeitpunkt, QStringLiteral("dd/mm/yy")),
                            Format(zeitpunkt, QStringLiteral("hh:mm:ss")), einfach(minuten), volumen,
                            Round(20.0 + 0.1 * (nummer % 4), 2)});
            }
        }
        t.Commit();
    }
    if (!QFile::rename(neu, pfad)) throw RuntimeError(75, QStringLiteral("cannot write ") + pfad);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veld_demo <demo dir>\n");
        return 2;
    }
    const QString demo = QDir(QFile::decodeName(argv[1])).absolutePath();
    const QString datenbank = demo + QStringLiteral("/Datenbank");
    const QString projekte = demo + QStringLiteral("/Projekte");
    const QString projekt = QStringLiteral("TE0001.00");
    try {
        QDir().mkpath(datenbank);
        const QString nachbar = QStringLiteral("TE0002.00");
        QDir().mkpath(projekte + QLatin1Char('/') + projekt);
        QDir().mkpath(projekte + QLatin1Char('/') + nachbar);
        const QString archiv = datenbank + QStringLiteral("/ARCHIV.mdb");
        if (!QFileInfo::exists(archiv)) ARCHIVDATENBANKANLEGEN(archiv);
        if (!QFileInfo::exists(datenbank + QStringLiteral("/VORGABE.mdb")))
            VORGABEDATENBANKANLEGEN(datenbank + QStringLiteral("/VORGABE.mdb"));
        const QString projektdatenbank =
            projekte + QLatin1Char('/') + projekt + QStringLiteral("/VELD.mdb");
        if (!QFileInfo::exists(projektdatenbank)) projektAnlegen(projektdatenbank, kVersuche);
        const QString nachbardatenbank =
            projekte + QLatin1Char('/') + nachbar + QStringLiteral("/VELD.mdb");
        if (!QFileInfo::exists(nachbardatenbank))
            projektAnlegen(nachbardatenbank, kNachbarVersuche);
        const QString talvir = datenbank + QStringLiteral("/TALVIR.mdb");
        if (!QFileInfo::exists(talvir)) INFORMATIONSDATENBANKANLEGEN(talvir);
        {
            Connection db(archiv);
            const QString benutzer = UserName();
            db.Execute(QStringLiteral("DELETE FROM [ADMIN] WHERE [BENUTZER]=?"), {benutzer});
            db.Execute(
                QStringLiteral(
                    "INSERT INTO [ADMIN] ([BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER]) "
                    "VALUES (?,'KORVA',?,?,?)"),
                {benutzer, projekte, projekt, QString::fromUtf8("Demo-Prüfer")});
        }
        SaveSetting(QStringLiteral("KORVA"), QStringLiteral("Extras"),
                    QStringLiteral("Datenbankpfad"), datenbank);
    } catch (const RuntimeError& fehler) {
        std::fprintf(stderr, "veld_demo: %s (%d)\n", fehler.Description().toLocal8Bit().constData(),
                     fehler.Number());
        return 1;
    } catch (const std::exception& fehler) {
        std::fprintf(stderr, "veld_demo: %s\n", fehler.what());
        return 1;
    }
    std::printf("Demo laboratory ready in %s\n", QFile::encodeName(demo).constData());
    return 0;
}
