#include "layout_adjustment.h"

#include "common/formats.h"
#include "data/database.h"
#include "data/sql_values.h"

#include <QLocale>
#include <QSqlQuery>

namespace {

const QString kTable = QStringLiteral("OrtopedskoPomagalo2");

namespace form = prescriptionslots::slot;

// The first line of each aid's name is slot kLineName + 2k; its second line
// is the next slot.
constexpr double kNameLineGap = 3;

void shift(QString& box, double by)
{
    double v = 0;
    if (LayoutAdjustment::readNumber(box, &v))
        box = format::general(v + by);
}

} // namespace

bool LayoutAdjustment::readNumber(const QString& text, double* value)
{
    const QString t = text.trimmed();
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(QString(t).replace(u',', u'.'), &ok);
    if (ok && value)
        *value = v;
    return ok;
}

void LayoutAdjustment::load(Database& db)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT A2, A3, A7 FROM %1 ORDER BY rowid").arg(sqlvalue::quotedName(kTable))))
        return;
    while (q.next()) {
        bool ok = false;
        const int slot = q.value(2).toString().trimmed().toInt(&ok);
        if (!ok || slot < 0 || slot >= kMovable)
            continue;
        m_left.at(size_t(slot)) = format::general(q.value(0).toDouble());
        m_top.at(size_t(slot)) = format::general(q.value(1).toDouble());
    }
}

void LayoutAdjustment::moveAll(double right, double down)
{
    for (int slot = 0; slot < kMovable; ++slot) {
        shift(m_left.at(size_t(slot)), right);
        shift(m_top.at(size_t(slot)), down);
    }
}

bool LayoutAdjustment::save(Database& db, QString* error)
{
    Transaction transaction(db);
    // Only the first row of each slot is moved, as the print draws them all.
    const QString table = sqlvalue::quotedName(kTable);
    const QString updateLeft = QStringLiteral("UPDATE %1 SET A2 = ? WHERE rowid = (SELECT rowid FROM %1 WHERE A7 = ? ORDER BY rowid LIMIT 1)").arg(table);
    const QString updateTop = QStringLiteral("UPDATE %1 SET A3 = ? WHERE rowid = (SELECT rowid FROM %1 WHERE A7 = ? ORDER BY rowid LIMIT 1)").arg(table);
    for (int slot = 0; slot < kMovable; ++slot) {
        double v = 0;
        if (readNumber(left(slot), &v) && !db.exec(updateLeft, {v, QString::number(slot)}))
            return db.failed(error);
        if (readNumber(top(slot), &v) && !db.exec(updateTop, {v, QString::number(slot)}))
            return db.failed(error);
    }
    for (int k = 0; k < form::kLines; ++k) {
        const int first = form::kLineName + 2 * k;
        const QVariant x = db.scalar(QStringLiteral("SELECT A2 FROM %1 WHERE A7 = ? ORDER BY rowid LIMIT 1").arg(table),
                                     {QString::number(first)});
        const QVariant y = db.scalar(QStringLiteral("SELECT A3 FROM %1 WHERE A7 = ? ORDER BY rowid LIMIT 1").arg(table),
                                     {QString::number(first)});
        if (x.isNull() || y.isNull())
            continue;
        if (!db.exec(updateLeft, {x, QString::number(first + 1)})
            || !db.exec(updateTop, {y.toDouble() + kNameLineGap, QString::number(first + 1)}))
            return db.failed(error);
    }
    return transaction.commit() || db.failed(error);
}
