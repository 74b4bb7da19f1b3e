#include "drawing/TEXTMALER.h"

#include "drawing/FEHLERBOX.h"
#include "drawing/PUNKTSYMBOL.h"
#include "drawing/SCHRIFTSATZ.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/Zeichensatz.h"

#include <array>
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
    QStringView code;
    int anzahl = 0;
    int schluss = 0; // index of the closing brace
    QStringView zeichen; // "c"
};

// The characters of code page 1252 by their code, for the pieces of "c"
// groups to view.
QStringView Cp1252Zeichen(int code) {
    static const std::array<QChar, 256> tabelle = [] {
        std::array<QChar, 256> zeichen{};
        for (int i = 0; i < 256; ++i)
            zeichen[size_t(i)] = Cp1252Char(i);
        return zeichen;
    }();
    return QStringView(&tabelle[size_t(code)], 1);
}

// Printable characters of code page 1252 only: a "c" group with any other
// code is no group.
bool EinfuegbarerCode(int code) {
    if (code < 32 || code > 255 || code == 127) return false;
    return code != 0x81 && code != 0x8D && code != 0x8F && code != 0x90 && code != 0x9D;
}

// Reads the groups of one text from left to right. The next closing brace
// and the next comma are remembered between calls, and the count behind a
// comma is checked once, so that every character is looked at a bounded
// number of times however many braces the text holds: a pasted text of a
// million braces is drawn in one pass, not one scan per brace.
class GruppenLeser {
public:
    explicit GruppenLeser(QStringView text) : m_text(text) {}

    // The group that opens at index p1, when it is well formed. Called with
    // increasing p1.
    bool lesen(int p1, Gruppe& gruppe) {
        const int p2 = naechstes(u'}', p1 + 1, m_schluss);
        const int pc = naechstes(u',', p1 + 1, m_komma);
        if (p2 < 0 || pc < 0 || pc > p2) return false;
        // No closing brace lies between the brace and the comma, so the
        // count's end p2 follows from the comma alone.
        if (pc != m_gezaehltesKomma) {
            m_gezaehltesKomma = pc;
            m_anzahl = anzahl(pc + 1, p2);
        }
        if (m_anzahl < 0) return false;
        gruppe.code = m_text.mid(p1 + 1, pc - p1 - 1);
        gruppe.anzahl = m_anzahl;
        gruppe.schluss = p2;
        if (gruppe.code == QLatin1String("c")) {
            if (!EinfuegbarerCode(m_anzahl)) return false;
            gruppe.zeichen = Cp1252Zeichen(m_anzahl);
        }
        return true;
    }

private:
    // The first index at or after ab holding c; merk keeps the last answer
    // (-2 none asked yet, -1 none to the end).
    int naechstes(char16_t c, int ab, int& merk) const {
        if (merk == -1 || merk >= ab) return merk;
        merk = -1;
        const QChar* zeichen = m_text.data();
        for (int i = ab, n = int(m_text.size()); i < n; ++i)
            if (zeichen[i] == c) {
                merk = i;
                break;
            }
        return merk;
    }

    // The whole number of 0 to 32767 written between von and bis (blanks
    // around it allowed); -1 for anything else. Stops at the first character
    // that cannot belong to it.
    int anzahl(int von, int bis) const {
        int i = von;
        while (i < bis && m_text[i].isSpace())
            ++i;
        const int ziffern = i;
        int wert = 0;
        while (i < bis && m_text[i].unicode() >= '0' && m_text[i].unicode() <= '9') {
            wert = wert * 10 + (m_text[i].unicode() - '0');
            if (wert > 32767) return -1;
            ++i;
        }
        if (i == ziffern) return -1;
        while (i < bis && m_text[i].isSpace())
            ++i;
        return i == bis ? wert : -1;
    }

    QStringView m_text;
    int m_schluss = -2;
    int m_komma = -2;
    int m_gezaehltesKomma = -1;
    int m_anzahl = -1;
};
} // namespace

namespace {
// The next opening brace at or after ab (-1 when there is none); braces
// usually follow each other closely, so a plain loop beats a search call.
int naechsteKlammer(QStringView text, int ab) {
    const QChar* zeichen = text.data();
    for (int i = ab, n = int(text.size()); i < n; ++i)
        if (zeichen[i] == u'{') return i;
    return -1;
}
} // namespace

