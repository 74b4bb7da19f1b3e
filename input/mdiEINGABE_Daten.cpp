// Storing and loading the input window: a chain of column transfers, each
// run only when the one before it succeeded.

#include "input/mdiEINGABE.h"

#include "data/clsDATEN.h"
#include "input/clsFLX.h"
#include "platform/controls/Forms.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/ErrorHandler.h"

#include <QComboBox>
#include <QLineEdit>
#include <array>

namespace {

// The E3 columns of the grid columns 0 to 5.
const std::array<QString, 6>& messwertspalten() {
    static const std::array<QString, 6> spalten{
        QStringLiteral("I1"),  QStringLiteral("DATUM"), QStringLiteral("UHRZEIT"),
        QStringLiteral("DET"), QStringLiteral("V"),     QStringLiteral("TEMP")};
    return spalten;
}

// A step of a chain: true only when it ran to its end and returned true,
// and the window is still loaded (a step's box lets the session end).
template <class Schritt>
bool gelungen(const QWidget& fenster, ErrorHandler& eh, Schritt&& schritt) {
    const std::optional<bool> ergebnis = eh.Value(schritt);
    return ergebnis && *ergebnis && Forms::IsLoaded(&fenster);
}

} // namespace

bool mdiEINGABE::OK(int32_t AKTID) {
    if (!m_E1 || msgFLX.empty() || !Forms::IsLoaded(this)) return false;
    const Forms::Busy beschaeftigt(this);
    ErrorHandler eh(QStringLiteral("VB-Fehler: "), QStringLiteral("OK"));
    m_E1->ESPIDW(AKTID);
    if (!gelungen(*this, eh, [&] { return m_E1->DFTTT(QStringLiteral("KEN"), *txtKEN); }))
        return false;
    // The comment may fail without stopping the store.
    eh.Run([&] { m_E1->DFTTT(QStringLiteral("KOM"), *txtKOM); });
    if (eh.Left() || !Forms::IsLoaded(this)) return false;
    if (!gelungen(*this, eh, [&] { return m_E1->DVTB(QStringLiteral("AKT"), true); })) return false;

    m_E2->ESPIDW(AKTID);
    if (!gelungen(*this, eh, [&] { return m_E2->DFTML(QStringLiteral("VT"), *cboVT); }))
        return false;
    if (!gelungen(*this, eh, [&] { return m_E2->DFTTT(QStringLiteral("DMAX"), *txtDMAX); }))
        return false;
    if (!gelungen(*this, eh, [&] { return m_E2->DFTTT(QStringLiteral("MS"), *txtMS); }))
        return false;
    if (!gelungen(*this, eh, [&] { return m_E2->DFTM(QStringLiteral("TMAX"), *cboTMAX); }))
        return false;

    // Column 0 lays down one row per data row, numbered by the running
    // number; the other columns fill the same rows in the order of I1.
    m_E3->ESPIDW(AKTID);
    MSFlexGrid& grid = *msgFLX[0];
    for (size_t spalte = 0; spalte < messwertspalten().size(); ++spalte)
        if (!gelungen(*this, eh, [&] {
                return m_E3->DFTFM(messwertspalten()[spalte], grid, QString::number(spalte),
                                   QStringLiteral("I1"));
            }))
            return false;
    return true;
}

void mdiEINGABE::OEFFNEN(int32_t AKTID) {
    if (!m_E1 || msgFLX.empty() || !Forms::IsLoaded(this)) return;
    const Forms::Busy beschaeftigt(this);
    ErrorHandler eh(QStringLiteral("VB-Fehler: "), QString::fromUtf8("Datei/Öffnen"));
    m_E1->ESPIDW(AKTID);
    if (!gelungen(*this, eh, [&] { return m_E1->DTFTT(QStringLiteral("KEN"), *txtKEN); })) return;
    eh.Run([&] { m_E1->DTFTT(QStringLiteral("KOM"), *txtKOM); });
    if (eh.Left() || !Forms::IsLoaded(this)) return;

    m_E2->ESPIDW(AKTID);
    if (!gelungen(*this, eh, [&] { return m_E2->DTFML(QStringLiteral("VT"), *cboVT); })) return;
    if (!gelungen(*this, eh, [&] { return m_E2->DTFTT(QStringLiteral("DMAX"), *txtDMAX); })) return;
    if (!gelungen(*this, eh, [&] { return m_E2->DTFTT(QStringLiteral("MS"), *txtMS); })) return;
    if (!gelungen(*this, eh, [&] { return m_E2->DTFM(QStringLiteral("TMAX"), *cboTMAX); })) return;

    m_E3->ESPIDW(AKTID);
    MSFlexGrid& grid = *msgFLX[0];
    for (size_t spalte = 0; spalte < messwertspalten().size(); ++spalte)
        if (!gelungen(*this, eh, [&] {
                return m_E3->DTFFM(messwertspalten()[spalte], grid, QString::number(spalte),
                                   QStringLiteral("I1"));
            }))
            return;
    // Cells formatted, running numbers and elapsed times computed again.
    eh.Run([&] { FLX(0).AKTUALISIEREN(); });
}
