#pragma once

#include <QString>

class Clock;

// A new working folder at the newest release: Kelmorin.mdb with the
// supplier's general data row, sample code lists and the print layouts,
// an empty Pac.mdb, Recept.txt and the marker of the newest upgrade step
// (so that no upgrade runs on it). With demo data it also holds a sample
// supplier, invoices of this and last year and a few patients with visits.
namespace newfolder {

enum class Content { Empty, Demo };

// Refuses a folder that already holds Kelmorin.mdb. On failure returns
// false with the reason in *error; files it made are removed again.
bool create(const QString& dir, Content content, const Clock& clock, QString* error);

} // namespace newfolder
