#include "layout_renderer.h"

#include "common/canvas.h"
#include "data/database.h"
#include "data/layout_rows.h"
#include "print_values.h"

#include <QSqlQuery>

#include <cmath>

namespace layout {
namespace {

// The widest a wrapped value may run before its remainder goes to a second
// line 3 mm lower.
constexpr double kWrapWidth = 79;
constexpr double kWrapDrop = 3;
constexpr int kWrapRest = 99;
// The invoices sit 2 mm right of where the confirmation sheet's layout
// would put them.
constexpr double kInvoiceShift = 2;

bool showsSlot(int kind, Renderer r)
{
    switch (kind) {
    case rowkind::kSlot: case rowkind::kCentredSlot: case rowkind::kWrappedSlot:
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

void drawRow(const Row& row, const PrintValues& values, Renderer r, Canvas& canvas)
{
    const bool invoice = r == Renderer::Invoice;
    const double dx = invoice ? kInvoiceShift : 0;
    const QString slot = showsSlot(row.kind, r) ? values.text(slotOf(row)) : QString();
    switch (row.kind) {
    case rowkind::kText:
        setUpText(row, canvas);
        put(canvas, row.a2 + dx, row.a3, row.a7);
        break;
    case rowkind::kSlot:
        setUpText(row, canvas);
        put(canvas, row.a2 + dx, row.a3, slot);
        break;
    case rowkind::kCentredSlot:
    case rowkind::kCentredText: {
        setUpText(row, canvas);
        const QString text = row.kind == rowkind::kCentredSlot ? slot : row.a7;
        if (!text.isEmpty())
            canvas.text((row.a2 + row.a5 - canvas.textWidth(text)) / 2 + dx, row.a3, text);
        break;
    }
    case rowkind::kWrappedSlot:
        setUpText(row, canvas);
        if (invoice)
            wrapped(canvas, row.a2 + dx, row.a3, slot);
        else if (!slot.isEmpty())
            canvas.text(row.a2 - canvas.textWidth(slot), row.a3, slot);
        break;
    case rowkind::kRightAlignedSlot:
        if (!invoice)
            break;
        setUpText(row, canvas);
        put(canvas, row.a2 - canvas.textWidth(slot) + dx, row.a3, slot);
        break;
    case rowkind::kBoxedSlot:
        if (!invoice)
            break;
        setUpText(row, canvas);
        boxedCharacters(canvas, row, dx, slot);
        break;
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
    if (!q.exec(QStringLiteral("SELECT A0, A1, A2, A3, A4, A5, A6, A7 FROM \"%1\" ORDER BY rowid").arg(table))) {
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
            return QStringLiteral("Izgled ispisa \"%1\", redak %2: \"%3\" nije broj polja od 0 do 91! Ispis nije moguć.")
                .arg(table, QString::number(row.key), row.a7);
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
