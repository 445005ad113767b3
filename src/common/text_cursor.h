#pragma once

#include "common/canvas.h"

#include <Qt>

// Prints line by line the way the old printer object did: texts go to the
// current line at a given x, a finished line moves the cursor down by the
// height of the current font, and a line drawn across the page leaves the
// cursor at the line's height. Coordinates are shifted by an origin so that
// a document can keep the coordinates it was laid out with.
class TextCursor {
public:
    enum class End { NewLine, StayOnLine };

    TextCursor(Canvas& canvas, double originX, double originY) : m_canvas(canvas), m_ox(originX), m_oy(originY) {}

    void setFont(double points, bool bold);
    void setFamily(const QString& family);

    double y() const { return m_y; }
    void setY(double y) { m_y = y; }
    void moveDown(double mm) { m_y += mm; }
    void emptyLines(int count);

    void at(double x, const QString& text, End end = End::NewLine);
    void centredAt(double x, const QString& text, End end = End::NewLine);
    void rightAlignedAt(double x, const QString& text, End end = End::NewLine);
    // Texts that keep to a column [left, left + width]: printed smaller when
    // they do not fit (the line still advances by the current font).
    void inColumn(double left, double width, const QString& text, Qt::Alignment align, End end = End::NewLine);
    // A text broken at its blanks onto as many lines as it needs, each
    // centred at x and no wider than the width.
    void centredLines(double x, double width, const QString& text);
    // A horizontal line dy below the cursor; the cursor goes down to it.
    void rule(double fromX, double toX, double dy, double width = 1);

    double textWidth(const QString& text) { return m_canvas.textWidth(text); }
    Canvas& canvas() { return m_canvas; }

private:
    void finish(End end);

    Canvas& m_canvas;
    double m_ox, m_oy;
    double m_y = 0;
};
