#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The fund's price list as a shop saves it from the spreadsheet: a CSV file
// with a header row. The columns are found by their headings, without
// regard to case and diacritics: "Šifra" and "Cijena" must be there, "Naziv"
// and "PDV" (a rate in percent such as 5, "25 %", 0,05, or "PDV 5%") may be.
// Fields are separated by ";" or "," (or a tab), may be quoted ("a ""b"";c"),
// and the text is UTF-8 (with or without a byte-order mark) or Windows-1250.
// Numbers take a decimal comma or point.
namespace pricefile {

struct Row {
    int line = 0; // where the row starts in the file, from 1
    QString code;
    std::optional<QString> name; // none: the file has no name for it
    double price = 0;
    std::optional<double> vatRate; // percent; none: not given
};

// A row that is left out, and why.
struct Skipped {
    int line = 0;
    QString reason;
};

struct Content {
    std::vector<Row> rows;
    std::vector<Skipped> skipped;
    bool hasNames = false;
    bool hasVat = false;
};

// The file as a whole cannot be taken; nothing of it may be used.
struct Failure {
    int line = 0; // 0: not tied to a line
    QString reason;
};

struct Result {
    std::optional<Content> content;
    Failure failure;
    explicit operator bool() const { return content.has_value(); }
};

// The largest price list read: the fund's whole list is a few hundred
// kilobytes.
constexpr qint64 kMaxSize = 16 << 20;

// Reads a regular file only, without waiting on a pipe or a device, and
// no larger than kMaxSize.
Result read(const QString& path);
Result parse(const QByteArray& bytes);

// The text of the file: UTF-8 when it has the mark or is valid UTF-8,
// otherwise Windows-1250.
QString decode(const QByteArray& bytes);

// A price or a rate: decimal comma or point, optional thousands grouping,
// blanks and a trailing "€" or "EUR" ignored. With the file's decimal mark
// given, a lone other mark groups thousands.
std::optional<double> number(QStringView text, QChar decimal = {});
// A number as typed into a list: digits with at most one decimal comma or
// point, nothing else (no sign, grouping, exponent, "inf" or "nan").
std::optional<double> plainDecimal(QStringView text);
// The mark the prices of a file write decimals with, as far as they tell
// (a lone "1.234" tells nothing); none when they do not agree.
QChar decimalMark(const QStringList& prices);
// A VAT rate in whole percent from a rate or a VAT group; none when not
// understood.
std::optional<double> vatRate(QStringView text);

// A heading or word reduced for comparison: lower case, no diacritics.
QString folded(QStringView text);

// "u retku 7: ..." for messages.
QString describe(const Failure& failure);

} // namespace pricefile
