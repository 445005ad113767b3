#pragma once

#include "print_sources.h"
#include "print_values.h"

#include <QDateTime>

namespace pricing {
class Catalogue;
}

// The values of the invoices to the fund: the basic-insurance invoice and
// the invoice for the supplementary insurance or the patient's co-payment.
namespace invoiceslots {

enum class Kind { Basic = 0, Supplementary = 1 };

// The slots the layout rows of the invoices name (column A7). Item slots
// are the first of seven, one for each aid line.
namespace slot {
inline constexpr int kOfficeName = 0, kOfficeCity = 1, kOfficeStreet = 2, kSupplierCode = 3;
inline constexpr int kConfirmation = 4, kPolicy = 5, kSupplierName = 6, kSupplierAddress = 7, kIban = 8;
inline constexpr int kRegistration = 10, kNumberText = 11;
inline constexpr int kItemCode = 12, kItemName = 19, kItemQuantity = 26, kItemPrice = 33, kItemAmount = 40;
inline constexpr int kTotal = 47, kTotalAgain = 48, kCoPayment = 49, kFund = 50, kVat = 51, kSupplementary = 52;
inline constexpr int kOrdered = 53, kPlaceAndTime = 54, kResponsible = 55, kReferenceModel = 57;
inline constexpr int kItemIso = 61;
inline constexpr int kOib = 68, kRetailAddress = 69, kRetailCode = 70, kRetailNumber = 71;
inline constexpr int kCoPaymentTitle = 72, kCoPaymentTitle2 = 73, kLine5Label = 74, kInsured = 75, kInsuredNumber = 76;
inline constexpr int kIssued = 81, kTotalKuna = 82, kTotalKunaAgain = 83, kSupplementaryKuna = 85, kFundKuna = 86;
// The kuna equivalent of the co-payment line, whichever share it shows.
inline constexpr int kCoPaymentKuna = 84;
inline constexpr int kVatKuna = 87, kItemVatRate = 88; // the rate of items 1 to 4
} // namespace slot

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
