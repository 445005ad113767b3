#pragma once

#include "common/canvas.h"

#include <QFont>
#include <QPainter>

class QPagedPaintDevice;

// A canvas over a printer or a PDF writer. Coordinates are millimetres from
// the corner of the printable area; fonts keep their real point sizes (the
// painter is not scaled), so that text widths measured on the device match
// what is printed.
class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPagedPaintDevice* device);
    ~PainterCanvas() override;

    bool isActive() const { return m_painter.isActive(); }

    void setFont(const Font& font) override;
    const Font& font() const override { return m_font; }
    double textWidth(const QString& text) override;
    double lineHeight() override;
    void text(double x, double top, const QString& text) override;
    void line(double x1, double y1, double x2, double y2, double width) override;
    void circle(double cx, double cy, double radius, double width) override;
    void newPage() override;
    bool finish() override;

    // The printed width of one unit of line width, in mm.
    static constexpr double kLineUnitMm = 0.1;

    // The installed font that stands in for a form's font name: the forms
    // were laid out for Arial and Times New Roman, whose metrics Liberation
    // Sans and Liberation Serif share.
    static QString installedFamily(const QString& formFamily);

private:
    double device(double mm) const { return mm * m_dotsPerMm; }
    QPen pen(double width) const;

    QPagedPaintDevice* m_device;
    QPainter m_painter;
    double m_dotsPerMm = 1;
    Font m_font;
    QFont m_qfont;
    bool m_finished = false;
};
