#pragma once

#include "common/print_target.h"

#include <QString>

#include <memory>

class PrinterChoice;
class QPrinter;
class QWidget;

// The PDF file the print dialog offers for a document: named after it, in
// the folder where the user last saved a print as PDF (kept between runs;
// the data folder the first time).
namespace pdfchoice {
QString offeredFile(const QString& documentName);
// What the user chose in the dialog: a PDF file, or (empty) a printer.
void remember(const QString& chosenPdfFile);
bool lastWentToFile();
} // namespace pdfchoice

// The printer of the run, through the system's print dialog, which also
// offers printing to a PDF file.
class DialogPrintTarget : public PrintTarget {
public:
    DialogPrintTarget(const PrinterChoice& choice, QWidget* parent);
    ~DialogPrintTarget() override;
    std::unique_ptr<Canvas> open(const QString& documentName) override;
    void beginBatch() override;
    void endBatch() override;

private:
    const PrinterChoice& m_choice;
    QWidget* m_parent;
    bool m_inBatch = false;
    int m_batchDocuments = 0;
    std::unique_ptr<QPrinter> m_batchPrinter; // the choice made for the batch's first document
};

// A PDF file of an A4 page with the printable area of a common office
// printer.
// In a batch the second and later documents go to FILE-2.pdf, FILE-3.pdf…
class PdfPrintTarget : public PrintTarget {
public:
    explicit PdfPrintTarget(QString path) : m_path(std::move(path)) {}
    std::unique_ptr<Canvas> open(const QString& documentName) override;
    void beginBatch() override { m_batch = 0; }
    void endBatch() override { m_batch = -1; }

private:
    QString m_path;
    int m_batch = -1; // documents opened in the batch; -1: no batch
};

// "Ispis nije uspio! ..." with the canvas's own reason, when it has one.
QString printFailedMessage(const Canvas& canvas);
