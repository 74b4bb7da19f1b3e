#include "drawing/clsKOPFFUSS.h"

#include "drawing/EINSTELLUNGEN.h"
#include "drawing/FEHLERBOX.h"
#include "drawing/MESSUNG.h"
#include "drawing/TEXTMALER.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QLocale>
#include <QVariantList>
#include <algorithm>

namespace {
// The date as the user's locale writes a short date, with the year in full
// as on a printed report.
QString Kurzdatum(const QDateTime& datum) {
    const QLocale locale;
    QString muster = locale.dateFormat(QLocale::ShortFormat);
    if (!muster.contains(QLatin1String("yyyy")))
        muster.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return locale.toString(datum.date(), muster);
}

QString Sprachtext(int16_t sprache, const QString& englisch, const QString& deutsch) {
    if (sprache == 1) return englisch;
    if (sprache == 3) return deutsch;
    return QString();
}
} // namespace

clsKOPFFUSS::clsKOPFFUSS() : m_DATUM(DateFromSerial(0)), m_UHRZEIT(DateFromSerial(0)) {}

clsKOPFFUSS::~clsKOPFFUSS() {
    m_EOBJEKT = nullptr;
    m_RAHMENOBJEKT = nullptr;
    m_SCHRIFTSATZ.FREIGEBEN();
}

void clsKOPFFUSS::setAUSGABEOBJEKT(OutputObject* RAHMENOBJEKT, OutputObject* EOBJEKT) {
    m_RAHMENOBJEKT = RAHMENOBJEKT;
    m_EOBJEKT = EOBJEKT;
    if (!EOBJEKT) throw OBJEKTVARIABLEFEHLT();
    const MASSSTABFAKTOREN mass = MILLIMETERPROEINHEIT(*EOBJEKT);
    m_mmX = mass.X;
    m_mmY = mass.Y;
    m_randOben = DivSingle(15, m_mmY);
    m_randUnten = DivSingle(15, m_mmY);
    m_randLinks = DivSingle(15, m_mmX);
    m_randRechts = DivSingle(15, m_mmX);
    SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0);
}

void clsKOPFFUSS::setRANDABSTAND(const QString& LAGE, float BREITE) {
    if (LAGE == QLatin1String("oben")) {
        m_randOben = DivSingle(BREITE, m_mmY);
    } else if (LAGE == QLatin1String("unten")) {
        m_randUnten = DivSingle(BREITE, m_mmY);
    } else if (LAGE == QLatin1String("links")) {
        m_randLinks = DivSingle(BREITE, m_mmX);
    } else if (LAGE == QLatin1String("rechts")) {
        m_randRechts = DivSingle(BREITE, m_mmX);
    } else {
        m_randOben = DivSingle(BREITE, m_mmY);
        m_randUnten = DivSingle(BREITE, m_mmY);
        m_randLinks = DivSingle(BREITE, m_mmX);
        m_randRechts = DivSingle(BREITE, m_mmX);
    }
}

void clsKOPFFUSS::setKENNZEICHNUNG(const QVariant& wert) {
    if (wert.typeId() == QMetaType::QVariantList || wert.typeId() == QMetaType::QStringList) {
        const QVariantList liste = wert.toList();
        if (liste.isEmpty()) throw RuntimeError::SubscriptOutOfRange();
        QStringList texte;
        for (const QVariant& element : liste)
            texte.append(CStr(element));
        m_KENNZEICHNUNG = texte;
    } else {
        m_KENNZEICHNUNG = QStringList{CStr(wert)};
    }
}

float clsKOPFFUSS::RAHMENBREITE() {
    if (!m_RAHMENOBJEKT || !m_EOBJEKT) throw OBJEKTVARIABLEFEHLT();
    if (m_RAHMENOBJEKT == m_EOBJEKT) return m_EOBJEKT->ScaleWidth();
    const float breite = m_RAHMENOBJEKT->ScaleWidth();
    const MASSSTABFAKTOREN rahmen = MILLIMETERPROEINHEIT(*m_RAHMENOBJEKT);
    return CheckedSingle(DivDouble(double(breite) * rahmen.X, m_mmX));
}

