#include "print_target.h"

#include "app/printer_choice.h"
#include "painter_canvas.h"

#include "common/text_file.h"
#include "common/working_folder.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

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

// A PDF is drawn in memory and written whole through the program's one
// file writer when the document ends: a full disk or a missing folder is
// reported, and a file of the same name stays as it was. A name of one of
// the program's own data files is refused (a PDF must never take the place
// of the database).
struct PdfBuffer {
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    PdfBuffer(const QString& documentName, const QPageLayout& layout)
    {
        buffer.open(QIODevice::WriteOnly);
        writer = std::make_unique<QPdfWriter>(&buffer);
        writer->setResolution(1200);
        writer->setTitle(documentName);
        writer->setCreator(QStringLiteral("Kelmorin"));
        writer->setPageLayout(layout);
    }
};

class BufferedPdfCanvas : private PdfBuffer, public PainterCanvas {
public:
    BufferedPdfCanvas(QString path, const QString& documentName, const QPageLayout& layout)
        : PdfBuffer(documentName, layout), PainterCanvas(PdfBuffer::writer.get()), m_path(std::move(path))
    {
    }
    bool finish() override
    {
        if (m_done)
            return m_failure.isEmpty();
        m_done = true;
        if (!PainterCanvas::finish())
            m_failure = QStringLiteral("PDF %1 nije moguće napraviti.").arg(QDir::toNativeSeparators(m_path));
        else if (workdir::isDataFileName(m_path))
            m_failure = QStringLiteral("%1 je ime datoteke s podacima programa; PDF se ne smije tako zvati.")
                            .arg(QDir::toNativeSeparators(m_path));
        else
            textfile::writeWhole(m_path, buffer.data(), &m_failure);
        return m_failure.isEmpty();
    }
    QString failure() const override { return m_failure; }

private:
    QString m_path;
    QString m_failure;
    bool m_done = false;
};

std::unique_ptr<Canvas> canvasOn(std::unique_ptr<QPrinter> printer)
{
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        auto canvas = std::make_unique<BufferedPdfCanvas>(printer->outputFileName(), printer->docName(), printer->pageLayout());
        if (!canvas->isActive())
            return nullptr;
        return canvas;
    }
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

// Draws into a recording that outlives the print.
class ForwardingCanvas : public Canvas {
public:
    explicit ForwardingCanvas(Canvas& to) : m_to(to) {}
    void setFont(const Font& font) override { m_to.setFont(font); }
    const Font& font() const override { return m_to.font(); }
    double textWidth(const QString& text) override { return m_to.textWidth(text); }
    double lineHeight() override { return m_to.lineHeight(); }
    void text(double x, double top, const QString& text) override { m_to.text(x, top, text); }
    void line(double x1, double y1, double x2, double y2, double width) override { m_to.line(x1, y1, x2, y2, width); }
    void circle(double cx, double cy, double radius, double width) override { m_to.circle(cx, cy, radius, width); }
    void newPage() override { m_to.newPage(); }
    bool finish() override { return m_to.finish(); }

private:
    Canvas& m_to;
};

std::unique_ptr<Canvas> RecordingPrintTarget::open(const QString& documentName)
{
    documentNames << documentName;
    if (refuse)
        return nullptr;
    documents.push_back(std::make_unique<RecordingCanvas>());
    return std::make_unique<ForwardingCanvas>(*documents.back());
}

namespace {

// Draws nothing; text is measured like the recording canvas measures it.
class NullCanvas : public Canvas {
public:
    void setFont(const Font& font) override { m_font = font; }
    const Font& font() const override { return m_font; }
    double textWidth(const QString& text) override
    {
        return text.size() * RecordingCanvas::kAdvanceAt10Points * m_font.points / 10.0;
    }
    double lineHeight() override { return m_font.points * 0.45; }
    void text(double, double, const QString&) override {}
    void line(double, double, double, double, double) override {}
    void circle(double, double, double, double) override {}
    void newPage() override {}
    bool finish() override { return true; }

private:
    Font m_font;
};

} // namespace

std::unique_ptr<Canvas> DiscardPrintTarget::open(const QString&) { return std::make_unique<NullCanvas>(); }

QString printFailedMessage(const Canvas& canvas)
{
    const QString message = QStringLiteral("Ispis nije uspio! Provjerite pisač ili datoteku u koju se ispisuje.");
    return canvas.failure().isEmpty() ? message : message + QStringLiteral("\r\n") + canvas.failure();
}
