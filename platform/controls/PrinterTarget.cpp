#include "platform/controls/PrinterTarget.h"
#include "platform/runtime/System.h"

#include "platform/runtime/RuntimeError.h"

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>
#include <utility>

namespace {
constexpr double kTwipsPerMm = 56.7;

struct Paper {
    int16_t code;
    QPageSize::PageSizeId id;
};
constexpr Paper kPapers[] = {
    {1, QPageSize::Letter}, {8, QPageSize::A3}, {9, QPageSize::A4}, {11, QPageSize::A5}};

RuntimeError WithinPage(const char* property) {
    const bool german = GermanTexts();
    const QString name = QString::fromLatin1(property);
    return RuntimeError(396, german ? QStringLiteral("'") + name +
                                          QStringLiteral("'-Eigenschaft kann nicht innerhalb "
                                                         "einer Seite festgelegt werden")
                                    : QStringLiteral("'") + name +
                                          QStringLiteral("' property cannot be set within a page"));
}
std::optional<QStringList>& PrinterList() {
    static std::optional<QStringList> names;
    return names;
}
} // namespace

PrinterTarget::PrinterTarget() : m_printer(QPrinter::HighResolution) {
    m_printer.setResolution(600);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageOrientation(QPageLayout::Landscape);
    m_printer.setFullPage(false);
    SetScaleMode(1);
    Refresh();
}

PrinterTarget::~PrinterTarget() = default;

void PrinterTarget::Refresh() {
    const QRect printable = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
    const QRectF paper = m_printer.pageLayout().fullRect(QPageLayout::Millimeter);
    const double dpi = m_printer.resolution();
    SetDevice(printable.width(), printable.height(), dpi, dpi, float(paper.width() * kTwipsPerMm),
              float(paper.height() * kTwipsPerMm));
}

void PrinterTarget::SetOutputFileName(const QString& path) {
    if (path.isEmpty()) {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setOutputFileName(QString());
    } else {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(path);
    }
    Refresh();
}

QStringList PrinterTarget::InstalledPrinters() {
    if (PrinterList()) return *PrinterList();
    return QPrinterInfo::availablePrinterNames();
}

void PrinterTarget::SetInstalledPrinters(std::optional<QStringList> names) {
    PrinterList() = std::move(names);
}

int16_t PrinterTarget::Orientation() const {
    return m_printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

void PrinterTarget::SetOrientation(int16_t orientation) {
    if (Printing()) throw WithinPage("Orientation");
    m_printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    Refresh();
}

int16_t PrinterTarget::PaperSize() const {
    const QPageSize::PageSizeId id = m_printer.pageLayout().pageSize().id();
    for (const Paper& paper : kPapers)
        if (paper.id == id) return paper.code;
    return 0;
}

void PrinterTarget::SetPaperSize(int16_t size) {
    if (Printing()) throw WithinPage("PaperSize");
    for (const Paper& paper : kPapers) {
        if (paper.code != size) continue;
        m_printer.setPageSize(QPageSize(paper.id));
        Refresh();
        return;
    }
    throw InvalidPropertyValue();
}

void PrinterTarget::KeepStep(PaintStep step) {
    if (m_sheets.isEmpty()) m_sheets.append(QList<PaintStep>());
    m_sheets.last().append(std::move(step));
}

void PrinterTarget::NewPage() {
    if (Recorder()) {
        Primitive p;
        p.kind = Primitive::Kind::NewPage;
        Log(p);
    }
    // A new page of a document not yet started follows an empty first one.
    if (m_sheets.isEmpty()) m_sheets.append(QList<PaintStep>());
    m_sheets.append(QList<PaintStep>());
    SetCurrentX(ScaleLeft());
    SetCurrentY(ScaleTop());
}

void PrinterTarget::EndDoc() {
    const QList<QList<PaintStep>> sheets = std::exchange(m_sheets, {});
    SetCurrentX(ScaleLeft());
    SetCurrentY(ScaleTop());
    if (sheets.isEmpty()) return;
    // The whole document in one go: no event is handled meanwhile, so
    // nothing can interrupt it half painted.
    QPainter painter;
    if (!painter.begin(&m_printer)) {
        const bool german = GermanTexts();
        throw RuntimeError(482, german ? QStringLiteral("Druckerfehler")
                                       : QStringLiteral("Printer error"));
    }
    for (qsizetype sheet = 0; sheet < sheets.size(); ++sheet) {
        if (sheet > 0) m_printer.newPage();
        for (const PaintStep& step : sheets[sheet])
            step(painter);
    }
    painter.end();
}

void PrinterTarget::KillDoc() {
    m_sheets.clear();
}

void PrinterTarget::Cls() {
    SetCurrentX(ScaleLeft());
    SetCurrentY(ScaleTop());
}

PrinterTarget& Printer() {
    // Made on first use and kept to the end of the process: the printer
    // must not outlive the application object in a static destructor.
    static PrinterTarget* printer = new PrinterTarget;
    return *printer;
}
