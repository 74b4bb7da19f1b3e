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
    // Below the list, shown once a click was undone by the rule of one
    // choice: which record is chosen and how to choose another.
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
    QString ueberschrift() const;

    QString m_modus;
    // True while the list is filled: the click rules do not apply.
    bool m_laden = false;
    // True while the dialog changes the choice itself.
    bool m_selbst = false;
    // The comment of each list entry, by list position.
    std::vector<QString> m_kom;
};
