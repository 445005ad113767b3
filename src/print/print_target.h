#pragma once

#include "common/print_target.h"

#include <QPageLayout>
#include <QString>

#include <memory>

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

// A canvas that draws a document into a PDF file at `path`, on pages of
// `layout`; nothing when the drawing cannot start. The file is written when
// the document ends.
std::unique_ptr<Canvas> pdfFileCanvas(const QString& path, const QString& documentName, const QPageLayout& layout);

// "Ispis nije uspio! ..." with the canvas's own reason, when it has one.
QString printFailedMessage(const Canvas& canvas);
