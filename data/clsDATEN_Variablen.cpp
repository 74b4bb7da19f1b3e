// Transfers between program variables, arrays and collections and one
// column of the view.

#include "data/clsDATEN.h"

#include "data/clsDATEN_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

using namespace clsdaten;

namespace {
template <class T> std::vector<QVariant> alsWerte(const std::vector<T>& feld) {
    std::vector<QVariant> werte;
    werte.reserve(feld.size());
    for (const T& element : feld)
        werte.push_back(QVariant::fromValue(element));
    return werte;
}

std::vector<QVariant> alsWerte(const std::vector<bool>& feld) {
    std::vector<QVariant> werte;
    werte.reserve(feld.size());
    for (bool element : feld)
        werte.emplace_back(element);
    return werte;
}
} // namespace

// Scalar writes: the view becomes one row holding the value.

bool clsDATEN::DVTA(const QString& SPV, const QDateTime& DTM, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(DTM), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTB(const QString& SPV, bool BO, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(BO), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTT(const QString& SPV, const QString& TXT, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(TXT), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTI(const QString& SPV, int16_t I, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant::fromValue<short>(I), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTL(const QString& SPV, int32_t L, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(int(L)), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTS(const QString& SPV, float ZAHL, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(ZAHL), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTD(const QString& SPV, double ZAHL, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(ZAHL), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTV(const QString& SPV, const QVariant& WERT, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, WERT, CLSDATEN_SPI_ARG);
}

// Array writes: the view becomes one row per element.

bool clsDATEN::DVTBF(const QString& SPV, const std::vector<bool>& BO, CLSDATEN_SPI_DEF) {
    return feldSchreiben(SPV, alsWerte(BO), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTTF(const QString& SPV, const std::vector<QString>& TXT, CLSDATEN_SPI_DEF) {
    return feldSchreiben(SPV, alsWerte(TXT), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTIF(const QString& SPV, const std::vector<int16_t>& I, CLSDATEN_SPI_DEF) {
    return feldSchreiben(SPV, alsWerte(I), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTSF(const QString& SPV, const std::vector<float>& ZAHL, CLSDATEN_SPI_DEF) {
    return feldSchreiben(SPV, alsWerte(ZAHL), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DVTVF(const QString& SPV, const std::vector<bool>& WERT, CLSDATEN_SPI_DEF) {
    return feldSchreiben(SPV, alsWerte(WERT), CLSDATEN_SPI_ARG);
}

// Scalar reads: the first row of the view. The conversion runs before the
// variable is assigned, so a value that does not fit leaves it as it was and
// its error goes to the caller.

bool clsDATEN::DTVA(const QString& SPV, QDateTime& DATUM, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    DATUM = CDate(wert);
    return true;
}

bool clsDATEN::DTVB(const QString& SPV, bool& BO, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    BO = CBool(wert);
    return true;
}

bool clsDATEN::DTVT(const QString& SPV, QString& TXT, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    TXT = CStr(wert);
    return true;
}

bool clsDATEN::DTVI(const QString& SPV, int16_t& I, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    I = CInt(wert);
    return true;
}

bool clsDATEN::DTVL(const QString& SPV, int32_t& L, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    L = CLng(wert);
    return true;
}

bool clsDATEN::DTVS(const QString& SPV, float& ZAHL, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    ZAHL = CSng(wert);
    return true;
}

bool clsDATEN::DTVD(const QString& SPV, double& ZAHL, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    ZAHL = CDbl(wert);
    return true;
}

bool clsDATEN::DTVV(const QString& SPV, QVariant& WERT, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    WERT = wert;
    return true;
}

// Array reads: row i of the view into element i of the caller's array; a Null
// leaves its element as it was. A row that does not fit (a value that does not
// convert, no element for it) brings the box once per row: OK goes on with the
// next row, Cancel ends the read with false.

template <class T, class Umwandlung>
bool clsDATEN::feldLesen(const QString& SPV, std::vector<T>& feld, const SCHLUESSEL& k,
                         Umwandlung umwandeln) {
    ErrorHandler eh(QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") +
                        m_etabelle + QStringLiteral(" können nicht aus der Spalte ") + SPV +
                        QStringLiteral(" eingelesen werden!") + kZeilenumbruch + kVbError,
                    kTitel);
    std::unique_ptr<Recordset> rs;
    // Without the view nothing can be read, whatever the answer.
    if (!eh.Run([&] { rs = oeffnen(SPV, k); })) return false;
    if (rs->Eof()) return true;
    rs->MoveFirst();
    const Field spalte = rs->Fields(0);
    for (size_t i = 0; !rs->Eof(); ++i) {
        try {
            const QVariant wert = spalte.Value();
            if (!IsNull(wert)) {
                if (i >= feld.size()) throw RuntimeError::SubscriptOutOfRange();
                feld[i] = umwandeln(wert);
            }
        } catch (const std::exception& e) {
            if (!eh.Report(ErrorHandler::Translate(e))) return false;
        }
        rs->MoveNext();
    }
    return true;
}

bool clsDATEN::DTVAF(const QString& SPV, std::vector<QDateTime>& DATUM, CLSDATEN_SPI_DEF) {
    return feldLesen(SPV, DATUM, CLSDATEN_SPI_ARG, [](const QVariant& v) { return CDate(v); });
}

bool clsDATEN::DTVBF(const QString& SPV, std::vector<bool>& BO, CLSDATEN_SPI_DEF) {
    return feldLesen(SPV, BO, CLSDATEN_SPI_ARG, [](const QVariant& v) { return CBool(v); });
}

bool clsDATEN::DTVTF(const QString& SPV, std::vector<QString>& TXT, CLSDATEN_SPI_DEF) {
    return feldLesen(SPV, TXT, CLSDATEN_SPI_ARG, [](const QVariant& v) { return CStr(v); });
}

bool clsDATEN::DTVIF(const QString& SPV, std::vector<int16_t>& I, CLSDATEN_SPI_DEF) {
    return feldLesen(SPV, I, CLSDATEN_SPI_ARG, [](const QVariant& v) { return CInt(v); });
}

bool clsDATEN::DTVSF(const QString& SPV, std::vector<float>& ZAHL, CLSDATEN_SPI_DEF) {
    return feldLesen(SPV, ZAHL, CLSDATEN_SPI_ARG, [](const QVariant& v) { return CSng(v); });
}

bool clsDATEN::DTVVF(const QString& SPV, std::vector<QVariant>& WERT, CLSDATEN_SPI_DEF) {
    return feldLesen(SPV, WERT, CLSDATEN_SPI_ARG, [](const QVariant& v) { return v; });
}

bool clsDATEN::DTVCOL(const QString& SPV, std::optional<std::vector<QVariant>>& X,
                      CLSDATEN_SPI_DEF) {
    try {
        std::unique_ptr<Recordset> rs = oeffnen(SPV, CLSDATEN_SPI_ARG);
        if (rs->Eof()) return true;
        rs->MoveFirst();
        X.emplace();
        const Field spalte = rs->Fields(0);
        while (!rs->Eof()) {
            const QVariant wert = spalte.Value();
            if (!IsNull(wert)) X->push_back(wert);
            rs->MoveNext();
        }
        return true;
    } catch (...) {
        return false;
    }
}
