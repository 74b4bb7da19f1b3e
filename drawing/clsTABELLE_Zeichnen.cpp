// TABELLE: one block of a table per call. The head lies at the reference
// corner, the body below the last head drawn and the summary block below the
// last head and body, each in a double frame with its own inner lines.

#include "drawing/FEHLERBOX.h"
#include "drawing/STATISTIK.h"
#include "drawing/clsTABELLE.h"
#include "platform/runtime/MsgBox.h"
#include "platform/controls/OutputObject.h"
#include "platform/controls/ScrollBar.h"
#include "platform/runtime/Variant.h"

#include <QLocale>
#include <QVariantList>
#include <algorithm>
#include <vector>

namespace {
// Entry i of a column list: a missing entry raises subscript out of range,
// a list that was never written type mismatch.
QVariant EINTRAG(const QVariant& liste, int i) {
    if (liste.typeId() != QMetaType::QVariantList) throw RuntimeError::TypeMismatch();
    const QVariantList& werte = *static_cast<const QVariantList*>(liste.constData());
    if (i < 0 || i >= werte.size()) throw RuntimeError::SubscriptOutOfRange();
    return werte.at(i);
}

// A code of a list entry as a number; an entry left empty (or Null) counts
// as 0.
double CODE(const QVariant& wert) {
    if (IsEmpty(wert) || IsNull(wert)) return 0;
    return CDbl(wert);
}

// The text a body or summary cell shows: formatted with its column's
// pattern, or its plain text. A cell without a value shows nothing.
QString ZELLINHALT(const QVariant& wert, const QString& muster) {
    if (IsEmpty(wert) || IsNull(wert)) return QString();
    return muster.isEmpty() ? CStr(wert) : Format(wert, muster);
}

void RAHMEN(OutputObject& o, float x, float y, float breite, float hoehe) {
    o.Line(x, y, x + breite, y + hoehe, std::nullopt, OutputObject::LineForm::Box);
}
} // namespace

void clsTABELLE::TABELLE(TABELLENZELLEN& X, int16_t POSITION) {
    FEHLERBOX fehler("VB-Error: ", "Tabelle");

    if (m_ELSB.typeId() != QMetaType::QVariantList) {
        QString name;
        if (fehler.AUSFUEHREN([&] { name = Objekt().Name(); }))
            MsgBox(QStringLiteral("Angabe der Spaltenbreiten in Objekt ") + name +
                       QStringLiteral(" fehlt !"),
                   vbExclamation, QStringLiteral("Tabelle"));
        return;
    }

    // Columns drawn: as many as both the widths and the cells give.
    QList<float> breiten;
    float W = 0;
    if (!fehler.AUSFUEHREN([&] {
            const int n = int(std::min<qsizetype>(m_ELSB.toList().size(), X.SPALTEN()));
            for (int c = 0; c < n; ++c) {
                breiten.append(CSng(EINTRAG(m_ELSB, c)));
                W = CheckedSingle(double(W) + breiten.last());
            }
        }))
        return;
    m_W = W;

    if (m_EZH <= 0 && !fehler.AUSFUEHREN([&] { m_EZH = Objekt().TextHeight(QStringLiteral("X")); }))
        return;
    if (!fehler.AUSFUEHREN([&] { Objekt(); })) return;

    switch (POSITION) {
    case 1:
        RUMPFZEICHNEN(X, breiten, W, fehler);
        break;
    case 2:
        BLOCKZEICHNEN(X, breiten, W, fehler);
        break;
    default:
        KOPFZEICHNEN(X, breiten, W, fehler);
        break;
    }
}

// ---------------------------------------------------------------- head

