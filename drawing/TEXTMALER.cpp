#include "drawing/TEXTMALER.h"

#include "drawing/FEHLERBOX.h"
#include "drawing/PUNKTSYMBOL.h"
#include "drawing/SCHRIFTSATZ.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/Zeichensatz.h"

#include <cmath>

TEXTVARIANTE TEXTVARIANTE::GRAFIK() {
    return TEXTVARIANTE{};
}

TEXTVARIANTE TEXTVARIANTE::TABELLE() {
    TEXTVARIANTE v;
    v.PUNKTSYMBOLE = false;
    v.PRAEFIX = "VB-Error: ";
    v.TITEL = "Sub TEXT, Klassenmodul clsGRAFIK";
    return v;
}

TEXTVARIANTE TEXTVARIANTE::KOPFFUSS() {
    TEXTVARIANTE v = TABELLE();
    v.GHEBUNG = false;
    v.CDRUCKERVERSATZ = true;
    v.NULLALSLEER = false;
    return v;
}

namespace {
struct Gruppe {
    QString code;
    int anzahl = 0;
    int schluss = 0; // index of the closing brace
    QChar zeichen;   // "c"
};

// Printable characters of code page 1252 only: a "c" group with any other
// code is no group.
bool EinfuegbarerCode(int code) {
    if (code < 32 || code > 255 || code == 127) return false;
    return code != 0x81 && code != 0x8D && code != 0x8F && code != 0x90 && code != 0x9D;
}

// The group that opens at index p1, when it is well formed.
bool GruppeLesen(const QString& text, int p1, Gruppe& gruppe) {
    const int p2 = text.indexOf(QLatin1Char('}'), p1 + 1);
    const int pc = text.indexOf(QLatin1Char(','), p1 + 1);
    if (p2 < 0 || pc < 0 || pc > p2) return false;
    const QString zahl = text.mid(pc + 1, p2 - pc - 1).trimmed();
    if (zahl.isEmpty()) return false;
    for (QChar c : zahl)
        if (!c.isDigit() || c.unicode() > 127) return false;
    bool ok = false;
    const int anzahl = zahl.toInt(&ok);
    if (!ok || anzahl > 32767) return false;
    gruppe.code = text.mid(p1 + 1, pc - p1 - 1);
    gruppe.anzahl = anzahl;
    gruppe.schluss = p2;
    if (gruppe.code == QLatin1String("c")) {
        if (!EinfuegbarerCode(anzahl)) return false;
        gruppe.zeichen = Cp1252Char(anzahl);
    }
    return true;
}
} // namespace

QList<TEXTSTUECK> TEXTMALER::ZERLEGEN(const QString& text) {
    QList<TEXTSTUECK> stuecke;
    const int laenge = int(text.size());
    int pos = 0; // characters consumed
    bool nachKlartext = false;
    while (true) {
        const int p1 = text.indexOf(QLatin1Char('{'), pos);
        if (p1 < 0) {
            stuecke.append(TEXTSTUECK{false, QString(), text.mid(pos)});
            break;
        }
        if (!nachKlartext && p1 > 0) {
            // Behind a run (or at the start) the plain text up to the brace;
            // right behind a run it is empty.
            stuecke.append(TEXTSTUECK{false, QString(), text.mid(pos, p1 - pos)});
            nachKlartext = true;
            pos = p1;
            continue;
        }
        Gruppe gruppe;
        if (!GruppeLesen(text, p1, gruppe)) {
            // No group: the brace and what follows up to the next brace are
            // plain text.
            const int naechste = text.indexOf(QLatin1Char('{'), p1 + 1);
            const int ende = naechste < 0 ? laenge : naechste;
            stuecke.append(TEXTSTUECK{false, QString(), text.mid(pos, ende - pos)});
            nachKlartext = true;
            pos = ende;
            if (pos >= laenge) break;
            continue;
        }
        TEXTSTUECK stueck;
        stueck.GRUPPE = true;
        stueck.CODE = gruppe.code;
        if (gruppe.code == QLatin1String("c")) {
            stueck.TEXT = QString(gruppe.zeichen);
            pos = gruppe.schluss + 1;
        } else {
            const int start = gruppe.schluss + 1;
            pos = std::min(start + gruppe.anzahl, laenge);
            stueck.TEXT = text.mid(start, pos - start);
        }
        stuecke.append(stueck);
        nachKlartext = false;
        if (pos >= laenge) break;
    }
    return stuecke;
}

QString TEXTMALER::MESSKOPIE(const QString& text) {
    if (!text.contains(QLatin1Char('{'))) return text;
    QString kopie;
    for (const TEXTSTUECK& stueck : ZERLEGEN(text))
        if (!(stueck.GRUPPE && stueck.CODE == QLatin1String("c"))) kopie += stueck.TEXT;
    return kopie;
}

bool TEXTMALER::ZAHLUMSCHREIBEN(QString& text) {
    const int p = int(text.indexOf(QLatin1Char('E'), 0, Qt::CaseInsensitive));
    if (p < 0 || !IsNumeric(QVariant(text))) return false;
    const QString exponent = text.mid(p + 1);
    text = text.left(p) + QStringLiteral("*10{h,") + QString::number(exponent.size()) +
           QLatin1Char('}') + exponent;
    return true;
}

