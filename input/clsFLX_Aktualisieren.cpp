// The grid editor's refresh (running numbers, cell formats, elapsed times)
// and its fonts.

#include "input/clsFLX.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <QComboBox>
#include <QLineEdit>
#include <vector>

using namespace flx;

namespace {

constexpr int32_t kSekundenJeTag = 24 * 60 * 60;

// The elapsed time as the column shows it: by the column's format, as the
// plain text of the Single when the format is an error value.
QString Zeitdifferenztext(float d, const QVariant& format) {
    if (clsFLX::ISTFEHLER(format)) return SingleText(d);
    const QString muster = IsEmpty(format) || IsNull(format) ? QString() : CStr(format);
    return Format(QVariant(d), muster);
}

} // namespace

// Time difference --------------------------------------------------------------------

clsFLX::Zeitpunkt clsFLX::zeitpunkt(const QString& datum, const QString& zeit) {
    // Dates are read day first, whatever order the locale writes them in, so
    // that the texts the grid formats itself always read back the same.
    Zeitpunkt p;
    QDateTime wert;
    if (!datum.isEmpty() && ParseDateText(datum, wert)) {
        p.datumGueltig = true;
        p.tag = wert.date().toJulianDay();
    }
    if (!zeit.isEmpty() && ParseDateText(zeit, wert)) {
        p.zeitGueltig = true;
        p.sekunde = wert.time().msecsSinceStartOfDay() / 1000;
    }
    return p;
}

float clsFLX::ZEITDIFFERENZ(const Zeitpunkt& a, const Zeitpunkt& b, Zweig& zweig) {
    if (a.datumGueltig && b.datumGueltig) {
        if (a.zeitGueltig && b.zeitGueltig) {
            // From date 1 at time 1 to date 2 at time 2, across midnights.
            zweig = Zweig::Sekunden;
            return float((b.tag - a.tag) * kSekundenJeTag + (b.sekunde - a.sekunde));
        }
        zweig = Zweig::Tage;
        return float(b.tag - a.tag);
    }
    if (a.zeitGueltig && b.zeitGueltig) {
        // Two times of the same day: negative when the second is earlier.
        zweig = Zweig::Sekunden;
        return float(b.sekunde - a.sekunde);
    }
    zweig = Zweig::Null;
    return 0.0f;
}

// Refresh ---------------------------------------------------------------------------

void clsFLX::AKTUALISIEREN() {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / Aktulisieren"));
    const OhneNeuzeichnen gesammelt(m_EFLX);
    eh.Run([&] { NUMMERIEREN(); });
    if (eh.Left()) return;

    // Every cell by its column's format; empty cells stay empty. A cell is
    // written only when its text changes.
    const std::optional<int> spalten = eh.Value([&] { return raster().Cols(); });
    const std::optional<int> zeilen = eh.Value([&] { return raster().Rows(); });
    const std::optional<int> fest = eh.Value([&] { return raster().FixedRows(); });
    if (eh.Left()) return;
    if (spalten && zeilen && fest) {
        for (int c = 0; c < *spalten; ++c) {
            const std::optional<QVariant> format = eh.Value([&] { return Eintrag(m_ELFORMAT, c); });
            if (eh.Left()) return;
            if (!format || ISTFEHLER(*format)) continue;
            // Readings repeat their texts (the day of a series, round values):
            // each text is formatted once per refresh.
            Textmerker<QString> formatiert;
            formatiert.reserve(size_t(*zeilen - *fest));
            for (int r = *fest; r < *zeilen; ++r) {
                eh.Run([&] {
                    MSFlexGrid& grid = raster();
                    const QString text = grid.TextMatrix(r, c);
                    if (text.isEmpty()) return;
                    auto bekannt = formatiert.find(text);
                    if (bekannt == formatiert.end())
                        bekannt = formatiert.emplace(text, Formatiert(text, *format)).first;
                    if (bekannt->second != text) grid.SetTextMatrix(r, c, bekannt->second);
                });
                if (eh.Left()) return;
            }
        }
    }
    zeitdifferenzSpalte(eh);
}

