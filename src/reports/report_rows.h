#pragma once

#include "data/invoice_record.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class Database;

// The reports read the invoices they list as typed records, one at a time,
// selecting only the columns each report prints or sums.
namespace reportrows {

// The columns of an invoice list's line: number, date, confirmation, name
// and amount.
QStringList listColumns();

// Hands each invoice that meets a condition (with ? placeholders for the
// bound values) to the report, in the given order, one at a time, read from
// `columns` only (the other fields stay empty). The condition and the order
// are the program's own texts; every value the user typed is bound. False
// with the database's reason when the query fails.
bool forEach(Database& db, const QStringList& columns, const QString& where, const QVariantList& binds,
             const QString& orderBy, const std::function<void(const InvoiceRecord&)>& report, QString* error);

// The condition that any aid line of an invoice holds a code, with the
// code bound once for each line.
QString anyLineHolds();
QVariantList anyLineBinds(const QString& code);

// Adds the condition on the billing date for a period, both days included,
// to a condition and its bound values.
void narrowToPeriod(QString& where, QVariantList& binds, const QDate& from, const QDate& to);

} // namespace reportrows
