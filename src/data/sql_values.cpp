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
    return QDate::fromString(stored.toString().left(10), Qt::ISODate);
}

bool toBool(const QVariant& stored) { return !stored.isNull() && stored.toInt() != 0; }

QString toText(const QVariant& stored) { return stored.isNull() ? QString() : stored.toString(); }

} // namespace sqlvalue
