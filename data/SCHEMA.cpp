#include "data/SCHEMA.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/FieldType.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"

#include <QFile>
#include <cstring>

namespace {
namespace T = FieldTypeName;

const std::vector<TABELLE>& projekt() {
    static const std::vector<TABELLE> tabellen = {
        {QStringLiteral("E1"),
         {{"ID", T::Long}, {"KEN", T::Text}, {"KOM", T::Text}, {"AKT", T::Boolean}},
         {{"ID"}}},
        {QStringLiteral("E2"),
         {{"ID", T::Long},
          {"VT", T::Integer},
          {"DMAX", T::Single},
          {"MS", T::Single},
          {"TMAX", T::Single}},
         {{"ID"}}},
        // TEMP is a number column that the program reads as a Variant;
        // double precision keeps the entered value as it was typed.
        {QStringLiteral("E3"),
         {{"ID", T::Long},
          {"I1", T::Integer},
          {"DATUM", T::Text},
          {"UHRZEIT", T::Text},
          {"DET", T::Single},
          {"V", T::Single},
          {"TEMP", T::Double}},
         {{"ID", "I1"}}},
        {QStringLiteral("A1"),
         {{"ID", T::Long}, {"BONEU", T::Boolean}, {"VELD", T::Single}},
         {{"ID"}}},
        {QStringLiteral("A2"),
         {{"ID", T::Long}, {"I", T::Integer}, {"W", T::Single}},
         {{"ID", "I"}}},
        {QStringLiteral("M1"), {{"IDM", T::Long}, {"KOM", T::Text}}, {{"IDM"}}},
        {QStringLiteral("G0"),
         {{"ID", T::Long},
          {"IDOBJEKT", T::Integer},
          {"OX", T::Integer},
          {"OY", T::Integer},
          {"RL", T::Single},
          {"RR", T::Single},
          {"RO", T::Single},
          {"RU", T::Single},
          {"XMIN", T::Single},
          {"XMAX", T::Single},
          {"YMIN", T::Single},
          {"YMAX", T::Single},
          {"MX", T::Single},
          {"MY", T::Single},
          {"MYMX", T::Single},
          {"MSP", T::Single}},
         {{"ID", "IDOBJEKT"}}},
    };
    return tabellen;
}

const std::vector<TABELLE>& vorgabe() {
    static const std::vector<TABELLE> tabellen = {
        {QStringLiteral("VELD_VE1"),
         {{"IDK", T::Long},
          {"AKVK", T::Text},
          {"ZL", T::Integer},
          {"DATUM", T::Text},
          {"UHRZEIT", T::Text},
          {"KENZ1NR", T::Text},
          {"KENZ1KZ", T::Text},
          {"TZS", T::Text},
          {"TZZ", T::Text}},
         {{"IDK"}}},
        {QStringLiteral("VELD_VE2"),
         {{"IDK", T::Long},
          {"MNR", T::Long},
          {"SPALTE", T::Text},
          {"POSITION", T::Variant},
          {"PRAEFIX", T::Text},
          {"SUFFIX", T::Text},
          {"FORMAT", T::Text},
          {"FAKTOR", T::Single}},
         {{"IDK", "MNR"}}},
    };
    return tabellen;
}

const std::vector<TABELLE>& archiv() {
    static const std::vector<TABELLE> tabellen = {
        {QStringLiteral("ADMIN"),
         {{"BENUTZER", T::Text},
          {"PROG", T::Text},
          {"PROJEKTSPFAD", T::Text},
          {"PROJEKT", T::Text},
          {"BEARBEITER", T::Text}},
         {{"BENUTZER"}}},
    };
    return tabellen;
}

// The information system belongs to the whole suite; this program writes
// only these columns of it.
const std::vector<TABELLE>& information() {
    static const std::vector<TABELLE> tabellen = {
        {QStringLiteral("E0"),
         {{"ID", T::Long},
          {"QART", T::Integer},
          {"PROJ", T::Text},
          {"QUELLE", T::Text},
          {"BEARBEITER", T::Text},
          {"DATUM", T::Text}},
         {{"ID"}, {"PROJ"}}},
        {QStringLiteral("E1"), {{"ID", T::Long}, {"KEN", T::Text}, {"KOM", T::Text}}, {{"ID"}}},
        {QStringLiteral("E2"),
         {{"ID", T::Long}, {"MAXWE", T::Single}, {"MAXWN", T::Single}, {"ZEIT", T::Single}},
         {{"ID"}}},
    };
    return tabellen;
}

QString spaltenanweisung(const SPALTE& spalte) {
    QString anweisung = SqlName(spalte.NAME) + QLatin1Char(' ') + QString::fromLatin1(spalte.TYP);
    if (std::strcmp(spalte.TYP, T::Text) == 0) anweisung += QStringLiteral(" COLLATE NOCASE");
    // Yes/No columns hold no Null and start as False, as in the original
    // databases.
    if (std::strcmp(spalte.TYP, T::Boolean) == 0)
        anweisung += QStringLiteral(" NOT NULL DEFAULT 0");
    return anweisung;
}

void neueDatenbank(const QString& pfad, std::initializer_list<const std::vector<TABELLE>*> teile) {
    CreateDatabase(pfad);
    try {
        Connection verbindung(pfad);
        for (const auto* tabellen : teile)
            TABELLENANLEGEN(verbindung, *tabellen);
    } catch (...) {
        QFile::remove(pfad);
        throw;
    }
}
} // namespace

const std::vector<TABELLE>& PROJEKTTABELLEN() {
    return projekt();
}
const std::vector<TABELLE>& VORGABETABELLEN() {
    return vorgabe();
}
const std::vector<TABELLE>& ARCHIVTABELLEN() {
    return archiv();
}
const std::vector<TABELLE>& INFORMATIONSTABELLEN() {
    return information();
}

QString TABELLENANWEISUNG(const TABELLE& tabelle) {
    QStringList spalten;
    for (const SPALTE& spalte : tabelle.SPALTEN)
        spalten << spaltenanweisung(spalte);
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(SqlName(tabelle.NAME), spalten.join(QStringLiteral(", ")));
}

void TABELLENANLEGEN(Connection& verbindung, const std::vector<TABELLE>& tabellen) {
    Transaction transaktion(verbindung);
    for (const TABELLE& tabelle : tabellen) {
        verbindung.Execute(TABELLENANWEISUNG(tabelle));
        for (const QStringList& index : tabelle.INDIZES) {
            QStringList namen;
            for (const QString& spalte : index)
                namen << SqlName(spalte);
            const QString name = tabelle.NAME + QLatin1Char('_') + index.join(QLatin1Char('_'));
            verbindung.Execute(
                QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                    .arg(SqlName(name), SqlName(tabelle.NAME), namen.join(QStringLiteral(", "))));
        }
    }
    transaktion.Commit();
}

void PROJEKTDATENBANKANLEGEN(const QString& pfad) {
    neueDatenbank(pfad, {&projekt(), &vorgabe()});
}
void ARCHIVDATENBANKANLEGEN(const QString& pfad) {
    neueDatenbank(pfad, {&archiv()});
}
void VORGABEDATENBANKANLEGEN(const QString& pfad) {
    neueDatenbank(pfad, {&vorgabe()});
}
void INFORMATIONSDATENBANKANLEGEN(const QString& pfad) {
    neueDatenbank(pfad, {&information()});
}
