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

// Refuses a folder that already holds Kelmorin.mdb, or where a symbolic
// link stands in the place of a file it makes. The files are built under
// temporary names and take their names only when complete, Kelmorin.mdb
// last. On failure returns false with the reason in *error; files it made
// are removed again. The caller holds the folder's lock.
bool create(const QString& dir, Content content, const Clock& clock, QString* error);

// An empty patient register (Pac.mdb) in a folder that has none, built
// under a temporary name like the files above; never over an existing file
// or through a symbolic link. The caller holds the folder's lock.
bool createPatientRegister(const QString& dir, QString* error);

} // namespace newfolder
