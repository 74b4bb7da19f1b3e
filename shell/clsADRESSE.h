#pragma once

// The publisher's address block, as the start screen and the info box show
// it. Name, second name line and town follow the main window's language on
// every read (1 English, 3 German, any other code an empty text); the other
// lines are the same in both languages.

#include <QString>

class clsADRESSE {
public:
    QString FIRMA1() const;
    QString FIRMA2() const;
    QString PLZ() const;
    QString STR() const;
    QString VORSITZ() const;
    QString TEL() const;
    QString FAX() const;
    QString EMAIL() const;
    QString URL() const;
};
