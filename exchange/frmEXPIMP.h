#pragma once

// The export/import dialog: copies whole records (their rows of E1, E2, E3,
// A1, A2 and G0) between the working copy of the current project and the
// project database VELD.mdb of another project, which the user finds with a
// drive list and a folder list. Export copies the records chosen in lstIMP
// (this project) into the other database, Import those chosen in lstEXP into
// the working copy. A copied record gets the then highest key of the target
// plus 1; an identifier that the target already holds is refused.
//
// Each record is copied in one transaction of the target: it arrives whole
// or not at all, and the records finished before a failure or a Cancel stay.
// Columns are copied by name, so the two databases may order them
// differently.
//
// At unload the dialog writes "OK" into frmMAIN().AUSWAHLMODUS() when it
// opened another project's database, so that the main window marks its
// working copy as changed.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class Connection;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QTreeWidget;
class RuntimeError;

class frmEXPIMP : public QDialog {
    Q_OBJECT
public:
    // Runs the load handler. Without a parent the main window is the owner.
    explicit frmEXPIMP(QWidget* parent = nullptr);
    ~frmEXPIMP() override;

    QGroupBox* fraEXP;
    QComboBox* drvEXP;
    QTreeWidget* dirEXP;
    QListWidget* lstEXP;
    QGroupBox* fraIMP;
    QListWidget* lstIMP;
    QPushButton* cmdEXP;
    QPushButton* cmdIMP;
    QPushButton* cmdSCHLIESSEN;

    // The drive list's drive (the root of a volume) and the folder list's
    // folder. Setting either runs its change handler, as the user's choice
    // does.
    QString drvEXP_Drive() const;
    void drvEXP_SetDrive(const QString& laufwerk);
    QString dirEXP_Path() const { return m_ordner; }
    void dirEXP_SetPath(const QString& ordner);

    // The other project's connection; open once a project database was
    // found in a chosen folder.
    const std::shared_ptr<Connection>& ANDEREDATENBANK() const { return m_andere; }
    // A database of another project was opened during this dialog.
    bool DATENBANKGEOEFFNET() const { return m_geoeffnet; }

    // The roots of the mounted volumes that are ready, and the root of the
    // volume that holds a path.
    static QStringList LAUFWERKE();
    static QString LAUFWERK(const QString& pfad);
    // A folder's base name: its last component without the part from its
    // last dot on ("/x/TE0000.00" gives "TE0000").
    static QString BASISNAME(const QString& ordner);

    // Fills a list with the records of the database behind a connection:
    // "KEN (KOM)" with the record's ID as the item's data (Qt::UserRole), its
    // identifier under kKENNUNG and its comment as shown under kKOMMENTAR,
    // ordered by KEN, the multiple-evaluation row (ID 0) left out. A
    // database without records gives the single item "<leer>", which
    // carries no key. Failures reach the caller.
    static void LISTENFUELLEN(Connection& verbindung, QListWidget& liste);
    static constexpr int kKENNUNG = Qt::UserRole + 1;
    static constexpr int kKOMMENTAR = Qt::UserRole + 2;
    // Copies every record chosen in the list from the source into the
    // target, with the duplicate question and the error box of the dialog.
    // A target that another file took the place of meanwhile takes nothing
    // more: the copy ends there. With `ersetzt` the records left uncopied
    // then are added to it (as the list shows them) for the caller to tell,
    // else the refusal's error box tells it once.
    static void KOPIEREN(Connection& quelle, QListWidget& liste, Connection& ziel,
                         QStringList* ersetzt = nullptr);
    // Copies the record `id` of `quelle` whole into `ziel` in one
    // transaction, without a question: none when `ziel` holds a record of
    // its identifier already (0 then). The record keeps its key where `ziel`
    // has it free, otherwise it gets the highest plus 1; the key is
    // returned. Failures reach the caller, the target as it was before.
    static int32_t DATENSATZUEBERNEHMEN(Connection& quelle, int32_t id, Connection& ziel);

public slots:
    void drvEXP_Change();
    void dirEXP_Change();
    void cmdEXP_Click();
    void cmdIMP_Click();
    void cmdSCHLIESSEN_Click();

protected:
    // Every way of closing the dialog runs the unload handler once.
    void done(int ergebnis) override;

private:
    void Form_Load();
    void Form_Unload();
    void STEUERELEMENTEANLEGEN();
    void ORDNERZEIGEN();
    void ANDEREDATENBANKSCHLIESSEN();
    // Closes the other project's database after a failure to open or read
    // it (or the file at its path), empties its list and tells the failure.
    void ANDEREDATENBANKVERWERFEN(const RuntimeError& fehler);
    // The other project's database as the file that is at its path now,
    // opened anew when another file took its place; false when none is
    // open (then nothing can be copied). A record chosen in lstEXP stays
    // chosen in the new file only where exactly one record there shows what
    // the list showed; the others are added to `nichtGefunden` (as the list
    // showed them, with why) for the caller to tell.
    bool ANDEREDATENBANKAKTUELL(QStringList* nichtGefunden = nullptr);
    // One box that names the records a press of a button left uncopied,
    // under the reason; none when there are none.
    void NICHTKOPIERTMELDEN(const QString& deutsch, const QString& englisch,
                            const QStringList& datensaetze) const;
    QString externerTitel() const;

    int16_t m_sprache = 3;
    std::shared_ptr<Connection> m_andere;
    bool m_geoeffnet = false;
    bool m_entladen = false;
    QString m_ordner;
    bool m_setzen = false; // the dialog moves the views itself
};

// Shows the dialog modally, owned by the main window (or by the given owner).
void EXPIMPZEIGEN(QWidget* besitzer = nullptr);
