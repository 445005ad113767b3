#include "identifiers.h"

#include <QRegularExpression>

namespace identifiers {
namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

bool matchesOne(QChar c, QChar p) { return p == u'#' ? isDigit(c) : c == p; }

} // namespace

bool matches(QStringView value, QStringView pattern)
{
    // Greedy matching with one back-track point per "*": linear in practice
    // and never exponential, whatever the input.
    qsizetype v = 0, p = 0, starP = -1, starV = 0;
    while (v < value.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starV = v;
        } else if (p < pattern.size() && matchesOne(value[v], pattern[p])) {
            ++v;
            ++p;
        } else if (starP >= 0) {
            p = starP + 1;
            v = ++starV;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool hasOnlyDigitsAndSlashes(QStringView confirmationNumber)
{
    for (QChar c : confirmationNumber) {
        if (!isDigit(c) && c != u'/')
            return false;
    }
    return true;
}

bool isSubmittableConfirmationNumber(QStringView n)
{
    return !n.isEmpty()
        && (matches(n, u"##############") || matches(n, u"#############") || matches(n, u"#*/#####*"));
}

bool isHealthNumber(QStringView number) { return matches(number, u"#########"); }

bool isSubmittableInsuredNumber(QStringView secondPart)
{
    return matches(secondPart, u"########") || matches(secondPart, u"#########");
}

QString normalizedConfirmationNumber(const QString& n)
{
    if (n.size() >= 5 && allDigits(QStringView(n).left(5)))
        return n;
    QString result = n;
    for (int i = 0; i < 2 && result.startsWith(u'0'); ++i) {
        // A prefix of two characters is as short as the fund's numbers get:
        // "00/..." stays, so that a second print changes nothing.
        const qsizetype slash = result.indexOf(u'/');
        if ((slash < 0 ? result.size() : slash) <= 2)
            break;
        result = result.mid(1, 20);
    }
    return result;
}

ShortDate readShortDate(const QString& answer)
{
    if (answer.isEmpty())
        return {ShortDate::Cancelled, {}};
    QString text = answer;
    if (text.size() == 6 && allDigits(text))
        text = text.left(2) + u'.' + text.mid(2, 2) + u'.' + text.mid(4, 2);
    if (text.size() == 9)
        text.truncate(8);
    else if (text.size() == 11)
        text.truncate(10);
    static const QRegularExpression form(QStringLiteral("^(\\d\\d)\\.(\\d\\d)\\.(\\d\\d|\\d\\d\\d\\d)$"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        return {ShortDate::Invalid, {}};
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const QString yearText = m.captured(3);
    // The date must exist as typed (29.02 only in leap years) ...
    const int typedYear = yearText.size() == 4 ? yearText.toInt() : 2000 + yearText.toInt();
    if (!QDate::isValid(typedYear, month, day))
        return {ShortDate::Invalid, {}};
    // ... and is then read by the last two digits of its year.
    const int yy = yearText.right(2).toInt();
    const QDate date(yy < 30 ? 2000 + yy : 1900 + yy, month, day);
    if (!date.isValid())
        return {ShortDate::Invalid, {}};
    return {ShortDate::Valid, date};
}

} // namespace identifiers
