#pragma once

// The common dialog of printing: the printer dialog on the program's printer
// (Printer().Device()) with the page range of the original control. Before
// ShowPrinter the caller sets the flags, the lowest and highest page and the
// proposed from- and to-page; afterwards Flags holds cdlPDPageNums when the
// user chose a page range, and FromPage and ToPage that range. With
// CancelError on, cancelling raises runtime error 32755.
//
// Tests replace the dialog by a script: it receives the dialog as it would
// be shown, may change what the user would change, and returns false to
// cancel.

#include <QString>
#include <functional>

class QWidget;

class CommonDialog {
public:
    enum PrinterFlags {
        cdlPDAllPages = 0x0,
        cdlPDSelection = 0x1,
        cdlPDPageNums = 0x2,
        cdlPDNoSelection = 0x4,
        cdlPDCollate = 0x10,
        cdlPDDisablePrintToFile = 0x80000,
    };
    static constexpr int cdlCancel = 32755;

    bool CancelError() const { return m_cancelError; }
    void SetCancelError(bool on) { m_cancelError = on; }
    int Flags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }
    int Min() const { return m_min; }
    void SetMin(int page) { m_min = page; }
    int Max() const { return m_max; }
    void SetMax(int page) { m_max = page; }
    int FromPage() const { return m_from; }
    void SetFromPage(int page) { m_from = page; }
    int ToPage() const { return m_to; }
    void SetToPage(int page) { m_to = page; }

    // Shows the printer dialog modally over owner.
    void ShowPrinter(QWidget* owner = nullptr);

    using PrinterScript = std::function<bool(CommonDialog&)>;
    // Installs a script in place of the printer dialog ({} shows it again).
    static void SetPrinterScript(PrinterScript script);

private:
    bool m_cancelError = false;
    int m_flags = 0;
    int m_min = 0;
    int m_max = 0;
    int m_from = 0;
    int m_to = 0;
};
