#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

// ---- How a style is read -------------------------------------------------

TEST(MsgBoxStyle, ButtonSetsInOrder)
{
    EXPECT_EQ(msgbox::Buttons(0), (QList<int>{vbOK}));
    EXPECT_EQ(msgbox::Buttons(1), (QList<int>{vbOK, vbCancel}));
    EXPECT_EQ(msgbox::Buttons(2), (QList<int>{vbAbort, vbRetry, vbIgnore}));
    EXPECT_EQ(msgbox::Buttons(3), (QList<int>{vbYes, vbNo, vbCancel}));
    EXPECT_EQ(msgbox::Buttons(4), (QList<int>{vbYes, vbNo}));
    EXPECT_EQ(msgbox::Buttons(5), (QList<int>{vbRetry, vbCancel}));
    // The styles of the program: icon and help bits do not change the buttons.
    EXPECT_EQ(msgbox::Buttons(49), (QList<int>{vbOK, vbCancel}));
    EXPECT_EQ(msgbox::Buttons(48), (QList<int>{vbOK}));
    EXPECT_EQ(msgbox::Buttons(36), (QList<int>{vbYes, vbNo}));
    EXPECT_EQ(msgbox::Buttons(16420), (QList<int>{vbYes, vbNo}));
    EXPECT_EQ(msgbox::Buttons(64), (QList<int>{vbOK}));
}

TEST(MsgBoxStyle, IconsHelpAndDefaults)
{
    EXPECT_EQ(msgbox::Icon(49), 48);
    EXPECT_EQ(msgbox::Icon(36), 32);
    EXPECT_EQ(msgbox::Icon(16420), 32);
    EXPECT_EQ(msgbox::Icon(16), 16);
    EXPECT_EQ(msgbox::Icon(64), 64);
    EXPECT_EQ(msgbox::Icon(1), 0);
    EXPECT_TRUE(msgbox::HasHelpButton(16420));
    EXPECT_FALSE(msgbox::HasHelpButton(49));

    EXPECT_EQ(msgbox::DefaultAnswer(49), vbOK);
    EXPECT_EQ(msgbox::DefaultAnswer(1 + 256), vbCancel);
    EXPECT_EQ(msgbox::DefaultAnswer(3 + 512), vbCancel);
    EXPECT_EQ(msgbox::DefaultAnswer(4 + 256), vbNo);
    EXPECT_EQ(msgbox::DefaultAnswer(0 + 512), vbOK);  // no third button: the first

    EXPECT_EQ(msgbox::EscapeAnswer(49), vbCancel);
    EXPECT_EQ(msgbox::EscapeAnswer(3), vbCancel);
    EXPECT_EQ(msgbox::EscapeAnswer(48), vbOK);
    EXPECT_EQ(msgbox::EscapeAnswer(36), 0);
    EXPECT_EQ(msgbox::EscapeAnswer(2), 0);
}

TEST(MsgBoxStyle, LineBreaksAreKept)
{
    EXPECT_EQ(msgbox::DisplayText("VB-Error: 11\r\nDivision by zero"),
              "VB-Error: 11\nDivision by zero");
    EXPECT_EQ(msgbox::DisplayText("a\nb\rc\r\n\r\nd"), "a\nb\nc\n\nd");
}

// ---- The scripted service ------------------------------------------------

