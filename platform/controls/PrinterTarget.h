#pragma once

// The printer as a drawing surface: A4 landscape at 600 dpi, its origin at
// the top left corner of the printable area. Its Width and Height are the
// paper's, in twips. The first primitive of a document starts it; NewPage
// begins the next sheet and EndDoc sends the document. With an output file
// name the document is written as PDF (the tests print that way).

#include "platform/controls/OutputObject.h"

#include <QPainter>
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
    void EndDoc();
    // Aborts the document: nothing of it is printed (its PDF file goes).
    void KillDoc();
    bool Printing() const { return m_painter.isActive(); }

    // The printer has nothing to clear; only the position goes home.
    void Cls() override;

protected:
    QPainter* ActivePainter() override;

private:
    QPrinter m_printer;
    QPainter m_painter;
    bool m_beginFailed = false;
};

// The program's printer.
PrinterTarget& Printer();
