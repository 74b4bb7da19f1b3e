#pragma once

// Child processes for the tests that need real processes (a run killed at a
// random moment, two runs at the same time): the test executable started
// again as "<executable> --kind <name> <arguments...>" runs the function
// registered under that name instead of the tests and exits with its result.
// The child keeps the parent's environment (its HOME and settings).

#include <QProcess>
#include <QStringList>

class KINDPROZESS {
public:
    using FUNKTION = int (*)(const QStringList& argumente);

    // Registers a child function (at static initialisation).
    KINDPROZESS(const char* name, FUNKTION funktion);

    // Whether the command line asks for a child.
    static bool ISTKIND(int argc, char** argv);
    // Runs the child named on the command line.
    static int AUSFUEHREN(int argc, char** argv);

    // Starts the child `name` of this executable.
    static void STARTEN(QProcess& prozess, const QString& name, const QStringList& argumente);
    // The next line the child writes (without its line break); empty after
    // the time-out or when the child has ended. The time-out only catches a
    // child that hangs: a child on a loaded machine may need many seconds
    // for what takes it a moment alone, and a test waits on what the child
    // says, never on how fast it says it.
    static QString ZEILE(QProcess& prozess, int millisekunden = 60000);
    // Sends a line and returns the child's answer line.
    static QString BEFEHL(QProcess& prozess, const QString& zeile);
};
