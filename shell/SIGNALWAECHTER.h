#pragma once

// Turns SIGTERM (the session ends, the system shuts down, `kill`) into a
// signal of the event loop, so that the main window can end the run in
// order instead of being cut off. The handler is installed at once; the
// event loop hears of a signal only after AKTIVIEREN (a signal before it is
// kept until then).

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
