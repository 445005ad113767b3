#pragma once

#include "invoice_slots.h"

// The values printed on the back of the fund's confirmation form (the
// supplier's part): the supplier, up to four aids with prices and VAT, the
// co-payment, the fund's share and its VAT, the dates.
namespace prescriptionslots {

struct Result {
    PrintValues values;
    QString unknownCode; // an aid the code lists do not hold: nothing to print
};

Result fill(Database& db, const invoiceslots::Sources& s, const QTime& now);

// The patient's co-payment on the form: 20 % of the amount, the whole
// amount when that is at most 1.7661, at most 530.88, at least 8.83.
double coPayment(double amount);

// The caption of each slot 0 to 60, as the adjustment window lists them.
const QStringList& captions();

} // namespace prescriptionslots
