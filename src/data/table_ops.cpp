#include "table_ops.h"

#include "database.h"
#include "schema.h"
#include "sql_values.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace tableops {
namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool copyRows(Database& package, Database& target, const QString& table, QString* error)
{
    QSqlQuery source(package.handle());
    source.setForwardOnly(true);
    if (!source.exec(QStringLiteral("SELECT * FROM %1").arg(sqlvalue::quotedName(table))))
        return fail(error, source.lastError().text());
    const int n = source.record().count();
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    QSqlQuery insert(target.handle());
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(sqlvalue::quotedName(table), marks.join(u','))))
        return fail(error, insert.lastError().text());
    while (source.next()) {
        for (int i = 0; i < n; ++i)
            insert.bindValue(i, source.value(i));
        if (!insert.exec())
            return fail(error, insert.lastError().text());
    }
    return true;
}

struct IndexInfo {
    QString name;
    bool unique = false;
    QStringList columns;
};

QList<IndexInfo> createdIndexes(Database& db, const QString& table)
{
    QList<IndexInfo> indexes;
    QSqlQuery list(db.handle());
    list.exec(QStringLiteral("PRAGMA index_list(%1)").arg(sqlvalue::quotedName(table)));
    while (list.next()) {
        if (list.value(QStringLiteral("origin")).toString() != u"c")
            continue;
        IndexInfo info{list.value(QStringLiteral("name")).toString(),
                       list.value(QStringLiteral("unique")).toInt() != 0, {}};
        QSqlQuery columns(db.handle());
        columns.exec(QStringLiteral("PRAGMA index_info(%1)").arg(sqlvalue::quotedName(info.name)));
        while (columns.next())
            info.columns << sqlvalue::quotedName(columns.value(QStringLiteral("name")).toString());
        indexes << info;
    }
    return indexes;
}

QString renamedIndex(const QString& index, const QString& from, const QString& to)
{
    if (index.startsWith(from + u'_'))
        return to + index.mid(from.size());
    return to + u'_' + index;
}

} // namespace

bool importTable(Database& package, Database& target, const QString& table, QString* error)
{
    // The packages' engine ignores the case of table names, and so does this.
    QString create = package
                         .scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                                 {table})
                         .toString();
    // The table takes the name the program knows it by, whatever the case
    // of the package's name.
    static const QRegularExpression head(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(\"[^\"]+\"|\\[[^\\]]+\\]|`[^`]+`|[^\\s(]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = head.match(create); m.hasMatch())
        create.replace(m.capturedStart(1), m.capturedLength(1), sqlvalue::quotedName(table));
    if (create.isEmpty())
        return fail(error, QStringLiteral("Tablica %1 ne postoji u datoteci %2.").arg(table, package.fileName()));
    if (target.hasTable(table))
        return fail(error, QStringLiteral("Tablica %1 već postoji u datoteci %2.").arg(table, target.fileName()));
    if (!target.exec(create))
        return fail(error, target.error());
    if (!copyRows(package, target, table, error))
        return false;
    for (const QString& sql : schema::indexStatements(table)) {
        if (!target.exec(sql))
            return fail(error, target.error());
    }
    return true;
}

bool renameTable(Database& db, const QString& from, const QString& to)
{
    if (!db.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(sqlvalue::quotedName(from), sqlvalue::quotedName(to))))
        return false;
    for (const IndexInfo& index : createdIndexes(db, to)) {
        if (!db.exec(QStringLiteral("DROP INDEX %1").arg(sqlvalue::quotedName(index.name))))
            return false;
        const QString sql = QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                                .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(),
                                     sqlvalue::quotedName(renamedIndex(index.name, from, to)), sqlvalue::quotedName(to),
                                     index.columns.join(u','));
        if (!db.exec(sql))
            return false;
    }
    return true;
}

