#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include <optional>
#include <utility>

namespace {

bool germanUser() { return GermanTexts(); }

QWidget* boxParent()
{
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

QMessageBox::Icon qtIcon(int code)
{
    switch (code) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::ButtonRole qtRole(int answer)
{
    switch (answer) {
    case vbOK: return QMessageBox::AcceptRole;
    case vbCancel: return QMessageBox::RejectRole;
    case vbAbort: return QMessageBox::RejectRole;
    case vbRetry: return QMessageBox::AcceptRole;
    case vbIgnore: return QMessageBox::AcceptRole;
    case vbYes: return QMessageBox::YesRole;
    case vbNo: return QMessageBox::NoRole;
    default: return QMessageBox::InvalidRole;
    }
}

// A box without Cancel and with more than an OK button cannot be dismissed:
// the user must choose one of its answers, as the original boxes demand.
class NoEscapeFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// The boxes that wait now. One closed by CloseBoxes carries the mark, so
// that its exec reads as no answer.
constexpr char kUnanswered[] = "_MsgBox_unanswered";

QList<QPointer<QDialog>>& waitingBoxes()
{
    static QList<QPointer<QDialog>> boxes;
    return boxes;
}

class Waiting {
public:
    explicit Waiting(QDialog* box) : m_box(box) { waitingBoxes().append(box); }
    ~Waiting() { waitingBoxes().removeAll(m_box); }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

private:
    QPointer<QDialog> m_box;
};

bool unanswered(const QDialog& box) { return box.property(kUnanswered).toBool(); }

class QtDialogService : public DialogService {
public:
    int ShowMessage(const QString& prompt, int style, const QString& title,
                    const QString& helpFile, int context) override
    {
        const bool german = germanUser();
        QMessageBox box(qtIcon(msgbox::Icon(style)), title,
                        msgbox::WholeWords(msgbox::DisplayText(prompt)), QMessageBox::NoButton,
                        boxParent());
        box.setTextFormat(Qt::PlainText);

        QHash<QAbstractButton*, int> answers;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* escapeButton = nullptr;
        for (int answer : msgbox::Buttons(style)) {
            QPushButton* button = box.addButton(msgbox::ButtonText(answer, german), qtRole(answer));
            answers.insert(button, answer);
            if (answer == msgbox::DefaultAnswer(style)) defaultButton = button;
            if (answer == msgbox::EscapeAnswer(style)) escapeButton = button;
        }
        QPushButton* help = nullptr;
        if (msgbox::HasHelpButton(style)) {
            help = box.addButton(msgbox::HelpButtonText(german), QMessageBox::HelpRole);
            // The Help button opens the help and leaves the box open: take it
            // away from the box's own handling, which would close it.
            QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
            QObject::connect(help, &QAbstractButton::clicked, &box,
                             [helpFile, context] { ShowHelp(helpFile, context); });
        }
        if (auto* button = qobject_cast<QPushButton*>(defaultButton)) box.setDefaultButton(button);
        NoEscapeFilter noEscape;
        if (escapeButton)
            box.setEscapeButton(escapeButton);
        else
            box.installEventFilter(&noEscape);

        const Waiting waiting(&box);
        for (;;) {
            box.exec();
            if (unanswered(box)) return 0;
            QAbstractButton* clicked = box.clickedButton();
            if (clicked && clicked == help) {
                // Should the box have closed all the same, it is shown again.
                continue;
            }
            if (clicked && answers.contains(clicked)) return answers.value(clicked);
            const int escape = msgbox::EscapeAnswer(style);
            return escape ? escape : msgbox::Buttons(style).constFirst();
        }
    }

    QString ShowInput(const QString& prompt, const QString& title,
                      const QString& defaultText) override
    {
        QInputDialog dialog(boxParent());
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(title);
        dialog.setLabelText(msgbox::WholeWords(msgbox::DisplayText(prompt)));
        if (auto* label = dialog.findChild<QLabel*>()) {
            label->setTextFormat(Qt::PlainText);
            // The box is as wide as its title needs: a short prompt would
            // leave a title such as "Mehrfachauswertung" cut in the middle.
            // (The dialog's own layout sets the dialog's minimum.)
            label->setMinimumWidth(WindowTitleWidth(title));
        }
        dialog.setTextValue(defaultText);
        const bool german = germanUser();
        dialog.setOkButtonText(msgbox::ButtonText(vbOK, german));
        dialog.setCancelButtonText(msgbox::ButtonText(vbCancel, german));
        const Waiting waiting(&dialog);
        if (dialog.exec() != QDialog::Accepted || unanswered(dialog)) return QString();
        return dialog.textValue();
    }

    void CloseBoxes() override
    {
        // done() rather than close(): a box that cannot be dismissed
        // ignores a close, and a close would answer Cancel.
        for (const QPointer<QDialog>& box : waitingBoxes()) {
            if (!box) continue;
            box->setProperty(kUnanswered, true);
            box->done(0);
        }
    }
};

QtDialogService& realService()
{
    static QtDialogService service;
    return service;
}

DialogService* g_service = nullptr;
HelpHandler g_helpHandler;

// The writing transactions open now, on every connection, and the box held
// meanwhile to be shown after them.
struct HeldBox {
    QString prompt;
    int style = 0;
    QString title;
};
int g_writing = 0;
std::optional<HeldBox> g_held;
int g_places = 0;

}  // namespace

int MsgBox(const QString& prompt, int style, const QString& title, const QString& helpFile,
           int context)
{
    const QString shown = title.isEmpty() ? ApplicationTitle() : title;
    if (g_writing > 0) {
        const bool question = msgbox::Buttons(style).contains(vbYes);
        const bool later = !question && !g_held;
        if (later) g_held = HeldBox{prompt, vbOKOnly + msgbox::Icon(style), shown};
        CurrentDialogService().MessageHeld(prompt, style, shown, later);
        return msgbox::LeavingAnswer(style);
    }
    // The box held before this one comes first; the run closed it: no
    // further box.
    if (ShowHeldBox() == 0) return 0;
    return CurrentDialogService().ShowMessage(prompt, style, shown, helpFile, context);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    const QString shown = title.isEmpty() ? ApplicationTitle() : title;
    if (g_writing > 0) {
        CurrentDialogService().InputHeld(prompt, shown);
        return QString();
    }
    if (ShowHeldBox() == 0) return QString();
    return CurrentDialogService().ShowInput(prompt, shown, defaultText);
}

QString ApplicationTitle() { return QCoreApplication::applicationName(); }

void CloseWaitingBoxes()
{
    // A box held for later goes with the run, too.
    g_held.reset();
    CurrentDialogService().CloseBoxes();
}

void WritingBegins() { ++g_writing; }

void WritingEnds()
{
    if (g_writing > 0) --g_writing;
    if (g_places == 0) ShowHeldBox();
}

HeldBoxPlace::HeldBoxPlace() { ++g_places; }

HeldBoxPlace::~HeldBoxPlace() { --g_places; }

int ShowHeldBox()
{
    if (g_writing > 0 || !g_held) return -1;
    const HeldBox box = *std::exchange(g_held, std::nullopt);
    return CurrentDialogService().ShowHeldMessage(box.prompt, box.style, box.title);
}

bool WritingOpen() { return g_writing > 0; }

DialogService* InstallDialogService(DialogService* service)
{
    DialogService* previous = g_service;
    g_service = service;
    return previous;
}

DialogService& CurrentDialogService()
{
    if (g_service) return *g_service;
    return realService();
}

void SetHelpHandler(HelpHandler handler) { g_helpHandler = std::move(handler); }

void ShowHelp(const QString& helpFile, int context)
{
    if (g_helpHandler) g_helpHandler(helpFile, context);
}

namespace msgbox {

QList<int> Buttons(int style)
{
    switch (style & 15) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int DefaultAnswer(int style)
{
    const QList<int> buttons = Buttons(style);
    const int index = (style & 0xF00) / 256;
    return index < buttons.size() ? buttons.at(index) : buttons.constFirst();
}

int EscapeAnswer(int style)
{
    const QList<int> buttons = Buttons(style);
    if (buttons.contains(vbCancel)) return vbCancel;
    if (buttons == QList<int>{vbOK}) return vbOK;
    return 0;
}

int LeavingAnswer(int style)
{
    if (const int escape = EscapeAnswer(style)) return escape;
    const QList<int> buttons = Buttons(style);
    if (buttons.contains(vbNo)) return vbNo;
    if (buttons.contains(vbAbort)) return vbAbort;
    return buttons.constFirst();
}

int Icon(int style)
{
    const int icon = style & 0x70;
    switch (icon) {
    case vbCritical:
    case vbQuestion:
    case vbExclamation:
    case vbInformation: return icon;
    default: return 0;
    }
}

bool HasHelpButton(int style) { return (style & vbMsgBoxHelpButton) != 0; }

QString DisplayText(const QString& prompt)
{
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString WholeWords(const QString& text) {
    QString whole;
    whole.reserve(text.size() + text.size() / 8);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype from = 0;
    for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < text.size();
         at = breaks.toNextBoundary()) {
        whole += QStringView(text).mid(from, at - from);
        from = at;
        if (!text.at(at - 1).isSpace()) whole += QChar(0x2060);
    }
    whole += QStringView(text).mid(from);
    return whole;
}

QString ButtonText(int answer, bool german)
{
    switch (answer) {
    case vbOK: return QStringLiteral("OK");
    case vbCancel: return german ? QStringLiteral("Abbrechen") : QStringLiteral("Cancel");
    case vbAbort: return german ? QStringLiteral("&Abbrechen") : QStringLiteral("&Abort");
    case vbRetry: return german ? QStringLiteral("&Wiederholen") : QStringLiteral("&Retry");
    case vbIgnore: return german ? QStringLiteral("&Ignorieren") : QStringLiteral("&Ignore");
    case vbYes: return german ? QStringLiteral("&Ja") : QStringLiteral("&Yes");
    case vbNo: return german ? QStringLiteral("&Nein") : QStringLiteral("&No");
    default: return QString();
    }
}

QString HelpButtonText(bool german)
{
    return german ? QStringLiteral("Hilfe") : QStringLiteral("Help");
}

}  // namespace msgbox
