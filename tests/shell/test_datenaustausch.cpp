// The File menu's exchange commands with the real dialogs: each is modal and
// owned by the main window; Export-Import marks the working copy as changed
// once its dialog opened another project's database.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "data/SCHEMA.h"
#include "exchange/frmEXPIMP.h"
#include "exchange/frmEXPINF.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Datenaustausch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.MDIForm_Load()); }
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
};

// Works the modal dialog that the next command opens. Whatever the steps
// find, the dialog is closed after them: a failed check ends the test at
// once instead of leaving it waiting on an open dialog.
template <class SCHRITTE>
void imDialog(SCHRITTE schritte) {
    QTimer::singleShot(0, [schritte] {
        schritte();
        if (QWidget* offen = QApplication::activeModalWidget()) offen->close();
    });
}

} // namespace

TEST_F(Datenaustausch, ExportImportAnswersOkOnceAnotherDatabaseWasOpened) {
    const QString andere = labor.PROJEKTSPFAD() + QStringLiteral("/TE0002.00");
    QDir().mkpath(andere);
    PROJEKTDATENBANKANLEGEN(andere + QStringLiteral("/VELD.mdb"));
    for (const bool oeffnen : {false, true}) {
        SCOPED_TRACE(oeffnen);
        f.mnuSPEICHERN_Click();
        QWidget* besitzer = nullptr;
        bool gesehen = false;
        imDialog([&] {
            auto* d = qobject_cast<frmEXPIMP*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            gesehen = true;
            besitzer = d->parentWidget();
            if (oeffnen) d->dirEXP_SetPath(andere);
            d->cmdSCHLIESSEN_Click();
        });
        f.mnuEXPIMP_Click();
        EXPECT_TRUE(gesehen);
        EXPECT_EQ(besitzer, &f);
        EXPECT_EQ(f.BOGEAENDERT(), oeffnen);
        EXPECT_EQ(f.AUSWAHLMODUS() == QLatin1String("OK"), oeffnen);
    }
}

// Imported records come with their active flag: the record panel shows
// them once the dialog is closed.
TEST_F(Datenaustausch, ExportImportRefreshesTheRecordPanel) {
    const QString andere = labor.PROJEKTSPFAD() + QStringLiteral("/TE0002.00");
    QDir().mkpath(andere);
    PROJEKTDATENBANKANLEGEN(andere + QStringLiteral("/VELD.mdb"));
    SHELLLABOR::DATENSATZ(andere + QStringLiteral("/VELD.mdb"), 4, QStringLiteral("IMP"), true);
    imDialog([&] {
        auto* d = qobject_cast<frmEXPIMP*>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        d->dirEXP_SetPath(andere);
        ASSERT_EQ(d->lstEXP->count(), 1);
        d->lstEXP->item(0)->setSelected(true);
        d->cmdIMP_Click();
        d->cmdSCHLIESSEN_Click();
    });
    f.mnuEXPIMP->trigger();
    EXPECT_EQ(f.PANELTEXT(6), QStringLiteral("IMP"));
}

TEST_F(Datenaustausch, ExportToTheInformationSystemShowsItsDialog) {
    bool gesehen = false;
    imDialog([&] {
        auto* d = qobject_cast<frmEXPINF*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        gesehen = true;
        EXPECT_EQ(d->parentWidget(), &f);
        EXPECT_FALSE(d->INFORMATIONSSYSTEM());
        d->cmdSCHLIESSEN_Click();
    });
    boxen.expect(vbOK, QStringLiteral("Informationssystem TALVIR ist nicht installiert!"));
    f.mnuEXPINF_Click();
    EXPECT_TRUE(gesehen);
    EXPECT_FALSE(f.BOGEAENDERT());
}
