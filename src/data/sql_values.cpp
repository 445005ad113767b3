#include "sql_values.h"

#include <QDateTime>

namespace sqlvalue {

QVariant toStorage(const QVariant& value)
{
    if (value.isNull())
        return value;
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(Qt::ISODate);
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

QDate toDate(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::QDate)
        return stored.toDate();
    const QString text = stored.toString();
    // YYYY-MM-DD, the stored form, read digit by digit.
    if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-') {
        int digits[8];
        int k = 0;
        for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            digits[k++] = c - u'0';
        }
        if (k == 8)
            return QDate(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3], digits[4] * 10 + digits[5],
                         digits[6] * 10 + digits[7]);
    }
    return QDate::fromString(text.left(10), Qt::ISODate);
}

bool toBool(const QVariant& stored) { return !stored.isNull() && stored.toInt() != 0; }

QString toText(const QVariant& stored) { return stored.isNull() ? QString() : stored.toString(); }

QString quotedName(const QString& name) { return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

} // namespace sqlvalue
