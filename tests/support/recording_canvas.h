#pragma once

#include "common/canvas.h"
#include "common/print_target.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <vector>

// A canvas that keeps what was drawn. Text widths are computed from a fixed
// advance per character (as the canvas that draws nothing measures them) so
// that positions can be worked out by hand.
class RecordingCanvas : public Canvas {
public:
    struct Item {
        enum Kind { Text, Line, Circle, PageBreak } kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // text: x1/y1 = left/top; circle: centre and x2 = radius
        double width = 0;
        QString text;
        Font font;
    };

    // Every character is this wide at 10 points, and in proportion at
    // other sizes.
    static constexpr double kAdvanceAt10Points = NullCanvas::kAdvanceAt10Points;

    void setFont(const Font& font) override { m_font = font; }
    const Font& font() const override { return m_font; }
    double textWidth(const QString& text) override { return text.size() * kAdvanceAt10Points * m_font.points / 10.0; }
    double lineHeight() override { return m_font.points * 0.45; }
    void text(double x, double top, const QString& text) override
    {
        m_items.append({Item::Text, x, top, 0, 0, 0, text, m_font});
    }
    void line(double x1, double y1, double x2, double y2, double width) override
    {
        m_items.append({Item::Line, x1, y1, x2, y2, width, {}, m_font});
    }
    void circle(double cx, double cy, double radius, double width) override
    {
        m_items.append({Item::Circle, cx, cy, radius, 0, width, {}, m_font});
    }
    void newPage() override { m_items.append({Item::PageBreak, 0, 0, 0, 0, 0, {}, m_font}); }
    bool finish() override
    {
        m_finished = true;
        return true;
    }

    const QList<Item>& items() const { return m_items; }
    bool finished() const { return m_finished; }
    // The texts drawn, in order.
    QStringList texts() const
    {
        QStringList t;
        for (const Item& i : m_items) {
            if (i.kind == Item::Text)
                t << i.text;
        }
        return t;
    }
    // The first text item with this text, or nullptr.
    const Item* findText(const QString& text) const
    {
        for (const Item& i : m_items) {
            if (i.kind == Item::Text && i.text == text)
                return &i;
        }
        return nullptr;
    }

private:
    Font m_font{QStringLiteral("Arial CE"), 10, false, false};
    QList<Item> m_items;
    bool m_finished = false;
};

// Keeps every document drawn.
class RecordingPrintTarget : public PrintTarget {
public:
    std::unique_ptr<Canvas> open(const QString& documentName) override;
    bool refuse = false; // open() answers as a cancelled dialog
    QStringList documentNames;
    std::vector<std::unique_ptr<RecordingCanvas>> documents;
    RecordingCanvas& last() { return *documents.back(); }
};
