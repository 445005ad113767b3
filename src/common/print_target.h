#pragma once

#include "canvas.h"
#include "recording_canvas.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

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
