#pragma once

// Message boxes and input boxes with the style and answer codes of the
// original runtime. Every box of the program goes through MsgBox/InputBox,
// which pass it to the installed DialogService: the real one shows a
// QMessageBox or QInputDialog, the tests install a scripted one.

#include <QList>
#include <QString>
#include <functional>

// Style codes: one button set, plus one icon, plus one default button, plus
// the help button.
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
    vbDefaultButton4 = 768,
    vbMsgBoxHelpButton = 16384,
};

// Answer codes.
enum MsgBoxResult {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// Shows a message box and returns the answer code of the button pressed.
// An empty title gives the application's title. Line breaks ("\r\n", "\n")
// in the prompt are kept. With vbMsgBoxHelpButton the box has a Help button
// that opens helpFile at context through the help handler and keeps the box
// open.
int MsgBox(const QString& prompt, int style = 0, const QString& title = QString(),
           const QString& helpFile = QString(), int context = 0);

// Shows an input box; returns the text typed, or "" when it was cancelled.
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString());

// The title of a box without one: the application's name
// (QCoreApplication::applicationName, which the program sets at start).
QString ApplicationTitle();

// The service behind MsgBox and InputBox. Titles reach it already resolved.
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int ShowMessage(const QString& prompt, int style, const QString& title,
                            const QString& helpFile, int context) = 0;
    virtual QString ShowInput(const QString& prompt, const QString& title,
                              const QString& defaultText) = 0;
    // The run ends while boxes wait (the session ends): they go at once,
    // without an answer (see CloseWaitingBoxes).
    virtual void CloseBoxes() {}
    // A box asked for while a writing transaction is open (see
    // WritingBegins) is held: told here, with whether it is shown later.
    virtual void MessageHeld(const QString& prompt, int style, const QString& title, bool later)
    {
        (void)prompt, (void)style, (void)title, (void)later;
    }
    virtual void InputHeld(const QString& prompt, const QString& title)
    {
        (void)prompt, (void)title;
    }
    // Shows a held box once no writing transaction is open any more.
    virtual int ShowHeldMessage(const QString& prompt, int style, const QString& title)
    {
        return ShowMessage(prompt, style, title, QString(), 0);
    }
};

// Boxes while a database is held for writing.
//
// No box waits while a writing transaction is open: every other run of the
// user that writes into the same file would wait for its answer. The
// database layer says when an outermost writing transaction begins and when
// it ends (committed, rolled back or ended by the engine), on any connection.
// A box asked for meanwhile is held: its caller gets the answer that leaves
// (see msgbox::LeavingAnswer; an input box gives ""), and the first box so
// held is shown, with OK alone since its choice is made, once no writing
// transaction is open any more. The boxes after it are dropped: they follow
// from the first (one refusal, one box). A question is never shown later,
// its answer having been given without it; code must not ask one while it
// writes.
//
// The held box is not shown from inside the commit or rollback that ended
// the writing: the run may end while it waits, and the code after the
// commit would go on in a closed program. Where a statement runs that its
// command can stop at (ErrorHandler::Run marks itself with a HeldBoxPlace),
// the box waits until that statement has returned and is shown there
// (ShowHeldBox); without such a place it is shown as the writing ends. Any
// other box asked for meanwhile shows it first.
void WritingBegins();
void WritingEnds();
bool WritingOpen();

// While one lives, a held box is left for ShowHeldBox when the writing ends.
class HeldBoxPlace {
public:
    HeldBoxPlace();
    ~HeldBoxPlace();
    HeldBoxPlace(const HeldBoxPlace&) = delete;
    HeldBoxPlace& operator=(const HeldBoxPlace&) = delete;
};
// Shows the held box when one waits and no writing transaction is open:
// its answer, 0 when the run closed it (the session ended: the caller
// stops). -1 when no box was shown.
int ShowHeldBox();

// Closes every message and input box that waits for an answer: MsgBox then
// returns 0, InputBox "". The code that showed the box learns that its form
// is unloaded (Forms::IsLoaded) and stops.
void CloseWaitingBoxes();

// Installs a service and returns the one it replaces. nullptr installs the
// real service again. The caller keeps ownership.
DialogService* InstallDialogService(DialogService* service);
DialogService& CurrentDialogService();

// What the Help button of a box does: the shell installs a handler that opens
// the help file at a context. Without a handler the button does nothing.
using HelpHandler = std::function<void(const QString& helpFile, int context)>;
void SetHelpHandler(HelpHandler handler);
// Opens the help through the installed handler (the Help button calls it).
void ShowHelp(const QString& helpFile, int context);

// How the real service reads a style; public so that the reading can be
// tested without showing a box.
namespace msgbox {
// Answer codes of the buttons in their order, without the Help button
// (style 3 gives {vbYes, vbNo, vbCancel}). An unknown button set gives OK.
QList<int> Buttons(int style);
// Answer of the default button (vbDefaultButton2 on style 1 gives vbCancel;
// a default beyond the last button falls back to the first).
int DefaultAnswer(int style);
// Answer that Esc and the window's close button give: Cancel where the box
// has one, OK on an OK-only box, 0 where the box cannot be dismissed that way
// (Yes/No, Abort/Retry/Ignore).
int EscapeAnswer(int style);
// The answer that leaves, given for a box that is held: the escape answer,
// else No on a Yes/No question and Abort on Abort/Retry/Ignore.
int LeavingAnswer(int style);
// Icon code of the style: 0, 16, 32, 48 or 64.
int Icon(int style);
bool HasHelpButton(int style);
// The prompt as the box shows it: "\r\n" and a lone "\r" become "\n".
QString DisplayText(const QString& prompt);
// The prompt as the box lays it out: a line breaks only at a space, never
// inside a word such as a test's identifier ("T-A", "B/2"). A word joiner (U+2060, which takes no
// room and shows nothing) stands at every other place where the text would break. For the screen
// only: what the program records and compares stays the prompt.
QString WholeWords(const QString& text);
// The caption of a button in the user's language (German or English).
QString ButtonText(int answer, bool german);
QString HelpButtonText(bool german);
}  // namespace msgbox
