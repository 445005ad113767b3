#pragma once

// Reading an Access database (Jet 3 / Jet 4) into a new SQLite file, through
// the mdbtools library. The library trusts the file it reads: a damaged or
// hostile file may crash it or make it loop. It therefore runs only in the
// converter's own process (kelmorin-access-convert); the program and the
// tool start that process and read its result (access/conversion.h).

#include <functional>
#include <string>

namespace accessdb::reader {

// What the converter reports while it works: the tables with their row
// counts in the source, and the rows written so far.
struct Report {
    std::function<void(int tables, long long rows)> begin;
    std::function<void(const std::string& table, long long rows)> table;
    std::function<void(long long rowsDone)> progress;
};

// A stored date/time as the program stores dates: "YYYY-MM-DD", with
// " HH:MM:SS" when it has a time of day. Access stores days since 30
// December 1899 with the time as the fraction; before that day the whole
// part counts backwards while the fraction still runs forwards. Empty for
// a value no calendar holds.
std::string dateText(double stored);

// Converts every user table of the Access file `source` into the SQLite file
// `target`, which must be new or empty. False with the reason (Croatian, for
// the user) in `error`; the caller removes the target then.
bool convert(const std::string& source, const std::string& target, const Report& report, std::string* error);

} // namespace accessdb::reader
