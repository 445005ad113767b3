#pragma once

#include "common/canvas.h"
#include "common/recording_canvas.h"

#include <QString>

#include <memory>
#include <vector>

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

// Where a print goes. open() starts one document on A4 paper and returns
// its canvas, or nothing when the user cancelled or the output could not be
// opened; the print ends the document with Canvas::finish().
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    virtual std::unique_ptr<Canvas> open(const QString& documentName) = 0;
    // Several documents in a row (a range of invoices): the printer is
    // chosen once, for the first of them.
    virtual void beginBatch() {}
    virtual void endBatch() {}
};

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

// Prints nothing (a run without a printout).
class DiscardPrintTarget : public PrintTarget {
public:
    std::unique_ptr<Canvas> open(const QString& documentName) override;
};

// Keeps every document drawn, for tests.
class RecordingPrintTarget : public PrintTarget {
public:
    std::unique_ptr<Canvas> open(const QString& documentName) override;
    bool refuse = false; // open() answers as a cancelled dialog
    QStringList documentNames;
    std::vector<std::unique_ptr<RecordingCanvas>> documents;
    RecordingCanvas& last() { return *documents.back(); }
};

// "Ispis nije uspio! ..." with the canvas's own reason, when it has one.
QString printFailedMessage(const Canvas& canvas);