bool copyRowsByPosition(Database& source, const QString& sourceTable, Database& target,
                        const QString& targetTable, int first, int last, QString* error)
{
    const QStringList from = source.columns(sourceTable);
    const QStringList to = target.columns(targetTable);
    if (from.size() <= last || to.size() <= last)
        return fail(error, QStringLiteral("Tablica %1 ili %2 nema očekivanih %3 stupaca.")
                               .arg(sourceTable, targetTable).arg(last + 1));
    QStringList fromColumns, toColumns, marks;
    for (int i = first; i <= last; ++i) {
        fromColumns << sqlvalue::quotedName(from[i]);
        toColumns << sqlvalue::quotedName(to[i]);
        marks << QStringLiteral("?");
    }
    QSqlQuery rows(source.handle());
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT %1 FROM %2").arg(fromColumns.join(u','), sqlvalue::quotedName(sourceTable))))
        return fail(error, rows.lastError().text());
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(sqlvalue::quotedName(targetTable), toColumns.join(u','), marks.join(u','));
    while (rows.next()) {
        QVariantList values;
        for (int i = 0; i <= last - first; ++i)
            values << rows.value(i);
        if (!target.exec(insert, values))
            return fail(error, target.error());
    }
    return true;
}

bool widenTextColumn(Database& db, const QString& table, const QString& column, int width)
{
    if (schema::textWidth(db, table, column) >= width)
        return true;
    const QString create =
        db.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), {table})
            .toString();
    // The column's declaration: its name, bare or quoted, and its type.
    const QRegularExpression declaration(
        QStringLiteral("([\\s,(][\"\\[`]?%1[\"\\]`]?\\s+)(?:TEXT|VARCHAR|CHAR)\\s*(?:\\(\\s*\\d+\\s*\\))?")
            .arg(QRegularExpression::escape(column)),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = declaration.match(create);
    if (!m.hasMatch())
        return db.exec(QStringLiteral("SELECT %1 FROM %2").arg(sqlvalue::quotedName(column), sqlvalue::quotedName(table))); // reports what is missing
    QString wider = create;
    wider.replace(m.capturedStart(), m.capturedLength(), m.captured(1) + QStringLiteral("TEXT(%1)").arg(width));
    static const QRegularExpression head(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(\"[^\"]+\"|\\[[^\\]]+\\]|`[^`]+`|[^\\s(]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch name = head.match(wider);
    if (!name.hasMatch())
        return db.exec(create + QStringLiteral(" ")); // reports the statement it cannot read
    const QString building = table + QStringLiteral("_wider");
    wider.replace(name.capturedStart(1), name.capturedLength(1), sqlvalue::quotedName(building));
    return db.exec(wider) && db.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(sqlvalue::quotedName(building), sqlvalue::quotedName(table)))
        && db.exec(QStringLiteral("DROP TABLE %1").arg(sqlvalue::quotedName(table)))
        && db.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(sqlvalue::quotedName(building), sqlvalue::quotedName(table)));
}

bool dropTable(Database& db, const QString& table)
{
    return db.exec(QStringLiteral("DROP TABLE %1").arg(sqlvalue::quotedName(table)));
}

int columnCount(Database& db, const QString& table) { return db.columns(table).size(); }

bool hasColumn(Database& db, const QString& table, const QString& column)
{
    return db.columns(table).contains(column, Qt::CaseInsensitive);
}

bool addColumnWithCountGuard(Database& db, const QString& table, int expectedCount,
                             const QString& column, const QString& type)
{
    if (!db.hasTable(table))
        return db.exec(QStringLiteral("SELECT * FROM %1").arg(sqlvalue::quotedName(table))); // reports the missing table
    if (columnCount(db, table) != expectedCount)
        return true;
    return db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(sqlvalue::quotedName(table), sqlvalue::quotedName(column), type));
}

bool addColumnIfMissing(Database& db, const QString& table, const QString& column, const QString& type)
{
    if (hasColumn(db, table, column))
        return true;
    return db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(sqlvalue::quotedName(table), sqlvalue::quotedName(column), type));
}

} // namespace tableops
