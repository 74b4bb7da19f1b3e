// Transfers between the controls of a window and one column of the view:
// check boxes, labels, list and combo boxes, option buttons, text boxes, and
// one column of a flex grid as a series of rows.

#include "data/clsDATEN.h"
#include "platform/runtime/System.h"

#include "data/clsDATEN_Intern.h"
#include "platform/database/Connection.h"
#include "platform/controls/CheckBoxValue.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>

using namespace clsdaten;

namespace {

// An option button can be cleared by the program even when it is the chosen
// one of its group.
void setzeOption(QRadioButton& option, bool wert) {
    if (wert || !option.isChecked()) {
        option.setChecked(wert);
        return;
    }
    QButtonGroup* gruppe = option.group();
    const bool exklusiv = gruppe && gruppe->exclusive();
    const bool auto_ = option.autoExclusive();
    if (exklusiv) gruppe->setExclusive(false);
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(auto_);
    if (exklusiv) gruppe->setExclusive(true);
}

// A list index: -1 (none) up to the last entry.
int pruefeListenindex(int16_t index, int anzahl) {
    if (index < -1 || index >= anzahl) throw EIGENSCHAFTSFEHLER();
    return index;
}

QVariant ganzzahl(int wert) {
    return QVariant::fromValue<short>(static_cast<short>(wert));
}

// The text of a drop-down list cannot be set to a text that is not one of
// its entries.
RuntimeError textSchreibgeschuetzt() {
    const bool deutsch = GermanTexts();
    return RuntimeError(383, deutsch ? QStringLiteral("Die Eigenschaft 'Text' ist schreibgeschützt")
                                     : QStringLiteral("'Text' property is read-only"));
}

// Whether an entry of a list equals a stored value: as numbers when the value
// is a number, else as texts.
bool gleich(const QString& eintrag, const QVariant& wert) {
    switch (VarTypeOf(wert)) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Single:
    case VarType::Double: {
        double zahl = 0;
        return ParseNumberText(eintrag, zahl) && zahl == CDbl(wert);
    }
    default:
        return eintrag == CStr(wert);
    }
}

} // namespace

// Scalar writes ----------------------------------------------------------------------

