#pragma once

#include "submission_records.h"

#include "common/text_file.h"

class Canvas;

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

// The invoices of one run worked out once: the fund's file is written from
// `records`, and every copy of the letter is drawn from `lines`.
struct WorkedOut {
    struct Line {
        const submission::Invoice* invoice;
        double basic, supplementary, coPayment, total;
    };
    std::vector<Line> lines;
    TextFileWriter records;  // the file's lines of the same invoices
    bool stopped = false;    // an invoice could not be worked out: the letter and the records end before it
    int stoppedAt = 0;       // that invoice's number
    QString stopMessage;     // why, to be shown with each copy of the letter
    QString unknownCode;     // the aid no list holds, when that stopped it
};

// Works the invoices out in order: an aid that no list holds, an aid
// without a quantity or a list that cannot be read ends the work at that
// invoice.
WorkedOut workOut(pricing::Catalogue& catalogue, const std::vector<submission::Invoice>& invoices,
                  const submission::Supplier& supplier);

// Draws one copy of the letter; one that stopped ends after its last
// invoice, without sums.
void draw(Canvas& canvas, const WorkedOut& worked, const Heading& heading);

// Where the letter's coordinates start: 7 mm right of and 12 mm below the
// printable area's corner is (0, 0).
inline constexpr double kLeftEdge = -7;
inline constexpr double kTopEdge = -12;
// A line below this goes to a new page.
inline constexpr double kPageEnd = 255;

} // namespace coverletter
