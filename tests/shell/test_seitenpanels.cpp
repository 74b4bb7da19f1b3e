// The panels of the output pages, on test pages: the page chooser, printing
// the loaded pages, the screenshot, the word-processor document and the way
// back to the start screen.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "pages/AUSGABESEITE.h"
#include "pages/SEITENDIALOGE.h"
#include "platform/controls/CommonDialog.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/WordDocument.h"
#include "platform/runtime/ErrorHandler.h"
#include "shell/PANELBEFEHLE.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <gtest/gtest.h>
#include <optional>

namespace {

// A page of three pictures; what it prints goes into a shared list.
class TESTSEITE : public QWidget, public AUSGABESEITE {
public:
    TESTSEITE(const QString& name, QStringList& gedruckt) : m_gedruckt(gedruckt) {
        setObjectName(name);
        for (const char* bild : {"picBILD11", "picBILD12", "picBILD13"}) {
            auto* box = new PictureBox(this);
            box->setObjectName(QString::fromLatin1(bild));
            box->resize(40, 30);
            m_bilder << box;
        }
    }
    QWidget* FORMULAR() override { return this; }
    void DRUCKEN() override { m_gedruckt << objectName(); }
    void KONTEXT(bool, bool, int32_t, int32_t) override {}
    QList<PictureBox*> BILDER() override { return m_bilder; }

    QList<PictureBox*> m_bilder;

private:
    QStringList& m_gedruckt;
};

class Seitenpanels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(f.MDIForm_Load());
        f.AUTOSTART();
    }
    void TearDown() override {
        CommonDialog::SetPrinterScript({});
        SEITENDIALOGE::ERSETZEANZEIGEN({});
    }
    TESTSEITE* seite(const QString& name) {
        auto* s = new TESTSEITE(name, gedruckt);
        QMdiSubWindow* fenster = f.MDIBEREICH->addSubWindow(s);
        Forms::Load(s);
        fenster->show();
        f.MDIBEREICH->setActiveSubWindow(fenster);
        return s;
    }
    // The print dialog as it was shown, answered by `wahl` (none: cancel).
    void drucken(std::function<void(CommonDialog&)> wahl) {
        gezeigt.reset();
        CommonDialog::SetPrinterScript([this, wahl](CommonDialog& d) {
            gezeigt = {d.Min(), d.Max(), d.FromPage(), d.ToPage(), d.Flags()};
            if (wahl) wahl(d);
            return bool(wahl);
        });
        f.stbMAIN_PanelClick(11);
    }

    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    QStringList gedruckt;
    std::optional<std::array<int, 5>> gezeigt;
};

} // namespace

TEST_F(Seitenpanels, PrintNumbersThePagesByTheirPrefixes) {
    // Nothing loaded: no dialog.
    drucken([](CommonDialog&) {});
    EXPECT_FALSE(gezeigt);

    seite(QStringLiteral("mdiMSEITE1"));
    seite(QStringLiteral("mdiSEITE1"));
    f.MDIBEREICH->setActiveSubWindow(f.MDIBEREICH->subWindowList().at(1));
    ASSERT_EQ(Forms::Name(f.MDIBEREICH->currentSubWindow()->widget()), QStringLiteral("mdiMSEITE1"));
    drucken([](CommonDialog&) {});
    EXPECT_EQ(gezeigt, (std::array<int, 5>{1, 2, 2, 2, 524308}));
    EXPECT_EQ(gedruckt, QStringList({QStringLiteral("mdiSEITE1"), QStringLiteral("mdiMSEITE1")}));

    gedruckt.clear();
    drucken([](CommonDialog& d) { d.SetFlags(d.Flags() | CommonDialog::cdlPDPageNums); });
    EXPECT_EQ(gedruckt, QStringList({QStringLiteral("mdiMSEITE1")}));

    gedruckt.clear();
    drucken({});
    EXPECT_TRUE(gezeigt);
    EXPECT_TRUE(gedruckt.isEmpty());

    // Any letter case counts; with no page active every page is proposed.
    seite(QStringLiteral("MDISEITE9"));
    f.MDIBEREICH->setActiveSubWindow(nullptr);
    drucken([](CommonDialog&) {});
    EXPECT_EQ(gezeigt, (std::array<int, 5>{1, 3, 1, 3, 524308}));
    EXPECT_EQ(gedruckt.size(), 3);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Seitenpanels, ScreenshotSavesTheMainWindowAsABitmap) {
    f.resize(640, 480);
    const QString ordner = labor.PROJEKTSPFAD() + QStringLiteral("/TE0001.00/JPG/");
    const QString datensatz = f.PANELTEXT(6);
    boxen.expectInput(QString());
    f.stbMAIN_PanelClick(12);
    ASSERT_EQ(boxen.boxes().size(), 1);
    const auto& box = boxen.boxes().first();
    EXPECT_EQ(box.prompt,
              QString::fromUtf8("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ") +
                  ordner + datensatz + QStringLiteral("-1.bmp"));
    EXPECT_EQ(box.title, QStringLiteral("KOPIE"));
    EXPECT_EQ(box.defaultText, datensatz + QStringLiteral("-1"));
    EXPECT_TRUE(QDir(ordner).isEmpty());

    boxen.expectInput(QStringLiteral("a/b"));
    f.stbMAIN_PanelClick(12);
    const QImage bild(ordner + QStringLiteral("ab.bmp"));
    ASSERT_FALSE(bild.isNull());
    EXPECT_EQ(bild.size(), f.grab().size());
    EXPECT_EQ(QDir(ordner).entryList(QDir::Files), QStringList({QStringLiteral("ab.bmp")}));
}

