// Reading a data logger's file in its layout: one value per line in blocks
// of a fixed size, one cycle per line, or one long line of records.

#include "input/clsFLX_Importieren.h"

#include "platform/runtime/InputFile.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <cmath>
#include <optional>

namespace flx::import {

QString Gestutzt(const QString& text) {
    qsizetype a = 0;
    qsizetype e = text.size();
    while (a < e && text.at(a) == u' ')
        ++a;
    while (e > a && text.at(e - 1) == u' ')
        --e;
    return a == 0 && e == text.size() ? text : text.mid(a, e - a);
}

namespace {

// Whole numbers up to this size are exact in a double.
constexpr double kGanzzahlig = 9007199254740992.0;

// The lines of the file, numbered from 1.
class Leser {
public:
    explicit Leser(InputFile& datei) : m_datei(datei) {}

    // The next line; nothing after the last one.
    std::optional<QString> naechste() {
        if (m_datei.AtEnd()) return std::nullopt;
        QString zeile = m_datei.LineInput();
        // A NUL is no character of a text file: the file is not what the
        // presets describe.
        if (zeile.contains(QChar(0))) throw Unlesbar{m_datei.LineNumber()};
        return zeile;
    }
    int64_t nummer() const { return m_datei.LineNumber(); }

    // The number a trimmed line stands for where a number must stand.
    double zahl(const QString& text) const {
        double wert = 0;
        if (!ParseNumberText(text, wert) || !std::isfinite(wert)) throw Unlesbar{nummer()};
        return wert;
    }
    // A cycle number: a whole number.
    int64_t zyklusnummer(const QString& text) const {
        const double wert = zahl(text);
        if (wert != std::floor(wert) || std::fabs(wert) >= kGanzzahlig) throw Unlesbar{nummer()};
        return int64_t(wert);
    }

private:
    InputFile& m_datei;
};

// The header size of the presets as a whole number.
int64_t Kopfzahl(const QString& text) {
    double wert = 0;
    if (!ParseNumberText(text, wert)) throw RuntimeError::TypeMismatch();
    // Large enough for any file, small enough that blocks of lines count it.
    if (!(std::fabs(wert) < 1e12)) throw RuntimeError::Overflow();
    return int64_t(Round(wert));
}

bool Bestaetigt(const QString& meldung) {
    return MsgBox(meldung, vbOKCancel + vbExclamation, kTitel) == vbOK;
}

QString Zahltext(int64_t zahl) {
    return QString::number(zahl);
}

// Where the values of a cycle go: the grid columns of the quantities at
// each position.
class Verteiler {
public:
    Verteiler(const std::vector<GROESSE>& groessen, int ZL, Zeilenpuffer& puffer)
        : m_ziele(size_t(ZL)), m_puffer(puffer) {
        for (const GROESSE& g : groessen) {
            if (IsEmpty(g.POSITION) || IsNull(g.POSITION)) continue;
            if (VarTypeOf(g.POSITION) == VarType::String && g.POSITION.toString().isEmpty())
                continue;
            // Positions are compared as numbers; one that is none is a
            // fault of the presets.
            const double p = CDbl(g.POSITION);
            if (p >= 0 && p < ZL && p == std::floor(p)) m_ziele[size_t(p)].push_back(g.ziel);
        }
    }

