#pragma once

#include <QString>
#include <QStringList>

// Databases and packages for the upgrade tests, built in the current folder.
namespace fixtures {

// Kelmorin.mdb as the oldest releases left it: Opci with 13 fields, Rn with
// 35, the old code list Kelmorin with 4, the two invoice layouts; two
// invoices without year and number.
void makeOldestDatabase();

// The package of a step with the tables that step imports; each table holds
// one row that names the package.
void makePackage(const QString& id);
void makeEveryPackage();

// A package holding exactly the given (empty) tables.
void makePackageWith(const QString& id, const QStringList& tables);

} // namespace fixtures