void clsTABELLE::KOPFZEICHNEN(const TABELLENZELLEN& X, const QList<float>& breiten, float W,
                              FEHLERBOX& fehler) {
    OutputObject& o = *m_EOBJEKT;
    const int n = int(breiten.size());
    const int U = X.OBERGRENZEZEILE();
    const int N = U + 1;
    const float p = m_EZH * m_EZA;
    const float L = m_EXDL + m_ERL;
    const float T = m_EYDO + m_ERO;

    m_H0 = 2 * m_ERZ + float(U) * p + m_EZH;
    const float H0 = m_H0;
    fehler.AUSFUEHREN([&] { RAHMEN(o, L, T, W, H0); });
    fehler.AUSFUEHREN([&] { RAHMEN(o, L - 0.5f, T - 0.5f, W + 1, H0 + 1); });

    float x = L;
    for (int i = 0; i + 1 < n; ++i) {
        x += breiten.at(i);
        fehler.AUSFUEHREN([&] {
            // A line left out through more rows than the head has is left
            // out through the whole head; none is drawn above or below it.
            const double k = std::clamp(CODE(EINTRAG(m_ELGITLEER, i)), 0.0, double(N));
            float oben = T, laenge = H0;
            if (k == 0) {
                oben = T;
                laenge = H0;
            } else if (k == N) {
                oben = T;
                laenge = 0;
            } else {
                oben = float(T + m_ERZ + 1 + k * m_EZH);
                laenge = float(H0 - m_ERZ - 1 - k * m_EZH);
            }
            const double gitter = CODE(EINTRAG(m_ELGIT, i));
            if (laenge <= 0) return;
            if (gitter >= 1) o.Line(x, oben, x, oben + laenge);
            if (gitter == 2) o.Line(x + 0.5f, oben, x + 0.5f, oben + laenge);
        });
    }

    // A cell spans the columns to its right as long as the line between
    // them is left out in this row.
    for (int r = 0; r <= U; ++r) {
        const float y = T + m_ERZ + m_EZH + float(r) * p;
        fehler.AUSFUEHREN([&] {
            float links = L;
            int c0 = 0;
            while (c0 < n) {
                float spanne = breiten.at(c0);
                int c = c0;
                while (c < n - 1 && CODE(EINTRAG(m_ELGITLEER, c)) > r) {
                    ++c;
                    spanne += breiten.at(c);
                }
                TEXT(links + spanne / 2, y - 1.5f, X(c0, r), 1, 1);
                links += spanne;
                c0 = c + 1;
            }
        });
    }
}

// ---------------------------------------------------------------- body

void clsTABELLE::RUMPFZEILEN(int& EEZ, int& ELZ, float& H1, int U, float W) {
    OutputObject& o = *m_EOBJEKT;
    ScrollBar* balken = m_EYBALKEN;
    const float p = m_EZH * m_EZA;
    const float H0 = m_H0;

    // The last row whose text line stays within the limit, counted from 0.
    auto letzteZeile = [&](float y, float grenze) {
        int j = U;
        for (int r = 0; r <= U; ++r) {
            if (y > grenze) {
                j = r - 1;
                break;
            }
            y += p;
        }
        return j;
    };
    // The first row follows the bar's position over the rows that do not
    // fit.
    auto nachBalken = [&](int j) {
        const double anteil =
            Round(DivDouble(double(balken->Value()), double(balken->Max() - balken->Min())), 3);
        int erste = CLng(Round(anteil * (U - j)));
        if (erste < 0) erste = 0;
        int letzte = erste + j;
        if (letzte > U) letzte = U;
        EEZ = erste;
        ELZ = letzte;
    };

    if (!balken) {
        EEZ = 0;
        ELZ = U;
    } else if (o.IsPictureBox()) {
        const float start = m_ERO + H0 + m_ERZ + m_EZH;
        const float grenze = o.ScaleHeight() - m_ERU;
        if (balken->Value() == 0) {
            EEZ = 0;
            ELZ = U;
            const float alle = 2 * m_ERZ + float(U) * p + m_EZH;
            if (o.ScaleHeight() > alle + H0 + m_ERO + m_ERU) {
                balken->SetVisible(false);
            } else {
                balken->SetTop(m_ERO + H0 + 0.5f);
                balken->SetLeft(m_ERL + W + 1.5f);
                balken->SetWidth(5);
                balken->SetHeight(o.ScaleHeight() - balken->Top() - m_ERU);
                balken->SetMin(0);
                balken->SetMax(10000);
                balken->SetLargeChange(2000);
                balken->SetSmallChange(300);
                balken->SetVisible(true);
                ELZ = letzteZeile(start, grenze);
            }
        } else {
            nachBalken(letzteZeile(start, grenze));
        }
    } else if (o.IsPrinter()) {
        // The printout shows the rows that the screen shows.
        EEZ = 0;
        ELZ = U;
        if (balken->Visible()) nachBalken(letzteZeile(2 * m_ERZ + m_EZH, balken->Height()));
    } else {
        return;
    }
    H1 = 2 * m_ERZ + float(ELZ - EEZ) * p + m_EZH;
}