TEST(ScriptedDialogs, RecordsTextStyleTitleAndAnswers)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbCancel, "wird gelöscht");
    dialogs.expectInput("Probe 1", "Kommentar");

    EXPECT_EQ(MsgBox("Datensatz A1 wird gelöscht!", 49, "&Löschen"), vbCancel);
    EXPECT_EQ(InputBox("Kommentar: ", "Mehrfachauswertung"), "Probe 1");

    ASSERT_EQ(dialogs.boxes().size(), 2);
    const auto& box = dialogs.boxes().at(0);
    EXPECT_EQ(box.kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(box.prompt, "Datensatz A1 wird gelöscht!");
    EXPECT_EQ(box.style, 49);
    EXPECT_EQ(box.title, "&Löschen");
    EXPECT_EQ(box.answer, vbCancel);
    const auto& input = dialogs.boxes().at(1);
    EXPECT_EQ(input.kind, ScriptedDialogs::Kind::Input);
    EXPECT_EQ(input.title, "Mehrfachauswertung");
    EXPECT_EQ(input.defaultText, "");
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST(ScriptedDialogs, EmptyTitleBecomesTheApplicationTitle)
{
    const QString saved = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("VELD");
    {
        ScriptedDialogs dialogs;
        dialogs.expect(vbOK);
        dialogs.expectInput("x");
        MsgBox("Text");
        InputBox("Frage");
        EXPECT_EQ(dialogs.boxes().at(0).title, "VELD");
        EXPECT_EQ(dialogs.boxes().at(1).title, "VELD");
    }
    QCoreApplication::setApplicationName(saved);
}

TEST(ScriptedDialogs, UnexpectedMessageBoxFailsAndDeclines)
{
    ScriptedDialogs dialogs;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Soll gespeichert werden?", 36, "Titel"),
                            "Soll gespeichert werden?");
    EXPECT_EQ(answer, vbNo);
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Fehler", 49), "Unexpected message box");
    EXPECT_EQ(answer, vbCancel);
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Hinweis", 48), "Hinweis");
    EXPECT_EQ(answer, vbOK);
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Speichern?", 3), "Speichern?");
    EXPECT_EQ(answer, vbCancel);
    ASSERT_EQ(dialogs.boxes().size(), 4);
    EXPECT_FALSE(dialogs.boxes().at(0).expected);
}

TEST(ScriptedDialogs, UnexpectedInputBoxFailsAndCancels)
{
    ScriptedDialogs dialogs;
    QString answer = "unset";
    EXPECT_NONFATAL_FAILURE(answer = InputBox("Erste Zeile: ", "Zeilenfilter", "1"),
                            "Erste Zeile: ");
    EXPECT_EQ(answer, "");
}

TEST(ScriptedDialogs, WrongKindOrTextFails)
{
    ScriptedDialogs dialogs;
    dialogs.expectInput("abc");
    // A message box where an input box was expected: unexpected, the input
    // answer stays queued for the input box that follows.
    EXPECT_NONFATAL_FAILURE(MsgBox("Meldung", 49), "Meldung");
    EXPECT_EQ(InputBox("Frage"), "abc");

    dialogs.expect(vbOK, "Datensatz");
    EXPECT_NONFATAL_FAILURE(MsgBox("Etwas anderes", 49), "Datensatz");
}

TEST(ScriptedDialogs, AnswerThatTheBoxDoesNotHaveFails)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbCancel);
    EXPECT_NONFATAL_FAILURE(MsgBox("Nur OK", 48), "is not a button");
}

TEST(ScriptedDialogs, UnusedAnswersFailWhenItGoes)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.expect(vbYes, "überschrieben");
        },
        "never shown");
}

TEST(ScriptedDialogs, RestoresThePreviousServiceAndNests)
{
    DialogService* before = &CurrentDialogService();
    {
        ScriptedDialogs outer;
        EXPECT_EQ(&CurrentDialogService(), &outer);
        {
            ScriptedDialogs inner;
            inner.expect(vbOK);
            EXPECT_EQ(&CurrentDialogService(), &inner);
            MsgBox("innen");
        }
        EXPECT_EQ(&CurrentDialogService(), &outer);
        EXPECT_TRUE(outer.boxes().isEmpty());
    }
    EXPECT_EQ(&CurrentDialogService(), before);
}

