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
