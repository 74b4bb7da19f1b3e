#pragma once

// The page chooser: counts the open output pages, proposes the number of the
// active one, and on OK shows the chosen page maximised and hides every other
// listed page. Modeless, owned by the main window, one instance while open.
//
// The page list is built once at load, in four passes over the loaded forms
// (one per page prefix, in the order of the prefixes), and is not brought up
// to date while the dialog is open. Its references are guarded: a page closed
// meanwhile is skipped, and when the chosen page is closed OK changes nothing.

#include "pages/EINZELDIALOG.h"

#include <QList>
#include <QPointer>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

class frmANZEIGEN : public EINZELDIALOG<frmANZEIGEN> {
    Q_OBJECT
public:
    // Runs the load handler.
    explicit frmANZEIGEN(QWidget* parent = nullptr);
    ~frmANZEIGEN() override;

    // Loads the chooser when it is not loaded and shows it, not modal.
    static void ZEIGEN();

    // The number of pages listed at load.
    int ANZAHL() const { return int(m_seiten.size()); }
    // The page number the last check chose.
    double GEWAEHLTESEITE() const { return m_seite; }

    QLabel* lblSEITEN[2];
    QLabel* lblSEITE;
    QLineEdit* txtSEITE;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;

public slots:
    void Form_Activate();
    void txtSEITE_LostFocus();
    void cmdOK_Click();
    void cmdABBRECHEN_Click();

protected:
    bool event(QEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Form_Load();
    // The check of the page number: the text becomes the chosen number.
    void SEITENPRUEFEN();

    QList<QPointer<QWidget>> m_seiten;
    // The chosen number: no 16-bit limit (a huge entry becomes the count).
    double m_seite = 0;
};
