#include "text_cursor.h"

#include <QStringList>

#include <algorithm>

namespace {

// Texts shrink to fit a column, but not below this size.
constexpr double kSmallestPoints = 5;

} // namespace

void TextCursor::setFont(double points, bool bold)
{
    Canvas::Font font = m_canvas.font();
    font.points = points;
    font.bold = bold;
    font.italic = false;
    m_canvas.setFont(font);
}

void TextCursor::setFamily(const QString& family)
{
    Canvas::Font font = m_canvas.font();
    font.family = family;
    m_canvas.setFont(font);
}

void TextCursor::emptyLines(int count)
{
    for (int i = 0; i < count; ++i)
        m_y += m_canvas.lineHeight();
}

void TextCursor::finish(End end)
{
    if (end == End::NewLine)
        m_y += m_canvas.lineHeight();
}

void TextCursor::at(double x, const QString& text, End end)
{
    m_canvas.text(x + m_ox, m_y + m_oy, text);
    finish(end);
}

void TextCursor::centredAt(double x, const QString& text, End end)
{
    at(x - m_canvas.textWidth(text) / 2, text, end);
}

void TextCursor::rightAlignedAt(double x, const QString& text, End end)
{
    at(x - m_canvas.textWidth(text), text, end);
}

void TextCursor::rule(double fromX, double toX, double dy, double width)
{
    m_y += dy;
    m_canvas.line(fromX + m_ox, m_y + m_oy, toX + m_ox, m_y + m_oy, width);
}

void TextCursor::inColumn(double left, double width, const QString& text, Qt::Alignment align, End end)
{
    const Canvas::Font font = m_canvas.font();
    Canvas::Font smaller = font;
    while (m_canvas.textWidth(text) > width && smaller.points > kSmallestPoints) {
        smaller.points = std::max(kSmallestPoints, smaller.points - 0.5);
        m_canvas.setFont(smaller);
    }
    const double w = m_canvas.textWidth(text);
    double x = left;
    if (align & Qt::AlignRight)
        x = left + width - w;
    else if (align & Qt::AlignHCenter)
        x = left + (width - w) / 2;
    m_canvas.text(x + m_ox, m_y + m_oy, text);
    m_canvas.setFont(font);
    finish(end);
}

void TextCursor::centredLines(double x, double width, const QString& text)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.simplified().split(u' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + u' ' + word;
        if (line.isEmpty() || m_canvas.textWidth(joined) <= width) {
            line = joined;
            continue;
        }
        lines << line;
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    // A single word wider than the column is printed smaller.
    for (const QString& l : lines)
        inColumn(x - width / 2, width, l, Qt::AlignHCenter);
}
