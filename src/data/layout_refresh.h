#pragma once

#include <QString>

class Database;

// The invoice layouts (Osnovno, Dopunsko) that earlier releases of this
// program wrote into a new folder let long texts run over other columns and
// printed the supplementary share's kuna equivalent beside the co-payment.
// Rows are written only when a folder is made, so such a folder keeps them:
// this puts today's rows in their place, but only in a table whose rows are
// exactly one of the sets those releases wrote (in the same order, with no
// row added, removed or changed), so that a layout someone changed by hand
// or imported from an upgrade package is left as it is. The one setting the
// user makes on these tables, the thickness of the lines ("Opći podaci"),
// carries over. The fund's confirmation form is never touched: its rows hold
// the positions the user fine-tuned for the printer.
namespace layoutrefresh {

// A digest of a layout table's rows in stored order, leaving out the width
// of the lines and boxes; empty with the reason when the table could not be
// read.
QString fingerprint(Database& db, const QString& table, QString* error = nullptr);

// Whether the digest is that of a table one of the earlier releases wrote.
bool isEarlierShipped(const QString& table, const QString& digest);

// Refreshes Osnovno and Dopunsko where they hold earlier shipped rows.
// False with the database's reason when a table could not be read or
// written (the caller's transaction is then to be undone).
bool refreshInvoiceLayouts(Database& db, QString* error);

} // namespace layoutrefresh
