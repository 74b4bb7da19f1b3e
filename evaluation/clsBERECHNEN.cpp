#include "evaluation/clsBERECHNEN.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QVariant>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace {

const QString kTitel = QStringLiteral("Auswerten/Neuberechnen");
// This class writes its prefix without the blank that the other error
// boxes of the program have.
const QString kPrefix = QStringLiteral("VB-Fehler:");

// A reading's value as the evaluation takes it: an empty cell or a missing
// row is no value.
std::optional<float> messwert(const QVariant& wert)
{
    if (IsEmpty(wert) || IsNull(wert)) return std::nullopt;
    return CSng(wert);
}

QVariant index(int16_t i) { return QVariant::fromValue<short>(i); }

}  // namespace

clsBERECHNEN::clsBERECHNEN() = default;
clsBERECHNEN::~clsBERECHNEN() = default;

bool clsBERECHNEN::BERECHNUNG()
{
    ErrorHandler eh(kPrefix, kTitel);

    eh.Run([&] {
        m_e2 = std::make_unique<clsDATEN>();
        m_e3 = std::make_unique<clsDATEN>();
        m_a1 = std::make_unique<clsDATEN>();
        m_a2 = std::make_unique<clsDATEN>();
        m_e2->ETABELLE(QStringLiteral("E2"));
        m_e3->ETABELLE(QStringLiteral("E3"));
        m_a1->ETABELLE(QStringLiteral("A1"));
        m_a2->ETABELLE(QStringLiteral("A2"));
    });
    if (eh.Left() || !m_a2) return false;

    eh.Run([&] { frmMAIN().SETZEFORTSCHRITT(0); });
    if (eh.Left()) return false;

    // The computation's boxes wait for the user: they come before the copy
    // is held for writing. The results are written in one transaction; when
    // the copy changed since the readings were read (another run committed,
    // or this run wrote meanwhile), they are read again inside it, and
    // computed again when they are no longer what was computed.
    std::optional<STAND> gelesen = STANDLESEN(*m_e3);
    std::optional<EINGABEN> eingaben = EINGABENLESEN(eh);
    for (;;) {
        // The run may have ended in a box of the computation: its copy is
        // closed, and nothing is written after the end.
        if (!eingaben || !RECHNEN(eh, *eingaben) || frmMAIN().ENDET()) return false;

        std::optional<Transaction> transaktion;
        std::shared_ptr<Connection> verbindung;
        eh.Run([&] {
            verbindung = frmMAIN().DBPROJEKT();
            if (!verbindung || !verbindung->IsOpen()) throw DatabaseError::ObjectClosedError();
            transaktion.emplace(*verbindung);
            // A copy that takes no write is told before anything is written.
            verbindung->PassWriteGuard();
        });
        if (eh.Left()) return false;
        // Under the write lock no other run commits: what the copy holds now
        // stays until the results are written.
        std::optional<STAND> jetztStand = STANDLESEN(*m_e3);
        if (gelesen && jetztStand && *gelesen == *jetztStand && m_e3->VERBINDUNG() == verbindung &&
            m_e2->VERBINDUNG() == verbindung)
            return SCHREIBEN(eh, *transaktion);
        std::optional<EINGABEN> jetzt = EINGABENLESEN(eh);
        if (!jetzt) return false;
        if (*jetzt == *eingaben) return SCHREIBEN(eh, *transaktion);
        transaktion.reset();
        gelesen = jetztStand;
        eingaben = std::move(jetzt);
    }
}