    void setzen(int zeile, int lage, const QString& wert) {
        if (lage < 0 || size_t(lage) >= m_ziele.size()) return;
        const std::vector<int>& spalten = m_ziele[size_t(lage)];
        if (spalten.empty()) return;
        const QString text = Gestutzt(wert);
        for (int spalte : spalten)
            m_puffer.setzen(zeile, spalte, text);
    }

private:
    std::vector<std::vector<int>> m_ziele;
    Zeilenpuffer& m_puffer;
};

enum class Schnitt { Ok, Beschaedigt, ZuKurz };

// Cuts the ZL fields of a line or record at the separator (positions as the
// runtime counts them, from 1). The last field runs to the end less its last
// two characters. A line tests for its last field first, a record for its
// first field first, which it finds in either letter case.
Schnitt Schneiden(const QString& text, const QString& TZS, int ZL, bool satz,
                  std::vector<QString>& felder) {
    felder.clear();
    const qsizetype laengeTZS = TZS.size();
    qsizetype s = 1;
    for (int k = 0; k < ZL; ++k) {
        const qsizetype a = s + laengeTZS;
        const bool erstes = k == 0;
        if (k == ZL - 1 && !(satz && erstes)) {
            const qsizetype laenge = text.size() - a - 1;
            if (laenge < 0) return Schnitt::ZuKurz;
            felder.push_back(text.mid(a - 1, laenge));
        } else if (erstes) {
            s = text.indexOf(TZS, 0, satz ? Qt::CaseInsensitive : Qt::CaseSensitive) + 1;
            if (s == 0) return Schnitt::Beschaedigt;
            felder.push_back(text.left(s - 1));
        } else {
            s = text.indexOf(TZS, a - 1) + 1;
            if (s == 0) return Schnitt::Beschaedigt;
            felder.push_back(text.mid(a - 1, s - a));
        }
    }
    return Schnitt::Ok;
}

// One value per line; a cycle is a block of ZL lines: ZL - 1, the cycle
// number, further values.
Ende Zeilenweise(const VORGABE& v, Leser& leser, Zeilenpuffer& puffer, Verteiler& verteiler) {
    const int ZL = v.ZL;
    int64_t zyklus = 0;
    int lage = 0;
    if (!v.KENZ1NR.isEmpty()) {
        const int64_t n = Kopfzahl(v.KENZ1NR);
        for (int64_t i = 0; i < n * ZL; ++i)
            if (!leser.naechste()) return Ende::Daten;
        zyklus = n;
    } else if (!v.KENZ1KZ.isEmpty()) {
        // The marker stands inside a block: reading goes on at the line
        // after it, at its place in that block.
        for (int64_t gezaehlt = 0;;) {
            const std::optional<QString> zeile = leser.naechste();
            if (!zeile) return Ende::Daten;
            if (Gestutzt(*zeile) == v.KENZ1KZ) {
                ++lage;
                break;
            }
            ++gezaehlt;
            if (gezaehlt % ZL == 0) {
                ++zyklus;
                lage = 0;
            } else {
                ++lage;
            }
        }
    }

    const int start = puffer.start();
    for (int ziel = start;; ++ziel, ++zyklus) {
        // Only a first cycle in the first row of an empty grid keeps the
        // place a marker left.
        if (ziel > 1) lage = 0;
        bool angefangen = false;
        while (lage < ZL) {
            std::optional<QString> zeile = leser.naechste();
            if (!zeile) {
                if (!angefangen) return Ende::Daten;
                // The file ends inside a block: that cycle is left out.
                if (!Bestaetigt(QStringLiteral("ZyklusNr. ") + Zahltext(zyklus) +
                                QStringLiteral(" der Elektronikdatei ist beschädigt!")))
                    return Ende::Abbruch;
                puffer.kuerzen(ziel);
                return Ende::Daten;
            }
            angefangen = true;
            QString wert = Gestutzt(*zeile);
            if (lage == 0 && leser.zahl(wert) != ZL - 1) {
                // Out of step: the block before was longer or shorter than
                // ZL lines.
                const QString meldung =
                    ziel == start
                        ? QStringLiteral(
                              "Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!")
                        : QStringLiteral("ZyklusNr. ") + Zahltext(zyklus - 1) +
                              QStringLiteral(" der Elektronikdatei ist beschädigt!");
                if (!Bestaetigt(meldung)) return Ende::Abbruch;
                ++zyklus;
                // The damaged cycle is left out and the next good block
                // takes its row; a row the grid had before is never taken.
                if (ziel > start) puffer.kuerzen(--ziel);
                // On to the next block's first line; lines that are no
                // number are values of the damaged block.
                for (;;) {
                    zeile = leser.naechste();
                    if (!zeile) return Ende::Daten;
                    double w = 0;
                    if (ParseNumberText(Gestutzt(*zeile), w) && w == ZL - 1) break;
                }
                zeile = leser.naechste();
                if (!zeile) return Ende::Daten;
                wert = Gestutzt(*zeile);
                zyklus = leser.zyklusnummer(wert);
                lage = 1;
            } else if (lage == 1) {
                const int64_t nummer = leser.zyklusnummer(wert);
                if (nummer != zyklus) {
                    // A number below the counter cannot follow; missing
                    // cycles are skipped when the user agrees.
                    if (nummer < zyklus) throw Unlesbar{leser.nummer()};
                    if (!Bestaetigt(QStringLiteral("Es fehlen ein oder mehrere Zyklen nach "
                                                   "ZyklusNr. ") +
                                    Zahltext(zyklus - 1) + QStringLiteral(" !")))
                        return Ende::Abbruch;
                    zyklus = nummer;
                }
            }
            verteiler.setzen(ziel, lage, wert);
            ++lage;
        }
    }
}

// One cycle per line, ZL fields separated by TZS.
Ende Zyklusweise(const VORGABE& v, Leser& leser, Zeilenpuffer& puffer, Verteiler& verteiler) {
    if (!v.KENZ1NR.isEmpty()) {
        const int64_t n = Kopfzahl(v.KENZ1NR);
        for (int64_t i = 0; i < n; ++i)
            if (!leser.naechste()) return Ende::Daten;
    } else if (!v.KENZ1KZ.isEmpty()) {
        for (;;) {
            const std::optional<QString> zeile = leser.naechste();
            if (!zeile) return Ende::Daten;
            if (zeile->contains(v.KENZ1KZ)) break;
        }
    }
    int64_t zyklus = 0;
    std::vector<QString> felder;
    for (int ziel = puffer.start();;) {
        const std::optional<QString> zeile = leser.naechste();
        if (!zeile) return Ende::Daten;
        switch (Schneiden(*zeile, v.TZS, v.ZL, false, felder)) {
        case Schnitt::ZuKurz:
            throw Unlesbar{leser.nummer()};
        case Schnitt::Beschaedigt:
            // OK leaves the line out: the next line fills its row.
            if (!Bestaetigt(QStringLiteral("ZyklusNr. ") + Zahltext(zyklus) +
                            QStringLiteral(" ist beschädigt!")))
                return Ende::Abbruch;
            ++zyklus;
            continue;
        case Schnitt::Ok:
            break;
        }
        for (int k = 0; k < v.ZL; ++k)
            verteiler.setzen(ziel, k, felder[size_t(k)]);
        ++ziel;
        ++zyklus;
    }
}

// The whole file one line of records, each ending with TZZ.
Ende Satzweise(const VORGABE& v, Leser& leser, Zeilenpuffer& puffer, Verteiler& verteiler) {
    const std::optional<QString> zeile = leser.naechste();
    if (!zeile) return Ende::Daten;
    const QString& text = *zeile;
    const qsizetype laengeTZZ = v.TZZ.size();
    // r: the first character of the current record, counted from 1.
    qsizetype r = 1;
    int64_t zyklus = 0;
    if (!v.KENZ1NR.isEmpty()) {
        const int64_t n = Kopfzahl(v.KENZ1NR);
        qsizetype e = 1;
        for (int64_t i = 1; i <= n; ++i) {
            e = text.indexOf(v.TZZ, i == 1 ? 0 : e - 1 + laengeTZZ) + 1;
            if (e == 0) return Ende::Daten; // the header is all there is
        }
        r = e + laengeTZZ;
        zyklus = n;
    } else if (!v.KENZ1KZ.isEmpty()) {
        r = text.indexOf(v.KENZ1KZ) + 1 + v.KENZ1KZ.size() + 1;
    }
    std::vector<QString> felder;
    for (int ziel = puffer.start();; ++ziel, ++zyklus) {
        const qsizetype e = text.indexOf(v.TZZ, r) + 1;
        if (e == 0) return Ende::Daten; // text after the last TZZ is no record
        switch (Schneiden(text.mid(r - 1, e - r), v.TZS, v.ZL, true, felder)) {
        case Schnitt::ZuKurz:
            throw Unlesbar{leser.nummer()};
        case Schnitt::Beschaedigt:
            // Whatever the answer, the stream cannot be followed further.
            Bestaetigt(QStringLiteral("ZyklusNr. ") + Zahltext(zyklus) +
                       QStringLiteral(" ist beschädigt!"));
            return Ende::Abbruch;
        case Schnitt::Ok:
            break;
        }
        for (int k = 0; k < v.ZL; ++k)
            verteiler.setzen(ziel, k, felder[size_t(k)]);
        r = e + laengeTZZ;
    }
}

} // namespace

Ende Lesen(const VORGABE& vorgabe, const std::vector<GROESSE>& groessen, InputFile& datei,
           Zeilenpuffer& puffer) {
    Leser leser(datei);
    Verteiler verteiler(groessen, vorgabe.ZL, puffer);
    if (vorgabe.TZS.isEmpty()) return Zeilenweise(vorgabe, leser, puffer, verteiler);
    if (vorgabe.TZZ.isEmpty()) return Zyklusweise(vorgabe, leser, puffer, verteiler);
    return Satzweise(vorgabe, leser, puffer, verteiler);
}

} // namespace flx::import
