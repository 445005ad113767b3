#include "text_cursor.h"

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
