#include "print_values.h"

#include "common/formats.h"

#include <QDate>
#include <QLocale>

QString PrintValues::text(int slot) const
{
    const QVariant& v = m_slots.at(size_t(slot));
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return format::general(v.toDouble());
    case QMetaType::QDate:
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    default:
        return v.toString();
    }
}
