#pragma once

#include "data/invoice_record.h"

#include <QString>

#include <vector>

class Dialogs;

// The checks both prints run on the current invoice before anything goes
// to the printer. Each check passes, stops the print after its message, or
// (the 30-day rule) warns and lets the print go on.
namespace printchecks {

enum class Check {
    PatientName,             // surname and first name
    ConfirmationNumber,      // Broj given
    InsuredOrHealthNumber,   // Brosig2 or a sick list
    InsuredNumberGiven,      // without a sick list: some insured number
    HealthNumberForm,        // without a sick list and Brosig1: nine digits
    OrderNotAfterBilling,
    BillingWithin30Days,     // warning only
    ConventionPair,          // sick list and country together or neither
    CountryCode,             // three characters
    ConfirmationCharacters,  // digits and "/" only
    InsuredNumberForForm,    // Brosig2 or a sick list, for the form
    StoredDates,             // every stored date a real date
    Quantities,              // whole pieces from 1 to 9999, as the fund takes them
};

enum class Print { ConfirmationForm, Invoice };
enum class Verdict { Pass, Warn, Stop };

struct Result {
    Verdict verdict;
    QString message;
};

// The rules both the prints and the fund's file apply, as the sentence that
// names the invoice and the field; empty when the invoice passes. The
// caller adds what the user is to do.
QString unreadableDateMessage(const InvoiceRecord& invoice);
QString quantityMessage(const InvoiceRecord& invoice);

Result evaluate(Check check, const InvoiceRecord& invoice, Print print);

// The orders in which the two prints run the checks.
const std::vector<Check>& confirmationFormSequence();
const std::vector<Check>& invoiceSequence();

// Runs the checks in order, showing each message; false when one stopped
// the print.
bool run(const std::vector<Check>& checks, const InvoiceRecord& invoice, Print print, Dialogs& dialogs);

} // namespace printchecks