std::optional<clsBERECHNEN::STAND> clsBERECHNEN::STANDLESEN(const clsDATEN& daten)
{
    // The engine's count of the commits of other connections (it moves on
    // with each of them) and the rows this connection changed itself. A
    // failure gives nothing: the readings are then read again.
    try {
        const std::shared_ptr<Connection> verbindung = daten.VERBINDUNG();
        if (!verbindung || !verbindung->IsOpen()) return std::nullopt;
        Recordset rs(QStringLiteral("SELECT (SELECT [data_version] FROM pragma_data_version), "
                                    "total_changes()"),
                     *verbindung);
        if (rs.Eof()) return std::nullopt;
        const QVariant version = rs.Fields(0).Value();
        const QVariant eigene = rs.Fields(1).Value();
        if (IsNull(version) || IsNull(eigene)) return std::nullopt;
        return STAND{version.toLongLong(), eigene.toLongLong()};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<clsBERECHNEN::EINGABEN> clsBERECHNEN::EINGABENLESEN(ErrorHandler& eh)
{
    // t max and m s are taken as they come: a missing row reads 0.
    EINGABEN e;
    eh.Run([&] { m_e2->DTVS(QStringLiteral("TMAX"), e.tmax); });
    if (eh.Left()) return std::nullopt;
    eh.Run([&] { m_e2->DTVS(QStringLiteral("MS"), e.ms); });
    if (eh.Left()) return std::nullopt;

    eh.Run([&] { m_e3->INDEX(nullptr, &e.n, &e.anzahl, QStringLiteral("I1")); });
    if (eh.Left()) return std::nullopt;
    // Readings are numbered from 0: a record whose highest index lies below
    // 0 has none.
    eh.Run([&] {
        if (e.n < 0) throw RuntimeError::SubscriptOutOfRange();
    });
    if (eh.Left()) return std::nullopt;
    m_t.assign(size_t(std::max<int16_t>(e.n, 0)) + 1, 0.0f);
    MESSWERTELESEN(eh, e.anzahl, e.det, e.vol);
    if (eh.Left()) return std::nullopt;
    return e;
}

bool clsBERECHNEN::RECHNEN(ErrorHandler& eh, const EINGABEN& e)
{
    m_tmax = e.tmax;
    m_ms = e.ms;
    m_n = e.n;
    m_wasser = 1.0f;
    m_wmax = 0.0f;
    eh.Run([&] {
        if (m_n < 0) throw RuntimeError::SubscriptOutOfRange();
        const size_t groesse = size_t(m_n) + 1;
        m_t.assign(groesse, 0.0f);
        m_v.assign(groesse, 0.0f);
        m_w.assign(groesse, 0.0f);
        m_punkt.assign(groesse, 0);
    });
    if (eh.Left()) return false;
    const int n = int(m_t.size()) - 1;

    for (int i = 0; i <= n; ++i) {
        m_i = int16_t(i);
        // Reading by reading: its time, its volume, then its water uptake, so
        // that the boxes of a run come in the order of the readings.
        std::optional<float> t, v;
        eh.Run([&] { t = messwert(e.det[i]); });
        if (eh.Left()) return false;
        eh.Run([&] { v = messwert(e.vol[i]); });
        if (eh.Left()) return false;
        m_t[i] = t.value_or(0.0f);
        m_v[i] = v.value_or(0.0f);
        m_punkt[i] = t.has_value() && v.has_value();
        // V * 1.0 / m s * 100 from left to right in double precision, rounded
        // once to Single; a failure (m s = 0) leaves w at 0.
        eh.Run([&] {
            const double wert = DivDouble(double(m_v[i]) * double(m_wasser), double(m_ms)) * 100.0;
            m_w[i] = CheckedSingle(wert);
        });
        if (eh.Left()) return false;
    }

    eh.Run([&] { frmMAIN().SETZEFORTSCHRITT(15); });
    if (eh.Left()) return false;

    // The interval that brackets t max, both ends inclusive, between
    // neighbouring usable readings; a later bracketing interval overrides an
    // earlier one.
    int links = -1;
    for (int i = 0; i <= n; ++i) {
        if (!m_punkt[i]) continue;
        if (links >= 0 && m_t[links] <= m_tmax && m_t[i] >= m_tmax) {
            m_i = int16_t(links);
            eh.Run([&] { m_wmax = LININT(m_t[links], m_t[i], m_tmax, m_w[links], m_w[i]); });
            if (eh.Left() || frmMAIN().ENDET()) return false;
        }
        links = i;
    }

    eh.Run([&] { frmMAIN().SETZEFORTSCHRITT(35); });
    return !eh.Left();
}

bool clsBERECHNEN::SCHREIBEN(ErrorHandler& eh, Transaction& transaktion)
{
    // The result comes first; whether it was stored is not asked. A run that
    // stops early still leaves what it wrote up to then: the transaction is
    // committed whichever way the writing ends.
    eh.Run([&] { m_a1->DVTS(QStringLiteral("VELD"), m_wmax); });
    const bool geschrieben = !eh.Left() && KURVESCHREIBEN(eh);
    ErrorHandler abschluss(kPrefix, kTitel);
    // Without the commit nothing of the run would stay.
    if (!abschluss.Run([&] { transaktion.Commit(); })) return false;
    return geschrieben;
}

void clsBERECHNEN::MESSWERTELESEN(ErrorHandler& eh, int16_t anzahl, std::vector<QVariant>& det,
                                  std::vector<QVariant>& vol)
{
    // The readings in one pass each, ordered by I1: the index of every row,
    // its time and its volume, placed by index (Empty where no row is). A
    // row whose I1 is empty, below 0 or above n is no reading of 0 to n; of
    // two rows with the same I1 the first counts.
    const size_t zeilen = size_t(std::max<int16_t>(anzahl, 0));
    std::vector<int16_t> nummer(zeilen, -1);
    std::vector<QVariant> zeit(zeilen), volumen(zeilen);
    det.assign(m_t.size(), QVariant());
    vol.assign(m_t.size(), QVariant());
    eh.Run([&] { m_e3->DTVIF(QStringLiteral("I1"), nummer, QStringLiteral("I1")); });
    if (eh.Left()) return;
    eh.Run([&] { m_e3->DTVVF(QStringLiteral("DET"), zeit, QStringLiteral("I1")); });
    if (eh.Left()) return;
    eh.Run([&] { m_e3->DTVVF(QStringLiteral("V"), volumen, QStringLiteral("I1")); });
    if (eh.Left()) return;

    const int n = int(m_t.size()) - 1;
    std::vector<char> gelesen(m_t.size(), 0);
    for (size_t k = 0; k < zeilen; ++k) {
        const int i = nummer[k];
        if (i < 0 || i > n || gelesen[i]) continue;
        gelesen[i] = 1;
        det[i] = zeit[k];
        vol[i] = volumen[k];
    }
}

bool clsBERECHNEN::KURVESCHREIBEN(ErrorHandler& eh)
{
    // One walk over the record's curve rows in the order of I, instead of a
    // query per row: the row I = i gets W (further rows with the same I are
    // removed), a missing one is added, rows with an I outside 0 to n stay.
    // Each row is a savepoint of its own, so a failing row leaves the rows
    // before it written and itself and those after it as they were.
    const int n = int(m_w.size()) - 1;
    std::unique_ptr<Recordset> zeilen;
    std::unique_ptr<Recordset> neu;
    for (int i = 0; i <= n; ++i) {
        m_i = int16_t(i);
        try {
            const std::shared_ptr<Connection> verbindung = m_a2->VERBINDUNG();
            if (!verbindung) throw DatabaseError::ObjectClosedError();
            Transaction zeile(*verbindung);
            if (!zeilen) zeilen = m_a2->DT(QStringLiteral("W"), QStringLiteral("I"));
            const auto nummer = [&]() -> std::optional<double> {
                const QVariant wert = zeilen->Fields(QStringLiteral("I")).Value();
                if (IsNull(wert)) return std::nullopt;
                return wert.toDouble();
            };
            while (!zeilen->Eof() && (!nummer() || *nummer() < i)) zeilen->MoveNext();
            if (!zeilen->Eof() && *nummer() == i) {
                zeilen->Fields(QStringLiteral("W")) = QVariant(m_w[i]);
                zeilen->Update();
                zeilen->MoveNext();
                while (!zeilen->Eof() && nummer() && *nummer() == i) {
                    zeilen->Delete();
                    zeilen->MoveNext();
                }
            } else {
                // Rows are added through a second row set, so that the walk
                // keeps its place; its own view holds no row.
                if (!neu) neu = m_a2->DT(QStringLiteral("W"), QStringLiteral("I"), index(-1));
                neu->AddNew();
                neu->Fields(QStringLiteral("W")) = QVariant(m_w[i]);
                neu->Fields(m_a2->ESPID()) = QVariant(int(m_a2->ESPIDW()));
                neu->Fields(QStringLiteral("I")) = index(m_i);
                neu->Update();
            }
            zeile.Commit();
        } catch (const std::exception& ausnahme) {
            // A copy that takes no write at all is told as what it is; any
            // other failure as the data-access object reports a value it
            // could not store.
            const RuntimeError fehler = ErrorHandler::Translate(ausnahme);
            if (fehler.Refusal()) {
                eh.Report(fehler);
                return false;
            }
            MsgBox(QStringLiteral("Wert ") + CStr(QVariant(m_w[i])) +
                       QStringLiteral(" kann nicht in die Spalte W der Tabelle A2 gespeichert werden!"),
                   vbOKOnly + vbExclamation, QStringLiteral("Datenfehler"));
            return false;
        }
    }
    return true;
}

float clsBERECHNEN::LININT(const float& x1, const float& x2, const float& x, const float& y1, const float& y2)
{
    if (x2 == x1) {
        MsgBox(QStringLiteral("Division durch Null!"), vbOKOnly, QStringLiteral("LININT"));
        return 0.0f;
    }
    const long double wert =
        (long double)y2 - ((long double)y2 - (long double)y1) * ((long double)x2 - (long double)x) /
                              ((long double)x2 - (long double)x1);
    // Beyond the largest Single plus half a unit in its last place the value
    // would round to infinity.
    constexpr long double grenze = 340282356779733661637539395458142568448.0L;  // 2^128 - 2^103
    if (std::isnan(wert) || std::fabs(wert) >= grenze) throw RuntimeError::Overflow();
    return static_cast<float>(wert);
}
