#pragma once

#include "submission_records.h"

class Canvas;
class Dialogs;
class TextFileWriter;

// "POPRATNI DOPIS UZ DISKETU": the letter that travels with the medium to
// the regional office, one line per invoice with the fund's, the
// supplementary insurance's and the patient's shares, and their sums.
namespace coverletter {

struct Heading {
    submission::General general;
    submission::Supplier supplier;
    QString officeLine; // "PU Zagreb", or empty
    int medium = 0;
    QString mediumDate; // dd.MM.yyyy
};

struct Pass {
    bool stopped = false;    // an invoice could not be worked out: the letter and the records end before it
    int stoppedAt = 0;       // that invoice's number
    QString unknownCode;     // the aid no list holds, when that stopped it
    int printed = 0;
};

// Prints one copy, working every invoice out again; an aid that no list
// holds, an aid without a quantity or a list that cannot be read shows its
// message and ends the copy at that invoice.
// The file's lines of every invoice printed go to `records` when it is
// given.
Pass print(Canvas& canvas, pricing::Catalogue& catalogue, const std::vector<submission::Invoice>& invoices,
           const Heading& heading, Dialogs& dialogs, TextFileWriter* records = nullptr);

// Where the letter's coordinates start: 7 mm right of and 12 mm below the
// printable area's corner is (0, 0).
inline constexpr double kLeftEdge = -7;
inline constexpr double kTopEdge = -12;
// A line below this goes to a new page.
inline constexpr double kPageEnd = 255;

} // namespace coverletter
