#pragma once

#include "submission_records.h"

class Dialogs;

namespace submission {

// "Vrsta kelmorin": 1 to 5.
bool kindOfAidsIsValid(const General& general);
inline const QString kKindOfAidsMessage =
    QStringLiteral("Neispravno upisana vrsta kelmorin (šifra). Molim ispravite (Opći podaci)");
inline const QString kNothingChosenMessage = QStringLiteral("Niste izabrali nijedan račun!");

// The checks before anything is written, in ascending Rnbr: a wrong
// confirmation number or an order after the billing stops at once; more
// than 30 days between order and billing is only shown; questionable
// characters and insured numbers are gathered and shown together, and the
// user may go on. False when the submission must stop.
bool checkInvoices(const std::vector<Invoice>& invoices, Dialogs& dialogs);

// A value that would break the file's fields or records (a colon, CR, LF or
// NUL) in the general data or in an invoice: the message that names the
// field, the invoice and the character, or an empty text.
QString unsafeValueMessage(const std::vector<Invoice>& invoices, const General& general);

// The file's name is built from the supplier's code: only digits, as the
// fund names its files; otherwise the message to show.
QString supplierCodeMessage(const Supplier& supplier);

} // namespace submission
