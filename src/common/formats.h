#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// The display patterns of the program, written like the old Basic Format():
// "0.00", "#,##0.00", "0.0000", "#,##0.0000", "000", "0000", "00000000",
// "(0.00 kn)", "(0.00 €)", "#,##0.00 €". A "0" is a digit that is always
// written, "#" one that is written only when needed, "," asks for thousands
// grouping and "." marks the decimal point; text before and after the digits
// is copied as it stands. Separators come from the given locale (the user's
// regional settings by default); files for the fund pass QLocale::c() to get a
// decimal point. Values are rounded half away from zero on their decimal
// digits (2.675 gives 2.68), as the old Format() did.
namespace format {

QString number(double value, QStringView pattern, const QLocale& locale = QLocale());

// A number in its default text form, as the old Basic printed a number
// without a pattern: at most 15 significant digits, no grouping, no trailing
// zeros, the locale's decimal separator (46.28, 12.5, 3).
QString general(double value, const QLocale& locale = QLocale());

// "dd.MM.yyyy", "dd.MM.yy", "HH:mm:ss" and the like.
QString date(const QDate& date, QStringView pattern);
QString time(const QTime& time, QStringView pattern);

// A date in the short form of the regional settings, as the reports write
// dates. The blanks some settings put after the dots are left out
// ("01.09.2024." rather than "01. 09. 2024."), as the shops' systems write
// it, so that a date keeps to its report column.
QString shortDate(const QDate& date, const QLocale& locale = QLocale());

} // namespace format