QList<TEXTSTUECK> TEXTMALER::ZERLEGEN(const QString& ganz) {
    const QStringView text(ganz);
    QList<TEXTSTUECK> stuecke;
    const int laenge = int(text.size());
    int pos = 0; // characters consumed
    bool nachKlartext = false;
    // Every piece but the empty one behind a run takes at least one
    // character from the first brace on: room for them at once rather than
    // a list moved again and again as it grows (room never used costs no
    // memory).
    const int erste = naechsteKlammer(text, 0);
    stuecke.reserve(erste < 0 ? 1 : text.size() - erste + 2);
    GruppenLeser leser(text);
    while (true) {
        const int p1 = naechsteKlammer(text, pos);
        if (p1 < 0) {
            stuecke.append(TEXTSTUECK{QStringView(), text.mid(pos)});
            break;
        }
        if (!nachKlartext && p1 > 0) {
            // Behind a run (or at the start) the plain text up to the brace;
            // right behind a run it is empty.
            stuecke.append(TEXTSTUECK{QStringView(), text.mid(pos, p1 - pos)});
            nachKlartext = true;
            pos = p1;
            continue;
        }
        Gruppe gruppe;
        if (!leser.lesen(p1, gruppe)) {
            // No group: the brace and what follows up to the next brace are
            // plain text.
            const int naechste = naechsteKlammer(text, p1 + 1);
            const int ende = naechste < 0 ? laenge : naechste;
            stuecke.append(TEXTSTUECK{QStringView(), text.mid(pos, ende - pos)});
            nachKlartext = true;
            pos = ende;
            if (pos >= laenge) break;
            continue;
        }
        TEXTSTUECK stueck;
        stueck.CODE = gruppe.code;
        if (gruppe.code == QLatin1String("c")) {
            stueck.TEXT = gruppe.zeichen;
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
        if (!(stueck.GRUPPE() && stueck.CODE == QLatin1String("c"))) kopie += stueck.TEXT;
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
    if (!stueck.GRUPPE()) return 2;
    const QStringView code = stueck.CODE;
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
        const QStringView code = stueck.CODE;
        const QString stueckText = stueck.TEXT.toString();
        const bool symbol = variante.PUNKTSYMBOLE && stueck.GRUPPE() && code == QLatin1String("s");
        int neu = SCHRIFTSLOT(stueck);
        if (neu < 0) neu = slot;
        float px = 0, py = 0;
        const bool gesetzt = fehler.AUSFUEHREN([&] {
            objekt.SetFont(satz[neu]);
            double dy = 0;
            if (stueck.GRUPPE()) {
                if (code == QLatin1String("t") || code == QLatin1String("gt"))
                    dy = -0.35 * objekt.TextHeight(stueckText);
                else if (code == QLatin1String("h") || code == QLatin1String("gh"))
                    dy = 0.25 * objekt.TextHeight(stueckText);
                else if (code == QLatin1String("g") && variante.GHEBUNG)
                    dy = 0.1 * objekt.TextHeight(QStringLiteral("g"));
                else if (symbol)
                    dy = -0.5 * objekt.TextHeight(QStringLiteral("s"));
                else if (code == QLatin1String("c") && variante.CDRUCKERVERSATZ &&
                         objekt.IsPrinter())
                    x0 = float(x0 + 0.35 * objekt.TextHeight(stueckText));
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
                    PUNKTSYMBOL(objekt, ZAHLWERT(stueckText), float(px + 0.5 * cosA), py);
                } else if (stueckText.isEmpty()) {
                    // An empty piece shows nothing.
                } else if (a != 0 && drehtext) {
                    drehtext(stueckText, px, py, objekt.Font());
                } else {
                    objekt.SetCurrentX(px);
                    objekt.SetCurrentY(py);
                    objekt.Print(stueckText, false);
                }
            });
            gemessen = fehler.AUSFUEHREN(
                [&] { w = stueckText.isEmpty() ? 0.0f : objekt.TextWidth(stueckText); });
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
