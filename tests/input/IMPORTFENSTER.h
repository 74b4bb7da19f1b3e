#pragma once

// The data-logger import on the input window's readings grid, with a
// temporary laboratory whose VORGABE.mdb holds the presets of the tests, and
// the logger files of tests/fixtures/logger.

#include "FLXFENSTER.h"
#include "platform/database/Connection.h"
#include "platform/runtime/System.h"
#include "support/OpenFiles.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

// The readings grid keyed for the quantities NR, DATUM, ZEIT, VOL and TEMP
// (the elapsed-time column receives none).
class IMPORTFENSTER : public FLXFENSTER {
public:
    IMPORTFENSTER() {
        eingaberaster();
        FLX.ELSELEK(QStringList{"NR", "DATUM", "ZEIT", "", "VOL", "TEMP"});
    }
};

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Answers every message box by a rule of the test (an OK-only box with OK)
// and counts them; for runs with many imports whose boxes are not known.
class Beantworter : public DialogService {
public:
    explicit Beantworter(std::function<int()> antwort) : m_antwort(std::move(antwort)) {
        m_vorher = InstallDialogService(this);
    }
    ~Beantworter() override { InstallDialogService(m_vorher); }
    Beantworter(const Beantworter&) = delete;
    Beantworter& operator=(const Beantworter&) = delete;

    int ShowMessage(const QString&, int style, const QString&, const QString&, int) override {
        ++boxen;
        return (style & 7) == vbOKOnly ? int(vbOK) : m_antwort();
    }
    QString ShowInput(const QString&, const QString&, const QString&) override { return {}; }

    int boxen = 0;

private:
    std::function<int()> m_antwort;
    DialogService* m_vorher;
};

// What a grid shows: its row count, enabled state and every cell.
inline QStringList Zustand(const MSFlexGrid& grid) {
    QStringList texte{QString::number(grid.Rows()), grid.Enabled() ? "an" : "aus"};
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            texte << grid.TextMatrix(r, c);
    return texte;
}

// The fixtures and the codes of their configurations.
struct Vorlage {
    const char* code;
    const char* datei;
};
inline constexpr Vorlage kVorlagen[] = {{"WERT", "wert_kopfzahl.txt"},
                                        {"MARKE", "wert_marke.txt"},
                                        {"SEMI", "zyklus_semikolon.txt"},
                                        {"TAB", "zyklus_tab.txt"},
                                        {"SATZ", "satz.txt"}};

inline QString Fixture(const QString& name) {
    return QStringLiteral(VELD_FIXTURES "/logger/") + name;
}

inline std::string Bytes(const QString& pfad) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) return std::string();
    const QByteArray inhalt = datei.readAll();
    return std::string(inhalt.constData(), size_t(inhalt.size()));
}

class FLXImport : public FLXTest {
protected:
    struct Konfig {
        int idk;
        QString code;
        int zl;
        QString kenz1nr, kenz1kz, tzs, tzz;
        QString datum = QStringLiteral("JJJJ-MM-TT");
        QString uhrzeit = QStringLiteral("hh:mm:ss");
    };
    struct Menge {
        Menge(const QString& s, const QVariant& p, const QString& pre = QString(),
              const QString& suf = QString(), float fak = 1)
            : spalte(s), position(p), praefix(pre), suffix(suf), faktor(fak) {}
        QString spalte;
        QVariant position;
        QString praefix, suffix;
        float faktor;
    };

    void SetUp() override {
        FLXTest::SetUp();
        haupt = std::make_unique<TESTHAUPTFENSTER>();
        f = std::make_unique<IMPORTFENSTER>();
        // The five configurations of the fixtures.
        konfiguration({1, "WERT", 6, "1", "", "", ""},
                      {{"NR", 1}, {"DATUM", 2}, {"ZEIT", 3}, {"VOL", 4}, {"TEMP", 5}});
        konfiguration({2, "MARKE", 6, "", "MESSBEGINN", "", ""},
                      {{"NR", 1}, {"DATUM", 2}, {"ZEIT", 3}, {"VOL", 4}, {"TEMP", 5}});
        const std::vector<Menge> fuenf{
            {"NR", 0}, {"DATUM", 1}, {"ZEIT", 2}, {"VOL", 3}, {"TEMP", 4}};
        konfiguration({3, "SEMI", 5, "1", "", ";", ""}, fuenf);
        konfiguration({4, "TAB", 5, "", "[Daten]", "<TAB>", ""}, fuenf);
        konfiguration({5, "SATZ", 5, "1", "", ";", "#"}, fuenf);
    }
    void TearDown() override {
        f.reset();
        haupt.reset();
        FLXTest::TearDown();
    }