float clsKOPFFUSS::RAHMENHOEHE() {
    if (!m_RAHMENOBJEKT || !m_EOBJEKT) throw OBJEKTVARIABLEFEHLT();
    if (m_RAHMENOBJEKT == m_EOBJEKT) return m_EOBJEKT->ScaleHeight();
    const float hoehe = m_RAHMENOBJEKT->ScaleHeight();
    const MASSSTABFAKTOREN rahmen = MILLIMETERPROEINHEIT(*m_RAHMENOBJEKT);
    return CheckedSingle(DivDouble(double(hoehe) * rahmen.Y, m_mmY));
}

void clsKOPFFUSS::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                                       bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE) {
    SCHRIFTEINSTELLEN(m_EOBJEKT, m_SCHRIFTSATZ, SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN,
                      KURSIV, FARBE, "VB-Error:", "Schrifteinstellungen");
}

void clsKOPFFUSS::TEXT(float X, float Y, const QVariant& TXT, int16_t horizontal,
                       int16_t vertikal) {
    TEXTMALER::TEXT(m_EOBJEKT, m_SCHRIFTSATZ, TEXTVARIANTE::KOPFFUSS(), X, Y, TXT, horizontal,
                    vertikal);
}

void clsKOPFFUSS::KOPFFUSSZEILE() {
    FEHLERBOX fehler("VB-Error: ", "Kopffuß-Zeile");
    const QString arial = QStringLiteral("Arial");
    auto o = [this]() -> OutputObject& {
        if (!m_EOBJEKT) throw OBJEKTVARIABLEFEHLT();
        return *m_EOBJEKT;
    };
    const float mT = m_randOben, mB = m_randUnten, mL = m_randLinks, mR = m_randRechts;
    const float kY = m_mmY;
    const int anzahl = int(m_KENNZEICHNUNG.size());
    // Nothing can be measured or placed without the output object.
    if (!fehler.AUSFUEHREN([&] { o(); })) return;

    // 1. Record label.
    if (m_SPRACHE == 1)
        m_DATENSATZTEXT = anzahl == 1 ? QStringLiteral("File") : QStringLiteral("Files");
    else if (m_SPRACHE == 3)
        m_DATENSATZTEXT =
            anzahl == 1 ? QStringLiteral("Datensatz") : QString::fromUtf8("Datensätze");

    // 2, 3. The room the identifiers have, in the size they are drawn in.
    fehler.AUSFUEHREN([&] { o().SetFontSize(10); });
    float verfuegbar = 0;
    const bool breiteBekannt = fehler.AUSFUEHREN(
        [&] { verfuegbar = RAHMENBREITE() - mL - mR - o().TextWidth(m_DATENSATZTEXT); });

    // 4. The first identifier always whole; the next ones while the line,
    // the identifier and a comma still fit, then ", ...".
    m_KENNZEILE = m_KENNZEICHNUNG.value(0);
    if (breiteBekannt) {
        fehler.AUSFUEHREN([&] {
            for (int i = 1; i < anzahl; ++i) {
                const QString& kennung = m_KENNZEICHNUNG.at(i);
                if (o().TextWidth(m_KENNZEILE + kennung + QStringLiteral(",")) > verfuegbar) {
                    m_KENNZEILE += QStringLiteral(", ...");
                    break;
                }
                m_KENNZEILE += QStringLiteral(", ") + kennung;
            }
        });
    }

    // 5. Title.
    fehler.AUSFUEHREN([&] { SCHRIFTEINSTELLUNGEN(arial, 16, true, false, false, 0); });
    fehler.AUSFUEHREN([&] { TEXT(mL, mT, m_UEBERSCHRIFT, 0, 0); });
    float hT = 0;
    const bool titelGemessen = fehler.AUSFUEHREN([&] { hT = o().TextHeight(m_UEBERSCHRIFT); });

    // 6, 7. Identifiers and comment.
    fehler.AUSFUEHREN([&] { SCHRIFTEINSTELLUNGEN(arial, 10, false, false, false, 0); });
    float yKennung = 0;
    const bool kennungPlatz = fehler.AUSFUEHREN([&] { yKennung = mT + DivSingle(9, kY); });
    if (!m_KENNZEILE.isEmpty() && kennungPlatz)
        fehler.AUSFUEHREN(
            [&] { TEXT(mL, yKennung, m_DATENSATZTEXT + QStringLiteral(" ") + m_KENNZEILE, 0, 0); });
    float hI = 0;
    const bool kennungGemessen = fehler.AUSFUEHREN([&] { hI = o().TextHeight(m_KENNZEILE); });
    if (!m_KOMMENTAR.isEmpty() && kennungGemessen && kennungPlatz)
        fehler.AUSFUEHREN([&] { TEXT(mL, yKennung + 1.5f * hI, m_KOMMENTAR, 0, 0); });

    // 8. Project, level with the foot of the title.
    const float yP = mT + hT - hI;
    const bool zeileBekannt = titelGemessen && kennungGemessen;
    const QString projekttext = Sprachtext(m_SPRACHE, QStringLiteral("Project ") + m_PROJEKT,
                                           QStringLiteral("Projekt ") + m_PROJEKT);
    float xP = 0;
    const bool projektPlatz =
        fehler.AUSFUEHREN([&] { xP = RAHMENBREITE() - o().TextWidth(projekttext) - mR; });
    if (projektPlatz && zeileBekannt) fehler.AUSFUEHREN([&] { TEXT(xP, yP, projekttext, 0, 0); });

    // 9. Page text, measured on the German wording in every language.
    const QString seite =
        QString::number(m_SEITE) + QStringLiteral("/") + QString::number(m_SEITENANZAHL);
    if (projektPlatz && zeileBekannt) {
        fehler.AUSFUEHREN([&] {
            const float xS = xP - o().TextWidth(QString(15, QLatin1Char(' ')) +
                                                QStringLiteral("Seite ") + seite);
            if (m_EBOKFS)
                TEXT(xS, yP,
                     Sprachtext(m_SPRACHE, QStringLiteral("Page ") + seite,
                                QStringLiteral("Seite ") + seite),
                     0, 0);
        });
    }

    // 10 to 12. Footer, right column: developers and copyright.
    fehler.AUSFUEHREN([&] { SCHRIFTEINSTELLUNGEN(arial, 7, false, false, false, 0); });
    const QString entwickler =
        Sprachtext(m_SPRACHE, QStringLiteral("Program developed by ") + m_PROGRAMMIERER,
                   QStringLiteral("Programmentwicklung: ") + m_PROGRAMMIERER);
    float xR = 0, yF = 0, hF = 0, W = 0;
    const bool fussBekannt = fehler.AUSFUEHREN([&] {
        W = RAHMENBREITE();
        xR = W - mR - std::max(o().TextWidth(m_COPYRIGHT), o().TextWidth(entwickler));
        yF = RAHMENHOEHE() - mB;
        hF = o().TextHeight(m_PROGRAMMIERER);
    });
    if (!fussBekannt) return;
    fehler.AUSFUEHREN([&] { TEXT(xR, yF, entwickler, 0, 2); });
    fehler.AUSFUEHREN([&] { TEXT(xR, yF + hF, m_COPYRIGHT, 0, 2); });

    // 13. Centre column: date and time.
    const float xC = (mL + W - mR) / 2;
    fehler.AUSFUEHREN([&] { TEXT(xC, yF, Kurzdatum(m_DATUM), 1, 2); });
    fehler.AUSFUEHREN([&] { TEXT(xC, yF + hF, Format(m_UHRZEIT, QStringLiteral("hh:mm")), 1, 2); });

    // 14. Left column: the person in charge.
    fehler.AUSFUEHREN([&] {
        TEXT(mL, yF,
             Sprachtext(m_SPRACHE, QStringLiteral("Project Manager: ") + m_BEARBEITER,
                        QStringLiteral("Bearbeiter: ") + m_BEARBEITER),
             0, 2);
    });
}
