#pragma once

// A laboratory for the output pages: the test main window with a temporary
// project, the scripted dialogs, pauses skipped, a German locale (decimal
// comma), and records written straight into the working copy: E1 (active),
// E2, E3, A1 and the curve rows A2 with w = V / m s * 100.

#include "platform/controls/OutputObject.h"
#include "platform/runtime/System.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QLocale>
#include <QStringList>
#include <QVariant>
#include <vector>

struct MESSUNG {
    QVariant det, v, temp;
};

class SEITENLABOR {
public:
    SEITENLABOR() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        SYSTEM.SkipSleeps();
    }
    ~SEITENLABOR() { QLocale::setDefault(QLocale::c()); }

    // A record with readings numbered as given (index, reading), its general
    // data, its A1 row (BONEU, VELD) and its curve rows.
    void PRUEFUNG(int id, const QString& ken, const std::vector<std::pair<int, MESSUNG>>& reihe,
                  float ms = 100, float tmax = 1440, float veld = 30, bool boneu = true,
                  bool aktiv = true, int16_t vt = 0, float dmax = 2.0f);
    // Readings 0, 1, 2... with these times and volumes.
    static std::vector<std::pair<int, MESSUNG>> REIHE(const std::vector<double>& t,
                                                      const std::vector<double>& v);

    // The texts logged, in order, turned ones included.
    static QStringList TEXTE(const PrimitiveLog& log);
    // The texts of one line (the same top, within 0.3 mm) joined by " | "
    // from left to right, lines from top to bottom, for texts whose left
    // edge lies in [xvon, xbis).
    static QStringList ZEILEN(const PrimitiveLog& log, double xvon = -1e9, double xbis = 1e9);
    // The first text primitive with exactly this text.
    static const Primitive* TEXT(const PrimitiveLog& log, const QString& text);

    TESTHAUPTFENSTER HAUPT;
    ScriptedDialogs BOXEN;
    SystemOverrides SYSTEM;
};
