#pragma once

#include <QString>

class QSqlDatabase;

// Names sort in the order of the Croatian alphabet, without regard to case:
// A B C Č Ć D Dž Đ E F G H I J K L Lj M N Nj O P R S Š T U V Z Ž (the
// foreign letters Q, W, X, Y where the Latin alphabet has them, other
// accented letters with their base letter).
namespace croatian {

// The name of the collation on every connection the program opens:
// "ORDER BY Prezime COLLATE HRVATSKI".
inline const QString kCollation = QStringLiteral("HRVATSKI");

// Negative, zero or positive as a sorts before, with or after b. Texts
// that differ only in case sort lower case first, so that the order is
// total.
int compare(QStringView a, QStringView b);

// Registers the collation on an open SQLite connection; false when the
// connection is not SQLite's or the registration failed.
bool install(QSqlDatabase& db);

} // namespace croatian
