#pragma once

// Turns SIGTERM (the session ends, the system shuts down, `kill`) into a
// signal of the event loop, so that the main window can end the run in
// order instead of being cut off. The handler is installed at once; the
// event loop hears of a signal only after AKTIVIEREN, so that one that came
// during the start-up waits until the start-up is done.

#include <QObject>

class QSocketNotifier;

class SIGNALWAECHTER : public QObject {
    Q_OBJECT
public:
    explicit SIGNALWAECHTER(QObject* parent = nullptr);
    ~SIGNALWAECHTER() override;

    void AKTIVIEREN();

signals:
    void BEENDEN();

private:
    QSocketNotifier* m_melder = nullptr;
};
