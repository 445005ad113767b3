#pragma once

#include "data/sql_values.h"

#include <QVariantMap>

// What a print reads: the fields of one invoice (Rn) and of the general
// data (Opci), by name.
struct PrintSources {
    QVariantMap invoice;
    QVariantMap general;
};

namespace printsources {

inline QString text(const QVariantMap& fields, const char* name)
{
    return sqlvalue::toText(fields.value(QLatin1String(name)));
}

inline bool flag(const QVariantMap& fields, const char* name)
{
    return sqlvalue::toBool(fields.value(QLatin1String(name)));
}

} // namespace printsources
