#pragma once

#include "print_sources.h"
#include "print_values.h"
#include "data/layout_slots.h"

#include <QDateTime>

namespace pricing {
class Catalogue;
}

// The values of the invoices to the fund: the basic-insurance invoice and
// the invoice for the supplementary insurance or the patient's co-payment.
namespace invoiceslots {

enum class Kind { Basic = 0, Supplementary = 1 };

// The slots the layout rows of the invoices name (column A7) are in
// data/layout_slots.h.

using Sources = PrintSources;

struct Result {
    PrintValues values;
    QString unknownCode; // an aid the code lists do not hold: nothing to print
    QString error;       // a code list that could not be read: nothing to print
    double total = 0, fundAmount = 0, coPaymentVat = 0, fundVat = 0;
};

// Fills the slots of an invoice of this kind. `now` is the time printed
// beside the place and date.
Result fill(pricing::Catalogue& catalogue, const Sources& s, Kind kind, const QTime& now);

// "15-PP1-2-24A": number, premises, register, year and the kind's mark.
QString numberText(const Sources& s, Kind kind);
// "Račun R-1 br. " + the number text, printed under the addressee.
QString title(const Sources& s, Kind kind);

// The euro was fixed at 7.5345 kuna; the invoices still show kuna
// equivalents beside the totals.
inline constexpr double kKunaPerEuro = 7.5345;

} // namespace invoiceslots