int TEXTMALER::SCHRIFTSLOT(const TEXTSTUECK& stueck) {
    if (!stueck.GRUPPE) return 2;
    const QString& code = stueck.CODE;
    if (code == QLatin1String("t") || code == QLatin1String("h")) return 4;
    if (code == QLatin1String("g")) return 3;
    if (code == QLatin1String("gt") || code == QLatin1String("gh")) return 5;
    if (code == QLatin1String("c")) return 2;
    return -1;
}

double TEXTMALER::ZAHLWERT(const QString& text) {
    // The leading number: blanks, a sign, digits, a point and digits.
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    bool ok = false;
    const double wert = text.mid(start, i - start).toDouble(&ok);
    return ok ? wert : 0.0;
}

void TEXTMALER::STUECKEZEICHNEN(OutputObject& objekt, SCHRIFTSATZ& satz,
                                const TEXTVARIANTE& variante, const QString& text, float x0,
                                float y0, float a, const DREHTEXTAUFRUF& drehtext,
                                FEHLERBOX& fehler) {
    const double sinA = std::sin(double(a));
    const double cosA = std::cos(double(a));
    int slot = 0; // the slot of the piece before
    for (const TEXTSTUECK& stueck : ZERLEGEN(text)) {
        if (fehler.VERLASSEN()) break;
        const QString& code = stueck.CODE;
        const bool symbol = variante.PUNKTSYMBOLE && stueck.GRUPPE && code == QLatin1String("s");
        int neu = SCHRIFTSLOT(stueck);
        if (neu < 0) neu = slot;
        float px = 0, py = 0;
        const bool gesetzt = fehler.AUSFUEHREN([&] {
            objekt.SetFont(satz[neu]);
            double dy = 0;
            if (stueck.GRUPPE) {
                if (code == QLatin1String("t") || code == QLatin1String("gt"))
                    dy = -0.35 * objekt.TextHeight(stueck.TEXT);
                else if (code == QLatin1String("h") || code == QLatin1String("gh"))
                    dy = 0.25 * objekt.TextHeight(stueck.TEXT);
                else if (code == QLatin1String("g") && variante.GHEBUNG)
                    dy = 0.1 * objekt.TextHeight(QStringLiteral("g"));
                else if (symbol)
                    dy = -0.5 * objekt.TextHeight(QStringLiteral("s"));
                else if (code == QLatin1String("c") && variante.CDRUCKERVERSATZ &&
                         objekt.IsPrinter())
                    x0 = float(x0 + 0.35 * objekt.TextHeight(stueck.TEXT));
            }
            px = float(x0 - dy * sinA - objekt.ScaleLeft());
            py = float(y0 - dy * cosA - objekt.ScaleTop());
            if (!std::isfinite(px) || !std::isfinite(py)) throw RuntimeError::Overflow();
        });
        float w = 0;
        bool gemessen = false;
        if (gesetzt) {
            fehler.AUSFUEHREN([&] {
                if (symbol) {
                    PUNKTSYMBOL(objekt, ZAHLWERT(stueck.TEXT), float(px + 0.5 * cosA), py);
                } else if (stueck.TEXT.isEmpty()) {
                    // An empty piece shows nothing.
                } else if (a != 0 && drehtext) {
                    drehtext(stueck.TEXT, px, py, objekt.Font());
                } else {
                    objekt.SetCurrentX(px);
                    objekt.SetCurrentY(py);
                    objekt.Print(stueck.TEXT, false);
                }
            });
            gemessen = fehler.AUSFUEHREN(
                [&] { w = stueck.TEXT.isEmpty() ? 0.0f : objekt.TextWidth(stueck.TEXT); });
        }
        fehler.AUSFUEHREN([&] { objekt.SetFont(satz[0]); });
        slot = neu;
        if (gemessen) {
            x0 = float(x0 + w * cosA);
            y0 = float(y0 - w * sinA);
        }
    }
}

void TEXTMALER::TEXT(OutputObject* objekt, SCHRIFTSATZ& satz, const TEXTVARIANTE& variante, float x,
                     float y, const QVariant& text, int16_t horizontal, int16_t vertikal) {
    FEHLERBOX fehler(variante.PRAEFIX, variante.TITEL);
    QString inhalt;
    if (!fehler.AUSFUEHREN(
            [&] { inhalt = (variante.NULLALSLEER && IsNull(text)) ? QString() : CStr(text); }))
        return;
    if (inhalt.isEmpty()) return;
    if (!fehler.AUSFUEHREN([&] {
            if (!objekt) throw OBJEKTVARIABLEFEHLT();
            if (!std::isfinite(x) || !std::isfinite(y)) throw RuntimeError::Overflow();
        }))
        return;
    const QString kopie = MESSKOPIE(inhalt);
    fehler.AUSFUEHREN([&] { satz.SETZEN(0, objekt->Font()); });
    float w = 0, h = 0;
    if (!fehler.AUSFUEHREN([&] {
            w = objekt->TextWidth(kopie);
            h = objekt->TextHeight(kopie);
        }))
        return;
    const float fx = horizontal == 1 ? 0.5f : horizontal == 2 ? 1.0f : 0.0f;
    const float fy = vertikal == 1 ? 0.5f : vertikal == 2 ? 1.0f : 0.0f;
    STUECKEZEICHNEN(*objekt, satz, variante, inhalt, x - fx * w, y - fy * h, 0.0f, nullptr, fehler);
}
