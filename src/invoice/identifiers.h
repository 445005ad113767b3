#pragma once

#include <QDate>
#include <QString>

// The identifiers the fund checks on an invoice: the confirmation-form
// number (Broj), the insured person's number (Brosig1 + Brosig2, or the
// nine-digit personal health number alone in Brosig2), and the short dates
// typed into the interval prompts.
namespace identifiers {

// The fund's pattern notation: "#" one decimal digit, "*" any run of
// characters (none too), anything else itself; the whole value must match.
bool matches(QStringView value, QStringView pattern);

// Every character is a digit or "/" (the entry check of Broj).
bool hasOnlyDigitsAndSlashes(QStringView confirmationNumber);

// Broj as the submission file accepts it: 14 or 13 digits, or
// "#*/#####*" (the old form: digits, a slash, at least five digits).
bool isSubmittableConfirmationNumber(QStringView confirmationNumber);

// A personal health number: exactly nine digits.
bool isHealthNumber(QStringView number);
// The second part as the submission file accepts it: eight or nine digits.
bool isSubmittableInsuredNumber(QStringView secondPart);

// The old three-digit prefix of a confirmation number loses up to two
// leading zeros ("082/00123456" becomes "82/00123456"), but never below two
// characters before the slash; a number whose first five characters are
// digits (the 14-digit form) stays as it is. A normalised number stays the
// same when it is normalised again (every print normalises it).
QString normalizedConfirmationNumber(const QString& confirmationNumber);

// A date typed as "dd.mm.gg" or "ddmmgg" (a trailing dot is forgiven, a
// four-digit year is read by its last two digits: 00-29 are 2000-2029,
// 30-99 are 1930-1999).
struct ShortDate {
    enum Status { Cancelled, Invalid, Valid } status;
    QDate date;
};
ShortDate readShortDate(const QString& answer);

inline const QString kShortDateMessage =
    QStringLiteral("Neispravno upisan datum. Datum mora biti u formatu dd.mm.gg");

// The help shown by a click on the caption "Br. os. os. ili MB".
inline const QString kInsuredNumberHelp = QStringLiteral(
    "Ako imate MB pacijenta upišite ga u drugo polje, prvo ostavite prazno.\r\n"
    "Ako imate broj osigurane osobe u prvo polje upišite prve tri znamenke (npr. 082) "
    "a u drugo polje preostalih 8 znamenki (npr. 00123456)");

} // namespace identifiers
