#pragma once

#include <QString>

class Database;

namespace layouts {

// The line width of the two invoices to the fund (Osnovno, Dopunsko): A6 of
// their line and box rows (kinds 2 and 5). The forms of the fund's
// confirmation sheet keep their own widths.
bool setLineThickness(Database& db, int thickness, QString* error = nullptr);

} // namespace layouts
