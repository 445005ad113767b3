#pragma once

#include <QString>

class Database;

// The layout rows of the forms a new working folder starts with: the two
// invoices to the fund on plain A4 paper (Osnovno, Dopunsko) and the
// supplier's part on the back of the fund's confirmation form
// (OrtopedskoPomagalo2, and its older variant OrtopedskoPomagalo2S).
namespace formlayouts {

bool insert(Database& db);

// Adds today's rows of one of those tables (the table is expected empty).
bool insertTable(Database& db, const QString& table);

} // namespace formlayouts
