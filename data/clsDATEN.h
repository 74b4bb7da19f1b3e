#pragma once

// The data-access object: one view of one table of one database connection.
// The view is the rows of ETABELLE whose record key column ESPID equals
// ESPIDW, narrowed by up to three text keys (ESPK1..ESPK3 equal to
// ESPK1W..ESPK3W) and, per call, by up to four extra key columns SPI1..SPI4
// equal to the values SPI1W..SPI4W that are present. Each transfer member
// moves one column SPV of the view between the database and a control, a
// variable, an array or a collection, and returns true when it was done.
//
// An extra key value is present when the caller passed it, whatever it holds
// (Null and the empty text included); an omitted one (std::nullopt) plays no
// part. Extra key columns are given in order without gaps.
//
// Writing a column replaces the view: its rows are overwritten in the view's
// order, missing rows are added with the record key and every present key
// set, surplus rows are deleted; an empty text is stored as Null. Every write
// of a view is one transaction (a savepoint inside a caller's transaction):
// it is stored whole or, when it fails, the view stays as it was. Long writes
// let windows repaint now and then, while user input waits until they end.
// Reading a missing row or a Null gives the type's empty value.
//
// Arrays are std::vector with index 0 first and of any length. DTVCOL fills
// an optional std::vector<QVariant>: std::nullopt stands for a collection
// reference that is not set.
//
// A new object works on the main window's working copy (frmMAIN().DBPROJEKT()),
// on table "E1" with the key column "ID", keyed to the first active record
// of E1 in rowid order (0 when none is active).

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

class Connection;
enum class FieldType;
class MSFlexGrid;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class Recordset;

// An optional key value: present (whatever it holds) or omitted.
using SCHLUESSELWERT = std::optional<QVariant>;

// The trailing extra keys of the transfer members, as the callers pass them:
// (SPV, value, "I1", i) or (SPV, value) without keys.
#define CLSDATEN_SPI                                                                               \
    const QString &SPI1 = QString(), const SCHLUESSELWERT &SPI1W = std::nullopt,                   \
                  const QString &SPI2 = QString(), const SCHLUESSELWERT &SPI2W = std::nullopt,     \
                  const QString &SPI3 = QString(), const SCHLUESSELWERT &SPI3W = std::nullopt,     \
                  const QString &SPI4 = QString(), const SCHLUESSELWERT &SPI4W = std::nullopt
// The keys of the grid members and DTFMM: no value for the fourth column.
#define CLSDATEN_SPI3                                                                              \
    const QString &SPI1 = QString(), const SCHLUESSELWERT &SPI1W = std::nullopt,                   \
                  const QString &SPI2 = QString(), const SCHLUESSELWERT &SPI2W = std::nullopt,     \
                  const QString &SPI3 = QString(), const SCHLUESSELWERT &SPI3W = std::nullopt,     \
                  const QString &SPI4 = QString()

class clsDATEN {
public:
    // Takes the working copy, "E1", "ID" and the first active record. A
    // failure of that query shows the class's box ("Datenfehler") and leaves
    // ESPIDW 0.
    clsDATEN();
    ~clsDATEN();
    clsDATEN(const clsDATEN&) = delete;
    clsDATEN& operator=(const clsDATEN&) = delete;

    // --- State ---------------------------------------------------------------

    // True: the presets database (frmMAIN().DBVORGABE(); the working copy in a
    // development run); False: the working copy.
    void EBOV(bool wert);

    // The name of a database of its own (without ".mdb") in the database
    // directory, in a development run in the current project's folder. When
    // the file exists a new connection is opened on it and BOINF is true;
    // when it does not, BOINF is false and the connection stays. A failure
    // to open shows "Datenzugriff - Datenbank " & name: OK gives BOINF false
    // and keeps the connection, Cancel leaves BOINF as it was passed.
    QString EINFMDB() const { return m_einfmdb; }
    void EINFMDB(bool& BOINF, const QString& wert);
    void EINFMDB(const QString& wert);

