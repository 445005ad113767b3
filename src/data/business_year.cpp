#include "business_year.h"

#include "database.h"
#include "schema.h"

namespace invoices {

int leadingNumber(QStringView text)
{
    text = text.trimmed();
    int value = 0;
    bool negative = false;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        if (value > 100000000)
            break;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

int twoDigitYear(const QVariant& fourDigitYear)
{
    const QString shown = fourDigitYear.isNull() ? QString() : fourDigitYear.toString();
    return leadingNumber(QStringView(shown).right(2));
}

RecordSet::Query yearQuery(int twoDigitYear)
{
    return {QStringLiteral("Rn"), schema::invoiceViewColumns(), QStringLiteral("God"), twoDigitYear,
            {{QStringLiteral("Rnbr")}}};
}

std::optional<int> nextNumber(Database& db, int twoDigitYear, QString* error)
{
    const QVariant highest = db.scalar(QStringLiteral("SELECT max(Rnbr) FROM Rn WHERE God = ?"), {twoDigitYear});
    // A query that failed is not a year without invoices.
    if (!highest.isValid()) {
        if (error)
            *error = db.error();
        return std::nullopt;
    }
    const int last = highest.isNull() ? 0 : highest.toInt();
    if (last >= kMaxNumber)
        return std::nullopt;
    return last + 1;
}

} // namespace invoices
