#include "layout_refresh.h"

#include "database.h"
#include "form_layouts.h"
#include "layout_rows.h"
#include "schema.h"
#include "sql_values.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace layoutrefresh {
namespace {

bool setsLineWidth(int kind) { return kind == rowkind::kLine || kind == rowkind::kBoxRow; }

// The digests of the rows of Osnovno and Dopunsko as the releases before
// the texts were kept inside their columns wrote them, oldest first.
struct Shipped {
    const char* table;
    const char* digest;
};
constexpr Shipped kShipped[] = {
    {"Osnovno", "f8d2492165f54bb0bff189b2e231020024ca106bed487c0e85c6bdf5bbe02edd"},
    {"Dopunsko", "6001f59c0eb6b1f2006881c42ab073b9fb06b6e0c56627e10b0cdb8eff5b7e8d"},
    // Wider ISO and VAT columns.
    {"Osnovno", "e80d325cfc199c8af0e6ed2ade9ef507346b68c1da4f087843109df1ad632a90"},
    {"Dopunsko", "03fafc3165dd5adf92bce31af401226ad21d41bffe157080145c886fadcec1be"},
};

// Whether the table has the columns of the tables this program makes (a
// table imported from an upgrade package may have others).
bool hasOurColumns(Database& db, const QString& table)
{
    const QSqlRecord record = db.handle().record(table);
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    QStringList ours;
    for (const auto& column : schema::layoutTable())
        ours << QString::fromLatin1(column.name);
    return names == ours;
}

// The one thickness of the lines and boxes of a table; 0 when the table has
// none, -1 when they differ (the program sets them all alike, so the table
// was changed by hand).
double lineWidth(Database& db, const QString& table, bool* ok, QString* error)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    *ok = q.exec(QStringLiteral("SELECT DISTINCT A6 FROM %1 WHERE A1 IN (%2, %3)")
                     .arg(sqlvalue::quotedName(table))
                     .arg(rowkind::kLine)
                     .arg(rowkind::kBoxRow));
    double width = 0;
    int count = 0;
    while (*ok && q.next()) {
        width = q.value(0).toDouble();
        ++count;
    }
    if (!*ok || q.lastError().isValid()) {
        *ok = false;
        if (error)
            *error = q.lastError().text();
    }
    return count == 0 ? 0 : count == 1 ? width : -1;
}

} // namespace

QString fingerprint(Database& db, const QString& table, QString* error)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    auto failed = [&] {
        if (error)
            *error = q.lastError().text();
        return QString();
    };
    if (!q.exec(QStringLiteral("SELECT A1, A2, A3, A4, A5, A6, A7, Opis FROM %1 ORDER BY A0").arg(sqlvalue::quotedName(table))))
        return failed();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    auto number = [&](const QVariant& v) {
        hash.addData(v.isNull() ? QByteArrayLiteral("-") : QByteArray::number(v.toDouble(), 'g', 17));
        hash.addData(QByteArrayLiteral("\t"));
    };
    while (q.next()) {
        const int kind = q.value(0).toInt();
        for (int column = 0; column < 5; ++column)
            number(q.value(column));
        if (!setsLineWidth(kind))
            number(q.value(5));
        for (int column : {6, 7}) {
            const QVariant v = q.value(column);
            hash.addData(v.isNull() ? QByteArrayLiteral("-") : QByteArray("=" + v.toString().toUtf8()));
            hash.addData(QByteArrayLiteral("\t"));
        }
        hash.addData(QByteArrayLiteral("\n"));
    }
    if (q.lastError().isValid())
        return failed();
    return QString::fromLatin1(hash.result().toHex());
}

bool isEarlierShipped(const QString& table, const QString& digest)
{
    for (const Shipped& s : kShipped) {
        if (table == QLatin1String(s.table) && digest == QLatin1String(s.digest))
            return true;
    }
    return false;
}

bool refreshInvoiceLayouts(Database& db, QString* error)
{
    for (const QString& table : {QStringLiteral("Osnovno"), QStringLiteral("Dopunsko")}) {
        if (!db.hasTable(table) || !hasOurColumns(db, table))
            continue;
        const QString digest = fingerprint(db, table, error);
        if (digest.isEmpty())
            return false;
        if (!isEarlierShipped(table, digest))
            continue;
        bool ok = false;
        const double width = lineWidth(db, table, &ok, error);
        if (!ok)
            return false;
        if (width < 0)
            continue;
        if (!db.exec(QStringLiteral("DELETE FROM %1").arg(sqlvalue::quotedName(table))) || !formlayouts::insertTable(db, table))
            return db.failed(error);
        if (width > 0
            && !db.exec(QStringLiteral("UPDATE %1 SET A6 = ? WHERE A1 IN (%2, %3)")
                            .arg(sqlvalue::quotedName(table))
                            .arg(rowkind::kLine)
                            .arg(rowkind::kBoxRow),
                        {width}))
            return db.failed(error);
    }
    return true;
}

} // namespace layoutrefresh
