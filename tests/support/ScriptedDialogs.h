#pragma once

// The dialog service of the tests: installed while it lives, it records every
// message and input box and answers them from a queue that the test fills.
// A box the test did not expect fails the test (with the box's text) and gets
// a safe answer; answers left unused when it goes fail the test as well.
// A box asked for while a writing transaction is open is held by the box
// service: it is recorded in held(), and shown (and answered from the queue)
// only once the transaction has ended, marked `held`; a question or an input
// box asked then fails the test.

#include "platform/runtime/MsgBox.h"

#include <QList>
#include <QString>
#include <functional>

class ScriptedDialogs : public DialogService {
public:
    enum class Kind { Message, Input };

    struct Box {
        Kind kind = Kind::Message;
        QString prompt;
        int style = 0;  // message boxes only
        QString title;  // as shown: an empty title has become the application's title
        QString helpFile;
        int context = 0;
        QString defaultText;  // input boxes only
        bool helpPressed = false;
        int answer = 0;       // message boxes
        QString inputAnswer;  // input boxes
        bool expected = true;
        bool held = false;  // asked while a writing transaction was open
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // The next box is a message box, answered with `answer` (vbOK, vbYes...).
    // With a text, the box's prompt must contain it.
    void expect(int answer, const QString& expectedText = QString());
    // The same, but the Help button is pressed first (the installed help
    // handler is called with the box's help file and context).
    void expectHelp(int answer, const QString& expectedText = QString());
    // The next box is an input box, answered with `answer` ("" is Cancel).
    void expectInput(const QString& answer, const QString& expectedText = QString());

    const QList<Box>& boxes() const { return m_boxes; }
    // The boxes asked for while a writing transaction was open, as asked
    // (answer: what their caller got); `expected` is false for one that was
    // dropped rather than shown later.
    const QList<Box>& held() const { return m_held; }
    // The prompts of all boxes shown, in order.
    QStringList prompts() const;
    int pending() const { return int(m_queue.size()); }
    void clear();

    // What an unexpected message box is answered with: OK on an OK-only box,
    // else the answer that declines and ends the procedure (Cancel, or No
    // on a Yes/No box, or Abort). An unexpected input box is cancelled ("").
    static int SafeAnswer(int style);

    int ShowMessage(const QString& prompt, int style, const QString& title,
                    const QString& helpFile, int context) override;
    QString ShowInput(const QString& prompt, const QString& title,
                      const QString& defaultText) override;
    // How often the program closed the boxes that waited (the run ended).
    void CloseBoxes() override { ++m_closings; }
    void MessageHeld(const QString& prompt, int style, const QString& title, bool later) override;
    void InputHeld(const QString& prompt, const QString& title) override;
    int ShowHeldMessage(const QString& prompt, int style, const QString& title) override;
    int closings() const { return m_closings; }

    // What happens while the next message or input box waits, once (another
    // run writes, the session ends).
    std::function<void()> waehrend;

private:
    static Box message(const QString& prompt, int style, const QString& title);
    struct Expectation {
        Kind kind;
        int answer = 0;
        QString inputAnswer;
        QString text;
        bool pressHelp = false;
    };

    QList<Expectation> m_queue;
    QList<Box> m_boxes;
    QList<Box> m_held;
    int m_closings = 0;
    DialogService* m_previous = nullptr;
};
