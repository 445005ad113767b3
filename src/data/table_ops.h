#pragma once

#include <QString>

class Database;

// Table operations of the upgrade steps. Each returns false and leaves the
// reason in db.error() (or *error) on failure; run them inside the step's
// transaction so that a failure undoes everything.
namespace tableops {

// Creates `table` in the target as a copy of the package's table of that
// name: its own CREATE TABLE statement (columns, order and types kept) and
// all its rows, plus the program's look-up indexes for a table of that name.
// The table must not exist in the target yet.
bool importTable(Database& package, Database& target, const QString& table, QString* error);

// Renames a table and gives its indexes names that belong to the new table
// name, so that a fresh table of the old name can get its own indexes.
bool renameTable(Database& db, const QString& from, const QString& to);

// Appends the rows of a table of another file, copying the columns at
// positions first to last (counted from 0) by position, whatever their names.
bool copyRowsByPosition(Database& source, const QString& sourceTable, Database& target,
                        const QString& targetTable, int first, int last, QString* error);

bool dropTable(Database& db, const QString& table);
int columnCount(Database& db, const QString& table);
bool hasColumn(Database& db, const QString& table, const QString& column);

// Adds a column when the table has exactly `expectedCount` columns, so that
// repeating the step adds nothing; true when there was nothing to do.
bool addColumnWithCountGuard(Database& db, const QString& table, int expectedCount,
                             const QString& column, const QString& type);
// Gives a text column a width of at least `width` characters: the table is
// built anew with the wider column and its rows copied over; nothing
// happens when the column is already that wide.
bool widenTextColumn(Database& db, const QString& table, const QString& column, int width);

// Adds a column unless the table already has one of that name.
bool addColumnIfMissing(Database& db, const QString& table, const QString& column, const QString& type);

} // namespace tableops
