#pragma once

// The dialog service of the benchmarks: every box is answered OK (an input
// box Cancel) and counted, since a run that shows one measures something
// else. Installed while it lives.

#include "platform/runtime/MsgBox.h"

class Boxenzaehler : public DialogService {
public:
    Boxenzaehler() : m_vorher(InstallDialogService(this)) {}
    ~Boxenzaehler() override { InstallDialogService(m_vorher); }
    Boxenzaehler(const Boxenzaehler&) = delete;
    Boxenzaehler& operator=(const Boxenzaehler&) = delete;

    int ShowMessage(const QString&, int, const QString&, const QString&, int) override {
        ++anzahl;
        return vbOK;
    }
    QString ShowInput(const QString&, const QString&, const QString&) override {
        ++anzahl;
        return QString();
    }
    int anzahl = 0;

private:
    DialogService* m_vorher;
};