    // Writes a configuration and its quantities (MNR 0, 1, ...) into the
    // presets database.
    void konfiguration(const Konfig& k, const std::vector<Menge>& mengen) {
        Connection& db = *haupt->DBVORGABE();
        db.Execute("DELETE FROM VELD_VE1 WHERE IDK = ?", {k.idk});
        db.Execute("DELETE FROM VELD_VE2 WHERE IDK = ?", {k.idk});
        const auto text = [](const QString& t) { return t.isEmpty() ? QVariant() : QVariant(t); };
        db.Execute(
            "INSERT INTO VELD_VE1 (IDK, AKVK, ZL, DATUM, UHRZEIT, KENZ1NR, KENZ1KZ, TZS, TZZ) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {k.idk, k.code, k.zl, text(k.datum), text(k.uhrzeit), text(k.kenz1nr), text(k.kenz1kz),
             text(k.tzs), text(k.tzz)});
        int mnr = 0;
        for (const Menge& m : mengen)
            db.Execute("INSERT INTO VELD_VE2 (IDK, MNR, SPALTE, POSITION, PRAEFIX, SUFFIX, "
                       "FORMAT, FAKTOR) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       {k.idk, mnr++, m.spalte, m.position, text(m.praefix), text(m.suffix),
                        QVariant(), double(m.faktor)});
    }

    // A logger file of the test's own.
    QString datei(const std::string& inhalt, const QString& name = QStringLiteral("log.txt")) {
        const QString pfad = ordner.filePath(name);
        // A new file each time: rewriting one in place makes the file system
        // flush it on close.
        QFile::remove(pfad);
        QFile d(pfad);
        EXPECT_TRUE(d.open(QIODevice::WriteOnly | QIODevice::Truncate));
        d.write(inhalt.data(), qint64(inhalt.size()));
        return pfad;
    }

    // Imports and checks what every import must leave: the file closed, the
    // pointer back to default, and after False the grid as it was.
    bool importieren(const QString& code, const QString& pfad) {
        const QStringList vorher = Zustand(grid());
        const int offen = OpenDescriptors();
        const bool ergebnis = f->FLX.IMPORTIEREN(code, pfad);
        EXPECT_EQ(OpenDescriptors(), offen) << code.toStdString();
        EXPECT_EQ(MousePointer(), 0);
        if (!ergebnis) {
            EXPECT_EQ(Zustand(grid()), vorher) << code.toStdString();
        }
        return ergebnis;
    }

    // Data rows: the texts of the given columns, joined by "|".
    QStringList zeilen(std::initializer_list<int> spalten = {1, 2, 4, 5}) const {
        QStringList ergebnis;
        const MSFlexGrid& g = grid();
        for (int r = g.FixedRows(); r < g.Rows(); ++r) {
            QStringList zelle;
            for (int c : spalten)
                zelle << g.TextMatrix(r, c);
            ergebnis << zelle.join(u'|');
        }
        return ergebnis;
    }

    MSFlexGrid& grid() const { return *f->msgFLX; }

    // Back to an empty grid: one empty data row.
    void leeren() {
        grid().SetRows(2);
        for (int c = 0; c < grid().Cols(); ++c)
            grid().SetTextMatrix(1, c, QString());
    }

    // A grid of three plain columns keyed A, B and C (types as given, no
    // formats), for the cutting of fields and the finishing steps.
    void einfachesRaster(const QVariantList& typen = {0, 0, 0},
                         const QStringList& schluessel = {"A", "B", "C"}) {
        f = std::make_unique<IMPORTFENSTER>();
        f->FLX.ELSB(QVariantList{15, 15, 15});
        f->FLX.ELSTYP(typen);
        f->FLX.ELSELEK(schluessel);
    }

    std::unique_ptr<TESTHAUPTFENSTER> haupt;
    std::unique_ptr<IMPORTFENSTER> f;
    QTemporaryDir ordner;
};
