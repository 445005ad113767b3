#include "formats.h"

#include <algorithm>
#include <cmath>

namespace format {
namespace {

struct Pattern {
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    bool grouping = false;
    int minDecimals = 0;
    int maxDecimals = 0;
};

bool isDigitPlaceholder(QChar c) { return c == u'0' || c == u'#'; }

Pattern parse(QStringView text)
{
    Pattern p;
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isDigitPlaceholder(text[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        p.prefix = text.toString();
        return p;
    }
    p.prefix = text.left(first).toString();
    p.suffix = text.mid(last + 1).toString();
    bool afterPoint = false;
    for (QChar c : text.mid(first, last - first + 1)) {
        if (c == u'.') {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            p.grouping = true;
        } else if (afterPoint) {
            if (c == u'0')
                ++p.minDecimals;
            if (isDigitPlaceholder(c))
                ++p.maxDecimals;
        } else if (c == u'0') {
            ++p.minIntegerDigits;
        }
    }
    return p;
}

// Adds one to a string of decimal digits; returns true when it grew a digit.
bool incrementDigits(QString& digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return false;
        }
        digits[i] = u'0';
    }
    digits.prepend(u'1');
    return true;
}

// The value's 15 significant digits rounded half away from zero to the given
// number of decimals; returns the digits and how many of them stand before
// the decimal point.
QString roundedDigits(double magnitude, int decimals, int& pointPos)
{
    const QString sci = QString::number(magnitude, 'e', 14);
    const qsizetype e = sci.indexOf(u'e');
    QString digits = sci.left(1) + sci.mid(2, e - 2);
    pointPos = sci.mid(e + 1).toInt() + 1;
    if (pointPos < 0) {
        digits.prepend(QString(-pointPos, u'0'));
        pointPos = 0;
    }
    const qsizetype keep = pointPos + decimals;
    if (digits.size() < keep)
        digits += QString(keep - digits.size(), u'0');
    if (digits.size() > keep) {
        const bool up = digits[keep] >= u'5';
        digits.truncate(keep);
        if (up && incrementDigits(digits))
            ++pointPos;
    }
    return digits;
}

QString groupThousands(const QString& integer, const QString& separator)
{
    QString out;
    const qsizetype n = integer.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += integer[i];
    }
    return out;
}

} // namespace

QString number(double value, QStringView patternText, const QLocale& locale)
{
    const Pattern p = parse(patternText);
    if (!std::isfinite(value))
        value = 0.0;
    int pointPos = 0;
    const QString digits = roundedDigits(std::fabs(value), p.maxDecimals, pointPos);

    QString integer = digits.left(pointPos);
    while (!integer.isEmpty() && integer.front() == u'0')
        integer.remove(0, 1);
    if (integer.size() < p.minIntegerDigits)
        integer.prepend(QString(p.minIntegerDigits - integer.size(), u'0'));
    QString fraction = digits.mid(pointPos);
    while (fraction.size() > p.minDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);

    const bool negative =
        value < 0 && std::any_of(digits.begin(), digits.end(), [](QChar c) { return c != u'0'; });
    QString out = p.prefix;
    if (negative)
        out += u'-'; // a plain hyphen: the fund's code page has no minus sign
    out += p.grouping ? groupThousands(integer, locale.groupSeparator()) : integer;
    if (!fraction.isEmpty())
        out += locale.decimalPoint() + fraction;
    return out + p.suffix;
}

QString general(double value, const QLocale& locale)
{
    // Whole numbers below 10^15 (running numbers, invoice numbers, most
    // quantities) are their digits: a report lists thousands of them.
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    if (text.contains(u'e')) // very small or very large: written out in full
        text = QString::number(value, 'f', std::fabs(value) < 1 ? 15 : 0);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text.replace(u'.', locale.decimalPoint());
}

QString date(const QDate& d, QStringView pattern)
{
    if (!d.isValid())
        return QString();
    // Patterns of "dd", "MM", "yyyy", "yy" and dots (every printed and
    // exported date) are written directly: the fund's file and its letter
    // write three dates for each of thousands of invoices.
    // The year, month and day worked out once (each of QDate's getters
    // works them out from the day number again).
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (year >= 1000 && year <= 9999 && pattern.size() <= 16) {
        char16_t out[32];
        int n = 0;
        const auto two = [&](int v) {
            out[n++] = char16_t(u'0' + v / 10 % 10);
            out[n++] = char16_t(u'0' + v % 10);
        };
        if (pattern == u"dd.MM.yyyy") {
            two(day);
            out[n++] = u'.';
            two(month);
            out[n++] = u'.';
            two(year / 100);
            two(year % 100);
            return QString(reinterpret_cast<const QChar*>(out), n);
        }
        qsizetype i = 0;
        bool plain = true;
        while (plain && i < pattern.size()) {
            const QStringView rest = pattern.mid(i);
            if (rest.startsWith(u"dd")) {
                two(day);
                i += 2;
            } else if (rest.startsWith(u"MM")) {
                two(month);
                i += 2;
            } else if (rest.startsWith(u"yyyy")) {
                two(year / 100);
                two(year % 100);
                i += 4;
            } else if (rest.startsWith(u"yy")) {
                two(year % 100);
                i += 2;
            } else if (rest.front() == u'.') {
                out[n++] = u'.';
                ++i;
            } else {
                plain = false;
            }
        }
        if (plain)
            return QString(reinterpret_cast<const QChar*>(out), n);
    }
    return d.toString(pattern);
}

QString time(const QTime& t, QStringView pattern)
{
    return t.isValid() ? t.toString(pattern) : QString();
}

QString shortDate(const QDate& d, const QLocale& locale)
{
    if (!d.isValid())
        return {};
    QString text = locale.toString(d, QLocale::ShortFormat);
    text.replace(QStringLiteral(". "), QStringLiteral("."));
    return text;
}

} // namespace format
