#pragma once

#include "data/general_record.h"
#include "data/invoice_record.h"

#include <QVariantMap>

// Records from fields by name, as a test writes them down; a field not
// named is stored NULL.
namespace recordmaps {

inline QVariantList valuesOf(const QStringList& columns, const QVariantMap& fields)
{
    QVariantList values;
    for (const QString& column : columns)
        values << fields.value(column);
    return values;
}

inline InvoiceRecord invoice(const QVariantMap& fields)
{
    return InvoiceRecord::read(valuesOf(InvoiceRecord::columns(), fields));
}

inline GeneralRecord general(const QVariantMap& fields)
{
    return GeneralRecord::read(valuesOf(GeneralRecord::columns(), fields));
}

} // namespace recordmaps