TEST(ScriptedDialogs, HelpButtonOpensTheHelpAtItsContext)
{
    QString file;
    int context = -1;
    SetHelpHandler([&](const QString& f, int c) {
        file = f;
        context = c;
    });
    ScriptedDialogs dialogs;
    dialogs.expectHelp(vbNo);
    EXPECT_EQ(MsgBox("Komprimieren?", 16420, "&Speichern", "/opt/VELD/VELD.HLP", 34), vbNo);
    SetHelpHandler(nullptr);
    EXPECT_EQ(file, "/opt/VELD/VELD.HLP");
    EXPECT_EQ(context, 34);
    EXPECT_TRUE(dialogs.boxes().at(0).helpPressed);
    EXPECT_EQ(dialogs.boxes().at(0).helpFile, "/opt/VELD/VELD.HLP");
    EXPECT_EQ(dialogs.boxes().at(0).context, 34);
}

// ---- The real service, answered by a timer -------------------------------

namespace {
// Once a modal dialog is up, hands it to `action`. A watchdog closes any
// dialog still open after five seconds, so that no test can hang.
void whenModal(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    auto* watchdog = new QTimer;
    watchdog->setSingleShot(true);
    QObject::connect(watchdog, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "dialog left open";
            static_cast<QDialog*>(w)->done(0);
        }
    });
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, watchdog, action] {
        if (QWidget* w = QApplication::activeModalWidget(); w && w->isVisible()) {
            poll->stop();
            poll->deleteLater();
            // The watchdog goes with the dialog, so that it never fires into
            // a later test.
            watchdog->setParent(w);
            action(w);
        }
    });
    poll->start();
    watchdog->start(5000);
}

// Clicks the button with that caption; without one the box is closed and
// the test fails.
void click(QWidget* box, const QString& text)
{
    for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (b->text() == text) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    static_cast<QDialog*>(box)->done(0);
}
}  // namespace

TEST(RealMsgBox, ShowsTitleTextAndButtonsAndReturnsTheAnswer)
{
    QString shownTitle, shownText;
    QStringList shownButtons;
    whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shownTitle = box->windowTitle();
        shownText = box->text().remove(QChar(0x2060));
        for (QAbstractButton* b : box->buttons()) shownButtons << b->text();
        click(box, "&No");
    });
    EXPECT_EQ(MsgBox("Erste Zeile\r\nzweite <b>Zeile</b>", 36, "Frage"), vbNo);
    EXPECT_EQ(shownTitle, "Frage");
    EXPECT_EQ(shownText, "Erste Zeile\nzweite <b>Zeile</b>");
    shownButtons.sort();
    EXPECT_EQ(shownButtons, (QStringList{"&No", "&Yes"}));
}

