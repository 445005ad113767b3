#include "layout_renderer.h"

#include "common/canvas.h"
#include "data/database.h"
#include "data/layout_rows.h"
#include "print_values.h"
#include "data/sql_values.h"

#include <QSqlQuery>

#include <algorithm>
#include <cmath>

namespace layout {
namespace {

// The widest a wrapped value may run before its remainder goes to a second
// line 3 mm lower.
constexpr double kWrapWidth = 79;
constexpr double kWrapDrop = 3;
constexpr int kWrapRest = 99;
// A text too wide for its column is printed smaller, but not below this.
constexpr double kSmallestPoints = 4;
constexpr double kShrinkStep = 0.5;
// Lines of a wrapped value in a column.
constexpr int kColumnLines = 2;

// The height of a line of text at a point size, in mm.
double emHeight(double points) { return points * 25.4 / 72; }

bool showsSlot(int kind, Renderer r)
{
    switch (kind) {
    case rowkind::kSlot: case rowkind::kCentredSlot: case rowkind::kWrappedSlot: case rowkind::kColumnSlot:
        return true;
    case rowkind::kRightAlignedSlot: case rowkind::kBoxedSlot: case rowkind::kCross: case rowkind::kCircle:
        return r == Renderer::Invoice;
    default:
        return false;
    }
}

int slotOf(const Row& row)
{
    bool ok = false;
    const int slot = row.a7.trimmed().toInt(&ok);
    return ok ? slot : -1;
}

// Empty texts print nothing.
void put(Canvas& canvas, double x, double top, const QString& text)
{
    if (!text.isEmpty())
        canvas.text(x, top, text);
}

// The font size, top and style of a text row. A style other than 0..3
// keeps the style of the row before.
void setUpText(const Row& row, Canvas& canvas)
{
    Canvas::Font font = canvas.font();
    font.points = row.a6;
    const int style = int(row.a4);
    if (row.a4 == style && style >= 0 && style <= 3) {
        font.bold = style == 1 || style == 3;
        font.italic = style == 2 || style == 3;
    }
    canvas.setFont(font);
}

void wrapped(Canvas& canvas, double x, double top, const QString& text)
{
    if (canvas.textWidth(text) <= kWrapWidth) {
        put(canvas, x, top, text);
        return;
    }
    int k = 1;
    while (k < text.size() && canvas.textWidth(text.left(k)) <= kWrapWidth)
        ++k;
    canvas.text(x, top, text.left(k));
    canvas.text(x, top + kWrapDrop, text.mid(k, kWrapRest));
}

// The point size at which a text fits a column's width (the row's own size
// when it fits).
double fittingPoints(Canvas& canvas, const QString& text, double width)
{
    Canvas::Font font = canvas.font();
    const double points = font.points;
    while (font.points > kSmallestPoints && canvas.textWidth(text) > width) {
        font.points = std::max(kSmallestPoints, font.points - kShrinkStep);
        canvas.setFont(font);
    }
    const double fitting = font.points;
    font.points = points;
    canvas.setFont(font);
    return fitting;
}

// What still fits the width, marked as cut when something is left out.
QString cutToWidth(Canvas& canvas, const QString& text, double width)
{
    if (canvas.textWidth(text) <= width)
        return text;
    const QString mark = QStringLiteral("…");
    int k = text.size();
    while (k > 0 && canvas.textWidth(text.left(k) + mark) > width)
        --k;
    return text.left(k) + mark;
}

enum class Align { Left, Right, Centre };

// One line inside the column [left, left + width]: printed smaller when it
// does not fit, so that it never runs into the next column.
void inColumn(Canvas& canvas, double left, double top, double width, const QString& text, Align align)
{
    if (text.isEmpty())
        return;
    const Canvas::Font row = canvas.font();
    Canvas::Font font = row;
    font.points = fittingPoints(canvas, text, width);
    canvas.setFont(font);
    const QString shown = cutToWidth(canvas, text, width);
    const double w = canvas.textWidth(shown);
    const double x = align == Align::Left ? left : align == Align::Right ? left + width - w : left + (width - w) / 2;
    canvas.text(x, top, shown);
    canvas.setFont(row);
}

// The words of a text on lines no wider than the width; a word longer than
// a line is broken where the line is full.
QStringList breakLines(Canvas& canvas, const QString& text, double width)
{
    QStringList lines;
    QString line;
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    for (QString word : words) {
        const QString joined = line.isEmpty() ? word : line + u' ' + word;
        if (canvas.textWidth(joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        while (canvas.textWidth(word) > width) {
            int k = 1;
            while (k < word.size() && canvas.textWidth(word.left(k + 1)) <= width)
                ++k;
            lines << word.left(k);
            word = word.mid(k);
        }
        line = word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// A value wrapped inside its column on up to two lines, at least 3 mm
// apart; when two lines do not hold it at the row's size, it is printed
// smaller.
void wrappedInColumn(Canvas& canvas, double left, double top, double width, const QString& text)
{
    if (text.trimmed().isEmpty())
        return;
    const Canvas::Font row = canvas.font();
    Canvas::Font font = row;
    QStringList lines = breakLines(canvas, text, width);
    while (lines.size() > kColumnLines && font.points > kSmallestPoints) {
        font.points = std::max(kSmallestPoints, font.points - kShrinkStep);
        canvas.setFont(font);
        lines = breakLines(canvas, text, width);
    }
    if (lines.size() > kColumnLines) {
        lines = lines.mid(0, kColumnLines);
        lines.last() = cutToWidth(canvas, lines.last() + QStringLiteral(" …"), width);
    }
    const double pitch = std::max(kWrapDrop, emHeight(font.points));
    for (qsizetype i = 0; i < lines.size(); ++i)
        canvas.text(left, top + i * pitch, lines[i]);
    canvas.setFont(row);
}

void boxedCharacters(Canvas& canvas, const Row& row, double dx, const QString& text)
{
    for (int j = 1; j <= text.size(); ++j) {
        const QString c = text.mid(j - 1, 1);
        const double left = row.a2 + (j - 1) * row.a5, right = row.a2 + j * row.a5;
        canvas.text((left + right - canvas.textWidth(c)) / 2 - 0.2 + dx, row.a3, c);
    }
}

void boxRow(Canvas& canvas, const Row& row, double dx)
{
    const int boxes = int(row.a4);
    const double width = lineWidth(row.a6), x0 = row.a2 + dx, top = row.a3, side = row.a5;
    for (int k = 0; k <= boxes; ++k)
        canvas.line(x0 + k * side, top, x0 + k * side, top + side, width);
    canvas.line(x0, top + side, x0 + boxes * side, top + side, width);
    if (row.a7.trimmed() == u"1")
        canvas.line(x0, top, x0 + boxes * side, top, width);
}

void rectangle(Canvas& canvas, const Row& row, double dx)
{
    const double w = lineWidth(row.a6), l = row.a2 + dx, r = row.a3 + dx, t = row.a4, b = row.a5;
    canvas.line(l, t, r, t, w);
    canvas.line(l, t, l, b, w);
    canvas.line(r, t, r, b, w);
    canvas.line(l, b, r, b, w);
}

// A text row with a column width (A5 of the kinds 1, 9, 91 and 92) keeps
// its text inside that column: the column runs right from x = A2 for the
// left-aligned kinds and left from x = A2 for the right-aligned ones.
bool hasColumn(const Row& row) { return row.a5 > 0; }

// A row of fixed text or of a slot's value: placed, centred, wrapped,
// right-aligned or one character per box.
void drawTextRow(const Row& row, const QString& slot, bool invoice, double dx, Canvas& canvas)
{
    switch (row.kind) {
    case rowkind::kText:
    case rowkind::kSlot: {
        setUpText(row, canvas);
        const QString text = row.kind == rowkind::kText ? row.a7 : slot;
        if (hasColumn(row))
            inColumn(canvas, row.a2 + dx, row.a3, row.a5, text, Align::Left);
        else
            put(canvas, row.a2 + dx, row.a3, text);
        break;
    }
    case rowkind::kCentredSlot:
    case rowkind::kCentredText: {
        setUpText(row, canvas);
        const QString text = row.kind == rowkind::kCentredSlot ? slot : row.a7;
        if (row.a5 > row.a2)
            inColumn(canvas, row.a2 + dx, row.a3, row.a5 - row.a2, text, Align::Centre);
        else if (!text.isEmpty())
            canvas.text((row.a2 + row.a5 - canvas.textWidth(text)) / 2 + dx, row.a3, text);
        break;
    }
    case rowkind::kWrappedSlot:
        setUpText(row, canvas);
        if (invoice && hasColumn(row))
            wrappedInColumn(canvas, row.a2 + dx, row.a3, row.a5, slot);
        else if (invoice)
            wrapped(canvas, row.a2 + dx, row.a3, slot);
        else if (hasColumn(row))
            inColumn(canvas, row.a2 - row.a5, row.a3, row.a5, slot, Align::Right);
        else if (!slot.isEmpty())
            canvas.text(row.a2 - canvas.textWidth(slot), row.a3, slot);
        break;
    case rowkind::kColumnSlot:
        // A value wrapped inside the column from x = A2, A5 wide (both
        // renderers).
        setUpText(row, canvas);
        wrappedInColumn(canvas, row.a2 + dx, row.a3, hasColumn(row) ? row.a5 : kWrapWidth, slot);
        break;
    case rowkind::kRightAlignedSlot:
        if (!invoice)
            break;
        setUpText(row, canvas);
        if (hasColumn(row))
            inColumn(canvas, row.a2 - row.a5 + dx, row.a3, row.a5, slot, Align::Right);
        else
            put(canvas, row.a2 - canvas.textWidth(slot) + dx, row.a3, slot);
        break;
    case rowkind::kBoxedSlot:
        if (!invoice)
            break;
        setUpText(row, canvas);
        boxedCharacters(canvas, row, dx, slot);
        break;
    default:
        break;
    }
}

// A line, rectangle, row of boxes, cross or circle.
void drawShapeRow(const Row& row, const QString& slot, bool invoice, double dx, Canvas& canvas)
{
    switch (row.kind) {
    case rowkind::kLine: {
        double x2 = row.a3, y2 = row.a5;
        if (!invoice) {
            if (x2 == 0)
                x2 = row.a2;
            if (y2 == 0)
                y2 = row.a4;
        }
        canvas.line(row.a2 + dx, row.a4, x2 + dx, y2, lineWidth(row.a6));
        break;
    }
    case rowkind::kRectangle:
        rectangle(canvas, row, dx);
        break;
    case rowkind::kBoxRow:
        if (invoice)
            boxRow(canvas, row, dx);
        break;
    case rowkind::kCross:
        if (invoice && slot == u"1") {
            Canvas::Font font = canvas.font();
            font.points = 8;
            canvas.setFont(font);
            canvas.text(row.a2 + dx, row.a3, QStringLiteral("X"));
        }
        break;
    case rowkind::kCircle:
        if (invoice)
            canvas.circle((slot == u"1" ? row.a3 : row.a2) + dx, row.a4, 2, 2);
        break;
    default:
        break;
    }
}

void drawRow(const Row& row, const PrintValues& values, Renderer r, Canvas& canvas)
{
    const bool invoice = r == Renderer::Invoice;
    const double dx = invoice ? kInvoiceShift : 0;
    const QString slot = showsSlot(row.kind, r) ? values.text(slotOf(row)) : QString();
    switch (row.kind) {
    case rowkind::kLine:
    case rowkind::kRectangle:
    case rowkind::kBoxRow:
    case rowkind::kCross:
    case rowkind::kCircle:
        drawShapeRow(row, slot, invoice, dx, canvas);
        break;
    default:
        drawTextRow(row, slot, invoice, dx, canvas);
        break;
    }
}
} // namespace

double lineWidth(double a6)
{
    const double whole = std::round(a6);
    return whole == 0 ? 1 : whole;
}

std::optional<std::vector<Row>> readRows(Database& db, const QString& table, QString* error)
{
    if (!db.hasTable(table)) {
        if (error)
            *error = QStringLiteral("Izgled ispisa \"%1\" ne postoji u bazi podataka! Ispis nije moguć.").arg(table);
        return std::nullopt;
    }
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT A0, A1, A2, A3, A4, A5, A6, A7 FROM %1 ORDER BY rowid").arg(sqlvalue::quotedName(table)))) {
        if (error)
            *error = QStringLiteral("Izgled ispisa \"%1\" nije moguće pročitati! Ispis nije moguć.").arg(table);
        return std::nullopt;
    }
    std::vector<Row> rows;
    while (q.next()) {
        rows.push_back({q.value(0).toLongLong(), int(q.value(1).toDouble()), q.value(2).toDouble(),
                        q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toDouble(),
                        q.value(6).toDouble(), q.value(7).toString()});
    }
    return rows;
}

QString checkSlots(const std::vector<Row>& rows, Renderer renderer, const QString& table)
{
    for (const Row& row : rows) {
        if (!showsSlot(row.kind, renderer))
            continue;
        const int slot = slotOf(row);
        if (slot < 0 || slot >= PrintValues::kCount)
            return QStringLiteral("Izgled ispisa \"%1\", redak %2: \"%3\" nije broj polja od 0 do %4! Ispis nije moguć.")
                .arg(table, QString::number(row.key), row.a7, QString::number(PrintValues::kCount - 1));
    }
    return {};
}

void draw(const std::vector<Row>& rows, const PrintValues& values, Renderer renderer, Canvas& canvas)
{
    canvas.setFont({QStringLiteral("Arial CE"), 10, false, false});
    for (const Row& row : rows)
        drawRow(row, values, renderer, canvas);
}

bool render(Database& db, const QString& table, const PrintValues& values, Renderer renderer, Canvas& canvas,
            QString* error)
{
    const std::optional<std::vector<Row>> rows = readRows(db, table, error);
    if (!rows)
        return false;
    const QString problem = checkSlots(*rows, renderer, table);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    draw(*rows, values, renderer, canvas);
    return true;
}

} // namespace layout
