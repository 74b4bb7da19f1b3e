#pragma once

// The selection dialog: lists the identifiers of all records of the project
// (the multiple-evaluation record excepted), preselects the active ones and
// on OK stores the choice as the active flag E1.AKT of every listed record.
//
// The caller writes a mode letter into frmMAIN().AUSWAHLMODUS() ("O" open
// one record, "A" choose the active records, "L" delete, "E" export to the
// information system), shows the dialog modally (exec) and reads
// AUSWAHLMODUS afterwards: "OK" when the choice was stored, "Abbrechen" when
// the user cancelled (the mode letter stays when the window was closed
// otherwise; nothing was stored then either).
//
// Each list entry keeps its record's ID (Qt::UserRole): the checks of a
// clicked entry and the storing of the choice go by it, never by the text or
// the position of the entry.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QString>
#include <vector>

class frmAUSWAHL : public QDialog {
    Q_OBJECT
public:
    // Runs the load handler. Without a parent the main window's is taken.
    explicit frmAUSWAHL(QWidget* parent = nullptr);
    ~frmAUSWAHL() override;

    QListWidget* lstKEN;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;
    // Below the list. In File, Open, shown once a click was undone by the
    // rule of one choice: which record is chosen and how to choose another.
    // In the other modes always: the records OK acts on.
    QLabel* lblHINWEIS;

    // The record ID of a list entry.
    static int32_t ID(const QListWidgetItem* item);

public slots:
    // A change of the choice by the user: the rules of the mode for the
    // current entry, then the comment of that entry as the list's tooltip.
    void lstKEN_Click();
    void cmdOK_Click();
    void cmdABBRECHEN_Click();

protected:
    // Each action of the user changes one entry only: the rules of a mode
    // judge the entry just clicked, so neither "select all" nor dragging
    // over the list may change several at once.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Form_Load();
    // The list moved to the record that the user's typing names.
    void lstKEN_Getippt();
    // The rules of the mode for an entry the user changed, then its comment
    // as the list's tooltip: false when the rules undid the change or the
    // handler left.
    bool PRUEFEN(QListWidgetItem* item);
    // The typing ended: the typed record judged by the rules of the mode.
    bool GETIPPTPRUEFEN();
    // The comment of the entry at that list position as the list's tooltip.
    void KOMMENTARZEIGEN(int position);
    // The words below the list: what OK acts on (modes other than "O").
    void HINWEISZEIGEN();
    QString ueberschrift() const;

    QString m_modus;
    // True while the list is filled: the click rules do not apply.
    bool m_laden = false;
    // True while the dialog changes the choice itself.
    bool m_selbst = false;
    // The comment of each list entry, by list position.
    std::vector<QString> m_kom;
    // The records chosen only because they were active when the list
    // opened, untouched by the user since.
    QSet<int32_t> m_vorgewaehlt;
    // The record the user's typing chose, and whether it was chosen before;
    // the typing goes on while the timer runs.
    QListWidgetItem* m_getippt = nullptr;
    bool m_getipptVorher = false;
    QTimer m_tippzeit;
};
