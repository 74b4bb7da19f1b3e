#pragma once

// A diagram object on a recording picture box of 145 x 130 mm at 96 dpi in
// millimetre scale, in a temporary laboratory, with the scripted dialogs.

#include "drawing/clsGRAFIK.h"
#include "platform/controls/RecordingSurface.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <gtest/gtest.h>

#include <memory>

// A plot area 20 mm in from the left, 10 from the right, 5 from the top and
// 15 from the bottom of a 145 x 130 mm drawing, showing x 0..100 and y 0..50
// the usual way.
inline void STANDARDDIAGRAMM(clsGRAFIK& g) {
    g.OX = 1;
    g.OY = 1;
    g.RL = 20;
    g.RR = 10;
    g.RO = 5;
    g.RU = 15;
    g.XMIN = 0;
    g.XMAX = 100;
    g.YMIN = 0;
    g.YMAX = 50;
    g.MX = 100.0f / (145 - 20 - 10);
    g.MY = 50.0f / (130 - 5 - 15);
}

class GrafikTest : public ::testing::Test {
protected:
    void SetUp() override {
        fenster = std::make_unique<TESTHAUPTFENSTER>();
        flaeche = std::make_unique<RecordingSurface>(145, 130);
        flaeche->SetScaleMode(6);
        grafik = std::make_unique<clsGRAFIK>();
        grafik->setEOBJEKT(flaeche.get());
        flaeche->log().clear();
    }

    void Diagramm() { STANDARDDIAGRAMM(*grafik); }

    const QList<Primitive>& eintraege() { return flaeche->log().entries; }

    ScriptedDialogs dialoge;
    std::unique_ptr<TESTHAUPTFENSTER> fenster;
    std::unique_ptr<RecordingSurface> flaeche;
    std::unique_ptr<clsGRAFIK> grafik;
};