    QString ETABELLE() const { return m_etabelle; }
    void ETABELLE(const QString& wert) { m_etabelle = wert; }
    QString ESPID() const { return m_espid; }
    void ESPID(const QString& wert) { m_espid = wert; }
    int32_t ESPIDW() const { return m_espidw; }
    void ESPIDW(int32_t wert) { m_espidw = wert; }
    QString ESPK1() const { return m_espk[0]; }
    void ESPK1(const QString& wert) { m_espk[0] = wert; }
    QString ESPK1W() const { return m_espkw[0]; }
    void ESPK1W(const QString& wert) { m_espkw[0] = wert; }
    QString ESPK2() const { return m_espk[1]; }
    void ESPK2(const QString& wert) { m_espk[1] = wert; }
    QString ESPK2W() const { return m_espkw[1]; }
    void ESPK2W(const QString& wert) { m_espkw[1] = wert; }
    QString ESPK3() const { return m_espk[2]; }
    void ESPK3(const QString& wert) { m_espk[2] = wert; }
    QString ESPK3W() const { return m_espkw[2]; }
    void ESPK3W(const QString& wert) { m_espkw[2] = wert; }

    // The connection the object works on (shared with the main window, or
    // its own after EINFMDB).
    std::shared_ptr<Connection> VERBINDUNG() const { return m_verbindung; }
    // Works from now on through the given connection, typically the one
    // that another object opened by EINFMDB: objects that share a connection
    // can write in one transaction of their caller (each write is then a
    // savepoint inside it). An empty pointer leaves the object without a
    // connection: every later transfer fails.
    void EVERBINDUNG(std::shared_ptr<Connection> wert) { m_verbindung = std::move(wert); }

    // --- Selection -----------------------------------------------------------

    // The view as an open row set: SPV, then the key columns; ordered by the
    // extra key columns. The caller owns it. Failures reach the caller.
    std::unique_ptr<Recordset> DT(const QString& SPV, CLSDATEN_SPI);
    // The statement that DT runs.
    QString DTANWEISUNG(const QString& SPV, CLSDATEN_SPI) const;

    // --- Controls to columns -------------------------------------------------