bool clsDATEN::DFTC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, ganzzahl(CheckBoxValue(chkX)), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTCC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, chkX.text(), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTCV(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI_DEF) {
    return DFTC(SPV, chkX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DFTI(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI_DEF) {
    // Without a chosen entry the entry is the empty text.
    const QListWidgetItem* eintrag = lstX.item(lstX.currentRow());
    return skalarSchreiben(SPV, eintrag ? eintrag->text() : QString(), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTIL(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, ganzzahl(lstX.currentRow()), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTIS(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI_DEF) {
    return DFTI(SPV, lstX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DFTL(const QString& SPV, QLabel& lblX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, lblX.text(), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTLC(const QString& SPV, QLabel& lblX, CLSDATEN_SPI_DEF) {
    return DFTL(SPV, lblX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DFTLI(const QString& SPV, QLabel& lblX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, ganzzahl(ControlIndex(lblX)), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTM(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, cboX.currentText(), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTML(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, ganzzahl(cboX.currentIndex()), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTMS(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    const int index = cboX.currentIndex();
    return skalarSchreiben(SPV, index >= 0 ? QVariant(cboX.itemText(index)) : QVariant(),
                           CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTMT(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    return DFTM(SPV, cboX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DFTO(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, QVariant(optX.isChecked()), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTOC(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, optX.text(), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTOV(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI_DEF) {
    return DFTO(SPV, optX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DFTT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI_DEF) {
    return skalarSchreiben(SPV, txtX.text(), CLSDATEN_SPI_ARG);
}

bool clsDATEN::DFTTT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI_DEF) {
    return DFTT(SPV, txtX, CLSDATEN_SPI_WEITER);
}

// Scalar reads: the control is set only after the value converted; a value it
// refuses raises its error to the caller and leaves it as it was.

bool clsDATEN::DTFC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    if (!SetCheckBoxValue(chkX, CInt(wert))) throw EIGENSCHAFTSFEHLER();
    return true;
}

bool clsDATEN::DTFCC(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    chkX.setText(CStr(wert));
    return true;
}

bool clsDATEN::DTFCV(const QString& SPV, QCheckBox& chkX, CLSDATEN_SPI_DEF) {
    return DTFC(SPV, chkX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DTFI(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    lstX.addItem(CStr(wert));
    return true;
}

bool clsDATEN::DTFIL(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    if (lstX.count() > 0) lstX.setCurrentRow(pruefeListenindex(CInt(wert), lstX.count()));
    return true;
}

bool clsDATEN::DTFIS(const QString& SPV, QListWidget& lstX, CLSDATEN_SPI_DEF) {
    return DTFI(SPV, lstX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DTFL(const QString& SPV, QLabel& lblX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    lblX.setText(CStr(wert));
    return true;
}

bool clsDATEN::DTFLC(const QString& SPV, QLabel& lblX, CLSDATEN_SPI_DEF) {
    return DTFL(SPV, lblX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DTFM(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    const QString text = CStr(wert);
    if (cboX.isEditable()) {
        cboX.setEditText(text);
    } else {
        const int index = cboX.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0 && !text.isEmpty()) throw textSchreibgeschuetzt();
        cboX.setCurrentIndex(index);
    }
    return true;
}

bool clsDATEN::DTFML(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    if (cboX.count() > 0) cboX.setCurrentIndex(pruefeListenindex(CInt(wert), cboX.count()));
    return true;
}

bool clsDATEN::DTFMS(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    cboX.addItem(CStr(wert));
    return true;
}

bool clsDATEN::DTFMT(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    if (cboX.isEditable()) {
        cboX.setEditText(CStr(wert));
        return true;
    }
    for (int i = 0; i < cboX.count(); ++i) {
        if (gleich(cboX.itemText(i), wert)) {
            cboX.setCurrentIndex(i);
            break;
        }
    }
    return true;
}

bool clsDATEN::DTFO(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    setzeOption(optX, CBool(wert));
    return true;
}

bool clsDATEN::DTFOC(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    optX.setText(CStr(wert));
    return true;
}

bool clsDATEN::DTFOV(const QString& SPV, QRadioButton& optX, CLSDATEN_SPI_DEF) {
    return DTFO(SPV, optX, CLSDATEN_SPI_WEITER);
}

bool clsDATEN::DTFT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI_DEF) {
    QVariant wert;
    if (!skalarLesen(SPV, wert, CLSDATEN_SPI_ARG)) return false;
    txtX.setText(CStr(wert));
    return true;
}

bool clsDATEN::DTFTT(const QString& SPV, QLineEdit& txtX, CLSDATEN_SPI_DEF) {
    return DTFT(SPV, txtX, CLSDATEN_SPI_WEITER);
}

// Combo-list read --------------------------------------------------------------------

bool clsDATEN::DTFMM(const QString& SPV, QComboBox& cboX, CLSDATEN_SPI3_DEF) {
    const QString meldung = QStringLiteral("Werte der Spalte ") + SPV +
                            QStringLiteral(" der Tabelle ") + m_etabelle +
                            QStringLiteral(" können nicht aus der Spalte ") + SPV +
                            QStringLiteral(" eingelesen werden!");
    const auto weiter = [&] { return MsgBox(meldung, vbOKCancel + vbExclamation, kTitel) == vbOK; };
    std::unique_ptr<Recordset> rs;
    try {
        rs = oeffnen(SPV, schluessel3(CLSDATEN_SPI3_WEITER));
    } catch (const std::exception&) {
        // Without the view there is nothing to add, whatever the answer.
        weiter();
        return false;
    }
    if (rs->Eof()) return true;
    rs->MoveFirst();
    const Field spalte = rs->Fields(0);
    while (!rs->Eof()) {
        try {
            const QVariant wert = spalte.Value();
            if (!IsNull(wert)) cboX.addItem(CStr(wert));
        } catch (const std::exception&) {
            if (!weiter()) return false;
        }
        rs->MoveNext();
    }
    return true;
}
