#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>
#include <utility>

namespace {
std::string describe(const ScriptedDialogs::Box& box)
{
    QString text = box.kind == ScriptedDialogs::Kind::Message
                       ? QStringLiteral("message box (style %1)").arg(box.style)
                       : QStringLiteral("input box");
    text += QStringLiteral(" titled \"%1\": \"%2\"").arg(box.title, box.prompt);
    return text.toStdString();
}
}  // namespace

ScriptedDialogs::ScriptedDialogs() { m_previous = InstallDialogService(this); }

ScriptedDialogs::~ScriptedDialogs()
{
    InstallDialogService(m_previous);
    for (const Expectation& e : m_queue) {
        ADD_FAILURE() << "Expected box never shown: "
                      << (e.kind == Kind::Message ? "message box answered " +
                                                        std::to_string(e.answer)
                                                  : "input box answered \"" +
                                                        e.inputAnswer.toStdString() + "\"")
                      << (e.text.isEmpty() ? std::string()
                                           : " containing \"" + e.text.toStdString() + "\"");
    }
}

void ScriptedDialogs::expect(int answer, const QString& expectedText)
{
    m_queue.append({Kind::Message, answer, QString(), expectedText, false});
}

void ScriptedDialogs::expectHelp(int answer, const QString& expectedText)
{
    m_queue.append({Kind::Message, answer, QString(), expectedText, true});
}

void ScriptedDialogs::expectInput(const QString& answer, const QString& expectedText)
{
    m_queue.append({Kind::Input, 0, answer, expectedText, false});
}

QStringList ScriptedDialogs::prompts() const
{
    QStringList list;
    for (const Box& box : m_boxes) list << box.prompt;
    return list;
}

void ScriptedDialogs::clear()
{
    m_boxes.clear();
    m_held.clear();
}

ScriptedDialogs::Box ScriptedDialogs::message(const QString& prompt, int style,
                                              const QString& title)
{
    Box box;
    box.kind = Kind::Message;
    box.prompt = prompt;
    box.style = style;
    box.title = title;
    return box;
}

void ScriptedDialogs::MessageHeld(const QString& prompt, int style, const QString& title,
                                  bool later)
{
    Box box = message(prompt, style, title);
    box.held = true;
    box.expected = later;
    box.answer = msgbox::LeavingAnswer(style);
    m_held.append(box);
    // Its answer would be given without the user: the copy must not be
    // held while the program asks.
    if (msgbox::Buttons(style).contains(vbYes))
        ADD_FAILURE() << "Question asked while a writing transaction is open: " << describe(box);
}

void ScriptedDialogs::InputHeld(const QString& prompt, const QString& title)
{
    Box box;
    box.kind = Kind::Input;
    box.prompt = prompt;
    box.title = title;
    box.held = true;
    box.expected = false;
    m_held.append(box);
    ADD_FAILURE() << "Input box asked while a writing transaction is open: " << describe(box);
}

int ScriptedDialogs::ShowHeldMessage(const QString& prompt, int style, const QString& title)
{
    const int answer = ShowMessage(prompt, style, title, QString(), 0);
    if (!m_boxes.isEmpty()) m_boxes.last().held = true;
    return answer;
}

int ScriptedDialogs::SafeAnswer(int style)
{
    // The answer that lets the least happen (Cancel, No, Abort, else OK), so
    // that an unexpected question never triggers deletions or overwrites in
    // a failing test: the same answer the program gives a held box.
    return msgbox::LeavingAnswer(style);
}

int ScriptedDialogs::ShowMessage(const QString& prompt, int style, const QString& title,
                                 const QString& helpFile, int context)
{
    if (const auto waehrenddessen = std::exchange(waehrend, {})) waehrenddessen();
    Box box = message(prompt, style, title);
    box.helpFile = helpFile;
    box.context = context;

    if (m_queue.isEmpty() || m_queue.constFirst().kind != Kind::Message) {
        box.expected = false;
        box.answer = SafeAnswer(style);
        m_boxes.append(box);
        ADD_FAILURE() << "Unexpected " << describe(box) << " (answered " << box.answer << ")";
        return box.answer;
    }
    const Expectation e = m_queue.takeFirst();
    if (!e.text.isEmpty() && !prompt.contains(e.text)) {
        ADD_FAILURE() << "Expected a message box containing \"" << e.text.toStdString()
                      << "\", got " << describe(box);
    }
    if (e.pressHelp) {
        if (!msgbox::HasHelpButton(style))
            ADD_FAILURE() << "Help pressed on a box without Help button: " << describe(box);
        else
            ShowHelp(helpFile, context);
        box.helpPressed = true;
    }
    if (!msgbox::Buttons(style).contains(e.answer))
        ADD_FAILURE() << "Answer " << e.answer << " is not a button of " << describe(box);
    box.answer = e.answer;
    m_boxes.append(box);
    return e.answer;
}

QString ScriptedDialogs::ShowInput(const QString& prompt, const QString& title,
                                   const QString& defaultText)
{
    if (const auto waehrenddessen = std::exchange(waehrend, {})) waehrenddessen();
    Box box;
    box.kind = Kind::Input;
    box.prompt = prompt;
    box.title = title;
    box.defaultText = defaultText;

    if (m_queue.isEmpty() || m_queue.constFirst().kind != Kind::Input) {
        box.expected = false;
        m_boxes.append(box);
        ADD_FAILURE() << "Unexpected " << describe(box) << " (cancelled)";
        return QString();
    }
    const Expectation e = m_queue.takeFirst();
    if (!e.text.isEmpty() && !prompt.contains(e.text)) {
        ADD_FAILURE() << "Expected an input box containing \"" << e.text.toStdString()
                      << "\", got " << describe(box);
    }
    box.inputAnswer = e.inputAnswer;
    m_boxes.append(box);
    return e.inputAnswer;
}
