#pragma once

#include "invoice_slots.h"

// The values printed on the back of the fund's confirmation form (the
// supplier's part): the supplier, up to four aids with prices and VAT, the
// co-payment, the fund's share and its VAT, the dates.
namespace prescriptionslots {

// The slots the rows of the form's layout name (column A7) are in
// data/layout_slots.h.

struct Result {
    PrintValues values;
    QString unknownCode; // an aid the code lists do not hold: nothing to print
    QString error;       // a code list that could not be read: nothing to print
};

Result fill(pricing::Catalogue& catalogue, const invoiceslots::Sources& s, const QTime& now);

// The caption of each slot 0 to 60, as the adjustment window lists them.
const QStringList& captions();

} // namespace prescriptionslots