void clsTABELLE::RUMPFZEICHNEN(const TABELLENZELLEN& X, const QList<float>& breiten, float W,
                               FEHLERBOX& fehler) {
    OutputObject& o = *m_EOBJEKT;
    const int n = int(breiten.size());
    const int U = X.OBERGRENZEZEILE();
    const float p = m_EZH * m_EZA;
    const float L = m_EXDL + m_ERL;
    const float T = m_EYDO + m_ERO;

    int EEZ = m_EEZ, ELZ = m_ELZ;
    float H1 = m_H1;
    if (fehler.AUSFUEHREN([&] { RUMPFZEILEN(EEZ, ELZ, H1, U, W); })) {
        m_EEZ = EEZ;
        m_ELZ = ELZ;
        m_H1 = H1;
    }
    const float H0 = m_H0;
    H1 = m_H1;

    fehler.AUSFUEHREN([&] { RAHMEN(o, L, T + H0 + 0.5f, W, H1); });
    fehler.AUSFUEHREN([&] { RAHMEN(o, L - 0.5f, T + H0, W + 1, H1 + 1); });
    INNENLINIEN(breiten, T + H0 + 0.5f, H1, fehler);

    for (int r = m_EEZ; r <= m_ELZ; ++r) {
        const float y = T + H0 + m_ERZ + m_EZH + float(r - m_EEZ) * p;
        for (int c = 0; c < n; ++c)
            fehler.AUSFUEHREN([&] { ZELLTEXT(X(c, r), c, breiten, y, true); });
    }

    STATISTIKBERECHNEN(X, n, fehler);
}

void clsTABELLE::STATISTIKBERECHNEN(const TABELLENZELLEN& X, int n, FEHLERBOX& fehler) {
    const int U = X.OBERGRENZEZEILE();
    m_mittel = QList<QVariant>(n);
    m_abweichung = QList<QVariant>(n);
    m_variation = QList<QVariant>(n);
    const QVariant strich = QStringLiteral("-");
    for (int c = 0; c < n; ++c) {
        fehler.AUSFUEHREN([&] {
            if (CODE(EINTRAG(m_ELMW, c)) != 1 || VarTypeOf(EINTRAG(m_ELMW, c)) == VarType::Boolean)
                return;
            // Every row counts, not only those shown; an empty cell is a 0,
            // and a column with a 0 has no statistics.
            std::vector<float> werte;
            werte.reserve(size_t(U + 1));
            bool null = false;
            for (int r = 0; r <= U; ++r) {
                const QVariant& zelle = X(c, r);
                const float wert = (IsEmpty(zelle) || IsNull(zelle)) ? 0.0f : CSng(zelle);
                if (wert == 0) null = true;
                werte.push_back(wert);
            }
            if (null) {
                m_mittel[c] = m_abweichung[c] = m_variation[c] = strich;
                return;
            }
            float mittel = 0, abweichung = 0;
            QVariant variation;
            STATISTIK(werte, mittel, abweichung, variation);
            m_mittel[c] = mittel;
            m_abweichung[c] = abweichung;
            m_variation[c] = IsEmpty(variation) ? strich : variation;
        });
    }
}

// ---------------------------------------------------------------- summary

