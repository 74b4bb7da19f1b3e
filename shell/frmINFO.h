#pragma once

// The info box: the program, its version and its makers, and the
// publisher's address block. Modal, owned by the main window; its one
// button closes it.

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

class mdiAUTOSTART;

class frmINFO : public QDialog {
    Q_OBJECT
public:
    // The start screen lends its title, subtitle and version lines.
    explicit frmINFO(mdiAUTOSTART* startbildschirm, QWidget* parent = nullptr);

    // The load handler; the constructor runs it.
    void Form_Load();

    // The names of the program's developers, as the version information
    // carries them.
    static QString VERSIONSMARKEN();
    // The developers' text as the box shows it: a text of more than 50
    // characters with a "," at or after character 50 is cut after that
    // comma and ends in " ...".
    static QString ENTWICKLERTEXT(const QString& marken);

    QPushButton* cmdSCHLIESSEN;
    std::array<QLabel*, 7> lblINFO;
    std::array<QLabel*, 8> lblADRESSE;
    QFrame* linTRENN;
    QLabel* imgLOGO;

private:
    void cmdSCHLIESSEN_Click();
    mdiAUTOSTART* m_start;
};
