#include "dialog_print_target.h"

#include "common/printer_choice.h"
#include "painter_canvas.h"
#include "print_target.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace {

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
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty())
        return pdfFileCanvas(printer->outputFileName(), printer->docName(), printer->pageLayout());
    auto canvas = std::make_unique<OwnedPrinterCanvas>(std::move(printer));
    if (!canvas->isActive())
        return nullptr;
    return canvas;
}

const QString kPdfFolderKey = QStringLiteral("ispis/pdfMapa");
const QString kToPdfKey = QStringLiteral("ispis/uPdf");

QSettings userSettings() { return QSettings(QStringLiteral("Kelmorin"), QStringLiteral("Kelmorin")); }

// The dialog starts on the offered file when the last print went to one or
// when no printer is installed, otherwise on the printer.
void offerPdfFile(QPrinter& printer, const QString& documentName)
{
    const QString printerName = printer.printerName();
    printer.setOutputFileName(pdfchoice::offeredFile(documentName));
    if (!pdfchoice::lastWentToFile() && !QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        if (!printerName.isEmpty())
            printer.setPrinterName(printerName);
    }
}

// After the dialog: a print to a printer must not also go to the offered
// file.
void rememberChoice(QPrinter& printer)
{
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    pdfchoice::remember(toFile ? printer.outputFileName() : QString());
    if (!toFile && !printer.outputFileName().isEmpty())
        printer.setOutputFileName(QString());
}

} // namespace

namespace pdfchoice {

QString offeredFile(const QString& documentName)
{
    const QString remembered = userSettings().value(kPdfFolderKey).toString();
    const QString folder = !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : QDir::currentPath();
    return QDir(folder).filePath(documentName + QStringLiteral(".pdf"));
}

void remember(const QString& chosenPdfFile)
{
    QSettings settings = userSettings();
    settings.setValue(kToPdfKey, !chosenPdfFile.isEmpty());
    if (!chosenPdfFile.isEmpty())
        settings.setValue(kPdfFolderKey, QFileInfo(chosenPdfFile).absolutePath());
}

bool lastWentToFile() { return userSettings().value(kToPdfKey, false).toBool(); }

} // namespace pdfchoice

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

// The printer and settings of the batch's first document; a PDF file of a
// later document is named after that document, so that none overwrites
// another. Number 0 keeps the file name as chosen.
static std::unique_ptr<QPrinter> likeBatch(const QPrinter& first, const QString& documentName, int number)
{
    auto printer = a4Printer(documentName);
    printer->setOutputFormat(first.outputFormat());
    if (first.outputFormat() == QPrinter::PdfFormat && number == 0) {
        printer->setOutputFileName(first.outputFileName());
    } else if (first.outputFormat() == QPrinter::PdfFormat) {
        // Each later document of the batch gets its own name in the folder
        // of the first.
        printer->setOutputFileName(
            QDir(QFileInfo(first.outputFileName()).absolutePath()).filePath(documentName + QStringLiteral(".pdf")));
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
    offerPdfFile(*printer, documentName);
    QPrintDialog dialog(printer.get(), m_parent);
    dialog.setWindowTitle(QStringLiteral("Ispis: ") + documentName);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    rememberChoice(*printer);
    if (m_inBatch)
        m_batchPrinter = likeBatch(*printer, documentName, 0);
    return canvasOn(std::move(printer));
}
