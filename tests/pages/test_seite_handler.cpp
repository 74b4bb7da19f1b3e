// The handlers of a page: printing, the layout settings, keys, mouse, the
// click on the page, activation and unload.

#include "SEITENLABOR.h"
#include "support/KEINDRUCKER.h"

#include "pages/SEITENDIALOGE.h"
#include "pages/SEITENLADEN.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Programm(const QString& name, const QStringList& argumente) {
    QProcess p;
    p.start(name, argumente);
    if (!p.waitForFinished(20000)) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

class SeitenHandler : public ::testing::Test {
protected:
    void SetUp() override {
        labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60, 1440}, {10, 20, 30}));
        seite = std::make_unique<mdiSEITE1>();
        Forms::Load(seite.get());
        seite->picBILD11->SetRecorder(&bild11);
        seite->picBILD12->SetRecorder(&bild12);
        seite->FORM->SetRecorder(&form);
        seite->Form_Load();
        Printer().SetOutputFileName(ordner.filePath(QStringLiteral("seite.pdf")));
        Printer().SetRecorder(&papier);
    }
    void TearDown() override {
        Printer().KillDoc();
        Printer().SetRecorder(nullptr);
        Printer().SetOutputFileName(QString());
        SEITENDIALOGE::ERSETZEACHSEN(nullptr);
        SEITENDIALOGE::ERSETZELAYOUT(nullptr);
    }
    QString Pdf() const { return ordner.filePath(QStringLiteral("seite.pdf")); }

    SEITENLABOR labor;
    QTemporaryDir ordner;
    PrimitiveLog bild11, bild12, form, papier;
    std::unique_ptr<mdiSEITE1> seite;
};

