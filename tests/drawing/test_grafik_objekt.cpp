// The diagram object's frame: its initial state, its record key, measuring
// the output object, the lists and the small private routines.

#include "GrafikTest.h"

#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QVariantList>

namespace {
QVariantList Liste(const QVariant& v) {
    return v.toList();
}

TEST(GrafikNeu, InitialStateBeforeAnOutputObject) {
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    clsGRAFIK g;
    EXPECT_EQ(g.EID(), 0); // no active record
    EXPECT_EQ(g.EIDOBJEKT(), 11);
    EXPECT_EQ(g.EOBJEKT(), nullptr);
    EXPECT_EQ(g.EXBALKEN(), nullptr);
    EXPECT_EQ(g.EYBALKEN(), nullptr);
    EXPECT_EQ(g.EXDL(), 0);
    EXPECT_EQ(g.EYDO(), 0);
    EXPECT_EQ(g.ELX(), 0);
    EXPECT_EQ(g.ELY(), 0);
    EXPECT_EQ(g.EAXEX(), 1);
    EXPECT_EQ(g.EAXEY(), 1);
    EXPECT_EQ(g.ESKTX(), 0);
    EXPECT_EQ(g.ESKTY(), 0);
    EXPECT_FALSE(g.EBOXMIN());
    EXPECT_FALSE(g.EBOYMAX());
    EXPECT_EQ(g.ETEXTX(), "");
    EXPECT_EQ(g.ESKZX(), "####0");
    EXPECT_EQ(g.ESKZY(), "####0");
    EXPECT_EQ(g.EXYIT(), 0);
    EXPECT_EQ(g.EPTYP(), 0);
    EXPECT_FALSE(g.ELXMIN().isValid());
    EXPECT_FALSE(g.ELYZL().isValid());
    EXPECT_EQ(g.PIXELPROEINHEITX(), 0);
}

TEST(GrafikNeu, RecordKeyIsTheFirstActiveRecordInStoredOrder) {
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    fenster.DATENSATZANLEGEN(7, "A", "", false);
    fenster.DATENSATZANLEGEN(40000, "B", "", true);
    fenster.DATENSATZANLEGEN(3, "C", "", true);
    clsGRAFIK g;
    EXPECT_EQ(g.EID(), 40000); // a key beyond 16 bits comes back whole
    g.setEID(70000);
    EXPECT_EQ(g.EID(), 70000);
}

TEST(GrafikNeu, AFailingQueryReachesTheCreator) {
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    fenster.DBPROJEKT()->Close();
    EXPECT_THROW(clsGRAFIK(), RuntimeError);
}

using GrafikObjekt = GrafikTest;

TEST_F(GrafikObjekt, SettingAPictureBoxMeasuresItAndSetsTheDefaults) {
    EXPECT_FLOAT_EQ(grafik->ELX(), 145);
    EXPECT_FLOAT_EQ(grafik->ELY(), 130);
    EXPECT_NEAR(grafik->PIXELPROEINHEITX(), 96 / 25.4, 1e-4);
    EXPECT_NEAR(grafik->PIXELPROEINHEITY(), 96 / 25.4, 1e-4);
    EXPECT_EQ(Liste(grafik->ELXMIN()), (QVariantList{0.0, 145.0}));
    EXPECT_EQ(Liste(grafik->ELXDIFF()), (QVariantList{145.0}));
    EXPECT_EQ(Liste(grafik->ELXIT()), (QVariantList{1.0}));
    EXPECT_EQ(Liste(grafik->ELXGIT()), (QVariantList{0.0}));
    EXPECT_EQ(Liste(grafik->ELXZL()), (QVariantList{0.0}));
    EXPECT_EQ(Liste(grafik->ELYMIN()), (QVariantList{0.0, 130.0}));
    // The default font: Arial 8 pt, black, and the set built from it.
    EXPECT_EQ(flaeche->FontName(), "Arial");
    EXPECT_FLOAT_EQ(flaeche->FontSize(), 8);
    EXPECT_FALSE(flaeche->FontBold());
    EXPECT_EQ(flaeche->ForeColor(), 0);
    EXPECT_EQ(grafik->SATZ()[3].Name(), "Symbol");
    EXPECT_FLOAT_EQ(grafik->SATZ()[4].Size(), 7);
    // The millimetre scale stays.
    EXPECT_EQ(flaeche->ScaleMode(), 6);
}

TEST_F(GrafikObjekt, AUserScaleComesBackExactly) {
    RecordingSurface box(100, 80);
    box.Scale(-10, 100, 90, 20);
    grafik->setEOBJEKT(&box);
    EXPECT_EQ(box.ScaleMode(), 0);
    EXPECT_FLOAT_EQ(box.ScaleLeft(), -10);
    EXPECT_FLOAT_EQ(box.ScaleTop(), 100);
    EXPECT_FLOAT_EQ(box.ScaleLeft() + box.ScaleWidth(), 90);
    EXPECT_FLOAT_EQ(box.ScaleTop() + box.ScaleHeight(), 20);
    EXPECT_NEAR(grafik->PIXELPROEINHEITX(), box.PixelWidth() / 100.0, 1e-5);
    EXPECT_NEAR(grafik->PIXELPROEINHEITY(), -box.PixelHeight() / 80.0, 1e-5);
}

TEST_F(GrafikObjekt, AnObjectOfAnotherKindIsStoredButNotMeasured) {
    RecordingSurface form(200, 100, 96, OutputObject::Kind::Form);
    form.SetFontName("Courier New");
    form.SetFontSize(14);
    grafik->setELX(50);
    grafik->setEOBJEKT(&form);
    EXPECT_EQ(grafik->EOBJEKT(), &form);
    EXPECT_FLOAT_EQ(grafik->ELX(), 50);
    EXPECT_FLOAT_EQ(grafik->ELY(), 130);
    EXPECT_NEAR(grafik->PIXELPROEINHEITX(), 96 / 25.4, 1e-4); // from the picture box before
    EXPECT_EQ(form.FontName(), "Arial");
    EXPECT_FLOAT_EQ(form.FontSize(), 8);
}

TEST_F(GrafikObjekt, ThePrinterIsMeasuredLikeAPictureBox) {
    RecordingSurface drucker(297, 210, 600, OutputObject::Kind::Printer);
    drucker.SetScaleMode(6);
    grafik->setEOBJEKT(&drucker);
    EXPECT_NEAR(grafik->PIXELPROEINHEITX(), 600 / 25.4, 1e-3);
    EXPECT_FLOAT_EQ(grafik->ELX(), 297);
    EXPECT_FLOAT_EQ(grafik->ELY(), 210);
}

TEST_F(GrafikObjekt, ListsFollowTheirRules) {
    grafik->setELXGIT(clsGRAFIK::LISTE({10, 5}));
    EXPECT_EQ(Liste(grafik->ELXZL()), (QVariantList{10.0, 5.0}));
    grafik->setELXZL(clsGRAFIK::LISTE({2}));
    EXPECT_EQ(Liste(grafik->ELXGIT()), (QVariantList{10.0, 5.0}));
    EXPECT_EQ(Liste(grafik->ELXZL()), (QVariantList{2.0}));
    grafik->setELYGIT(clsGRAFIK::LISTE({4}));
    EXPECT_EQ(Liste(grafik->ELYZL()), (QVariantList{4.0}));
    grafik->setELXMIN(clsGRAFIK::LISTE({0, 5, 10}));
    grafik->setELX(80);
    EXPECT_EQ(Liste(grafik->ELXMIN()), (QVariantList{0.0, 80.0}));
    EXPECT_EQ(Liste(grafik->ELXGIT()), (QVariantList{0.0}));
    EXPECT_EQ(Liste(grafik->ELXZL()), (QVariantList{0.0}));
    // The y lists were left alone.
    EXPECT_EQ(Liste(grafik->ELYZL()), (QVariantList{4.0}));
}

TEST_F(GrafikObjekt, CouplingIsKeptAsAWholeNumber) {
    grafik->setEXYIT(1.4f);
    EXPECT_EQ(grafik->EXYIT(), 1);
    grafik->setEXYIT(2.5f);
    EXPECT_EQ(grafik->EXYIT(), 2);
    grafik->setEXYIT(3.5f);
    EXPECT_EQ(grafik->EXYIT(), 4);
    try {
        grafik->setEXYIT(40000);
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

TEST_F(GrafikObjekt, LinearInterpolation) {
    EXPECT_FLOAT_EQ(grafik->LININT(0, 10, 5, 0, 20), 10);
    EXPECT_FLOAT_EQ(grafik->LININT(0, 10, 0, 3, 20), 3);
    dialoge.expect(vbOK, "Division durch Null!");
    EXPECT_FLOAT_EQ(grafik->LININT(4, 4, 5, 1, 2), 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, "LININT");
    EXPECT_EQ(dialoge.boxes()[0].style, vbOKOnly);
}

TEST_F(GrafikObjekt, MinimumTakesTheSecondWhenEqual) {
    EXPECT_FLOAT_EQ(grafik->MINIMUM(3, 2), 2);
    EXPECT_FLOAT_EQ(grafik->MINIMUM(2, 3), 2);
    EXPECT_FLOAT_EQ(grafik->MINIMUM(-0.0f, 0.0f), 0.0f);
    EXPECT_FALSE(std::signbit(grafik->MINIMUM(-0.0f, 0.0f)));
}
} // namespace