TEST_F(Seitenpanels, WordGetsTheVisiblePicturesUnderTheirNames) {
    TESTSEITE* s = seite(QStringLiteral("mdiSEITE1"));
    s->m_bilder[1]->hide();
    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("Word"));
    WordDocument dokument;
    PANELBEFEHLE::WORDDOKUMENT(*s, dokument, eh);
    EXPECT_EQ(dokument.Pictures(), 2);
    EXPECT_EQ(dokument.Document().toPlainText(),
              QStringLiteral("picBILD11\n\uFFFC\npicBILD13\n\uFFFC\n"));

    labor.SYSTEM.RecordStartedPrograms();
    f.stbMAIN_PanelClick(13);
    ASSERT_EQ(labor.SYSTEM.OpenedDocuments().size(), 1);
    QFile datei(labor.SYSTEM.OpenedDocuments().first());
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
    const QByteArray inhalt = datei.readAll();
    datei.remove();
    EXPECT_TRUE(inhalt.startsWith("PK"));
    EXPECT_TRUE(inhalt.contains("application/vnd.oasis.opendocument.text"));
    // Each picture is an entry of its own, named in the local header and in
    // the directory.
    EXPECT_EQ(inhalt.count("Pictures/"), 4);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Seitenpanels, CloseUnloadsEveryPageButTheStartScreen) {
    int gewaehlt = 0;
    SEITENDIALOGE::ERSETZEANZEIGEN([&] { ++gewaehlt; });
    seite(QStringLiteral("mdiSEITE1"));
    seite(QStringLiteral("mdiMSEITE1"));
    for (int panel = 10; panel <= 15; ++panel) f.SETZEPANELSICHTBAR(panel, true);
    f.SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), false);
    f.SETZEMENUAKTIV(QStringLiteral("mnuEXTRAS"), false);
    f.SETZEMENUAKTIV(QStringLiteral("mnuAUSWERTEN"), false);
    f.stbMAIN_PanelClick(10);
    EXPECT_EQ(gewaehlt, 1);
    f.stbMAIN_PanelClick(14);
    f.stbMAIN_PanelClick(15);
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiSEITE1")), nullptr);
    EXPECT_EQ(Forms::Find(QStringLiteral("mdiMSEITE1")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList bleiben;
    for (const QMdiSubWindow* fenster : f.MDIBEREICH->subWindowList())
        bleiben << fenster->objectName();
    EXPECT_EQ(bleiben, QStringList({QStringLiteral("mdiAUTOSTART")}));
    // The main window and the start screen stay among the loaded forms.
    ASSERT_FALSE(Forms::All().isEmpty());
    EXPECT_EQ(Forms::All().first(), &f);
    EXPECT_NE(Forms::Find(QStringLiteral("mdiAUTOSTART")), nullptr);
    for (int panel = 10; panel <= 15; ++panel) EXPECT_FALSE(f.PANELSICHTBAR(panel)) << panel;
    EXPECT_TRUE(f.mnuDATEI->menuAction()->isEnabled());
    EXPECT_TRUE(f.mnuEXTRAS->menuAction()->isEnabled());
    EXPECT_FALSE(f.mnuAUSWERTEN->menuAction()->isEnabled());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}
