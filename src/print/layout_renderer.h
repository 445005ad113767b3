#pragma once

#include <QString>

#include <optional>
#include <vector>

class Canvas;
class Database;
class PrintValues;

// The forms of the fund are layout tables: one row per printed item, with
// its kind (A1), position in mm (A2..A5), style or line width (A4, A6) and
// a fixed text or the number of the print slot it shows (A7). A text row
// may also give the width of its column in A5: its text then stays inside
// that column, printed smaller (and a wrapped value on a second line) when
// it does not fit.
namespace layout {

enum class Renderer {
    Prescription, // onto the fund's pre-printed confirmation sheet
    Invoice,      // the invoices on plain paper: 2 mm further right
};

// The invoices sit this many mm right of where the confirmation sheet's
// layout would put them.
inline constexpr double kInvoiceShift = 2;

struct Row {
    qint64 key = 0; // A0
    int kind = 0;   // A1
    double a2 = 0, a3 = 0, a4 = 0, a5 = 0, a6 = 0;
    QString a7;
};

// The rows of a layout table in the table's order; none (with the reason)
// when the table cannot be read.
std::optional<std::vector<Row>> readRows(Database& db, const QString& table, QString* error);

// Empty when every row that shows a slot names one of PrintValues; otherwise
// the message that stops the print.
QString checkSlots(const std::vector<Row>& rows, Renderer renderer, const QString& table);

// Draws the rows on the canvas (the page set-up included); the caller ends
// the document.
void draw(const std::vector<Row>& rows, const PrintValues& values, Renderer renderer, Canvas& canvas);

// Reads, checks and draws a layout table; false with the message when the
// table is missing or a row names no valid slot (nothing is drawn then).
bool render(Database& db, const QString& table, const PrintValues& values, Renderer renderer, Canvas& canvas,
            QString* error);

// The line width of a line or box row: 0 means 1.
double lineWidth(double a6);

} // namespace layout
