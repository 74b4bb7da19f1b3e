#include "platform/controls/CommonDialog.h"
#include "platform/runtime/System.h"

#include "platform/controls/PrinterTarget.h"
#include "platform/runtime/RuntimeError.h"

#include <QLocale>
#include <QPrintDialog>
#include <algorithm>

namespace {

CommonDialog::PrinterScript& Script() {
    static CommonDialog::PrinterScript script;
    return script;
}

RuntimeError Abgebrochen() {
    const bool deutsch = GermanTexts();
    return RuntimeError(CommonDialog::cdlCancel, deutsch ? QStringLiteral("Abbrechen gewählt.")
                                                         : QStringLiteral("Cancel was selected."));
}

} // namespace

void CommonDialog::SetPrinterScript(PrinterScript script) {
    Script() = std::move(script);
}

void CommonDialog::ShowPrinter(QWidget* owner) {
    bool accepted = false;
    if (Script()) {
        accepted = Script()(*this);
    } else {
        QPrinter& printer = Printer().Device();
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, !(m_flags & cdlPDDisablePrintToFile));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, !(m_flags & cdlPDNoSelection));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, (m_flags & cdlPDCollate) != 0);
        dialog.setMinMax(m_min, m_max);
        // The proposed range fills the range fields; "all pages" stays
        // chosen unless the caller asked for the range.
        if (m_from > 0 && m_to >= m_from) dialog.setFromTo(m_from, m_to);
        dialog.setPrintRange((m_flags & cdlPDPageNums) ? QAbstractPrintDialog::PageRange
                                                       : QAbstractPrintDialog::AllPages);
        accepted = dialog.exec() == QDialog::Accepted;
        if (accepted) {
            Printer().Refresh();
            if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
                m_flags |= cdlPDPageNums;
                m_from = dialog.fromPage();
                m_to = dialog.toPage();
            }
        }
    }
    if (!accepted && m_cancelError) throw Abgebrochen();
}