TEST(RealMsgBox, GermanButtonsAndEscapeOnOkCancel)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QStringList shownButtons;
    whenModal([&](QWidget* box) {
        for (QAbstractButton* b : static_cast<QMessageBox*>(box)->buttons())
            shownButtons << b->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const int answer = MsgBox("VB-Error: 13\r\nTypen unverträglich", 49, "Datenfehler");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(answer, vbCancel);
    shownButtons.sort();
    EXPECT_EQ(shownButtons, (QStringList{"Abbrechen", "OK"}));
}

TEST(RealMsgBox, YesNoCannotBeEscaped)
{
    bool stillOpen = false;
    whenModal([&](QWidget* box) {
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        QApplication::processEvents();
        stillOpen = box->isVisible();
        click(box, "&Yes");
    });
    EXPECT_EQ(MsgBox("Überschreiben?", 36, "OK"), vbYes);
    EXPECT_TRUE(stillOpen);
}

TEST(RealMsgBox, HelpButtonKeepsTheBoxOpen)
{
    QString helpFile;
    int helpContext = 0;
    SetHelpHandler([&](const QString& f, int c) {
        helpFile = f;
        helpContext = c;
    });
    bool openAfterHelp = false;
    whenModal([&](QWidget* box) {
        click(box, "Help");
        QApplication::processEvents();
        openAfterHelp = box->isVisible();
        click(box, "&Yes");
    });
    EXPECT_EQ(MsgBox("Komprimieren?", 16420, "Save", "VELD.HLP", 34), vbYes);
    SetHelpHandler(nullptr);
    EXPECT_TRUE(openAfterHelp);
    EXPECT_EQ(helpFile, "VELD.HLP");
    EXPECT_EQ(helpContext, 34);
}

// A long list of identifiers wraps between them, never inside one ("T-" at
// the end of a line); the box reads as the prompt.
TEST(RealMsgBox, ALongListOfNamesWrapsBetweenTheNames) {
    QStringList namen;
    for (int i = 0; i < 60; ++i)
        namen << QStringLiteral("T-%1%2").arg(QChar('A' + i % 26)).arg(i / 26);
    const QString prompt = "Die Daten von " + namen.join(", ") + " wurden geändert.\r\nSpeichern?";
    QString gelesen;
    QStringList zeilen;
    whenModal([&](QWidget* w) {
        auto* text = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(text, nullptr);
        gelesen = QString(text->text()).remove(QChar(0x2060));
        QTextLayout layout(text->text().section('\n', 0, 0), text->font());
        layout.beginLayout();
        for (QTextLine zeile = layout.createLine(); zeile.isValid(); zeile = layout.createLine()) {
            zeile.setLineWidth(text->contentsRect().width());
            zeilen << layout.text().mid(zeile.textStart(), zeile.textLength()).trimmed();
        }
        layout.endLayout();
        click(w, "&Yes");
    });
    EXPECT_EQ(MsgBox(prompt, vbYesNoCancel + vbExclamation, "VELD"), vbYes);
    EXPECT_EQ(gelesen, msgbox::DisplayText(prompt));
    EXPECT_GT(zeilen.size(), 3);
    for (const QString& zeile : zeilen)
        EXPECT_FALSE(zeile.endsWith('-')) << zeile.toStdString();
}

// The box is also wide enough for a title longer than its prompt.
TEST(RealInputBox, ReturnsTheTextOrEmptyOnCancel)
{
    QString shownDefault;
    int width = 0;
    whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shownDefault = dialog->textValue();
        width = dialog->width();
        dialog->setTextValue("Bild 2");
        dialog->accept();
    });
    EXPECT_EQ(InputBox("Kommentar: ", "Mehrfachauswertung", "Bild 1"), "Bild 2");
    EXPECT_EQ(shownDefault, "Bild 1");
    EXPECT_GE(width, WindowTitleWidth("Mehrfachauswertung"));

    whenModal([](QWidget* w) { static_cast<QInputDialog*>(w)->reject(); });
    EXPECT_EQ(InputBox("Dateiname:", "KOPIE", "Bild 1"), "");
}

// While a writing transaction is open (two here, on two connections), a box
// answers at once with the answer that leaves; the first is shown after the
// last one ended, with OK alone, the later ones are dropped; a question
// fails the test and is never shown.
TEST(ScriptedDialogs, ABoxAskedWhileWritingIsHeldAndShownOnceAfterIt)
{
    ScriptedDialogs dialogs;
    int answer = 0;
    WritingBegins();
    WritingBegins();
    EXPECT_EQ(MsgBox("Erst", vbOKCancel + vbExclamation, "Titel"), vbCancel);
    EXPECT_EQ(MsgBox("Dann", vbOKOnly), vbOK);
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Weiter?", vbYesNo), "Question asked");
    EXPECT_EQ(answer, vbNo);
    EXPECT_NONFATAL_FAILURE(InputBox("Kommentar: "), "Input box asked");
    WritingEnds();
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    dialogs.expect(vbOK, "Erst");
    WritingEnds();
    EXPECT_FALSE(WritingOpen());
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_TRUE(dialogs.boxes()[0].held);
    EXPECT_EQ(dialogs.boxes()[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(dialogs.boxes()[0].title, "Titel");
    ASSERT_EQ(dialogs.held().size(), 4);
    EXPECT_FALSE(dialogs.held()[1].expected);
}
