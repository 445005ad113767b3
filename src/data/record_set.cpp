#include "record_set.h"

#include "croatian_collation.h"
#include "database.h"
#include "sql_values.h"
#include "statement.h"

#include <QFileInfo>

RecordSet::RecordSet(Database& db, Query query, QObject* parent)
    : QObject(parent), m_db(db), m_query(std::move(query))
{
}

QString RecordSet::selectSql(const QString& extraWhere) const
{
    QStringList columns;
    for (const QString& c : m_query.columns)
        columns << sqlvalue::quotedName(c);
    QString sql = QStringLiteral("SELECT rowid AS kelmorin_key, %1 FROM %2")
                      .arg(columns.isEmpty() ? QStringLiteral("*") : columns.join(u','), sqlvalue::quotedName(m_query.table));
    if (!extraWhere.isEmpty())
        sql += QStringLiteral(" WHERE ") + extraWhere;
    else if (!m_query.whereField.isEmpty())
        sql += QStringLiteral(" WHERE %1 = ?").arg(sqlvalue::quotedName(m_query.whereField));
    if (!m_query.orderBy.empty() && extraWhere.isEmpty()) {
        QStringList order;
        for (const Order& o : m_query.orderBy)
            order << sqlvalue::quotedName(o.field)
                         + (o.croatian ? QStringLiteral(" COLLATE ") + croatian::kCollation : QString());
        sql += QStringLiteral(" ORDER BY ") + order.join(u',');
    }
    return sql;
}

bool RecordSet::readRows(const QString& sql, const QVariantList& binds, std::vector<Row>& out)
{
    // Straight from the engine's rows: a register of tens of thousands of
    // patients is read in a fraction of what Qt's query with its own cache
    // of every value takes.
    Statement q(m_db, sql);
    for (int i = 0; i < binds.size() && q.isValid(); ++i)
        q.bind(i + 1, binds.at(i));
    if (!q.isValid() || !q.error().isEmpty()) {
        m_error = q.error();
        return false;
    }
    const int n = q.columnCount() - 1;
    if (m_fields.isEmpty()) {
        for (int i = 1; i <= n; ++i)
            m_fields << q.columnName(i);
    }
    while (q.next()) {
        Row row;
        row.key = q.value(0).toLongLong();
        row.values.reserve(n);
        for (int i = 1; i <= n; ++i)
            row.values << q.value(i);
        row.dirty.assign(n, false);
        out.push_back(std::move(row));
    }
    if (!q.error().isEmpty()) {
        m_error = q.error();
        return false;
    }
    return true;
}

bool RecordSet::reload()
{
    const qint64 currentKey = m_current >= 0 ? m_rows[m_current].key : -1;
    std::vector<Row> rows;
    const QVariantList binds = m_query.whereField.isEmpty() ? QVariantList() : QVariantList{m_query.whereValue};
    if (!readRows(selectSql(QString()), binds, rows))
        return false;
    Q_EMIT aboutToReset();
    m_rows = std::move(rows);
    m_current = rowCount() - 1;
    for (int i = 0; i < rowCount(); ++i) {
        if (m_rows[i].key == currentKey)
            m_current = i;
    }
    Q_EMIT reset();
    Q_EMIT currentChanged(m_current);
    return true;
}

int RecordSet::fieldIndex(QStringView name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RecordSet::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return m_rows[row].values[column];
}

QVariantMap RecordSet::currentRow() const
{
    QVariantMap row;
    for (int c = 0; c < columnCount(); ++c)
        row.insert(m_fields.at(c), value(m_current, c));
    return row;
}

QVariant RecordSet::value(int row, QStringView field) const { return value(row, fieldIndex(field)); }

bool RecordSet::setValue(int row, int column, const QVariant& v)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return false;
    Row& r = m_rows[row];
    const QVariant stored = sqlvalue::toStorage(v);
    if (r.values[column] == stored && r.values[column].isNull() == stored.isNull())
        return true;
    r.values[column] = stored;
    r.dirty[column] = true;
    Q_EMIT rowChanged(row);
    return true;
}

bool RecordSet::isDirty(int row) const
{
    if (row < 0 || row >= rowCount())
        return false;
    for (bool d : m_rows[row].dirty) {
        if (d)
            return true;
    }
    return false;
}

bool RecordSet::save(int row)
{
    if (!isDirty(row))
        return true;
    Row& r = m_rows[row];
    QStringList assignments;
    QVariantList binds;
    for (int c = 0; c < columnCount(); ++c) {
        if (r.dirty[c]) {
            assignments << sqlvalue::quotedName(m_fields[c]) + QStringLiteral(" = ?");
            binds << r.values[c];
        }
    }
    binds << r.key;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                            .arg(sqlvalue::quotedName(m_query.table), assignments.join(QStringLiteral(", ")));
    if (!m_db.exec(sql, binds)) {
        // What was typed stays in the row; the message says where it could
        // not go and the database's own reason.
        m_error = QStringLiteral("Promjene nije moguće spremiti u %1 (tablica %2):\r\n%3")
                      .arg(QFileInfo(m_db.fileName()).fileName(), m_query.table, m_db.error());
        return false;
    }
    r.dirty.assign(r.dirty.size(), false);
    return true;
}

bool RecordSet::saveAll()
{
    bool ok = true;
    for (int row = 0; row < rowCount(); ++row)
        ok = save(row) && ok;
    return ok;
}

bool RecordSet::setCurrent(int row)
{
    if (row < -1 || row >= rowCount())
        return false;
    if (row == m_current)
        return true;
    if (!save(m_current))
        return false;
    m_current = row;
    Q_EMIT currentChanged(row);
    return true;
}

int RecordSet::append(const QVariantMap& values)
{
    QStringList columns, marks;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        columns << sqlvalue::quotedName(it.key());
        marks << QStringLiteral("?");
        binds << it.value();
    }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(sqlvalue::quotedName(m_query.table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(sqlvalue::quotedName(m_query.table), columns.join(u','), marks.join(u','));
    if (!m_db.exec(sql, binds)) {
        m_error = m_db.error();
        return -1;
    }
    const qint64 key = m_db.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    std::vector<Row> inserted;
    if (!readRows(selectSql(QStringLiteral("rowid = ?")), {key}, inserted) || inserted.empty())
        return -1;
    Q_EMIT aboutToAppend(rowCount());
    m_rows.push_back(std::move(inserted.front()));
    const int row = rowCount() - 1;
    Q_EMIT rowAppended(row);
    return row;
}

int RecordSet::findFirst(QStringView field, const QVariant& v) const
{
    const int column = fieldIndex(field);
    if (column < 0)
        return -1;
    const QVariant wanted = sqlvalue::toStorage(v);
    for (int row = 0; row < rowCount(); ++row) {
        const QVariant& have = m_rows[row].values[column];
        if (!have.isNull() && have.toString() == wanted.toString())
            return row;
    }
    return -1;
}
