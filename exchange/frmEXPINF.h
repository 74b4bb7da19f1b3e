#pragma once

// The export to the information system: writes the result of a record of the
// current project into the suite's information system TALVIR.mdb, as a new
// entry (tables E0, E1, E2) or over the results of an entry the user chose.
// lstPROJ lists the project's records, lstINF the project's entries in the
// information system; a second click on the chosen entry deselects it, and
// Apply then creates a new entry.
//
// The three data-access objects on TALVIR share one connection, so that a
// transfer is one transaction: the new key, the entry's rows and its
// results are written whole or, on any failure or Cancel, not at all.

#include <QDate>
#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class clsDATEN;

class frmEXPINF : public QDialog {
    Q_OBJECT
public:
    // Runs the load handler. Without a parent the main window is the owner.
    explicit frmEXPINF(QWidget* parent = nullptr);
    ~frmEXPINF() override;

    QGroupBox* fraPROJ;
    QLabel* lblAKTP1;
    QLabel* lblAKTP2;
    QListWidget* lstPROJ;
    QGroupBox* fraINF;
    QLabel* lblAKTI1;
    QLabel* lblAKTI2;
    QLabel* lblAKTI3;
    QListWidget* lstINF;
    QPushButton* cmdUEBERNEHMEN;
    QPushButton* cmdSCHLIESSEN;

    // The date text of a new entry: "dd.mm.yy" in every locale.
    static QString DATUMSTEXT(const QDate& datum);
    // The information system was found at load.
    bool INFORMATIONSSYSTEM() const { return m_talvir; }

public slots:
    void lstINF_Click();
    void cmdUEBERNEHMEN_Click();
    void cmdSCHLIESSEN_Click();

protected:
    void done(int ergebnis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void STEUERELEMENTEANLEGEN();
    void Form_Load();
    void Form_Unload();
    void LISTENFUELLEN(QListWidget& lstP, QListWidget& lstI);
    void DATENSATZUEBERNEHMEN(QListWidget& lstP, QListWidget& lstI);
    // Steps of the transfer inside its transaction; false when one failed
    // or the user cancelled its error box.
    bool UEBERTRAGEN(bool neu, int32_t& eintrag);

    int16_t m_sprache = 3;
    QString m_projekt;
    QString m_quelle;
    QString m_bearbeiter;
    QString m_datum;
    bool m_talvir = false;
    int m_gemerkt = -1; // the entry list's index last chosen by a click
    // The entry list's Click: while it runs, the selection it changes itself
    // is no new Click; a mouse click that changed the selection has had its
    // Click with the change.
    bool m_imKlick = false;
    bool m_klickGewaehlt = false;
    bool m_entladen = false;
    // On the working copy: E1, E2, A1 of the project.
    std::unique_ptr<clsDATEN> m_projE1, m_projE2, m_projA1;
    // On TALVIR.mdb, one connection: E0, E1, E2 of the information system.
    std::unique_ptr<clsDATEN> m_infE0, m_infE1, m_infE2;
};

// Shows the dialog modally, owned by the main window (or by the given owner).
void EXPINFZEIGEN(QWidget* besitzer = nullptr);
