// The finishing steps of the data-logger import, on the rows it wrote:
// prefix and suffix cut, dates and times rearranged by their masks, signs
// and leading points completed, the logger's decimal separator turned into
// the user's, factors applied.

#include "input/clsFLX_Importieren.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

namespace flx::import {

namespace {

// A number as a logger writes it: a sign, digits with one decimal comma or
// point, an exponent. Gives the position of the separator (-1 without one),
// or -2 when the text is no such number.
qsizetype LoggerZahl(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto ziffern = [&] {
        const qsizetype von = i;
        while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9')
            ++i;
        return i - von;
    };
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) ++i;
    qsizetype stellen = ziffern();
    qsizetype trenner = -1;
    if (i < n && (text.at(i) == u',' || text.at(i) == u'.')) {
        trenner = i++;
        stellen += ziffern();
    }
    if (stellen == 0) return -2;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        ++i;
        if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) ++i;
        if (ziffern() == 0) return -2;
    }
    return i == n ? trenner : -2;
}

// Two characters of a text at a 0-based position, as the runtime's Mid
// gives them (fewer at the end).
QString Zwei(const QString& text, qsizetype position) {
    return text.mid(position, 2);
}

} // namespace

bool Abschliessen(const VORGABE& v, const std::vector<GROESSE>& groessen, Zeilenpuffer& puffer,
                  int datumSpalte, int zeitSpalte, const std::vector<int>& spaltentyp) {
    ErrorHandler eh(kPraefix, kTitel);
    const int von = puffer.start();
    const int bis = von + puffer.zeilen();
    const auto jedeZelle = [&](int spalte, const auto& aendern) {
        if (spalte < 0 || spalte >= puffer.spalten()) return;
        for (int z = von; z < bis; ++z)
            aendern(puffer.zelle(z, spalte));
    };

    // 1. Prefix and suffix: cut by their lengths, not compared.
    for (const GROESSE& g : groessen)
        jedeZelle(g.ziel, [&](QString& t) {
            if (!g.PRAEFIX.isEmpty() && t.size() > g.PRAEFIX.size()) t.remove(0, g.PRAEFIX.size());
            if (!g.SUFFIX.isEmpty() && t.size() > g.SUFFIX.size()) t.chop(g.SUFFIX.size());
        });

    // 2. and 3. Dates and times: two characters from each place of the mask.
    const auto umstellen = [&](const QString& maske, const QString(&teile)[3], int spalte,
                               const QString& trenner, const QString& ungueltig) {
        if (maske.isEmpty()) return;
        qsizetype stellen[3];
        for (int i = 0; i < 3; ++i)
            stellen[i] = maske.indexOf(teile[i]);
        // A four-digit year gives its last two digits.
        const qsizetype jahr4 = teile[2] == QStringLiteral("JJ") ? maske.indexOf(u"JJJJ") : -1;
        if (jahr4 >= 0) stellen[2] = jahr4 + 2;
        if (stellen[0] < 0 || stellen[1] < 0 || stellen[2] < 0) {
            MsgBox(ungueltig, vbExclamation, kTitel);
            return;
        }
        // An empty cell has no date to rearrange.
        jedeZelle(spalte, [&](QString& t) {
            if (!t.isEmpty())
                t = Zwei(t, stellen[0]) + trenner + Zwei(t, stellen[1]) + trenner +
                    Zwei(t, stellen[2]);
        });
    };
    static const QString datumsteile[3] = {QStringLiteral("TT"), QStringLiteral("MM"),
                                           QStringLiteral("JJ")};
    static const QString zeitteile[3] = {QStringLiteral("hh"), QStringLiteral("mm"),
                                         QStringLiteral("ss")};
    umstellen(v.DATUM, datumsteile, datumSpalte, QStringLiteral("."),
              QStringLiteral("Es wurde für diese Konfiguration ein ungültiges Datumsformat im "
                             "Menü Elektronikvorgaben eingegeben!"));
    umstellen(v.UHRZEIT, zeitteile, zeitSpalte, QStringLiteral(":"),
              QStringLiteral("Es wurde für diese Konfiguration ein ungültiges Zeitformat im "
                             "Menü Elektronikvorgaben eingegeben!"));

    // 4. "-,5" and ",5": the zero before the point.
    for (const GROESSE& g : groessen)
        jedeZelle(g.ziel, [](QString& t) {
            if (t.startsWith(u"-.") || t.startsWith(u"-,")) t = QStringLiteral("-0.") + t.mid(2);
            if (t.startsWith(u'.') || t.startsWith(u',')) t = QStringLiteral("0.") + t.mid(1);
        });

    // 5. The logger's decimal comma or point becomes the user's separator,
    // so that the grid and the factor read the number as it was logged.
    const QString dezimal = LocaleDecimalSeparator();
    for (const GROESSE& g : groessen) {
        const int typ =
            g.ziel >= 0 && size_t(g.ziel) < spaltentyp.size() ? spaltentyp[size_t(g.ziel)] : -1;
        if (typ == 4 || typ == 5) continue;
        jedeZelle(g.ziel, [&](QString& t) {
            const qsizetype trenner = LoggerZahl(t);
            if (trenner >= 0 && t.mid(trenner, 1) != dezimal) t.replace(trenner, 1, dezimal);
        });
    }

    // 6. Factors, rounded to three decimals; a factor of 1 leaves the text
    // as it is. Logged values repeat: each text is converted once.
    for (const GROESSE& g : groessen) {
        if (g.FAKTOR == 1.0f) continue;
        Textmerker<QString> bekannt;
        for (int z = von; z < bis && g.ziel >= 0 && g.ziel < puffer.spalten(); ++z) {
            QString& t = puffer.zelle(z, g.ziel);
            // An empty cell holds no value to scale.
            if (t.isEmpty()) continue;
            const auto gefunden = bekannt.find(t);
            if (gefunden != bekannt.end()) {
                t = gefunden->second;
                continue;
            }
            eh.Run([&] {
                double wert = 0;
                if (!ParseNumberText(t, wert)) throw RuntimeError::TypeMismatch();
                const float produkt = CheckedSingle(double(CSng(wert)) * double(g.FAKTOR));
                const QString neu = DoubleText(Round(double(produkt), 3));
                bekannt.emplace(t, neu);
                t = neu;
            });
            if (eh.Left()) return false;
        }
    }
    return true;
}

} // namespace flx::import