    bool DFTC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI);  // value 0/1/2
    bool DFTCC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI); // caption
    bool DFTCV(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI); // value
    // The data rows of grid column SPNR replace the view (a disabled grid
    // stands for no values: every row of the view is deleted).
    bool DFTF(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR, CLSDATEN_SPI3);
    bool DFTFM(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR, CLSDATEN_SPI3);
    bool DFTI(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI);  // entry at the list index
    bool DFTIL(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI); // list index
    bool DFTIS(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI); // entry at the list index
    bool DFTL(const QString& SPV, QLabel& lblX, CLSDATEN_SPI);       // caption
    bool DFTLC(const QString& SPV, QLabel& lblX, CLSDATEN_SPI);      // caption
    bool DFTLI(const QString& SPV, QLabel& lblX, CLSDATEN_SPI);      // index in its control array
    bool DFTM(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI);    // text
    bool DFTML(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI);   // list index
    bool DFTMS(const QString& SPV, QComboBox& cboX,
               CLSDATEN_SPI); // selected entry (unset when none)
    bool DFTMT(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI);   // text
    bool DFTO(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI); // value
    bool DFTOC(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI);
    bool DFTOV(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI);
    bool DFTT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI); // text
    bool DFTTT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI);

    // --- Columns to controls -------------------------------------------------

    bool DTFC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI);
    bool DTFCC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI);
    bool DTFCV(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI);
    // The view's rows into grid column SPNR from the first data row (or from
    // row ZNR + 1 when ZNR lies below the fixed rows); the grid grows to
    // hold them and never shrinks. An empty view greys and disables it.
    bool DTFF(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR, CLSDATEN_SPI3,
              int16_t ZNR = 0);
    bool DTFFM(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR, CLSDATEN_SPI3);
    bool DTFI(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI);  // appends an entry
    bool DTFIL(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI); // list index (non-empty list)
    bool DTFIS(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI); // appends an entry
    bool DTFL(const QString& SPV, QLabel& lblX, CLSDATEN_SPI);
    bool DTFLC(const QString& SPV, QLabel& lblX, CLSDATEN_SPI);
    bool DTFM(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI);   // text
    bool DTFML(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI);  // list index (non-empty list)
    bool DTFMM(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI3); // appends every row
    bool DTFMS(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI);  // appends an entry
    bool DTFMT(const QString& SPV, QComboBox& cboX,
               CLSDATEN_SPI); // text, or the matching entry of a list
    bool DTFO(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI);
    bool DTFOC(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI);
    bool DTFOV(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI);
    bool DTFT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI);
    bool DTFTT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI);

    // --- Variables to columns ------------------------------------------------

    bool DVTA(const QString& SPV, const QDateTime& DTM, CLSDATEN_SPI);
    bool DVTB(const QString& SPV, bool BO, CLSDATEN_SPI);
    bool DVTBF(const QString& SPV, const std::vector<bool>& BO, CLSDATEN_SPI);
    bool DVTT(const QString& SPV, const QString& TXT, CLSDATEN_SPI);
    bool DVTTF(const QString& SPV, const std::vector<QString>& TXT, CLSDATEN_SPI);
    bool DVTI(const QString& SPV, int16_t I, CLSDATEN_SPI);
    bool DVTIF(const QString& SPV, const std::vector<int16_t>& I, CLSDATEN_SPI);
    bool DVTL(const QString& SPV, int32_t L, CLSDATEN_SPI);
    bool DVTS(const QString& SPV, float ZAHL, CLSDATEN_SPI);
    bool DVTSF(const QString& SPV, const std::vector<float>& ZAHL, CLSDATEN_SPI);
    bool DVTD(const QString& SPV, double ZAHL, CLSDATEN_SPI);
    // The variant as it is: Empty and Null store Null, as does "".
    bool DVTV(const QString& SPV, const QVariant& WERT, CLSDATEN_SPI);
    // Takes a Boolean array, exactly as DVTBF.
    bool DVTVF(const QString& SPV, const std::vector<bool>& WERT, CLSDATEN_SPI);

    // --- Columns to variables ------------------------------------------------
    // Scalar reads take the first row of the view. A value that does not
    // convert to the variable's type raises the runtime error to the caller
    // (6 overflow, 13 type mismatch) and leaves the variable as it was.
    // Array reads fill the caller's array from index 0 without resizing it.

    bool DTVA(const QString& SPV, QDateTime& DATUM, CLSDATEN_SPI);
    bool DTVAF(const QString& SPV, std::vector<QDateTime>& DATUM, CLSDATEN_SPI);
    bool DTVB(const QString& SPV, bool& BO, CLSDATEN_SPI);
    bool DTVBF(const QString& SPV, std::vector<bool>& BO, CLSDATEN_SPI);
    bool DTVT(const QString& SPV, QString& TXT, CLSDATEN_SPI);
    bool DTVTF(const QString& SPV, std::vector<QString>& TXT, CLSDATEN_SPI);
    bool DTVI(const QString& SPV, int16_t& I, CLSDATEN_SPI);
    bool DTVIF(const QString& SPV, std::vector<int16_t>& I, CLSDATEN_SPI);
    bool DTVL(const QString& SPV, int32_t& L, CLSDATEN_SPI);
    bool DTVS(const QString& SPV, float& ZAHL, CLSDATEN_SPI);
    bool DTVSF(const QString& SPV, std::vector<float>& ZAHL, CLSDATEN_SPI);
    bool DTVD(const QString& SPV, double& ZAHL, CLSDATEN_SPI);
    // The value unconverted; a missing row or a Null gives Empty.
    bool DTVV(const QString& SPV, QVariant& WERT, CLSDATEN_SPI);
    bool DTVVF(const QString& SPV, std::vector<QVariant>& WERT, CLSDATEN_SPI);
    // Every non-Null value of the column, in the view's order, into a new
    // collection; an empty view leaves X as it was. No box: false on failure,
    // X then holds what was read so far.
    bool DTVCOL(const QString& SPV, std::optional<std::vector<QVariant>>& X, CLSDATEN_SPI);

    // --- Key lists, index ranges, deletion, criteria -------------------------

    // Smallest and largest value of the last named column of SPI1..SPI4 and
    // the number of rows, within the record (when ESPID is named), the text
    // keys and the values of the columns named before it; 0, 0, 0 without
    // rows. Any argument may be left out (nullptr).
    void INDEX(int16_t* MINI = nullptr, int16_t* MAXI = nullptr, int16_t* AN = nullptr,
               CLSDATEN_SPI3);
    void INDEXL(int32_t* MINI = nullptr, int32_t* MAXI = nullptr, int32_t* AN = nullptr,
                CLSDATEN_SPI3);
    void INDEXV(QVariant* MINI = nullptr, QVariant* MAXI = nullptr, int16_t* AN = nullptr,
                CLSDATEN_SPI3);
    // The record keys (identifiers) without key 0: with AKT the active ones
    // in key order, else all in identifier order. The list is made anew only
    // when there are rows. Failures reach the caller.
    void LID(std::vector<int32_t>& ID, bool AKT = false);
    void LKEN(std::vector<QString>& KEN, bool AKT = false);
    // Deletes the rows of the view (the record, the text keys and the extra
    // keys given).
    bool LOESCHEN(CLSDATEN_SPI);
    // The ID of every row of the table that meets the criteria given with a
    // value; true when there is one. The operators are normalised in place
    // ("LIKE" for a text searches it anywhere; else "=", or for a non-text
    // one of "<", ">", "<=", ">=", "<>").
    bool IDKRIT(std::vector<int32_t>& IDKR, const QString& SPF1 = QString(),
                const SCHLUESSELWERT& SPF1W = std::nullopt, QString* SPO1 = nullptr,
                const QString& SPF2 = QString(), const SCHLUESSELWERT& SPF2W = std::nullopt,
                QString* SPO2 = nullptr, const QString& SPF3 = QString(),
                const SCHLUESSELWERT& SPF3W = std::nullopt, QString* SPO3 = nullptr,
                const QString& SPF4 = QString(), const SCHLUESSELWERT& SPF4W = std::nullopt,
                QString* SPO4 = nullptr);

