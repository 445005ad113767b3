#pragma once

#include <QDate>

class Database;

// The rows a new database is shipped with. The code-list rows are samples,
// named so; a shop loads the fund's real lists through the code-list
// maintenance or an upgrade package.
namespace sampledata {

bool insertGeneralData(Database& db, int year);
bool insertCodeLists(Database& db);

// The demo folder: a sample supplier, about fifty invoices over this and
// last year, a few patients with visits.
bool insertDemoSupplier(Database& db);
bool insertDemoInvoices(Database& db, const QDate& today);
bool insertDemoPatients(Database& patients, const QDate& today);

} // namespace sampledata
