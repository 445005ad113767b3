#pragma once

#include <QString>

class Database;

// Invoices to make e-invoices of, in a shop folder made with the demo data
// (its code lists, its supplier with OIBs that pass their check digit).
namespace eracunshop {

// An aid costing 123,456.78 € at 5 % VAT in the 13-character list: the
// invoices reach the hundreds of thousands and the highest co-payment.
inline const QString kExpensiveAid = QStringLiteral("0612240101001");
bool addExpensiveAid(Database& db);

// `count` invoices of 2026 (two-digit year 26) from number `first` on,
// marked `mark`: the first ones are the cases every run must cover
// (exempt, supplementary, the smallest co-payment, a patient who pays all,
// the largest co-payment, both VAT rates, an amount in the hundreds of
// thousands, long names with Croatian letters, lines whose VAT the printed
// invoice and the fund's file round a cent apart); the rest are drawn from
// `seed`.
bool insertInvoices(Database& db, int first, int count, const QString& mark, unsigned seed);

} // namespace eracunshop
