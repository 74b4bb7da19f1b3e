// The column headings: the grid's own heading row cannot show subscripts,
// superscripts or symbol characters, so both heading lines of every column
// in view are drawn into the heading picture that lies over it, with the
// text markup of the labels ({t,n} subscript, {h,n} superscript, {g,n}
// Symbol-font characters, {gt,n} and {gh,n} both, {c,n} one inserted
// character of code n).

#include "input/clsFLX.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/Zeichensatz.h"

#include <QList>

using namespace flx;

namespace {

struct Abschnitt {
    QString text;
    QString code;        // "" plain text
    bool gruppe = false; // from a {code,n} group
};

// A group's count: a whole number of digits, 0 or more.
bool Anzahl(const QString& text, int& n) {
    const QString zahl = text.trimmed();
    if (zahl.isEmpty() || zahl.size() > 9) return false;
    for (QChar c : zahl)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    n = zahl.toInt();
    return true;
}

// Cuts a label into plain pieces and marked-up groups. A group that is not
// well formed (no comma before its closing brace, no closing brace, a count
// that is no whole number >= 0, an inserted code beyond the code page) is
// plain text, drawn as it is written.
QList<Abschnitt> Zerlegt(const QString& text) {
    QList<Abschnitt> abschnitte;
    const auto schlicht = [&](const QString& stueck) {
        if (stueck.isEmpty()) return;
        if (!abschnitte.isEmpty() && !abschnitte.last().gruppe)
            abschnitte.last().text += stueck;
        else
            abschnitte.append({stueck, QString(), false});
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype auf = text.indexOf(QLatin1Char('{'), i);
        if (auf < 0) {
            schlicht(text.mid(i));
            break;
        }
        schlicht(text.mid(i, auf - i));
        const qsizetype zu = text.indexOf(QLatin1Char('}'), auf + 1);
        const qsizetype komma = text.indexOf(QLatin1Char(','), auf + 1);
        int n = 0;
        bool wohlgeformt =
            zu >= 0 && komma >= 0 && komma < zu && Anzahl(text.mid(komma + 1, zu - komma - 1), n);
        const QString code = wohlgeformt ? text.mid(auf + 1, komma - auf - 1) : QString();
        if (wohlgeformt && code == QLatin1String("c") && n > 255) wohlgeformt = false;
        if (!wohlgeformt) {
            schlicht(QStringLiteral("{"));
            i = auf + 1;
            continue;
        }
        if (code == QLatin1String("c")) {
            abschnitte.append({QString(Cp1252Char(n)), code, true});
            i = zu + 1;
        } else {
            const QString stueck = text.mid(zu + 1, n);
            abschnitte.append({stueck, code, true});
            i = zu + 1 + stueck.size();
        }
    }
    return abschnitte;
}

// The text as it is measured for its alignment: without the groups' braces
// (so without inserted characters), with what the groups cover.
QString Schlicht(const QList<Abschnitt>& abschnitte) {
    QString text;
    for (const Abschnitt& a : abschnitte)
        if (a.code != QLatin1String("c")) text += a.text;
    return text;
}

} // namespace

void clsFLX::BESCHRIFTEN() {
    if (!m_EPIC || !IstListe(m_ELST1)) return;
    MSFlexGrid& grid = raster();
    PictureBox& bild = *m_EPIC;
    const double rasterbreite = grid.Width();

    // As wide as the columns in view, but within the grid and clear of its
    // vertical scroll bar.
    double breite = 0;
    for (int c = 0; c < grid.Cols(); ++c) {
        if (!grid.ColIsVisible(c)) continue;
        breite += grid.ColWidth(c);
        if (breite > rasterbreite) {
            const bool alleZeilen =
                grid.RowIsVisible(grid.Rows() - 1) && grid.RowIsVisible(grid.FixedRows());
            breite = rasterbreite - (alleZeilen ? 1.0 : 5.5) * kTwipsJeMm;
            break;
        }
    }
    const float kopfhoehe = float(grid.RowHeight(0));
    bild.SetWidth(float(breite));
    bild.SetHeight(kopfhoehe);
    bild.Cls();

    const bool zweiteZeile = IstListe(m_ELST2);
    double x = kTwipsJeMm;
    for (int c = 0; c < grid.Cols(); ++c) {
        if (!grid.ColIsVisible(c)) continue;
        const double spaltenbreite = grid.ColWidth(c);
        TEXT(float(x + spaltenbreite / 2), 0.0f, Eintrag(m_ELST1, c), 1, 0);
        if (zweiteZeile)
            TEXT(float(x + spaltenbreite / 2), kopfhoehe / 2, Eintrag(m_ELST2, c), 1, 0);
        x += spaltenbreite;
        if (rasterbreite < x) break;
    }
    // Writing the alignments again centres the heading row.
    ELA(m_ELA);
}

void clsFLX::TEXT(float X, float Y, const QVariant& TXT, int16_t HA, int16_t VA) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / Text"));
    if (!m_EPIC) return;
    PictureBox& bild = *m_EPIC;
    m_SCHRIFTSATZ[0] = bild.Font();
    const std::optional<QString> text =
        eh.Value([&] { return IsNull(TXT) || IsEmpty(TXT) ? QString() : CStr(TXT); });
    if (!text) return;
    const QList<Abschnitt> abschnitte = Zerlegt(*text);

    // Aligned by the text without its groups, measured in the picture's font.
    const QString schlicht = Schlicht(abschnitte);
    const std::optional<float> p = eh.Value([&] { return bild.TextWidth(schlicht); });
    const std::optional<float> q = eh.Value([&] { return bild.TextHeight(schlicht); });
    if (!p || !q) return;
    float x = HA == 1 ? X - *p / 2 : HA == 2 ? X - *p : X;
    const float y = VA == 1 ? Y - *q / 2 : VA == 2 ? Y - *q : Y;

    int slot = 0;
    for (const Abschnitt& a : abschnitte) {
        float senkung = 0; // positive lowers, negative raises
        if (a.code.isEmpty() || a.code == QLatin1String("c")) {
            slot = 2;
        } else if (a.code == QLatin1String("g")) {
            slot = 3;
        } else if (a.code == QLatin1String("t") || a.code == QLatin1String("h")) {
            slot = 4;
        } else if (a.code == QLatin1String("gt") || a.code == QLatin1String("gh")) {
            slot = 5;
        }
        const bool tief = a.code == QLatin1String("t") || a.code == QLatin1String("gt");
        const bool hoch = a.code == QLatin1String("h") || a.code == QLatin1String("gh");
        eh.Run([&] {
            bild.SetFont(m_SCHRIFTSATZ[size_t(slot)]);
            const float hoehe = bild.TextHeight(a.text);
            if (tief) senkung = 0.35f * hoehe;
            if (hoch) senkung = -0.25f * hoehe;
            bild.SetCurrentX(bild.ScaleLeft() + x);
            bild.SetCurrentY(bild.ScaleTop() + y + senkung);
            if (!a.text.isEmpty()) bild.Print(a.text, false);
            x += bild.TextWidth(a.text);
            bild.SetFont(m_SCHRIFTSATZ[0]);
        });
        if (eh.Left()) {
            bild.SetFont(m_SCHRIFTSATZ[0]);
            return;
        }
    }
}
