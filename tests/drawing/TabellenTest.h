#pragma once

// A table object on a recording picture box "picBILD12" of 145 x 130 mm at
// 96 dpi in millimetre scale, with the scripted dialogs. The recording
// surface measures a character as half an em and a line as 1.15 em, so the
// text height of "X" in the default 8 pt is 1.15 x 8 x 25.4 / 72 mm.

#include "drawing/clsTABELLE.h"
#include "platform/controls/RecordingSurface.h"
#include "support/ScriptedDialogs.h"

#include <QVariantList>
#include <gtest/gtest.h>

#include <memory>

class TabellenTest : public ::testing::Test {
protected:
    static double Em(double punkte) { return punkte * 25.4 / 72; }
    static double Zeichen(double punkte) { return 0.5 * Em(punkte); }
    static double Zeilenhoehe(double punkte) { return 1.15 * Em(punkte); }

    void SetUp() override { Flaeche(145, 130); }

    // A new surface of the given size; the table is made anew on it.
    void Flaeche(double breite, double hoehe,
                 OutputObject::Kind art = OutputObject::Kind::PictureBox) {
        tabelle.reset();
        flaeche = std::make_unique<RecordingSurface>(breite, hoehe, 96.0, art);
        flaeche->SetScaleMode(6);
        flaeche->SetName(QStringLiteral("picBILD12"));
        tabelle = std::make_unique<clsTABELLE>();
        tabelle->setEOBJEKT(flaeche.get());
        flaeche->log().clear();
    }

    static QVariant Liste(std::initializer_list<QVariant> werte) { return QVariantList(werte); }

    // Five columns with the given widths, lines between all of them, head
    // lines drawn through, centred; EZH fixed so that the arithmetic is
    // round.
    void Spalten(std::initializer_list<QVariant> breiten, float EZH = 4) {
        clsTABELLE& t = *tabelle;
        t.setERZ(1.5f);
        t.setELSB(Liste(breiten));
        QVariantList eins, null, mitte, leer;
        for (qsizetype i = 0; i < qsizetype(breiten.size()); ++i) {
            eins.append(1);
            null.append(0);
            mitte.append(1);
            leer.append(QString());
        }
        t.setELGIT(eins);
        t.setELGITLEER(null);
        t.setELA(mitte);
        t.setELFORMAT(leer);
        t.setEZA(1);
        t.setEZH(EZH);
    }

    // Cells filled with "c/r" texts.
    static TABELLENZELLEN Zellen(int spalten, int zeilen) {
        TABELLENZELLEN z(spalten, zeilen);
        for (int c = 0; c < spalten; ++c)
            for (int r = 0; r < zeilen; ++r)
                z(c, r) = QStringLiteral("%1/%2").arg(c).arg(r);
        return z;
    }

    QList<Primitive> Art(Primitive::Kind art) const { return flaeche->log().of(art); }
    QList<Primitive> Texte() const { return Art(Primitive::Kind::Text); }
    // The text drawn with exactly this content (fails when not exactly one).
    Primitive Text(const QString& inhalt) const {
        QList<Primitive> treffer;
        for (const Primitive& p : Texte())
            if (p.text == inhalt) treffer.append(p);
        EXPECT_EQ(treffer.size(), 1) << inhalt.toStdString();
        return treffer.value(0);
    }
    bool Gezeichnet(const QString& inhalt) const {
        for (const Primitive& p : Texte())
            if (p.text == inhalt) return true;
        return false;
    }
    // Vertical lines at x (within 1e-4).
    QList<Primitive> Senkrechte(double x) const {
        QList<Primitive> treffer;
        for (const Primitive& p : Art(Primitive::Kind::Line))
            if (std::abs(p.x1 - x) < 1e-4 && std::abs(p.x2 - x) < 1e-4) treffer.append(p);
        return treffer;
    }

    ScriptedDialogs dialoge;
    std::unique_ptr<RecordingSurface> flaeche;
    std::unique_ptr<clsTABELLE> tabelle;
};