void clsTABELLE::BLOCKZEICHNEN(TABELLENZELLEN& X, const QList<float>& breiten, float W,
                               FEHLERBOX& fehler) {
    OutputObject& o = *m_EOBJEKT;
    const int n = int(breiten.size());
    const int U = X.OBERGRENZEZEILE();
    const float p = m_EZH * m_EZA;
    const float L = m_EXDL + m_ERL;
    const float T = m_EYDO + m_ERO;
    const float oben = T + m_H0 + m_H1;

    m_H2 = 2 * m_ERZ + float(U) * p + m_EZH;
    const float H2 = m_H2;
    fehler.AUSFUEHREN([&] { RAHMEN(o, L, oben + 1, W, H2); });
    fehler.AUSFUEHREN([&] { RAHMEN(o, L - 0.5f, oben + 0.5f, W + 1, H2 + 1); });
    INNENLINIEN(breiten, oben + 1, H2, fehler);

    for (int c = 0; c < n; ++c) {
        fehler.AUSFUEHREN([&] {
            if (CODE(EINTRAG(m_ELMW, c)) != 1 || VarTypeOf(EINTRAG(m_ELMW, c)) == VarType::Boolean)
                return;
            if (c >= m_mittel.size()) throw RuntimeError::SubscriptOutOfRange();
            if (U >= 0) X(c, 0) = m_mittel.at(c);
            if (U >= 1) X(c, 1) = m_abweichung.at(c);
            if (U >= 2) X(c, 2) = m_variation.at(c);
        });
    }

    for (int r = 0; r <= U; ++r) {
        const float y = oben + m_ERZ + m_EZH + float(r) * p;
        for (int c = 0; c < n; ++c)
            fehler.AUSFUEHREN([&] { ZELLTEXT(X(c, r), c, breiten, y, false); });
    }
}

// ---------------------------------------------------------------- shared

void clsTABELLE::INNENLINIEN(const QList<float>& breiten, float oben, float hoehe,
                             FEHLERBOX& fehler) {
    OutputObject& o = *m_EOBJEKT;
    float x = m_EXDL + m_ERL;
    for (int i = 0; i + 1 < breiten.size(); ++i) {
        x += breiten.at(i);
        fehler.AUSFUEHREN([&] {
            const double gitter = CODE(EINTRAG(m_ELGIT, i));
            if (gitter >= 1) o.Line(x, oben, x, oben + hoehe);
            if (gitter == 2) o.Line(x + 0.5f, oben, x + 0.5f, oben + hoehe);
        });
    }
}

void clsTABELLE::ZELLTEXT(const QVariant& wert, int spalte, const QList<float>& breiten, float y,
                          bool symbole) {
    OutputObject& o = *m_EOBJEKT;
    float x = m_EXDL + m_ERL;
    for (int c = 0; c < spalte; ++c)
        x += breiten.at(c);
    const float w = breiten.at(spalte);

    const QVariant musterwert = EINTRAG(m_ELFORMAT, spalte);
    const QString muster =
        (IsEmpty(musterwert) || IsNull(musterwert)) ? QString() : CStr(musterwert);
    if (symbole && muster == QLatin1String("SYMBOL")) {
        KURVENSYMBOL(x + w / 2, y - m_EZH / 2, wert);
        return;
    }
    const QString s = ZELLINHALT(wert, muster);
    const double ausrichtung = CODE(EINTRAG(m_ELA, spalte));
    const float zeile = y - 1;
    if (ausrichtung == 0) {
        TEXT(x + 1.5f, zeile, s, 0, 1);
    } else if (ausrichtung == 1) {
        TEXT(x + w / 2, zeile, s, 1, 1);
    } else if (ausrichtung == 2) {
        TEXT(x + w - 1.5f, zeile, s, 2, 1);
    } else if (ausrichtung == 3) {
        // The right edge of the decimal separator stands at the same place in
        // every row: the column's centre when the separator stands in the
        // middle of the pattern, further right when it stands late. The
        // separator is the one the formatting wrote (the locale's), the
        // pattern always marks it with ".".
        const qsizetype p1 = s.indexOf(QLocale().decimalPoint()) + 1;
        const double t = p1 > 0 ? double(o.TextWidth(s.left(p1))) : 0.0;
        const qsizetype q = muster.indexOf(QLatin1Char('.')) + 1;
        const qsizetype f = muster.size();
        // Without a pattern there is no place of the separator to keep to.
        const double d = f > 0 ? (w / 2.0 - 1.5) * (f / 2.0 - double(q)) / double(f) : 0.0;
        TEXT(float(x + w / 2.0 - t - d), zeile, s, 0, 1);
    }
}
