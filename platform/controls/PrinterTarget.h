#pragma once

// The printer as a drawing surface: A4 landscape at 600 dpi, its origin at
// the top left corner of the printable area. Its Width and Height are the
// paper's, in twips. The first primitive of a document starts it; NewPage
// begins the next sheet and EndDoc sends the document. With an output file
// name the document is written as PDF (the tests print that way).
//
// A document reaches the printer whole or not at all: what is drawn is kept
// here, measured for the printer's resolution and paper, and painted on the
// printer in one go by EndDoc. KillDoc drops it, and the printer never sees
// any of it. (A job once handed to a print system cannot be taken back, so
// nothing is handed over before the document is complete.)

#include "platform/controls/OutputObject.h"

#include <QList>
#include <QPrinter>
#include <QStringList>
#include <optional>

class PrinterTarget : public OutputObject {
public:
    PrinterTarget();
    ~PrinterTarget() override;

    Kind ObjectKind() const override { return Kind::Printer; }

    // The Qt printer behind it, for the print dialog. Call Refresh after
    // changing its settings.
    QPrinter& Device() { return m_printer; }
    void Refresh();

    // Writes the next documents as PDF to this file ("" prints again).
    void SetOutputFileName(const QString& path);

    // The names of the printers installed on the machine. Tests set a list
    // of their own in its place (std::nullopt: the machine's again).
    static QStringList InstalledPrinters();
    static void SetInstalledPrinters(std::optional<QStringList> names);

    // 1 portrait, 2 landscape. The paper size by the printer codes: 1
    // Letter, 8 A3, 9 A4, 11 A5; another code raises error 380. Neither can
    // change while a document is under way (error 396): a document left
    // open must be ended or killed first.
    int16_t Orientation() const;
    void SetOrientation(int16_t orientation);
    int16_t PaperSize() const;
    void SetPaperSize(int16_t size);

    void NewPage();
    // Paints the document on the printer and sends it. A printer that
    // cannot be opened (none, or a file that cannot be written) raises the
    // printer error 482; the document is gone then too.
    void EndDoc();
    // Drops the document: nothing of it reaches the printer.
    void KillDoc();
    // Whether a document is under way (drawn and neither ended nor killed).
    bool Printing() const { return !m_sheets.isEmpty(); }

    // The printer has nothing to clear; only the position goes home.
    void Cls() override;

protected:
    // Nothing is painted on the printer while a document is drawn.
    QPainter* ActivePainter() override { return nullptr; }
    bool KeepsSteps() const override { return true; }
    void KeepStep(PaintStep step) override;

private:
    QPrinter m_printer;
    // The document under way: its sheets, each the steps that paint it.
    QList<QList<PaintStep>> m_sheets;
};

// The program's printer.
PrinterTarget& Printer();
