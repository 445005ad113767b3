#include "report_rows.h"

#include "data/database.h"
#include "data/sql_values.h"

#include <QSqlError>
#include <QSqlQuery>

namespace reportrows {

bool forEach(Database& db, const QString& where, const QVariantList& binds, const QString& orderBy,
             const std::function<void(const ReportInvoice&)>& report, QString* error)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT Rnbr, Datum, Broj, Prezime, Ime, Pom1, Kol1, Pom2, Kol2, Pom3, Kol3, Pom4, Kol4, "
                             "Pom5, Kol5, Pom6, Kol6, Pom7, Kol7, Iznos, Plac, Opaska, Proizv, BrojMalopRn "
                             "FROM Rn WHERE %1 ORDER BY %2")
                  .arg(where, orderBy));
    for (const QVariant& v : binds)
        q.addBindValue(v);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    ReportInvoice r;
    while (q.next()) {
        r.number = q.value(0).toInt();
        r.billed = sqlvalue::toDate(q.value(1));
        r.confirmation = sqlvalue::toText(q.value(2));
        r.surname = sqlvalue::toText(q.value(3));
        r.firstName = sqlvalue::toText(q.value(4));
        for (int i = 0; i < ReportInvoice::kSlots; ++i) {
            r.codes[size_t(i)] = sqlvalue::toText(q.value(5 + 2 * i));
            r.quantities[size_t(i)] = q.value(6 + 2 * i).toDouble();
        }
        r.amount = q.value(19).toDouble();
        r.paid = sqlvalue::toText(q.value(20));
        r.note = sqlvalue::toText(q.value(21));
        r.maker = sqlvalue::toText(q.value(22));
        r.retailReceipt = sqlvalue::toText(q.value(23));
        report(r);
    }
    return true;
}

// Dates are stored as ISO text; the day after the period's end keeps a
// stored time of day on the last day inside it.
QString periodCondition() { return QStringLiteral("Datum >= ? AND Datum < ?"); }

QVariantList periodBinds(const QDate& from, const QDate& to)
{
    return {from.toString(Qt::ISODate), to.addDays(1).toString(Qt::ISODate)};
}

} // namespace reportrows
