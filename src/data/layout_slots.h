#pragma once

// The slot numbers that the layout rows name in column A7: which value of a
// document a row prints. The rows a new folder gets and the prints that
// fill the slots both use these names.

// The invoices to the fund (layouts Osnovno and Dopunsko). Item slots are
// the first of seven, one for each aid line.
namespace invoiceslots::slot {
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
} // namespace invoiceslots::slot

// The back of the fund's confirmation form (layouts OrtopedskoPomagalo2 and
// OrtopedskoPomagalo2S). Line slots are the first of four, name slots two
// per line (the name's first and second half).
namespace prescriptionslots::slot {
inline constexpr int kLines = 4;
inline constexpr int kSupplierName = 0, kAddress = 1, kRetailAddress = 2, kRetailCode = 3, kIban = 4;
inline constexpr int kReferenceModel = 5, kReference = 6, kNumberText = 7, kRegistration = 8, kOib = 9;
inline constexpr int kRetailNumber = 10;
inline constexpr int kLineCode = 11, kLineName = 15, kLineQuantity = 23, kLinePrice = 27, kLineVatRate = 31;
inline constexpr int kLineAmount = 35;
// The difference in price the patient pays above the fund's price: per unit
// without VAT, and the line's whole difference with VAT.
inline constexpr int kLineDifference = 39, kLineDifferenceAmount = 43;
inline constexpr int kTotal = 47, kTotalAgain = 48, kCoPayment = 49, kFund = 50, kDifference = 51, kFundVat = 52;
inline constexpr int kOrdered = 53, kIssued = 54, kPlaceAndTime = 55, kResponsible = 56;
// The lining-size codes, one per line; the adjustment window leaves them
// where they are.
inline constexpr int kLiningSize = 57;
inline constexpr int kCount = 61; // slots 0 to 60
} // namespace prescriptionslots::slot
