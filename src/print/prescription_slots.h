#pragma once

#include "invoice_slots.h"

// The values printed on the back of the fund's confirmation form (the
// supplier's part): the supplier, up to four aids with prices and VAT, the
// co-payment, the fund's share and its VAT, the dates.
namespace prescriptionslots {

// The slots the rows of the form's layout name (column A7); line slots are
// the first of four, name slots two per line.
namespace slot {
inline constexpr int kSupplierName = 0, kAddress = 1, kRetailAddress = 2, kRetailCode = 3, kIban = 4;
inline constexpr int kReferenceModel = 5, kReference = 6, kNumberText = 7, kRegistration = 8, kOib = 9;
inline constexpr int kRetailNumber = 10;
inline constexpr int kLineCode = 11, kLineName = 15, kLineQuantity = 23, kLinePrice = 27, kLineVatRate = 31;
inline constexpr int kLineAmount = 35;
inline constexpr int kTotal = 47, kTotalAgain = 48, kCoPayment = 49, kFund = 50, kFundVat = 52;
inline constexpr int kOrdered = 53, kIssued = 54, kPlaceAndTime = 55, kResponsible = 56;
inline constexpr int kCount = 61; // slots 0 to 60
} // namespace slot

struct Result {
    PrintValues values;
    QString unknownCode; // an aid the code lists do not hold: nothing to print
    QString error;       // a code list that could not be read: nothing to print
};

Result fill(pricing::Catalogue& catalogue, const invoiceslots::Sources& s, const QTime& now);

// The caption of each slot 0 to 60, as the adjustment window lists them.
const QStringList& captions();

} // namespace prescriptionslots
