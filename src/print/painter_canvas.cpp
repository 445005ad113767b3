#include "painter_canvas.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>

PainterCanvas::PainterCanvas(QPagedPaintDevice* device) : m_device(device)
{
    if (!m_painter.begin(device))
        return;
    m_dotsPerMm = device->logicalDpiX() / 25.4;
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    setFont({QStringLiteral("Arial CE"), 10, false, false});
}

PainterCanvas::~PainterCanvas()
{
    if (m_painter.isActive())
        m_painter.end();
}

QString PainterCanvas::installedFamily(const QString& formFamily)
{
    const QString f = formFamily.toLower();
    if (f.startsWith(u"times"))
        return QStringLiteral("Liberation Serif");
    if (f.startsWith(u"arial") || f.isEmpty())
        return QStringLiteral("Liberation Sans");
    return formFamily;
}

void PainterCanvas::setFont(const Font& font)
{
    m_font = font;
    QFont f(installedFamily(font.family));
    f.setPointSizeF(font.points > 0 ? font.points : 10);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setKerning(false);
    m_qfont = f;
    if (m_painter.isActive())
        m_painter.setFont(m_qfont);
}

double PainterCanvas::textWidth(const QString& text)
{
    return QFontMetricsF(m_qfont, m_device).horizontalAdvance(text) / m_dotsPerMm;
}

double PainterCanvas::lineHeight() { return QFontMetricsF(m_qfont, m_device).height() / m_dotsPerMm; }

void PainterCanvas::text(double x, double top, const QString& text)
{
    if (!m_painter.isActive() || text.isEmpty())
        return;
    const double ascent = QFontMetricsF(m_qfont, m_device).ascent();
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(device(x), device(top) + ascent), text);
}

QPen PainterCanvas::pen(double width) const
{
    QPen p(Qt::black);
    p.setWidthF(device(std::max(width, 1.0) * kLineUnitMm));
    p.setCapStyle(Qt::SquareCap);
    return p;
}

void PainterCanvas::line(double x1, double y1, double x2, double y2, double width)
{
    if (!m_painter.isActive())
        return;
    m_painter.setPen(pen(width));
    m_painter.drawLine(QPointF(device(x1), device(y1)), QPointF(device(x2), device(y2)));
}

void PainterCanvas::circle(double cx, double cy, double radius, double width)
{
    if (!m_painter.isActive())
        return;
    m_painter.setPen(pen(width));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawEllipse(QPointF(device(cx), device(cy)), device(radius), device(radius));
}

void PainterCanvas::newPage()
{
    if (m_painter.isActive())
        m_device->newPage();
}

bool PainterCanvas::finish()
{
    if (m_finished)
        return true;
    m_finished = true;
    return m_painter.isActive() && m_painter.end();
}
