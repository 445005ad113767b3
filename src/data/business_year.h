#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

#include "record_set.h"

class Database;

// Invoices belong to a business year: Rn.God holds the last two digits of
// the general data's four-digit year as a number (24 for 2024, 7 for 2007),
// and Rnbr counts the year's invoices from 1. Rnbr is a 16-bit number in the
// files, so a year holds at most 32767 invoices.
namespace invoices {

inline constexpr int kMaxNumber = 32767;

// The last two characters of the year as shown, read as a number; the
// leading digits of that text count, as the old Val() did ("07" gives 7,
// "2a" gives 2, text without digits 0).
int twoDigitYear(const QVariant& fourDigitYear);

// The leading whole number of a text ("12a" gives 12, "abc" 0).
int leadingNumber(QStringView text);

// The business year's invoices as the main window shows them, by Rnbr.
RecordSet::Query yearQuery(int twoDigitYear);

// The number of the next invoice of the year: the highest number + 1, or 1
// for an empty year; nullopt when the year already holds invoice 32767, or
// when the file could not be read (then with *error set).
std::optional<int> nextNumber(Database& db, int twoDigitYear, QString* error = nullptr);

inline const QString kYearFullMessage =
    QStringLiteral("Poslovna godina već ima račun broj 32767, najveći broj koji se može upisati."
                   "\r\nNovi račun nije kreiran.");

} // namespace invoices
