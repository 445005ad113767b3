#pragma once

#include "canvas.h"

#include <QString>

#include <memory>

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

// A canvas that draws nothing. Text is measured with a fixed advance per
// character, so that a layout worked out on it does not depend on the fonts
// installed.
class NullCanvas : public Canvas {
public:
    // Every character is this wide at 10 points, and in proportion at
    // other sizes.
    static constexpr double kAdvanceAt10Points = 2.0;

    void setFont(const Font& font) override { m_font = font; }
    const Font& font() const override { return m_font; }
    double textWidth(const QString& text) override { return text.size() * kAdvanceAt10Points * m_font.points / 10.0; }
    double lineHeight() override { return m_font.points * 0.45; }
    void text(double, double, const QString&) override {}
    void line(double, double, double, double, double) override {}
    void circle(double, double, double, double) override {}
    void newPage() override {}
    bool finish() override { return true; }

private:
    Font m_font;
};

// Prints nothing (a run without a printout).
class DiscardPrintTarget : public PrintTarget {
public:
    std::unique_ptr<Canvas> open(const QString& documentName) override;
};