void clsFLX::zeitdifferenzSpalte(ErrorHandler& eh) {
    const int datumSpalte = m_typspalte[3];
    const int zeitSpalte = m_typspalte[4];
    const int diffSpalte = m_typspalte[5];
    if (diffSpalte < 0) return;

    const std::optional<int> zeilen = eh.Value([&] { return raster().Rows(); });
    const std::optional<int> fest = eh.Value([&] { return raster().FixedRows(); });
    if (!zeilen || !fest || eh.Left()) return;
    const int erste = *fest;
    if (erste >= *zeilen) return;
    eh.Run([&] { raster().SetTextMatrix(erste, diffSpalte, QStringLiteral("0")); });
    if (eh.Left()) return;
    const std::optional<QVariant> format =
        eh.Value([&] { return Eintrag(m_ELFORMAT, diffSpalte); });
    if (eh.Left()) return;

    // The readings of every data row, read once: the date and time columns
    // are not written here.
    const int anzahl = *zeilen - erste;
    std::vector<Zeitpunkt> punkte(static_cast<size_t>(anzahl));
    std::vector<char> gefuellt(size_t(anzahl), 0);
    eh.Run([&] {
        MSFlexGrid& grid = raster();
        Textmerker<Zeitpunkt> tage;
        Textmerker<Zeitpunkt> zeiten;
        zeiten.reserve(size_t(anzahl));
        const auto gelesen = [](Textmerker<Zeitpunkt>& bekannt, const QString& text, bool datum) {
            auto it = bekannt.find(text);
            if (it == bekannt.end())
                it = bekannt
                         .emplace(text,
                                  datum ? zeitpunkt(text, QString()) : zeitpunkt(QString(), text))
                         .first;
            return it->second;
        };
        for (int i = 0; i < anzahl; ++i) {
            const QString datum =
                datumSpalte >= 0 ? grid.TextMatrix(erste + i, datumSpalte) : QString();
            const QString zeit =
                zeitSpalte >= 0 ? grid.TextMatrix(erste + i, zeitSpalte) : QString();
            const Zeitpunkt tag = gelesen(tage, datum, true);
            const Zeitpunkt uhr = gelesen(zeiten, zeit, false);
            punkte[size_t(i)] = {tag.datumGueltig, tag.tag, uhr.zeitGueltig, uhr.sekunde};
            gefuellt[size_t(i)] = !datum.isEmpty() || !zeit.isEmpty();
        }
    });
    if (eh.Left()) return;

    float d = 0.0f;
    int gruppenBezug = erste; // with a grouping column: the reference of the row above
    for (int r = erste + 1; r < *zeilen; ++r) {
        eh.Run([&] {
            MSFlexGrid& grid = raster();
            int bezug = erste;
            if (m_EDET == -1) {
                bezug = r - 1;
            } else if (m_EDET > 0) {
                // The nearest row above whose group differs from this row's;
                // the first data row when every row above belongs to it.
                const QString gruppe = grid.TextMatrix(r, m_EDET);
                if (m_EDET == diffSpalte) {
                    bezug = erste;
                    for (int k = r - 1; k >= erste; --k)
                        if (grid.TextMatrix(k, m_EDET) != gruppe) {
                            bezug = k;
                            break;
                        }
                } else {
                    bezug = grid.TextMatrix(r - 1, m_EDET) != gruppe ? r - 1 : gruppenBezug;
                }
                gruppenBezug = bezug;
            }
            const Zeitpunkt& a = punkte[size_t(bezug - erste)];
            const Zeitpunkt& b = punkte[size_t(r - erste)];
            Zweig zweig = Zweig::Null;
            if (datumSpalte >= 0 && zeitSpalte >= 0) {
                const float wert = ZEITDIFFERENZ(a, b, zweig);
                // A row whose dates are valid but a time is not counts whole
                // days, in minutes.
                d = zweig == Zweig::Tage ? wert * 1440.0f : wert / 60.0f;
            } else if (zeitSpalte >= 0) {
                d = ZEITDIFFERENZ(Zeitpunkt{false, 0, a.zeitGueltig, a.sekunde},
                                  Zeitpunkt{false, 0, b.zeitGueltig, b.sekunde}, zweig) /
                    60.0f;
            } else if (datumSpalte >= 0) {
                d = ZEITDIFFERENZ(Zeitpunkt{a.datumGueltig, a.tag, false, 0},
                                  Zeitpunkt{b.datumGueltig, b.tag, false, 0}, zweig);
            }
            if (!gefuellt[size_t(r - erste)]) return;
            const QString text = format ? Zeitdifferenztext(d, *format) : SingleText(d);
            if (grid.TextMatrix(r, diffSpalte) != text) grid.SetTextMatrix(r, diffSpalte, text);
        });
        if (eh.Left()) return;
    }
}

// Fonts -------------------------------------------------------------------------------

void clsFLX::SCHRIFTEINSTELLUNGEN(const QString& NAME, int16_t GROESSE, bool FETT,
                                  bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE) {
    ErrorHandler eh(QStringLiteral("VB-Error:"),
                    QStringLiteral("MSFlexGrid / Schrifteinstellungen"));
    eh.Run([&] { raster().SetFontName(NAME.isEmpty() ? QStringLiteral("Arial") : NAME); });
    eh.Run([&] { raster().SetFontSize(GROESSE > 0 ? float(GROESSE) : 11.0f); });
    eh.Run([&] {
        MSFlexGrid& grid = raster();
        grid.SetFontBold(FETT);
        grid.SetFontItalic(KURSIV);
        grid.SetFontUnderline(UNTERSTRICHEN);
    });
    eh.Run([&] { raster().SetForeColor(FARBE > 0 ? FARBE : QBColor(0)); });
    // One heading line, or two with units.
    eh.Run([&] {
        MSFlexGrid& grid = raster();
        if (IsEmpty(m_ELST2))
            grid.SetRowHeight(0, grid.CellHeight());
        else if (IstListe(m_ELST2))
            grid.SetRowHeight(0, 2 * grid.CellHeight());
    });
    const auto schriftDerEditoren = [&](QWidget& editor) {
        MSFlexGrid& grid = raster();
        editor.setFont(grid.font());
        QPalette palette = editor.palette();
        palette.setColor(QPalette::Text, ToQColor(grid.ForeColor()));
        editor.setPalette(palette);
    };
    if (m_ETXT) eh.Run([&] { schriftDerEditoren(*m_ETXT); });
    if (m_ECBO) eh.Run([&] { schriftDerEditoren(*m_ECBO); });
    eh.Run([&] {
        const StdFont schrift = raster().Font();
        const float indexgroesse = float(Round(double(schrift.Size()) / 1.175));
        const auto slot = [&](const QString& name, float groesse) {
            StdFont neu = schrift;
            neu.SetName(name);
            neu.SetSize(groesse);
            return neu;
        };
        m_SCHRIFTSATZ[1] = slot(schrift.Name(), schrift.Size());
        m_SCHRIFTSATZ[2] = slot(schrift.Name(), schrift.Size());
        m_SCHRIFTSATZ[3] = slot(QStringLiteral("Symbol"), schrift.Size());
        m_SCHRIFTSATZ[4] = slot(schrift.Name(), indexgroesse);
        m_SCHRIFTSATZ[5] = slot(QStringLiteral("Symbol"), indexgroesse);
    });
}
