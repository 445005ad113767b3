#pragma once

#include <QString>

// A working folder with many business years of invoices, for benchmarks.
namespace benchdata {

// Creates the folder (as a new working folder) and adds `invoicesPerYear`
// invoices to each of the `years` business years ending with `lastYear`.
bool generate(const QString& dir, int lastYear, int years, int invoicesPerYear, QString* error);

} // namespace benchdata
