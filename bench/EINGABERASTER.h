#pragma once

// The input window's readings grid as the benchmarks use it: six columns
// (running number, date, time, elapsed time, water volume, temperature)
// with the window's types, formats and keys of the logged quantities.

#include "input/clsFLX.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"

#include <QLineEdit>
#include <QStringList>
#include <QVariantList>
#include <QWidget>
#include <vector>

struct Eingaberaster {
    QWidget fenster;
    MSFlexGrid* grid = new MSFlexGrid(&fenster);
    QLineEdit* editor = new QLineEdit(&fenster);
    PictureBox* bild = new PictureBox(&fenster);
    clsFLX FLX;

    Eingaberaster() {
        fenster.resize(700, 400);
        grid->setGeometry(10, 10, 600, 300);
        FLX.EFLX(grid);
        FLX.ETXT(editor);
        FLX.EPIC(bild);
        FLX.ELSB(QVariantList{15, 15, 15, 15, 15, 15});
        FLX.ELST1(QStringList{"Lfd.", "Datum", "Uhrzeit", "Zeitdiff.", "Wasservolumen", "Temp."});
        FLX.ELST2(QStringList{"Nr.", "[TT.MM.JJ]", "[hh:mm:ss]", "[min]", "[cm³]", "[°C]"});
        FLX.ELSTYP(QVariantList{1, 4, 5, 6, 0, 0});
        FLX.ELFORMAT(QStringList{"#0", "dd/mm/yy", "hh:mm:ss", "#0.0", "#0.00", "#0.00"});
        FLX.ELA(QVariantList{1, 2, 2, 2, 2, 2});
        FLX.ELSELEK(QStringList{"NR", "DATUM", "ZEIT", "", "VOL", "TEMP"});
        FLX.EDET(0);
        FLX.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0);
    }

    // Rows of texts from the first data row on.
    void laden(const std::vector<QStringList>& texte) {
        grid->SetRows(1 + int(texte.size()));
        for (int r = 0; r < int(texte.size()); ++r)
            for (int c = 0; c < 6; ++c)
                grid->SetTextMatrix(1 + r, c, texte[size_t(r)][c]);
    }
    // One empty data row, as a grid without readings.
    void leeren() {
        grid->SetRows(2);
        for (int c = 0; c < 6; ++c)
            grid->SetTextMatrix(1, c, QString());
    }
};
