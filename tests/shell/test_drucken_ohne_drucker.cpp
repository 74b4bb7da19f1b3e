// Printing with no printer installed, on a real page in the real main
// window: panel 11 and Ctrl+P on the page each give one box in the
// program's language under the panel's text; no print dialog, no document,
// and the page is not drawn again. With a printer the dialog comes as ever.

#include "SHELLLABOR.h"
#include "support/KEINDRUCKER.h"
#include "support/ScriptedDialogs.h"

#include "pages/mdiSEITE1.h"
#include "platform/controls/CommonDialog.h"
#include "platform/controls/Forms.h"
#include "platform/controls/OutputObject.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(DruckenOhneDrucker, PanelAndCtrlPShowOneBoxAndPrintNothing) {
    struct Fall {
        const char* sprache;
        const char* text;
        const char* titel;
    };
    const Fall faelle[] = {{"de", "Es ist kein Drucker installiert!", "Drucken"},
                           {"en", "No printer is installed!", "Print"}};
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.sprache);
        SHELLLABOR labor(QString::fromLatin1(fall.sprache));
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P-1"), true);
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        f.resize(1000, 700);
        f.show();
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        ASSERT_TRUE(f.SEITELADEN(QStringLiteral("mdiSEITE1")));
        f.SEITEZEIGEN(QStringLiteral("mdiSEITE1"));
        auto* seite = qobject_cast<mdiSEITE1*>(Forms::Find(QStringLiteral("mdiSEITE1")));
        ASSERT_NE(seite, nullptr);
        PrimitiveLog bild;
        seite->picBILD11->SetRecorder(&bild);
        QTemporaryDir ordner;
        const QString pdf = ordner.filePath(QStringLiteral("seite.pdf"));
        Printer().SetOutputFileName(pdf);
        int dialoge = 0;
        CommonDialog::SetPrinterScript([&](CommonDialog&) {
            ++dialoge;
            return false;
        });
        {
            KEINDRUCKER keiner;
            const QString text = QString::fromLatin1(fall.text);
            boxen.expect(vbOK, text);
            f.stbMAIN_PanelClick(11);
            seite->picBILD11->setFocus();
            boxen.expect(vbOK, text);
            ASSERT_EQ(QApplication::focusWidget(), seite->picBILD11);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
            ASSERT_EQ(boxen.boxes().size(), 2);
            for (const auto& box : boxen.boxes()) {
                EXPECT_EQ(box.prompt, text);
                EXPECT_EQ(box.title, QString::fromLatin1(fall.titel));
                EXPECT_EQ(box.style, 48);
            }
            EXPECT_EQ(dialoge, 0);
            EXPECT_FALSE(Printer().Printing());
            EXPECT_FALSE(QFileInfo::exists(pdf));
            EXPECT_TRUE(bild.entries.empty());
        }
        // A printer again: the print dialog as before (cancelled, silently).
        f.stbMAIN_PanelClick(11);
        EXPECT_EQ(dialoge, 1);
        EXPECT_EQ(boxen.boxes().size(), 2);
        seite->picBILD11->SetRecorder(nullptr);
        CommonDialog::SetPrinterScript({});
        Printer().SetOutputFileName(QString());
    }
}
