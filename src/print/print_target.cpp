#include "print_target.h"

#include "common/printer_choice.h"
#include "painter_canvas.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

// A common office printer cannot print the outer 4 mm of the sheet; a PDF
// keeps the same printable area so that it looks like the printed page.
constexpr double kPdfMarginMm = 4;

// A painter canvas that owns its printer.
struct PrinterHolder {
    std::unique_ptr<QPrinter> printer;
};

class OwnedPrinterCanvas : private PrinterHolder, public PainterCanvas {
public:
    explicit OwnedPrinterCanvas(std::unique_ptr<QPrinter> p)
        : PrinterHolder{std::move(p)}, PainterCanvas(PrinterHolder::printer.get())
    {
    }
};

std::unique_ptr<QPrinter> a4Printer(const QString& documentName)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(documentName);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    return printer;
}

std::unique_ptr<Canvas> canvasOn(std::unique_ptr<QPrinter> printer)
{
    auto canvas = std::make_unique<OwnedPrinterCanvas>(std::move(printer));
    if (!canvas->isActive())
        return nullptr;
    return canvas;
}

} // namespace

DialogPrintTarget::DialogPrintTarget(const PrinterChoice& choice, QWidget* parent) : m_choice(choice), m_parent(parent) {}

DialogPrintTarget::~DialogPrintTarget() = default;

void DialogPrintTarget::beginBatch()
{
    m_inBatch = true;
    m_batchDocuments = 0;
    m_batchPrinter.reset();
}

void DialogPrintTarget::endBatch()
{
    m_inBatch = false;
    m_batchPrinter.reset();
}

// The printer and settings of the batch's first document; a PDF file gets
// the document's place in the batch in its name, so that none overwrites
// another. Number 0 keeps the file name as chosen.
static std::unique_ptr<QPrinter> likeBatch(const QPrinter& first, const QString& documentName, int number)
{
    auto printer = a4Printer(documentName);
    printer->setOutputFormat(first.outputFormat());
    if (first.outputFormat() == QPrinter::PdfFormat && number == 0) {
        printer->setOutputFileName(first.outputFileName());
    } else if (first.outputFormat() == QPrinter::PdfFormat) {
        const QString name = first.outputFileName();
        const QString stem = name.endsWith(u".pdf", Qt::CaseInsensitive) ? name.chopped(4) : name;
        printer->setOutputFileName(stem + QStringLiteral("-%1.pdf").arg(number));
    } else {
        printer->setPrinterName(first.printerName());
    }
    printer->setPageLayout(first.pageLayout());
    printer->setCopyCount(first.copyCount());
    printer->setDuplex(first.duplex());
    printer->setColorMode(first.colorMode());
    return printer;
}

std::unique_ptr<Canvas> DialogPrintTarget::open(const QString& documentName)
{
    ++m_batchDocuments;
    if (m_inBatch && m_batchPrinter)
        return canvasOn(likeBatch(*m_batchPrinter, documentName, m_batchDocuments));
    auto printer = a4Printer(documentName);
    m_choice.applyTo(*printer);
    printer->setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(printer.get(), m_parent);
    dialog.setWindowTitle(documentName);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    if (m_inBatch)
        m_batchPrinter = likeBatch(*printer, documentName, 0);
    return canvasOn(std::move(printer));
}

std::unique_ptr<Canvas> PdfPrintTarget::open(const QString& documentName)
{
    auto printer = a4Printer(documentName);
    printer->setOutputFormat(QPrinter::PdfFormat);
    QString path = m_path;
    if (m_batch >= 0 && ++m_batch > 1)
        path = (path.endsWith(u".pdf", Qt::CaseInsensitive) ? path.chopped(4) : path) + QStringLiteral("-%1.pdf").arg(m_batch);
    printer->setOutputFileName(path);
    printer->setPageMargins(QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm), QPageLayout::Millimeter);
    return canvasOn(std::move(printer));
}
