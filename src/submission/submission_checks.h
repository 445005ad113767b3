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

} // namespace submission