TEST_F(SeitenHandler, PrintingMakesOneA4LandscapeDocumentAndRedrawsTheScreen) {
    bild11.clear();
    seite->DRUCKEN();
    ASSERT_TRUE(QFileInfo::exists(Pdf()));
    const QString info = Programm(QStringLiteral("pdfinfo"), {Pdf()});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 595 pts (A4)"))) << info.toStdString();
    QString text = Programm(QStringLiteral("pdftotext"), {Pdf(), QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    for (const char* teil : {"wmax=30,0[%]", "Versuchstyp", "Enslin", "1440", "P-1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(teil))) << teil;

    // Figure 11's plot area on paper: 31 to 163 mm across, 47 to 167 down.
    bool links = false, rechts = false;
    for (const Primitive& p : papier.of(Primitive::Kind::Line)) {
        const bool senkrecht = std::abs(p.x1 - p.x2) < 0.01 && std::abs(std::abs(p.y2 - p.y1) - 120) < 0.05;
        if (senkrecht && std::abs(p.x1 - 31) < 0.05 && std::min(p.y1, p.y2) > 46.9) links = true;
        if (senkrecht && std::abs(p.x1 - 163) < 0.05 && std::max(p.y1, p.y2) < 167.1) rechts = true;
    }
    EXPECT_TRUE(links && rechts);
    // The table rows of the screen.
    EXPECT_TRUE(SEITENLABOR::ZEILEN(papier).contains(QStringLiteral("2 | 1440,0 | 30,00 | - | 30,00")));
    // The screen is drawn again; a second print is a document of its own.
    EXPECT_EQ(bild11.entries.first().kind, Primitive::Kind::Cls);
    EXPECT_FALSE(Printer().Printing());
    seite->DRUCKEN();
    EXPECT_TRUE(Programm(QStringLiteral("pdfinfo"), {Pdf()}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

// Another run holds the copy for writing. A print writes nothing: it waits
// for no lock, shows no box, and the sheet reaches the printer; the screen's
// redraw after it keeps nothing either. A redraw whose scales the row does
// not hold must store them: it waits as a write does and says so in one box.
TEST_F(SeitenHandler, APrintBesideAnotherWriterNeitherWaitsNorShowsABox) {
    Connection anderer(labor.HAUPT.XMDBPFAD());
    anderer.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    BusyWait::SetTimeoutLimit(300);
    Connection& verbindung = *labor.HAUPT.DBPROJEKT();
    verbindung.Busy().Forget();
    bild11.clear();
    seite->DRUCKEN();
    EXPECT_FALSE(verbindung.Busy().Waited());
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
    EXPECT_TRUE(labor.BOXEN.held().isEmpty());
    QString text = Programm(QStringLiteral("pdftotext"), {Pdf(), QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    for (const char* teil : {"wmax=30,0[%]", "1440", "1500"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(teil))) << teil;
    EXPECT_NE(SEITENLABOR::TEXT(bild11, QStringLiteral("1440")), nullptr);

    // The other run leaves another scale in the row and holds the copy again.
    anderer.Execute(QStringLiteral("UPDATE [G0] SET [MX]=5 WHERE [ID]=1 AND [IDOBJEKT]=11; "
                                   "COMMIT; BEGIN IMMEDIATE"));
    labor.BOXEN.expect(vbOK, QStringLiteral("VB-Fehler: 3218"));
    seite->KONTEXT(true, true, RGB(255, 255, 255), RGB(255, 255, 255));
    EXPECT_TRUE(verbindung.Busy().Waited());
    ASSERT_EQ(labor.BOXEN.boxes().size(), 1);
    EXPECT_EQ(labor.BOXEN.boxes()[0].title, QStringLiteral("Bild 11"));
    anderer.Execute(QStringLiteral("COMMIT"));
    BusyWait::SetTimeoutLimit(0);
}

// With no printer installed the page says so once, in the program's
// language under its printing title, starts no document and draws nothing.
TEST_F(SeitenHandler, WithoutAPrinterOneBoxSaysSoAndNothingIsDrawn) {
    const KEINDRUCKER keiner;
    labor.HAUPT.SETZESPRACHE(1);
    for (PrimitiveLog* log : {&bild11, &bild12, &form, &papier})
        log->clear();
    labor.BOXEN.expect(vbOK, QStringLiteral("No printer is installed!"));
    seite->DRUCKEN();
    ASSERT_EQ(labor.BOXEN.boxes().size(), 1);
    EXPECT_EQ(labor.BOXEN.boxes()[0].title, QStringLiteral("Drucken von Seite 1"));
    EXPECT_EQ(labor.BOXEN.boxes()[0].style, 48);
    for (const PrimitiveLog* log : {&bild11, &bild12, &form, &papier})
        EXPECT_TRUE(log->entries.empty());
    EXPECT_FALSE(Printer().Printing() || QFileInfo::exists(Pdf()));
}

TEST_F(SeitenHandler, WithoutHeaderNeitherPaperNorScreenHasOne) {
    seite->KONTEXT(false, true, RGB(255, 255, 255), RGB(255, 255, 255));
    EXPECT_TRUE(SEITENLABOR::TEXTE(form).isEmpty() || form.entries.last().kind == Primitive::Kind::Cls);
    form.clear();
    seite->DRUCKEN();
    EXPECT_TRUE(SEITENLABOR::TEXTE(form).isEmpty());
    QString text = Programm(QStringLiteral("pdftotext"), {Pdf(), QStringLiteral("-")});
    EXPECT_FALSE(text.contains(QStringLiteral("P-1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Versuchstyp")));
}

TEST_F(SeitenHandler, CancelInsidePrintingKillsTheDocumentAndRedrawsTheScreen) {
    // A document left open by someone: the paper cannot change within it.
    Printer().SetScaleMode(6);
    Printer().Line(10, 10, 20, 20);
    labor.BOXEN.expect(vbCancel, QStringLiteral("396"));
    bild11.clear();
    seite->DRUCKEN();
    ASSERT_EQ(labor.BOXEN.boxes().size(), 1);
    EXPECT_EQ(labor.BOXEN.boxes()[0].title, QStringLiteral("Drucken von Seite 1"));
    EXPECT_TRUE(labor.BOXEN.boxes()[0].prompt.startsWith(QStringLiteral("VB-Fehler: 396")));
    EXPECT_FALSE(Printer().Printing());
    EXPECT_FALSE(QFileInfo::exists(Pdf()) && QFileInfo(Pdf()).size() > 0);
    EXPECT_EQ(bild11.entries.first().kind, Primitive::Kind::Cls);
    EXPECT_NE(SEITENLABOR::TEXT(bild11, QStringLiteral("1440")), nullptr);
    // Nothing of it is carried into the next job.
    papier.clear();
    seite->DRUCKEN();
    EXPECT_TRUE(Programm(QStringLiteral("pdfinfo"), {Pdf()}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_EQ(papier.entries.first().kind == Primitive::Kind::Line &&
                  std::abs(papier.entries.first().x1 - 10) < 0.01,
              false);
}

TEST_F(SeitenHandler, LayoutSettingsColourTheBoxesAndRedraw) {
    form.clear();
    bild12.clear();
    seite->KONTEXT(true, false, RGB(200, 200, 200), RGB(255, 255, 200));
    EXPECT_EQ(seite->FORM->BackColor(), RGB(200, 200, 200));
    EXPECT_EQ(seite->picBILD11->BackColor(), RGB(255, 255, 200));
    EXPECT_EQ(seite->picBILD12->BackColor(), RGB(255, 255, 200));
    EXPECT_FALSE(seite->HBOKFS);
    EXPECT_EQ(bild12.entries.first().kind, Primitive::Kind::Cls);
    EXPECT_EQ(form.entries.first().kind, Primitive::Kind::Cls);
    EXPECT_TRUE(SEITENLABOR::TEXTE(form).contains(QStringLiteral("Kommentar P-1")));
    EXPECT_FALSE(SEITENLABOR::TEXTE(form).join("").contains(QStringLiteral("1/1")));
    EXPECT_NE(SEITENLABOR::TEXT(bild12, QStringLiteral("Versuchstyp")), nullptr);
}

TEST_F(SeitenHandler, KeysPressThePanelsWhereverTheFocusIs) {
    struct Fall {
        int taste;
        Qt::KeyboardModifiers mod;
        int panel; // 0: none; -1: Quit
    };
    const Fall faelle[] = {{Qt::Key_Escape, Qt::NoModifier, 15},
                           {Qt::Key_Escape, Qt::ShiftModifier | Qt::ControlModifier, 15},
                           {Qt::Key_Q, Qt::AltModifier, -1},
                           {Qt::Key_Q, Qt::AltModifier | Qt::ControlModifier, -1},
                           {Qt::Key_Q, Qt::NoModifier, 0},
                           {Qt::Key_S, Qt::ControlModifier, 10},
                           {Qt::Key_P, Qt::ControlModifier, 11},
                           {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, 12},
                           {Qt::Key_W, Qt::ControlModifier, 13},
                           {Qt::Key_A, Qt::ControlModifier, 14},
                           {Qt::Key_S, Qt::NoModifier, 0}};
    seite->show();
    QWidget* ziele[] = {seite.get(), seite->picBILD11, seite->vscBILD12().Widget()};
    for (QWidget* ziel : ziele) {
        if (!ziel) continue;
        for (const Fall& f : faelle) {
            labor.HAUPT.PROTOKOLLLOESCHEN();
            QTest::keyClick(ziel, Qt::Key(f.taste), f.mod);
            const std::vector<int> panels = labor.HAUPT.PANELS();
            if (f.panel > 0) EXPECT_EQ(panels, std::vector<int>{f.panel}) << f.taste;
            else EXPECT_TRUE(panels.empty()) << f.taste;
            EXPECT_EQ(labor.HAUPT.BEENDENAUFRUFE(), f.panel == -1 ? 1 : 0) << f.taste;
        }
    }
}

TEST_F(SeitenHandler, RightButtonOnFigure11AndAClickOnThePageOpenTheirDialogs) {
    std::vector<std::pair<int, int>> achsen;
    std::vector<LAYOUTUEBERGABE> layouts;
    SEITENDIALOGE::ERSETZEACHSEN([&](int16_t b, int32_t id) { achsen.push_back({b, id}); });
    SEITENDIALOGE::ERSETZELAYOUT([&](const LAYOUTUEBERGABE& w) { layouts.push_back(w); });
    seite->show();
    QTest::mouseClick(seite->picBILD11, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(achsen.empty());
    QTest::mouseClick(seite->picBILD11, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(achsen, (std::vector<std::pair<int, int>>{{11, 1}}));
    QTest::mouseClick(seite->picBILD12, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(layouts.empty());

    seite->picBILD12->SetBackColor(RGB(1, 2, 3));
    seite->HBOKFS = false;
    QTest::mouseClick(seite->FORM, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(layouts.size(), 1u);
    EXPECT_TRUE(layouts[0].HBOKF);
    EXPECT_FALSE(layouts[0].HBOKFS);
    EXPECT_EQ(layouts[0].FARBEMDI, seite->FORM->BackColor());
    EXPECT_EQ(layouts[0].FARBEPIC, RGB(1, 2, 3));
    EXPECT_EQ(seite->BILDER().first(), seite->picBILD12);
    EXPECT_TRUE(seite->BILDZEICHNEN(11));
    EXPECT_FALSE(seite->BILDZEICHNEN(110));
}

TEST(SeitenLaden, AnMdiPageHidesPanel14WhenActivatedAndLeavesTheFormsOnUnload) {
    SEITENLABOR labor;
    labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60}, {1, 2}));
    QMdiArea bereich;
    bereich.resize(900, 600);
    bereich.show();
    QWidget* seite = SEITELADEN(QStringLiteral("mdiSEITE1"), &bereich);
    ASSERT_NE(seite, nullptr);
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiSEITE1")), seite);
    EXPECT_TRUE(Forms::IsMdiChild(seite));
    EXPECT_FALSE(seite->isVisible());
    // The hidden page's surface has the client area's size already, so the
    // footer drawn at its foot is kept.
    EXPECT_EQ(static_cast<mdiSEITE1*>(seite)->FORM->Image().size(), QSize(1024, 700));
    labor.HAUPT.SETZEPANELSICHTBAR(14, true);
    auto* fenster = qobject_cast<QMdiSubWindow*>(seite->parentWidget());
    fenster->showMaximized();
    bereich.setActiveSubWindow(fenster);
    QApplication::processEvents();

    EXPECT_FALSE(labor.HAUPT.PANELSICHTBAR(14));
    EXPECT_EQ(SEITELADEN(QStringLiteral("mdiXSEITE1"), &bereich), nullptr);
    EXPECT_TRUE(Forms::Unload(seite));
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiSEITE1")), nullptr);
}

// A load that fails reaches the command that loaded the page and leaves no
// half-built page behind: the next command loads it afresh.
TEST(SeitenLaden, APageWhoseLoadFailsIsNotLeftLoaded) {
    SEITENLABOR labor;
    labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60}, {1, 2}));
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("ALTER TABLE [E3] RENAME COLUMN [DET] TO [D]"));
    QMdiArea bereich;
    EXPECT_ANY_THROW(SEITELADEN(QStringLiteral("mdiSEITE1"), &bereich));
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiSEITE1")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(bereich.subWindowList().isEmpty());

    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("ALTER TABLE [E3] RENAME COLUMN [D] TO [DET]"));
    QWidget* seite = SEITELADEN(QStringLiteral("mdiSEITE1"), &bereich);
    ASSERT_NE(seite, nullptr);
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiSEITE1")), seite);
    EXPECT_TRUE(Forms::Unload(seite));
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

} // namespace
