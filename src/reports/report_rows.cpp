#include "report_rows.h"

#include "data/database.h"
#include "data/statement.h"

namespace reportrows {

QStringList listColumns()
{
    return {QStringLiteral("Rnbr"), QStringLiteral("Datum"), QStringLiteral("Broj"), QStringLiteral("Prezime"),
            QStringLiteral("Ime"), QStringLiteral("Iznos")};
}

bool forEach(Database& db, const QStringList& columns, const QString& where, const QVariantList& binds,
             const QString& orderBy, const std::function<void(const InvoiceRecord&)>& report, QString* error)
{
    Statement q(db, QStringLiteral("SELECT %1 FROM Rn WHERE %2 ORDER BY %3").arg(columns.join(QStringLiteral(", ")), where, orderBy));
    int n = 0;
    for (const QVariant& v : binds) {
        ++n;
        const bool whole = v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong;
        if (q.isValid() && !(whole ? q.bind(n, v.toLongLong()) : q.bind(n, v.toString())))
            break;
    }
    if (q.isValid()) {
        const InvoiceRecord::Reader reader(columns);
        while (q.next())
            report(reader.read(q));
    }
    // A read that breaks off is a failure, not the end of the invoices.
    if (!q.error().isEmpty()) {
        if (error)
            *error = q.error();
        return false;
    }
    return true;
}

QString anyLineHolds()
{
    QStringList lines;
    for (int n = 1; n <= aidfields::kLines; ++n)
        lines << aidfields::code(n) + QStringLiteral(" = ?");
    return u'(' + lines.join(QStringLiteral(" OR ")) + u')';
}

QVariantList anyLineBinds(const QString& code)
{
    QVariantList binds;
    for (int n = 1; n <= aidfields::kLines; ++n)
        binds << code;
    return binds;
}

// Dates are stored as ISO text; the day after the period's end keeps a
// stored time of day on the last day inside it.
void narrowToPeriod(QString& where, QVariantList& binds, const QDate& from, const QDate& to)
{
    where += QStringLiteral(" AND Datum >= ? AND Datum < ?");
    binds << from.toString(Qt::ISODate) << to.addDays(1).toString(Qt::ISODate);
}

} // namespace reportrows