private:
    struct SCHLUESSEL {
        QString SPI[4];
        SCHLUESSELWERT SPIW[4];
    };

    // Row writer and row reader: false on any failure, without a message;
    // the failure is left in `fehler`.
    bool SCHREIBEN(const QString& SPV, const std::vector<QVariant>& WERTE, const SCHLUESSEL& k,
                   std::exception_ptr& fehler);
    bool LESEN(const QString& SPV, std::vector<QVariant>& WERTE, const SCHLUESSEL& k,
               std::exception_ptr& fehler);

    QString anweisung(const QString& SPV, const SCHLUESSEL& k) const;
    std::unique_ptr<Recordset> oeffnen(const QString& SPV, const SCHLUESSEL& k);
    Connection& verbindung() const;

    bool skalarSchreiben(const QString& SPV, const QVariant& wert, const SCHLUESSEL& k);
    bool skalarLesen(const QString& SPV, QVariant& wert, const SCHLUESSEL& k);
    bool feldSchreiben(const QString& SPV, const std::vector<QVariant>& werte, const SCHLUESSEL& k);
    template <class T, class Umwandlung>
    bool feldLesen(const QString& SPV, std::vector<T>& feld, const SCHLUESSEL& k,
                   Umwandlung umwandeln);
    // The statement of the index range, or an error when it cannot be made.
    QString indexAnweisung(const SCHLUESSEL& k) const;
    template <class T, class A, class Umwandlung>
    void indexBereich(T* MINI, T* MAXI, A* AN, const QString& titel, const SCHLUESSEL& k,
                      Umwandlung umwandeln);
    template <class T, class Umwandlung>
    void schluesselliste(const QString& spalte, std::vector<T>& liste, bool AKT,
                         Umwandlung umwandeln);
    static SCHLUESSEL schluessel3(const QString& SPI1, const SCHLUESSELWERT& SPI1W,
                                  const QString& SPI2, const SCHLUESSELWERT& SPI2W,
                                  const QString& SPI3, const SCHLUESSELWERT& SPI3W,
                                  const QString& SPI4);

    bool rasterSchreiben(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                         const SCHLUESSEL& k);
    // The type of a column of the table, nothing when it cannot be told.
    std::optional<FieldType> SPALTENTYP(const QString& SPV);
    bool rasterLesen(const QString& SPV, MSFlexGrid& msgFLX, const QString& SPNR,
                     const SCHLUESSEL& k, int16_t ZNR);

    std::shared_ptr<Connection> m_verbindung;
    QString m_einfmdb;
    QString m_etabelle;
    QString m_espid;
    int32_t m_espidw = 0;
    QString m_espk[3];
    QString m_espkw[3];
};
