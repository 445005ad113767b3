#pragma once

#include <QDate>
#include <QVariant>

// The stored forms of values, fixed so that other tools can read the files:
// dates as ISO text YYYY-MM-DD, yes/no as 0 and 1, money and prices as REAL.
namespace sqlvalue {

QVariant toStorage(const QVariant& value);

// A stored date; an invalid date for NULL or text that is not a date.
QDate toDate(const QVariant& stored);
bool toBool(const QVariant& stored);
// The value as the program shows it in a text box (NULL gives "").
QString toText(const QVariant& stored);

// A table or column name as SQL writes it: in double quotes, a quote inside
// doubled (names of imported tables come from other files).
QString quotedName(const QString& name);

} // namespace sqlvalue
